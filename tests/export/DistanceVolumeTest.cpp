// The page's solid path (a signed distance on a grid, meshed by marching
// tetrahedra) on shapes whose answer is known: every result a closed,
// outward solid of the shape's volume.

#include <gtest/gtest.h>

#include <cmath>

#include "DistanceVolume.h"
#include "SolidShapes.h"

namespace {

TEST(DistanceVolume, DistanceToATriangleFromEachRegion) {
    const TriangleCorners t{{{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}};
    struct Case {
        const char* name;
        Point3 p;
        float distance;
        Point3 nearest;
    };
    const Case cases[] = {
        {"above the face", {0.5f, 0.5f, 3}, 3, {0.5f, 0.5f, 0}},
        {"beyond the first corner", {-1, -1, 0}, std::sqrt(2.0f), {0, 0, 0}},
        {"beyond the long edge", {2, 2, 0}, std::sqrt(2.0f), {1, 1, 0}},
        {"beyond an edge, below", {1, -2, -2}, std::sqrt(8.0f), {1, 0, 0}},
        {"beyond the last corner", {0, 3, 0}, 1, {0, 2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point3 nearest;
        EXPECT_NEAR(DistanceToTriangle(c.p, t, nearest), c.distance, 1e-5f);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(nearest[k], c.nearest[k], 1e-5f);
    }
}

TEST(DistanceVolume, ShapesBecomeClosedOutwardShellsOfTheirVolume) {
    std::vector<KnownSolid> cases = knownSolids();
    cases.push_back({"box off the grid", box({0.03f, 0.07f, 0.01f}, {4.03f, 2.07f, 2.01f}), 16.0, 1});
    // A box inside a box: the inner one is already held.
    cases.push_back({"box in a box", joined(box({0, 0, 0}, {4, 2, 2}), box({1, 0.5f, 0.5f}, {2, 1.5f, 1.5f})), 16.0, 1});
    for (const KnownSolid& c : cases) {
        SCOPED_TRACE(c.name);
        expectClosed(MeshLevelSet(SignedDistanceVolume(c.triangles, 0.1f)), c.volume, 0.03 * c.volume, c.shells);
    }
}

TEST(DistanceVolume, ALevelSetIsClosedWhereverItsValuesFall) {
    // A ball of radius 1, its values given straight, some exactly 0.
    DistanceVolume ball;
    ball.origin = {-1.5f, -1.5f, -1.5f};
    ball.spacing = 0.125f;
    for (int& n : ball.size) n = 25;
    for (int z = 0; z < 25; ++z)
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 25; ++x) {
                const float px = -1.5f + 0.125f * x, py = -1.5f + 0.125f * y, pz = -1.5f + 0.125f * z;
                ball.values.push_back(1.0f - std::sqrt(px * px + py * py + pz * pz));
            }
    expectClosed(MeshLevelSet(ball), 4.0 / 3.0 * M_PI, 0.05 * 4.0 / 3.0 * M_PI, 1);
    EXPECT_TRUE(MeshLevelSet(DistanceVolume()).triangles.empty());
    EXPECT_TRUE(SignedDistanceVolume({}, 0.1f).values.empty());
}

}  // namespace
