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
    struct Case {
        const char* name;
        std::vector<TriangleCorners> triangles;
        double volume;
        std::size_t shells;
    };
    std::vector<TriangleCorners> overlapping = box({0, 0, 0}, {4, 2, 2});
    for (const auto& t : box({2, 1, 1}, {6, 3, 3})) overlapping.push_back(t);
    std::vector<TriangleCorners> apart = box({0, 0, 0}, {2, 2, 2});
    for (const auto& t : box({4, 0, 0}, {6, 2, 2})) apart.push_back(t);
    // A box whose +x face stops 0.05 short of its edges: a seam all round.
    std::vector<TriangleCorners> seamed = box({0, 0, 0}, {4, 2, 2}, {1});
    for (const auto& t : box({4, 0.05f, 0.05f}, {4, 1.95f, 1.95f}, {0, 2, 3, 4, 5})) seamed.push_back(t);
    // A box inside a box: the inner one is already held.
    std::vector<TriangleCorners> nested = box({0, 0, 0}, {4, 2, 2});
    for (const auto& t : box({1, 0.5f, 0.5f}, {2, 1.5f, 1.5f})) nested.push_back(t);
    const Case cases[] = {
        {"box", box({0, 0, 0}, {4, 2, 2}), 16.0, 1},
        {"box off the grid", box({0.03f, 0.07f, 0.01f}, {4.03f, 2.07f, 2.01f}), 16.0, 1},
        {"seamed box", seamed, 16.0, 1},
        {"overlapping boxes", overlapping, 16.0 + 16.0 - 2.0, 1},
        {"boxes apart", apart, 16.0, 2},
        {"box in a box", nested, 16.0, 1},
    };
    for (const Case& c : cases) {
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
