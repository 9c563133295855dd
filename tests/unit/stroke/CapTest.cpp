#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Captured.h"
#include "SweepRecording.h"
#include "stroke/SweepBudget.h"

namespace {

struct CapFixture : ::testing::Test {
    StyledStroke styled;

    CapFixture() { styled.set.sectionParameter2 = 1.0f; }
    void DrawEndCap(int style, const Vector3& P = Origin) {
        captured::Restart();
        styled.stroke->DrawCap(style, P, UnitX, UnitX);
    }
};

TEST_F(CapFixture, OpenAndJoinedEndsIssueNoCallsAtAll) {
    for (int style : {0, 1}) {
        DrawEndCap(style);
        EXPECT_TRUE(capture::CallLog().empty()) << style;
    }
}

TEST_F(CapFixture, UnknownStylesDrawOnlyTheExtension) {
    for (int style : {12, -3}) {
        DrawEndCap(style);
        const auto primitives = RecordedPrimitives();
        ASSERT_EQ(primitives.size(), 1u) << style;
        EXPECT_FALSE(primitives[0].triangles.empty()) << style;
        EXPECT_EQ(capture::Triangles().size(), primitives[0].triangles.size()) << "no sphere, style " << style;
        EXPECT_TRUE(captured::SoundGL()) << style;
    }
}

TEST_F(CapFixture, CapStartsWhereTheEffectiveWidthEnds) {
    styled.set.sectionShape = 3;  // an H: effective width 0.2 w = 1.2
    DrawEndCap(12, Vector3(5, 1, 0));
    // The extension runs from P itself to where the cap starts, 6 - 1.2 further.
    const auto bands = RecordedPrimitives();
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_NEAR(bands[0].vertices[0].position.x, 5.0f, 1e-5f);  // quad corner A_0
    EXPECT_NEAR(bands[0].vertices[2].position.x, 9.8f, 1e-5f);  // quad corner B_1
    float lowest = 1e9f, highest = -1e9f;
    for (const RecordedVertex& v : bands[0].vertices) {
        lowest = std::min(lowest, v.position.y);
        highest = std::max(highest, v.position.y);
    }
    EXPECT_NEAR(lowest + highest, 2.0f, 1e-5f) << "centred on P's y";
}

TEST_F(CapFixture, RoundCapHasAtLeastTenSteps) {
    styled.set.strokeWidth = 0.9f;  // effective width 0.9
    styled.set.facetLength = 0.25f;
    DrawEndCap(2);
    const auto primitives = RecordedPrimitives();
    // The extension, nine rings at 9 degree steps, then the closing disc.
    ASSERT_EQ(primitives.size(), 11u);
    EXPECT_EQ(primitives.back().mode, static_cast<unsigned>(GL_TRIANGLE_FAN));
    const float lastPhi = 9 * static_cast<float>(M_PI) / 20;
    // The disc's centre lies in the plane of its ring, on the axis.
    const Vector3 centre = primitives.back().vertices[0].position;
    EXPECT_NEAR(centre.x, 0.9f * std::sin(lastPhi), 1e-5f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-5f);
    EXPECT_NEAR(centre.z, 0.0f, 1e-5f);
}

TEST_F(CapFixture, BallIsASphereOfOneFacetPerFacetLength) {
    styled.set.strokeWidth = 1.0f;
    styled.set.facetLength = 0.25f;
    DrawEndCap(9);
    const auto sphere = captured::Calls("glutSolidSphere");
    ASSERT_EQ(sphere.size(), 1u);
    EXPECT_EQ(sphere[0].args, (std::vector<double>{1, 13, 13}));
    styled.set.strokeWidth = 1e30f;
    styled.set.facetLength = 0.1f;
    DrawEndCap(9);
    const auto huge = captured::Calls("glutSolidSphere");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].args[1], kMaxSphereDivisions);
}

TEST_F(CapFixture, BallKnobTakesOneStepPerTenthOfPi) {
    styled.set.strokeWidth = 0.9f;
    styled.set.facetLength = 5.0f;
    DrawEndCap(11);
    // The facet count 2 would step by 1.18 radian; 7 steps make six rings:
    // the extension, six bands and the closing disc.
    EXPECT_EQ(RecordedPrimitives().size(), 1u + 6u + 1u);
}

TEST_F(CapFixture, StartCapMirrorsTheEndCap) {
    for (int style : {2, 4, 5, 7, 11}) {
        auto positions = [&](const Vector3& U, float mirror) {
            captured::Restart();
            styled.stroke->DrawCap(style, Origin, U, UnitX);
            std::vector<std::vector<float>> out;
            for (const RecordedPrimitive& p : RecordedPrimitives())
                for (const RecordedVertex& v : p.vertices)
                    out.push_back({std::round(mirror * v.position.x * 1e4f), std::round(v.position.y * 1e4f),
                                   std::round(v.position.z * 1e4f)});
            std::sort(out.begin(), out.end());
            return out;
        };
        EXPECT_EQ(positions(UnitX, 1.0f), positions(-UnitX, -1.0f)) << style;
        EXPECT_EQ(captured::FirstWindingFault(captured::Faces()), "") << style;
    }
}

TEST_F(CapFixture, DegenerateSizesNeverReachGLAsNaN) {
    struct Sizes {
        float width, parameter2, facet;
    };
    const Sizes cases[] = {
        {0.0f, 1.0f, 1.0f},      // zero effective width
        {6.0f, 0.0f, 1.0f},      // zero cap parameter
        {6.0f, -1.0f, 1.0f},     // negative cap parameter
        {6.0f, 0.1f, 1.0f},      // knob half angle past pi
        {6.0f, 1e30f, 1.0f},     // overflowing cap lengths
        {6.0f, 1.0f, 0.0f},      // zero facet length
    };
    styled.set.sectionShape = 1;  // a square section keeps the drawing small
    styled.set.sectionSegments = 4;
    for (const Sizes& c : cases) {
        styled.set.strokeWidth = c.width;
        styled.set.sectionParameter2 = c.parameter2;
        styled.set.facetLength = c.facet;
        for (int style = 2; style <= 11; ++style) {
            DrawEndCap(style);
            EXPECT_TRUE(captured::SoundGL()) << "style " << style << " width " << c.width;
            EXPECT_LE(RecordedPrimitives().size(), kMaxTessellationCount + 4u);
        }
    }
}

}  // namespace
