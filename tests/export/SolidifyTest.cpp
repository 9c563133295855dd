// The solid path on shapes whose answer is known: closed boxes, a box with
// an open seam, two overlapping boxes, and groups that must not overlap.

#include <gtest/gtest.h>

#include "Solidify.h"

namespace {

// The twelve triangles of a box, facing outward; without the faces listed
// in `leaveOut` (0..5: -x +x -y +y -z +z), each face being two triangles.
std::vector<TriangleCorners> box(Point3 lo, Point3 hi, std::vector<int> leaveOut = {}) {
    auto corner = [&](int i) { return Point3{i & 1 ? hi[0] : lo[0], i & 2 ? hi[1] : lo[1], i & 4 ? hi[2] : lo[2]}; };
    const int faces[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    std::vector<TriangleCorners> out;
    for (int f = 0; f < 6; ++f) {
        if (std::find(leaveOut.begin(), leaveOut.end(), f) != leaveOut.end()) continue;
        const int* q = faces[f];
        out.push_back({corner(q[0]), corner(q[1]), corner(q[2])});
        out.push_back({corner(q[0]), corner(q[2]), corner(q[3])});
    }
    return out;
}

void expectClosed(const SolidMesh& mesh, double volume, double tolerance, std::size_t shells) {
    const SolidCheck check = CheckSolid(mesh);
    EXPECT_EQ(check.openEdges, 0u);
    EXPECT_EQ(check.overusedEdges, 0u);
    EXPECT_EQ(check.misturnedEdges, 0u);
    EXPECT_EQ(check.shells, shells);
    EXPECT_NEAR(check.volume, volume, tolerance);
}

TEST(Solidify, ShapesBecomeClosedOutwardShellsOfTheirVolume) {
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
    const Case cases[] = {
        {"box", box({0, 0, 0}, {4, 2, 2}), 16.0, 1},
        {"seamed box", seamed, 16.0, 1},
        {"overlapping boxes", overlapping, 16.0 + 16.0 - 2.0, 1},
        {"boxes apart", apart, 16.0, 2},
    };
    SolidifyOptions options;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectClosed(Solidify(c.triangles, options), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST(Solidify, ClosedBodiesJoinWhatTheyTouchAndStayApartFromTheRest) {
    // A plate 0.5 thick under a seamed box that sinks 0.2 into it, and a
    // speck of dust (far below a voxel) that must not come out as a shell.
    const std::vector<TriangleCorners> plate = box({-1, -1, -0.3f}, {7, 3, 0.2f});
    std::vector<TriangleCorners> seamed = box({0, 0, 0}, {4, 2, 2}, {1});
    for (const auto& t : box({4, 0.05f, 0.05f}, {4, 1.95f, 1.95f}, {0, 2, 3, 4, 5})) seamed.push_back(t);
    std::vector<TriangleCorners> withSpeck = seamed;
    for (const auto& t : box({5, 1, 1}, {5.001f, 1.001f, 1.001f})) withSpeck.push_back(t);
    const double plateVolume = 8.0 * 4.0 * 0.5;
    struct Case {
        const char* name;
        std::vector<TriangleCorners> open, closed;
        double volume;
        std::size_t shells;
    };
    const Case cases[] = {
        {"sunk into the plate", seamed, plate, plateVolume + 16.0 - 8 * 0.2, 1},
        {"floating above it", box({0, 0, 1}, {4, 2, 3}), plate, plateVolume + 16.0, 2},
        {"plate alone", {}, plate, plateVolume, 1},
        {"with a speck", withSpeck, plate, plateVolume + 16.0 - 8 * 0.2, 1},
    };
    SolidifyOptions options;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectClosed(Solidify(c.open, options, c.closed), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST(Solidify, GroupsTouchWithoutOverlapping) {
    SolidifyOptions options;
    const auto groups = SolidifyGroups({box({0, 0, 0}, {4, 2, 2}), box({2, 0, 0}, {6, 2, 2})}, options);
    ASSERT_EQ(groups.size(), 2u);
    expectClosed(groups[0], 16.0, 0.3, 1);
    expectClosed(groups[1], 8.0, 0.2, 1);  // only what the first does not hold
}

}  // namespace
