// The solid path on shapes whose answer is known, on both grids it runs on
// (OpenVDB natively, the dense grid in the page): closed boxes, a box with
// an open seam, two overlapping boxes, plates, groups that must not
// overlap; and both grids giving the same solid.

#include <gtest/gtest.h>

#include <cmath>

#include "SolidShapes.h"
#include "solid/OpenVdbGrid.h"
#include "solid/PartsInTheAir.h"
#include "solid/Solidify.h"
#include "solid/TriangleDistance.h"

namespace {

struct GridKind {
    const char* name;
    SolidGridMaker make;
};

class OnEachGrid : public ::testing::TestWithParam<GridKind> {
protected:
    // The options at a voxel of 0.05: seams up to 0.2 wide close.
    static constexpr float kVoxel = 0.05f;
    SolidifyOptions options() const {
        SolidifyOptions o;
        o.closingRadius = 2 * kVoxel;
        return o;
    }
    SolidMesh solidify(const std::vector<TriangleCorners>& triangles, const std::vector<RoundedSlab>& plates = {}) const {
        return Solidify(*GetParam().make(frameAround(triangles, plates, kVoxel)), triangles, options(), plates);
    }
};

TEST_P(OnEachGrid, ShapesBecomeClosedOutwardShellsOfTheirVolume) {
    std::vector<KnownSolid> cases = knownSolids();
    cases.push_back({"box off the grid", box({0.03f, 0.07f, 0.01f}, {4.03f, 2.07f, 2.01f}), 16.0, 1});
    cases.push_back({"box in a box", joined(box({0, 0, 0}, {4, 2, 2}), box({1, 0.5f, 0.5f}, {2, 1.5f, 1.5f})), 16.0, 1});
    for (const KnownSolid& c : cases) {
        SCOPED_TRACE(c.name);
        expectClosed(solidify(c.triangles), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST_P(OnEachGrid, PlatesJoinWhatTheyTouchAndStayApartFromTheRest) {
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
        double volume;
        std::size_t shells;
    };
    const Case cases[] = {
        {"sunk into the plate", seamed, plateVolume + 16.0 - 8 * 0.2, 1},
        {"floating above it", box({0, 0, 1}, {4, 2, 3}), plateVolume + 16.0, 2},
        {"plate alone", {}, plateVolume, 1},
        {"with a speck", withSpeck, plateVolume + 16.0 - 8 * 0.2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectClosed(solidify(c.open, {plate}), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST_P(OnEachGrid, GroupsTouchWithoutOverlapping) {
    const std::vector<std::vector<TriangleCorners>> groups = {box({0, 0, 0}, {4, 2, 2}), box({2, 0, 0}, {6, 2, 2})};
    const auto grid = GetParam().make(frameAround(joined(groups[0], groups[1]), {}, kVoxel));
    const auto meshes = SolidifyGroups(*grid, groups, options());
    ASSERT_EQ(meshes.size(), 2u);
    expectClosed(meshes[0], 16.0, 0.3, 1);
    expectClosed(meshes[1], 8.0, 0.2, 1);  // only what the first does not hold
}

INSTANTIATE_TEST_SUITE_P(Solid, OnEachGrid,
                         ::testing::Values(GridKind{"OpenVDB", MakeOpenVdbGrid}, GridKind{"dense", MakeDenseGrid}),
                         [](const auto& info) { return std::string(info.param.name == std::string("dense") ? "Dense" : "OpenVdb"); });

TEST(TriangleDistance, FromEachRegion) {
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
