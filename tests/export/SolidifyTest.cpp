// The solid path on shapes whose answer is known: closed boxes, a box with
// an open seam, two overlapping boxes, and groups that must not overlap.

#include <gtest/gtest.h>

#include "SolidShapes.h"
#include "PartsInTheAir.h"
#include "Solidify.h"

namespace {

TEST(Solidify, ShapesBecomeClosedOutwardShellsOfTheirVolume) {
    SolidifyOptions options;
    for (const KnownSolid& c : knownSolids()) {
        SCOPED_TRACE(c.name);
        expectClosed(Solidify(c.triangles, options), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST(Solidify, PlatesJoinWhatTheyTouchAndStayApartFromTheRest) {
    // A plate 0.5 thick under a seamed box that sinks 0.2 into it, and a
    // speck of dust (far below a voxel) that must not come out as a shell.
    const RoundedSlab plate{-1, -1, 7, 3, 0, -0.3f, 0.2f};
    std::vector<TriangleCorners> seamed = box({0, 0, 0}, {4, 2, 2}, {1});
    for (const auto& t : box({4, 0.05f, 0.05f}, {4, 1.95f, 1.95f}, {0, 2, 3, 4, 5})) seamed.push_back(t);
    std::vector<TriangleCorners> withSpeck = seamed;
    for (const auto& t : box({5, 1, 1}, {5.001f, 1.001f, 1.001f})) withSpeck.push_back(t);
    const double plateVolume = 8.0 * 4.0 * 0.5;
    struct Case {
        const char* name;
        std::vector<TriangleCorners> open;
        RoundedSlab plate;
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
        expectClosed(Solidify(c.open, options, {c.plate}), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST(Solidify, GroupsTouchWithoutOverlapping) {
    SolidifyOptions options;
    const auto groups = SolidifyGroups({box({0, 0, 0}, {4, 2, 2}), box({2, 0, 0}, {6, 2, 2})}, options);
    ASSERT_EQ(groups.size(), 2u);
    expectClosed(groups[0], 16.0, 0.3, 1);
    expectClosed(groups[1], 8.0, 0.2, 1);  // only what the first does not hold
}

// A box as a closed mesh of its own.
SolidMesh boxMesh(Point3 lo, Point3 hi) {
    SolidMesh mesh;
    for (const TriangleCorners& t : box(lo, hi)) {
        const auto first = static_cast<std::uint32_t>(mesh.vertices.size());
        for (const Point3& p : t) mesh.vertices.push_back(p);
        mesh.triangles.push_back({first, first + 1, first + 2});
    }
    return mesh;
}

TEST(PartsInTheAir, AGroupOfTouchingPartsIsNamedOnceByItsLowestAndOnlyWhenNoneReaches) {
    // A plate on the bed; a band on it and a letter on the band; a second
    // band a millimetre above the plate with two letters on it (one of
    // them touching it only at the side); a speck in the air.
    const std::vector<SolidMesh> shells = {
        boxMesh({0, 0, 0}, {20, 10, 2}),      boxMesh({1, 1, 2}, {9, 9, 3}),    boxMesh({2, 2, 3}, {4, 4, 6}),
        boxMesh({11, 1, 3}, {19, 9, 4}),      boxMesh({12, 2, 4}, {14, 4, 7}), boxMesh({19, 1, 3.5f}, {19.5f, 2, 5}),
        boxMesh({30, 0, 5}, {31, 1, 6}),
    };
    const std::vector<SolidBounds> inTheAir = PartsInTheAir(shells, 2.0f, 0.05f);
    ASSERT_EQ(inTheAir.size(), 2u);
    EXPECT_FLOAT_EQ(inTheAir[0].min[2] + inTheAir[1].min[2], 3.0f + 5.0f);  // the second band, the speck
    EXPECT_TRUE(PartsInTheAir({shells[0], shells[1], shells[2]}, 2.0f, 0.05f).empty());
}

}  // namespace
