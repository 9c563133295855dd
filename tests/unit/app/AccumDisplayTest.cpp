#include "app/AccumDisplay.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "AppTestSupport.h"
#include "app/Display.h"

namespace {

std::vector<double> accumWeights() {
    std::vector<double> weights;
    for (const capture::Call& call : captured::Calls("glAccum"))
        if (call.args[0] == GL_ACCUM) weights.push_back(call.args[1]);
    return weights;
}

// Where the logo's origin lands in each of its draws.
std::vector<Vector3> logoOrigins() {
    std::vector<Vector3> out;
    for (const capture::ListCall& call : capture::ListCalls())
        out.push_back(captured::Transformed(call.modelview, Origin));
    return out;
}

// The upper 3x3 of the model-view matrix of a draw applied to a direction.
Vector3 turned(const capture::ListCall& call, const Vector3& d) {
    const float* m = call.modelview;
    return Vector3(m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
                   m[2] * d.x + m[6] * d.y + m[10] * d.z);
}


class AccumDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::ResetProgram();
        reshape(400, 400);
        captured::Restart();
        logo = app_test::ProbeLogo();
    }
    // One pass: clear, draw the logo, accumulate with the weight.
    std::vector<std::string> pass(const char* weight) const {
        return {"glClear " + std::to_string(GL_COLOR_BUFFER_BIT), "glClear " + std::to_string(GL_DEPTH_BUFFER_BIT),
                "glCallList " + std::to_string(logo), "glAccum " + std::to_string(GL_ACCUM) + " " + weight};
    }
    unsigned logo = 0;
    const std::vector<std::string> ending{"glAccum " + std::to_string(GL_RETURN) + " 1", "glFlush", "glutSwapBuffers"};
};

TEST_F(AccumDisplayTest, AntialiasingAloneMakesEightShiftedPasses) {
    viewState.aaMode = true;
    accumDisplay();
    std::vector<std::string> expected{"glClear " + std::to_string(GL_ACCUM_BUFFER_BIT)};
    for (int i = 0; i < 8; ++i)
        for (const std::string& step : pass("0.125")) expected.push_back(step);
    for (const std::string& step : ending) expected.push_back(step);
    EXPECT_EQ(app_test::FrameSteps(), expected);

    const std::vector<Vector3> origins = logoOrigins();
    ASSERT_EQ(origins.size(), 8u);
    for (unsigned i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4.0;
        EXPECT_NEAR(origins[i].x, 200 + 0.45 * std::cos(angle), 1e-4) << i;
        EXPECT_NEAR(origins[i].y, 200 + 0.45 * std::sin(angle), 1e-4) << i;
        EXPECT_EQ(origins[i].z, -550.0f);
        EXPECT_TRUE(app_test::NearPoint(turned(capture::ListCalls()[i], UnitZ), UnitZ, 1e-6f)) << "no jitter";
    }
    const capture::Surface& surface = capture::Surfaces().at(capture::Triangles().at(0).surface);
    EXPECT_TRUE(surface.colourMaterial);
    EXPECT_EQ(surface.colourMaterialMode, unsigned(GL_AMBIENT_AND_DIFFUSE));
    EXPECT_EQ(capture::Current().colourMaterialFace, GLenum(GL_FRONT));
    EXPECT_TRUE(captured::SoundGL());
}

TEST_F(AccumDisplayTest, EachPassClearsDrawsAndAccumulatesAndRestoresTheMatrix) {
    viewState.aaMode = true;
    viewState.passes = 3;
    accumDisplay();
    std::vector<std::string> expected{"glClear " + std::to_string(GL_ACCUM_BUFFER_BIT)};
    for (int i = 0; i < 3; ++i)
        for (const std::string& step : pass("0.333333")) expected.push_back(step);
    for (const std::string& step : ending) expected.push_back(step);
    EXPECT_EQ(app_test::FrameSteps(), expected);
    EXPECT_TRUE(captured::SoundGL());
    const capture::GLState state = capture::Current();
    EXPECT_EQ(std::vector<float>(state.modelview, state.modelview + 16),
              (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST_F(AccumDisplayTest, OnePassShiftsRightByTheRadius) {
    viewState.aaMode = true;
    viewState.passes = 1;
    viewState.aaRadius = 0.7f;
    accumDisplay();
    const std::vector<Vector3> origins = logoOrigins();
    ASSERT_EQ(origins.size(), 1u);
    EXPECT_TRUE(app_test::NearPoint(origins[0], Vector3(200.7f, 200, -550)));
    EXPECT_EQ(accumWeights(), std::vector<double>{1.0});
}

TEST_F(AccumDisplayTest, TrailAloneMakesOnePassWithFadingFrameWeights) {
    viewState.trailMode = true;
    viewState.passes = 8;
    logoString.frameCount = 4;
    logoString.trailWeight = 0.6f;
    logoString.trailRatio = 0.5f;
    accumDisplay();
    const float total = 1.0f + 0.6f * (1.0f + 0.5f + 0.25f + 0.125f);
    const std::vector<double> expected = {1.0f / total, 0.6f / total, 0.6f * 0.5f / total, 0.6f * 0.25f / total};
    const std::vector<double> weights = accumWeights();
    ASSERT_EQ(weights.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_NEAR(weights[k], expected[k], 1e-6) << k;
    // Cleared once: the frames are drawn over one another, each accumulated as it stands.
    const std::vector<std::string> steps = app_test::FrameSteps();
    const std::string draw = "glCallList " + std::to_string(logo);
    ASSERT_EQ(steps.size(), 3u + 4u * 2u + 3u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(steps[3 + 2 * k], draw) << k;
        EXPECT_EQ(steps[4 + 2 * k].rfind("glAccum " + std::to_string(GL_ACCUM), 0), 0u) << k;
    }
    EXPECT_EQ(capture::ListCalls().size(), 4u);
    EXPECT_TRUE(captured::SoundGL());
}

TEST_F(AccumDisplayTest, TrailOfOneFrameWeighsOneOverOnePlusWeight) {
    viewState.trailMode = true;
    logoString.frameCount = 1;
    logoString.trailWeight = 0.25f;
    accumDisplay();
    EXPECT_EQ(accumWeights(), std::vector<double>{1.0f / 1.25f});
}

TEST_F(AccumDisplayTest, TrailWithAntialiasingDividesEveryFrameByThePasses) {
    viewState.trailMode = true;
    viewState.aaMode = true;
    viewState.passes = 2;
    logoString.frameCount = 2;
    logoString.trailWeight = 1.0f;
    logoString.trailRatio = 1.0f;
    accumDisplay();
    const float third = 1.0f / 3.0f;
    EXPECT_EQ(accumWeights(), (std::vector<double>{third / 2.0f, third / 2.0f, third / 2.0f, third / 2.0f}));
}

// Pass i tilts by the jitter angle about the screen direction at i quarter
// turns, and is shifted along that same direction; the tilt turns about the
// logo's centre, which stays at the window centre plus the shift.
TEST_F(AccumDisplayTest, AntialiasingAndJitterShareTheAngleOfEachPass) {
    viewState.aaMode = true;
    viewState.jitterMode = true;
    viewState.passes = 4;
    viewState.jitterAngle = 0.8f;
    accumDisplay();
    const std::vector<capture::ListCall>& calls = capture::ListCalls();
    ASSERT_EQ(calls.size(), 4u);
    for (unsigned i = 0; i < 4; ++i) {
        const Vector3 axis(static_cast<float>(std::cos(i * M_PI / 2.0)), static_cast<float>(std::sin(i * M_PI / 2.0)), 0);
        EXPECT_TRUE(app_test::NearPoint(captured::Transformed(calls[i].modelview, Origin), Vector3(200, 200, -550) + 0.45f * axis))
            << i;
        EXPECT_TRUE(app_test::NearPoint(turned(calls[i], axis), axis, 1e-6f)) << i;
        const Vector3 tilted = turned(calls[i], UnitZ);
        EXPECT_NEAR(std::acos(Dot(tilted, UnitZ)) * 180 / M_PI, 0.8, 1e-3) << i;
        EXPECT_NEAR(Dot(tilted, Cross(axis, UnitZ)), std::sin(0.8 * M_PI / 180), 1e-6) << "right-handed, " << i;
    }
}

TEST_F(AccumDisplayTest, JitterAloneTiltsWithoutShifting) {
    viewState.jitterMode = true;
    viewState.passes = 2;
    accumDisplay();
    const std::vector<capture::ListCall>& calls = capture::ListCalls();
    ASSERT_EQ(calls.size(), 2u);
    for (unsigned i = 0; i < 2; ++i) {
        EXPECT_EQ(captured::Transformed(calls[i].modelview, Origin).x, 200.0f) << i;
        EXPECT_EQ(captured::Transformed(calls[i].modelview, Origin).y, 200.0f) << i;
        EXPECT_NEAR(std::acos(Dot(turned(calls[i], UnitZ), UnitZ)) * 180 / M_PI, 0.4, 1e-3) << i;
    }
}

}  // namespace
