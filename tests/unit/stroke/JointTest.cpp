#include <gtest/gtest.h>

#include <cmath>

#include "Captured.h"
#include "SweepRecording.h"
#include "stroke/SweepBudget.h"

namespace {

// Two joined line strokes whose body ends are placed by hand: the previous
// body ends at Pe facing +X, the next body starts at Ps facing Ds.
struct JointFixture : ::testing::Test {
    StyledStroke styled{Vector3(-20, 0, 0), Origin};
    LineStroke* next = styled.Append(Origin, Vector3(0, 20, 0));

    std::vector<RecordedPrimitive> Draw(const Vector3& Pe, const Vector3& Ps, const Vector3& Ds, float facet = 1.0f) {
        styled.set.facetLength = facet;
        styled.stroke->bodyEnd = Pe;
        next->bodyStart = Ps;
        next->direction = Ds;
        captured::Restart();
        next->DrawJoint();
        return RecordedPrimitives();
    }
};

TEST_F(JointFixture, CollinearBodiesThatMeetDrawNothing) {
    Draw(Origin, Origin, UnitX);
    EXPECT_TRUE(capture::CallLog().empty());
}

TEST_F(JointFixture, NoJointWithoutAJoinedPreviousStroke) {
    next->startCap = 2;
    Draw(Vector3(-6, 0, 0), Vector3(0, 6, 0), UnitY);
    EXPECT_TRUE(capture::CallLog().empty());
    styled.stroke->DrawJoint();  // the first stroke has no previous one
    EXPECT_TRUE(capture::CallLog().empty());
}

TEST_F(JointFixture, ParallelBodiesBlendSidewaysAndEndExactlyAtTheNextBody) {
    const auto bands = Draw(Origin, Vector3(10, 4, 0), UnitX);
    ASSERT_EQ(bands.size(), 12u);  // count 11: rings at i = 0 .. 11
    for (size_t i = 0; i < bands.size(); ++i) {
        const Vector3 centre = SecondRingCentre(bands[i]);
        EXPECT_NEAR(centre.x, i * 10.0f / 11, 1e-4f) << i;
        EXPECT_NEAR(centre.y, 2 * (1 - std::cos(i * M_PI / 11)), 1e-4f) << i;
    }
    const Vector3 last = SecondRingCentre(bands.back());
    EXPECT_NEAR(last.x, 10.0f, 1e-5f);
    EXPECT_NEAR(last.y, 4.0f, 1e-5f);
}

TEST_F(JointFixture, NearlyPerpendicularBodiesAreNotExtendedOutOfTheGlyph) {
    // The body ends lie 4.2 apart, but the bodies meet at 88 degrees: the
    // extension towards the other body's line would be about 86 units.
    const Vector3 Ps(-3, 3, 0);
    const auto primitives = Draw(Origin, Ps, Normalized(Vector3(0.0349f, 0.9994f, 0)));
    ASSERT_FALSE(primitives.empty());
    const float reach = Length(Ps) + 2 * styled.character.StrokeWidth() + 1;
    for (const RecordedPrimitive& p : primitives)
        for (const RecordedVertex& v : p.vertices) ASSERT_LT(Length(v.position), reach);
}

TEST_F(JointFixture, ParallelBodiesThatOverlapDrawNothing) {
    Draw(Vector3(5, 0, 0), Vector3(3, 4, 0), UnitX);
    EXPECT_TRUE(capture::CallLog().empty());
}

TEST_F(JointFixture, RightAngleFilletIsAQuarterCircleAboutTheInnerCorner) {
    // Both bodies trimmed by 6 from the joint point at the origin.
    const auto bands = Draw(Vector3(-6, 0, 0), Vector3(0, 6, 0), UnitY);
    // (6 + 6) * (pi / 2) * 0.5 / 1 = 9.42: count 10, rings at i = 0 .. 10.
    ASSERT_EQ(bands.size(), 11u);
    const Vector3 innerCorner(-6, 6, 0);
    float previousAngle = 0;
    for (size_t i = 0; i < bands.size(); ++i) {
        const Vector3 offset = SecondRingCentre(bands[i]) - innerCorner;
        EXPECT_NEAR(Length(offset), 6.0f, 1e-4f) << i;
        const float angle = SignedAngle(-UnitY, offset, UnitZ);
        EXPECT_GT(angle, previousAngle - 1e-5f) << i;
        previousAngle = angle;
    }
    EXPECT_NEAR(previousAngle, M_PI / 2, 1e-5);
}

TEST_F(JointFixture, QuarterTurnTakesAtLeastFiveStepsWhateverTheFacetLength) {
    EXPECT_EQ(Draw(Vector3(-6, 0, 0), Vector3(0, 6, 0), UnitY, 1000.0f).size(), 6u);
}

TEST_F(JointFixture, BodyFallingShortOfTheOtherLineIsExtendedStraightFirst) {
    // The next body starts past the previous line and below it: the previous
    // body is lengthened along +X up to x = 0 before the fillet turns.
    const auto bands = Draw(Vector3(-6, 0, 0), Vector3(0, -3, 0), UnitY);
    ASSERT_GE(bands.size(), 2u);
    const Vector3 extended = SecondRingCentre(bands[0]);
    EXPECT_NEAR(extended.x, 0.0f, 1e-5f);
    EXPECT_NEAR(extended.y, 0.0f, 1e-5f);
}

TEST_F(JointFixture, DegenerateFacetLengthsStayBounded) {
    styled.set.sectionShape = 1;  // a square section, so that only the ring count grows
    styled.set.sectionSegments = 4;
    for (float facet : {0.0f, -1.0f, 1e-30f}) {
        const auto fillet = Draw(Vector3(-6, 0, 0), Vector3(0, 6, 0), UnitY, facet);
        EXPECT_GE(fillet.size(), 1u) << facet;
        EXPECT_LE(fillet.size(), kMaxTessellationCount + 2u) << facet;
        EXPECT_TRUE(captured::SoundGL());
        const auto blend = Draw(Origin, Vector3(10, 4, 0), UnitX, facet);
        EXPECT_LE(blend.size(), kMaxTessellationCount + 2u) << facet;
    }
}

TEST_F(JointFixture, RingsTimesPointsStayWithinTheSweepBudget) {
    // A facet length of 0.001 gives rings of 4098 points and asks for 4097 rings.
    const auto bands = Draw(Origin, Vector3(10, 4, 0), UnitX, 0.001f);
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands[0].vertices.size(), 2 * 4098u);
    EXPECT_LE(bands.size() * 4098, static_cast<size_t>(kMaxSweepVertices) + 2 * 4098);
}

}  // namespace
