#include <gtest/gtest.h>

#include <cmath>

#include "SweepRecording.h"
#include "stroke/Section.h"
#include "stroke/Tessellation.h"

namespace {

void ExpectNear(const Vector3& v, const Vector3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(v.x, expected.x, tolerance);
    EXPECT_NEAR(v.y, expected.y, tolerance);
    EXPECT_NEAR(v.z, expected.z, tolerance);
}

// A section of the given shape at P = (1, 2, 0) facing +X: U is +Z and S is -Y.
struct SectionFixture : ::testing::Test {
    StyledStroke styled;
    Section ring;
    const Vector3 P{1, 2, 0};

    unsigned Make(int shape, const Vector3& d = UnitX, float k = 1.0f) {
        styled.set.sectionShape = shape;
        return styled.stroke->MakeSection(ring, P, d, k);
    }
};

TEST_F(SectionFixture, PointCountsFollowWidthFacetLengthAndSides) {
    // w 6, s 1, n 8, q 1: 2 pi w / s = 37.699.
    const unsigned expected[10] = {39, 9, 17, 14, 8, 43, 42, 44, 17, 33};
    for (int shape = 0; shape <= 9; ++shape) {
        SCOPED_TRACE(shape);
        ASSERT_EQ(Make(shape), expected[shape]);
        ASSERT_EQ(ring.normals.size(), ring.points.size());
        ExpectNear(ring.points.back(), ring.points.front());
        for (const Vector3& n : ring.normals) EXPECT_NEAR(Length(n), 1.0f, 1e-5f);
    }
}

TEST_F(SectionFixture, EllipseStartsStraightUpAndStepsByAThirtyEighthTurn) {
    styled.set.sectionParameter = 0.5f;
    ASSERT_EQ(Make(0), 39u);
    ExpectNear(ring.points[0], P + Vector3(0, 0, 3));
    ExpectNear(ring.normals[0], UnitZ);
    const float a = static_cast<float>(2 * M_PI / 38);
    ExpectNear(ring.points[1], P + Vector3(0, -6 * std::sin(a), 3 * std::cos(a)));
}

TEST_F(SectionFixture, InscribedSquareStandsOnACorner) {
    styled.set.sectionSegments = 4;
    ASSERT_EQ(Make(1), 5u);
    const Vector3 corners[5] = {{0, 0, 6}, {0, -6, 0}, {0, 0, -6}, {0, 6, 0}, {0, 0, 6}};
    for (int i = 0; i < 5; ++i) ExpectNear(ring.points[i], P + corners[i]);
    const float h = std::sqrt(0.5f);
    ExpectNear(ring.normals[0], Vector3(0, -h, h));
    ExpectNear(ring.normals[2], Vector3(0, h, -h));
}

TEST_F(SectionFixture, ChamferedPolygonIsRegularAtOneAndStopsAt199) {
    styled.set.sectionSegments = 5;
    Make(8);
    for (unsigned i = 0; i < ring.Count(); ++i) {
        const double a = i * M_PI / 5;
        ExpectNear(ring.points[i], P + Vector3(0, -6 * std::sin(a), 6 * std::cos(a)));
    }
    styled.set.sectionParameter = 1.99f;
    Make(8);
    const Section limit = ring;
    styled.set.sectionParameter = 3.0f;
    Make(8);
    for (unsigned i = 0; i < ring.Count(); ++i) ExpectNear(ring.points[i], limit.points[i], 0);
}

TEST_F(SectionFixture, RoundedPolygonWithSharpCornersHasItsCornersOnTheCircle) {
    styled.set.sectionParameter = 0.0f;
    styled.set.sectionSegments = 6;
    ASSERT_EQ(Make(9), 13u);  // one arc step per corner
    for (const Vector3& p : ring.points) EXPECT_NEAR(Length(p - P), 6.0f, 1e-4f);
}

TEST_F(SectionFixture, DepthStretchesZOffsetsAndShrinksNormalZ) {
    Make(0);
    const Section flat = ring;
    styled.set.strokeHeight = 12.0f;
    Make(0);
    for (unsigned i = 0; i < ring.Count(); ++i) {
        const Vector3 offset = flat.points[i] - P;
        ExpectNear(ring.points[i], P + Vector3(offset.x, offset.y, 2 * offset.z));
        const Vector3 m = flat.normals[i];
        ExpectNear(ring.normals[i], Normalized(Vector3(m.x, m.y, m.z / 2)));
    }
}

TEST_F(SectionFixture, DirectionAlongZFallsBackToUpAlongX) {
    Make(0, UnitZ);
    ExpectNear(ring.points[0], P + Vector3(6, 0, 0));
}

TEST_F(SectionFixture, TwistRollsTheProfileAboutTheDirection) {
    styled.set.sectionTwist = static_cast<float>(M_PI / 2);
    Make(0);
    ExpectNear(ring.points[0], P + Vector3(0, -6, 0));
}

TEST_F(SectionFixture, ScaleShrinksTowardsTheCentre) {
    Make(0, UnitX, 0.5f);
    EXPECT_EQ(ring.Count(), 39u);  // counted from the unscaled width
    ExpectNear(ring.points[0], P + Vector3(0, 0, 3));
}

TEST_F(SectionFixture, CrescentInnerNormalsFaceTheHollow) {
    const unsigned n = Make(7);
    const Vector3 q2 = P + Vector3(0, 0, 3);  // w (k + 1) / 4 up
    for (unsigned i = 0; i < n; ++i) {
        const Vector3 offset = ring.points[i] - (i < n / 2 ? P + Vector3(0, 0, 0) : q2);
        const float facing = Dot(ring.normals[i], offset);
        if (i < n / 2) EXPECT_GT(facing, 0.0f) << i;  // outer arc about Q3 = P
        else EXPECT_LT(facing, 0.0f) << i;            // inner arc, concave
    }
}

TEST_F(SectionFixture, DegenerateStylesGiveEmptySections) {
    LineStroke orphan(nullptr, Origin, UnitX);
    EXPECT_EQ(orphan.MakeSection(ring, P, UnitX, 1.0f), 0u);
    EXPECT_EQ(Make(0, Origin), 0u) << "a direction of zero length";
    styled.set.sectionSegments = 0;
    for (int shape : {1, 2, 8, 9}) EXPECT_EQ(Make(shape), 0u) << shape;
    styled.set.sectionSegments = -5;
    for (int shape : {1, 2, 8, 9}) EXPECT_EQ(Make(shape), 0u) << shape;
    styled.set.sectionSegments = 8;
    styled.set.sectionShape = 12;
    EXPECT_EQ(styled.stroke->MakeSection(ring, P, UnitX, 1.0f), 0u);
    styled.set.strokeWidth = 0.0f;
    EXPECT_EQ(Make(0), 0u);
    EXPECT_TRUE(ring.points.empty() && ring.normals.empty());
}

TEST_F(SectionFixture, HugeStyleValuesStayBoundedAndFinite) {
    styled.set.strokeWidth = styled.set.strokeHeight = 1e30f;
    styled.set.facetLength = 0.1f;
    styled.set.sectionSegments = 2000000000;
    for (int shape = 0; shape <= 9; ++shape) {
        SCOPED_TRACE(shape);
        EXPECT_LE(Make(shape), 3u * kMaxTessellationCount + 1);
        for (unsigned i = 0; i < ring.Count(); ++i) {
            EXPECT_TRUE(std::isfinite(ring.points[i].x + ring.points[i].y + ring.points[i].z));
            EXPECT_NEAR(Length(ring.normals[i]), 1.0f, 1e-4f);
        }
    }
    // A shape parameter that overflows the coordinates gives no ring at all.
    styled.set.sectionParameter = 1e38f;
    EXPECT_EQ(Make(0), 0u);
}

}  // namespace
