#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "scene/Environment.h"

namespace {

const char* kClearColourLine = "# clear colour\n0 0 0.2 1\n";
const char* kOtherSceneLines =
    "0.2 0.2 0.2 1\n"
    "0 1\n"
    "0 400 400 -100 1000\n"
    "1 0.5 0 1\n"
    "0.5 0.5 0.5 1\n";
const std::string kSceneLines = std::string(kClearColourLine) + kOtherSceneLines;

std::string lightBlock(int n) {
    std::string s = std::to_string(n);
    return "0 0 0 1\n1 0 0 1\n1 1 1 1\n" + s + " 2 3 0\n0 0 -2\n0 45 1 0 0\n";
}

int readEnvironment(const std::string& text, Environment& environment) {
    std::istringstream in(text);
    return environment.Read(in);
}

int enabledCount(const Environment& environment) {
    int n = 0;
    for (const Light& light : environment.lights) n += light.enabled ? 1 : 0;
    return n;
}

TEST(EnvironmentRead, SceneLinesGoToTheirFields) {
    Environment e;
    ASSERT_EQ(readEnvironment(kSceneLines + lightBlock(1), e), 0);
    EXPECT_FLOAT_EQ(e.clearColor.blue, 0.2f);
    EXPECT_EQ(e.lightModel.localViewer, 0);
    EXPECT_EQ(e.lightModel.twoSide, 1);
    EXPECT_EQ(e.projection.type, 0u);
    EXPECT_FLOAT_EQ(e.projection.near, -100.0f);
    EXPECT_FLOAT_EQ(e.projection.far, 1000.0f);
    EXPECT_EQ(e.fog.mode, 1);
    EXPECT_FLOAT_EQ(e.fog.density, 0.5f);
    EXPECT_FLOAT_EQ(e.fog.end, 1.0f);
    EXPECT_FLOAT_EQ(e.fog.color.red, 0.5f);
    EXPECT_EQ(e.lights[3].lightId, static_cast<GLenum>(GL_LIGHT3));
}

TEST(EnvironmentRead, OneLightWithFinalLineEndEnablesOnlyLightZero) {
    Environment e;
    ASSERT_EQ(readEnvironment(kSceneLines + lightBlock(1), e), 0);
    EXPECT_EQ(e.lights[0].enabled, 1);
    EXPECT_EQ(enabledCount(e), 1);
    EXPECT_FLOAT_EQ(e.lights[0].position.x, 1.0f);
    EXPECT_FLOAT_EQ(e.lights[0].spotDirection.z, -1.0f);  // normalised
    EXPECT_FLOAT_EQ(e.lights[0].spotCutoff, 45.0f);
}

TEST(EnvironmentRead, LightsWithoutFinalLineEndStillCount) {
    std::string one = kSceneLines + lightBlock(1);
    one.pop_back();
    Environment e;
    EXPECT_EQ(readEnvironment(one, e), 0);
    EXPECT_EQ(enabledCount(e), 1);

    std::string two = kSceneLines + lightBlock(1) + lightBlock(2);
    two.pop_back();
    Environment f;
    EXPECT_EQ(readEnvironment(two, f), 0);
    EXPECT_EQ(enabledCount(f), 2);
    EXPECT_FLOAT_EQ(f.lights[1].position.x, 2.0f);
}

TEST(EnvironmentRead, CommentsMayStandBetweenTheLinesOfALight) {
    std::string text = kSceneLines + "0 0 0 1\n# diffuse next\n\n1 0 0 1\n1 1 1 1\n#\n5 6 7 1\n0 0 -1\n0 180 1 0 0\n";
    Environment e;
    EXPECT_EQ(readEnvironment(text, e), 0);
    EXPECT_EQ(enabledCount(e), 1);
    EXPECT_FLOAT_EQ(e.lights[0].position.y, 6.0f);
}

TEST(EnvironmentRead, NineLightBlocksReadOnlyEight) {
    std::string text = kSceneLines;
    for (int k = 0; k < 9; ++k) text += lightBlock(k);
    Environment e;
    EXPECT_EQ(readEnvironment(text, e), 0);
    EXPECT_EQ(enabledCount(e), 8);
    EXPECT_FLOAT_EQ(e.lights[7].position.x, 7.0f);
}

TEST(EnvironmentRead, ZeroSpotDirectionStaysZero) {
    std::string text = kSceneLines + "0 0 0 1\n1 0 0 1\n1 1 1 1\n0 0 1 0\n0 0 0\n0 180 1 0 0\n";
    Environment e;
    EXPECT_EQ(readEnvironment(text, e), 0);
    EXPECT_FLOAT_EQ(e.lights[0].spotDirection.x, 0.0f);
    EXPECT_FLOAT_EQ(e.lights[0].spotDirection.y, 0.0f);
    EXPECT_FLOAT_EQ(e.lights[0].spotDirection.z, 0.0f);
}

TEST(EnvironmentRead, AFaultyLightIsUsedButEndsTheList) {
    std::string text = kSceneLines + lightBlock(1) + "0 0 0 1\n1 0 0\n1 1 1 1\n0 0 1 0\n0 0 -1\n0 180 1 0 0\n" +
                       lightBlock(3);
    Environment e;
    EXPECT_EQ(readEnvironment(text, e), 0);
    EXPECT_EQ(e.lights[1].enabled, 1);
    EXPECT_EQ(e.lights[2].enabled, 0);
}

TEST(EnvironmentRead, FailuresOfTheSceneLinesFailTheLoad) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"colour with three numbers", "0 0 0\n0.2 0.2 0.2 1\n0 0\n0 400 400 -100 1000\n0 1 0 1\n1 1 1 1\n" + lightBlock(0)},
        {"projection missing far", "0 0 0 1\n0.2 0.2 0.2 1\n0 0\n0 400 400 -100\n0 1 0 1\n1 1 1 1\n" + lightBlock(0)},
        {"fewer than six lines", "0 0 0 1\n0.2 0.2 0.2 1\n0 0\n"},
        {"no light", kSceneLines},
        {"empty file", ""},
    };
    for (const Case& c : cases) {
        Environment e;
        EXPECT_NE(readEnvironment(c.text, e), 0) << c.name;
    }
}

TEST(EnvironmentRead, ClearColourOutOfRangeIsNotAFailure) {
    std::string text = std::string("0.5 2 0 1\n") + kOtherSceneLines + lightBlock(0);
    Environment e;
    EXPECT_EQ(readEnvironment(text, e), 0);
    EXPECT_FLOAT_EQ(e.clearColor.red, 0.5f);
    EXPECT_FLOAT_EQ(e.clearColor.green, 1.0f);
    EXPECT_FLOAT_EQ(e.clearColor.blue, 0.0f);
}

}  // namespace
