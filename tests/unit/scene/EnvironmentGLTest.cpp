#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>
#include <tuple>
#include <vector>

#include "RecordingGL.h"
#include "scene/Environment.h"
#include "scene/Material.h"

namespace {

using gl_record::Call;

// A readable form of a call: name and arguments, for comparing sequences.
std::string describe(const Call& call) {
    std::string s = call.name + "(";
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%g", i ? ", " : "", call.args[i]);
        s += number;
    }
    return s + ")";
}

std::vector<std::string> recorded() {
    std::vector<std::string> out;
    for (const Call& call : gl_record::Calls()) out.push_back(describe(call));
    return out;
}

std::string call(const char* name, std::vector<double> args) { return describe(Call{name, args}); }

std::vector<std::string> lightCalls(GLenum id, const Light& l) {
    return {call("glLightfv", {double(id), GL_AMBIENT, l.ambient.red, l.ambient.green, l.ambient.blue, l.ambient.alpha}),
            call("glLightfv", {double(id), GL_DIFFUSE, l.diffuse.red, l.diffuse.green, l.diffuse.blue, l.diffuse.alpha}),
            call("glLightfv",
                 {double(id), GL_SPECULAR, l.specular.red, l.specular.green, l.specular.blue, l.specular.alpha}),
            call("glLightfv", {double(id), GL_POSITION, l.position.x, l.position.y, l.position.z, l.positionW}),
            call("glLightfv", {double(id), GL_SPOT_DIRECTION, l.spotDirection.x, l.spotDirection.y, l.spotDirection.z}),
            call("glLightf", {double(id), GL_SPOT_EXPONENT, l.spotExponent}),
            call("glLightf", {double(id), GL_SPOT_CUTOFF, l.spotCutoff}),
            call("glLightf", {double(id), GL_CONSTANT_ATTENUATION, l.constantAttenuation}),
            call("glLightf", {double(id), GL_LINEAR_ATTENUATION, l.linearAttenuation}),
            call("glLightf", {double(id), GL_QUADRATIC_ATTENUATION, l.quadraticAttenuation}),
            call("glEnable", {double(id)})};
}

std::vector<std::string> lightingPrologue(const Environment& e) {
    std::vector<std::string> out{call("glDisable", {GL_LIGHTING})};
    for (int k = 0; k < 8; ++k) out.push_back(call("glDisable", {double(GL_LIGHT0 + k)}));
    const Color& a = e.lightModel.ambient;
    out.push_back(call("glLightModelfv", {GL_LIGHT_MODEL_AMBIENT, a.red, a.green, a.blue, a.alpha}));
    out.push_back(call("glLightModeli", {GL_LIGHT_MODEL_LOCAL_VIEWER, double(e.lightModel.localViewer != 0)}));
    out.push_back(call("glLightModeli", {GL_LIGHT_MODEL_TWO_SIDE, double(e.lightModel.twoSide != 0)}));
    out.push_back(call("glEnable", {GL_LIGHTING}));
    return out;
}

class EnvironmentGL : public ::testing::Test {
protected:
    void SetUp() override { gl_record::Reset(); }
};

TEST_F(EnvironmentGL, OnlyEnabledLightsReceiveCalls) {
    for (int enabledLights : {1, 2}) {
        gl_record::Reset();
        Environment e;
        e.lightModel.localViewer = 7;
        e.lights[0].enabled = 1;
        e.lights[0].position = Vector3(1, 2, 3);
        e.lights[0].positionW = 1;
        if (enabledLights == 2) e.lights[5].enabled = 1;
        e.ApplyLighting();

        std::vector<std::string> expected = lightingPrologue(e);
        for (const std::string& s : lightCalls(GL_LIGHT0, e.lights[0])) expected.push_back(s);
        if (enabledLights == 2)
            for (const std::string& s : lightCalls(GL_LIGHT5, e.lights[5])) expected.push_back(s);
        expected.push_back(call("glEnable", {GL_FOG}));
        expected.push_back(call("glDisable", {GL_FOG}));
        EXPECT_EQ(recorded(), expected) << enabledLights << " lights";
    }
}

TEST_F(EnvironmentGL, FogModesSelectTheirFunctionOrSwitchFogOff) {
    const struct {
        int mode;
        GLenum function;  // 0: fog off
    } cases[] = {{0, 0}, {1, GL_LINEAR}, {2, GL_EXP}, {3, GL_EXP2}, {4, 0}, {-1, 0}};
    for (const auto& c : cases) {
        gl_record::Reset();
        Fog fog;
        fog.mode = c.mode;
        fog.density = 0.25f;
        fog.start = 10;
        fog.end = 90;
        fog.color = Color(0.1f, 0.2f, 0.3f, 1);
        fog.Apply();
        std::vector<std::string> expected{call("glEnable", {GL_FOG})};
        if (c.function == 0) {
            expected.push_back(call("glDisable", {GL_FOG}));
        } else {
            expected.push_back(call("glFogi", {GL_FOG_MODE, double(c.function)}));
            expected.push_back(call("glFogf", {GL_FOG_DENSITY, 0.25}));
            expected.push_back(call("glFogf", {GL_FOG_START, 10}));
            expected.push_back(call("glFogf", {GL_FOG_END, 90}));
            expected.push_back(call("glFogfv", {GL_FOG_COLOR, 0.1f, 0.2f, 0.3f, 1}));
            expected.push_back(call("glHint", {GL_FOG_HINT, GL_DONT_CARE}));
        }
        EXPECT_EQ(recorded(), expected) << "mode " << c.mode;
    }
}

TEST_F(EnvironmentGL, DefaultOrthographicProjectionSpansTheWindow) {
    Environment e;
    e.SetViewport(0, 0, 400, 400);
    e.projection.Apply();
    EXPECT_EQ(recorded(), (std::vector<std::string>{
                              call("glViewport", {0, 0, 400, 400}),
                              call("glMatrixMode", {GL_PROJECTION}),
                              call("glLoadIdentity", {}),
                              call("glOrtho", {-200, 200, -200, 200, -100, 1000}),
                              call("glTranslatef", {-200, -200, 100}),
                              call("glMatrixMode", {GL_MODELVIEW}),
                          }));
}

TEST_F(EnvironmentGL, PerspectiveProjectionKeepsTheSizeAtMiddleDepth) {
    Environment e;
    e.projection.type = 1;
    e.projection.near = 100;
    e.projection.far = 1100;
    e.SetViewport(0, 0, 400, 400);
    e.projection.Apply();
    std::vector<Call> frustum = gl_record::EffectiveNamed("glFrustum");
    ASSERT_EQ(frustum.size(), 1u);
    const double expected[] = {-33.333333, 33.333333, -33.333333, 33.333333, 100, 1100};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(frustum[0].args[i], expected[i], 1e-4);
    std::vector<Call> translate = gl_record::EffectiveNamed("glTranslatef");
    ASSERT_EQ(translate.size(), 1u);
    EXPECT_EQ(translate[0].args, (std::vector<double>{-200, -200, -100}));
}

TEST_F(EnvironmentGL, OtherProjectionTypesAndAMiddleDepthAtTheEyeSetNoVolume) {
    for (auto [type, near, far] : {std::tuple<unsigned, float, float>{2, -100, 1000}, {1, -500, 500}}) {
        gl_record::Reset();
        Environment e;
        e.projection.type = type;
        e.projection.near = near;
        e.projection.far = far;
        e.projection.Apply();
        EXPECT_TRUE(gl_record::EffectiveNamed("glOrtho").empty());
        EXPECT_TRUE(gl_record::EffectiveNamed("glFrustum").empty());
        EXPECT_EQ(gl_record::EffectiveNamed("glTranslatef").size(), 1u);
    }
}

TEST_F(EnvironmentGL, ClearColoursAndMaterialHandOver) {
    Environment e;
    e.clearColor = Color(0.1f, 0.2f, 0.3f, 0.4f);
    e.ApplyClearColors();
    Material m;
    m.shininess = 12;
    m.Apply();
    std::vector<std::string> got = recorded();
    ASSERT_EQ(got.size(), 2u + 10u);
    EXPECT_EQ(got[0], call("glClearColor", {0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(got[1], call("glClearAccum", {0, 0, 0, 0}));
    EXPECT_EQ(got[2], call("glMaterialfv", {GL_FRONT, GL_AMBIENT, 0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(got[3], call("glMaterialfv", {GL_BACK, GL_AMBIENT, 0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(got[8], call("glMaterialf", {GL_FRONT, GL_SHININESS, 12}));
    EXPECT_EQ(got[9], call("glMaterialf", {GL_BACK, GL_SHININESS, 12}));
    EXPECT_EQ(got[11], call("glMaterialfv", {GL_BACK, GL_EMISSION, 0, 0, 0, 1}));
}

}  // namespace
