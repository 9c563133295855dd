#include "app/AccumDisplay.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "AppTestSupport.h"
#include "app/Display.h"

namespace {

using app_test::Describe;
using app_test::Names;
using gl_record::Call;

std::vector<Call> named(const std::vector<Call>& calls, const std::string& name) {
    std::vector<Call> out;
    for (const Call& call : calls)
        if (call.name == name) out.push_back(call);
    return out;
}

std::vector<double> accumWeights() {
    std::vector<double> weights;
    for (const Call& call : gl_record::EffectiveNamed("glAccum"))
        if (call.args[0] == GL_ACCUM) weights.push_back(call.args[1]);
    return weights;
}

class AccumDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::ResetProgram();
        reshape(400, 400);
        gl_record::Reset();
    }
};

TEST_F(AccumDisplayTest, AntialiasingAloneMakesEightShiftedPasses) {
    viewState.aaMode = true;
    accumDisplay();
    const std::vector<Call> calls = gl_record::Calls();
    EXPECT_EQ(Describe(calls[0]), "glColorMaterial " + std::to_string(GL_FRONT) + " " +
                                      std::to_string(GL_AMBIENT_AND_DIFFUSE));
    EXPECT_EQ(Describe(calls[2]), "glClear " + std::to_string(GL_ACCUM_BUFFER_BIT));
    const std::vector<Call> translations = named(calls, "glTranslatef");
    ASSERT_EQ(translations.size(), 16u);
    for (unsigned i = 0; i < 8; ++i) {
        const double angle = i * M_PI / 4.0;
        EXPECT_NEAR(translations[2 * i].args[0], 0.45 * std::cos(angle), 1e-6) << i;
        EXPECT_NEAR(translations[2 * i].args[1], 0.45 * std::sin(angle), 1e-6) << i;
        EXPECT_EQ(translations[2 * i].args[2], 0.0);
        EXPECT_EQ(Describe(translations[2 * i + 1]), "glTranslatef 200 200 -550");
    }
    EXPECT_EQ(accumWeights(), std::vector<double>(8, 0.125));
    EXPECT_EQ(named(calls, "glRotatef").size(), 24u);  // the view's three per pass, no jitter
    const std::vector<std::string> names = Names(calls);
    const std::vector<std::string> ending(names.end() - 3, names.end());
    EXPECT_EQ(ending, (std::vector<std::string>{"glAccum", "glFlush", "glutSwapBuffers"}));
    EXPECT_EQ(Describe(named(calls, "glAccum").back()), "glAccum " + std::to_string(GL_RETURN) + " 1");
}

TEST_F(AccumDisplayTest, EachPassClearsAndRestoresTheMatrix) {
    viewState.aaMode = true;
    viewState.passes = 3;
    const std::vector<std::string> logo = app_test::LogoDrawCalls();
    accumDisplay();
    const std::vector<std::string> calls = Describe(gl_record::Calls());
    const std::vector<std::string> names = Names(gl_record::Calls());
    const std::vector<std::string> firstPass(names.begin() + 3, names.begin() + 12);
    EXPECT_EQ(firstPass, (std::vector<std::string>{"glClear", "glClear", "glPushMatrix", "glTranslatef", "glTranslatef",
                                                   "glRotatef", "glRotatef", "glRotatef", "glScalef"}));
    const std::vector<std::string> drawn(calls.begin() + 12, calls.begin() + 12 + logo.size());
    EXPECT_EQ(drawn, logo);
    EXPECT_EQ(names[12 + logo.size()], "glAccum");
    EXPECT_EQ(names[13 + logo.size()], "glPopMatrix");
    const std::size_t logoPushes = named(gl_record::Calls(), "glPushMatrix").size() - 3;
    EXPECT_EQ(logoPushes % 3, 0u);
    EXPECT_EQ(named(gl_record::Calls(), "glPopMatrix").size(), named(gl_record::Calls(), "glPushMatrix").size());
}

TEST_F(AccumDisplayTest, OnePassShiftsRightByTheRadius) {
    viewState.aaMode = true;
    viewState.passes = 1;
    viewState.aaRadius = 0.7f;
    accumDisplay();
    const std::vector<Call> translations = named(gl_record::Calls(), "glTranslatef");
    ASSERT_EQ(translations.size(), 2u);
    EXPECT_EQ(Describe(translations[0]), Describe(Call{"glTranslatef", {0.7f, 0.0f, 0.0f}}));
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
    EXPECT_EQ(named(gl_record::Calls(), "glClear").size(), 3u);  // accumulation, colour, depth: once
    EXPECT_EQ(named(gl_record::Calls(), "glPopMatrix").size(), named(gl_record::Calls(), "glPushMatrix").size());
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

TEST_F(AccumDisplayTest, AntialiasingAndJitterShareTheAngleOfEachPass) {
    viewState.aaMode = true;
    viewState.jitterMode = true;
    viewState.passes = 4;
    viewState.jitterAngle = 0.8f;
    accumDisplay();
    const std::vector<Call> calls = gl_record::Calls();
    const std::vector<Call> translations = named(calls, "glTranslatef");
    const std::vector<Call> rotations = named(calls, "glRotatef");
    ASSERT_EQ(translations.size(), 8u);
    ASSERT_EQ(rotations.size(), 16u);
    for (unsigned i = 0; i < 4; ++i) {
        const Call& shift = translations[2 * i];
        const Call& tilt = rotations[4 * i];
        EXPECT_FLOAT_EQ(static_cast<float>(tilt.args[0]), 0.8f);
        EXPECT_NEAR(shift.args[0], 0.45 * tilt.args[1], 1e-6) << i;
        EXPECT_NEAR(shift.args[1], 0.45 * tilt.args[2], 1e-6) << i;
        EXPECT_NEAR(tilt.args[1], std::cos(i * M_PI / 2.0), 1e-6) << i;
        EXPECT_NEAR(tilt.args[2], std::sin(i * M_PI / 2.0), 1e-6) << i;
        EXPECT_EQ(tilt.args[3], 0.0);
    }
    // The tilt comes after the move to the window centre, so it turns about the logo's centre.
    const std::vector<std::string> names = Names(calls);
    const std::vector<std::string> firstPass(names.begin() + 6, names.begin() + 10);
    EXPECT_EQ(firstPass, (std::vector<std::string>{"glTranslatef", "glTranslatef", "glRotatef", "glRotatef"}));
}

TEST_F(AccumDisplayTest, JitterAloneTiltsWithoutShifting) {
    viewState.jitterMode = true;
    viewState.passes = 2;
    accumDisplay();
    const std::vector<Call> translations = named(gl_record::Calls(), "glTranslatef");
    ASSERT_EQ(translations.size(), 2u);
    EXPECT_EQ(Describe(translations[0]), "glTranslatef 200 200 -550");
    EXPECT_EQ(named(gl_record::Calls(), "glRotatef").size(), 8u);
}

}  // namespace
