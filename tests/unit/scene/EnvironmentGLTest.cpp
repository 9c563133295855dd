// The environment turned into GL state: what GL holds after each Apply,
// lights as GL stores them (through the model-view matrix of their call).

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <map>
#include <tuple>
#include <vector>

#include "Captured.h"
#include "scene/Environment.h"
#include "scene/Material.h"

namespace {

std::vector<float> values(const float* v, int count) { return std::vector<float>(v, v + count); }
std::vector<float> values(const Color& c) { return {c.red, c.green, c.blue, c.alpha}; }
std::vector<float> values(const Vector3& v, float w) { return {v.x, v.y, v.z, w}; }

class EnvironmentGL : public ::testing::Test {
protected:
    void SetUp() override { captured::Restart(); }
};

// A light as GL holds it, against the light of the environment file.
void expectLight(const capture::LightSettings& got, const Light& l, const std::vector<float>& position,
                 const std::vector<float>& direction) {
    EXPECT_EQ(values(got.ambient, 4), values(l.ambient));
    EXPECT_EQ(values(got.diffuse, 4), values(l.diffuse));
    EXPECT_EQ(values(got.specular, 4), values(l.specular));
    EXPECT_EQ(values(got.position, 4), position);
    EXPECT_EQ(values(got.spotDirection, 3), direction);
    EXPECT_EQ(got.spotExponent, l.spotExponent);
    EXPECT_EQ(got.spotCutoff, l.spotCutoff);
    EXPECT_EQ(values(got.attenuation, 3),
              (std::vector<float>{l.constantAttenuation, l.linearAttenuation, l.quadraticAttenuation}));
}

// Every light was on before: those the file leaves out end up off and
// untouched (GL's own values), those it has on and set as the file says.
TEST_F(EnvironmentGL, OnlyEnabledLightsAreSetAndSwitchedOn) {
    for (int enabledLights : {1, 2}) {
        SCOPED_TRACE(std::to_string(enabledLights) + " lights");
        captured::Restart();
        for (int k = 0; k < 8; ++k) glEnable(GL_LIGHT0 + k);
        Environment e;
        e.lightModel.ambient = Color(0.1f, 0.2f, 0.3f, 1);
        e.lightModel.localViewer = 7;
        e.lights[0].enabled = 1;
        e.lights[0].diffuse = Color(0.5f, 0.25f, 1, 1);
        e.lights[0].position = Vector3(1, 2, 3);
        e.lights[0].positionW = 1;
        e.lights[0].spotCutoff = 45;
        e.lights[0].linearAttenuation = 0.5f;
        if (enabledLights == 2) {
            e.lights[5].enabled = 1;
            e.lights[5].spotExponent = 3;
        }
        e.ApplyLighting();

        const capture::GLState state = capture::Current();
        const capture::GLState initial;
        EXPECT_TRUE(state.IsEnabled(GL_LIGHTING));
        EXPECT_EQ(values(state.lightModelAmbient, 4), values(e.lightModel.ambient));
        EXPECT_TRUE(state.localViewer);
        EXPECT_FALSE(state.twoSide);
        for (int k = 0; k < 8; ++k) {
            SCOPED_TRACE("light " + std::to_string(k));
            const Light& l = e.lights[k];
            EXPECT_EQ(state.IsEnabled(GL_LIGHT0 + k), l.enabled != 0);
            if (l.enabled) {
                expectLight(state.lights[k], l, values(l.position, l.positionW),
                            values(&l.spotDirection.x, 3));
            } else {
                const capture::LightSettings& got = state.lights[k];
                EXPECT_EQ(values(got.diffuse, 4), values(initial.lights[k].diffuse, 4));
                EXPECT_EQ(values(got.position, 4), values(initial.lights[k].position, 4));
                EXPECT_EQ(got.spotExponent, initial.lights[k].spotExponent);
            }
        }
        EXPECT_FALSE(state.IsEnabled(GL_FOG));
        EXPECT_TRUE(captured::SoundGL());
    }
}

// GL keeps a light's place in eye coordinates: the position through the
// model-view matrix of the call, the spot direction through its turn.
TEST_F(EnvironmentGL, LightsArePlacedByTheModelViewMatrixInForce) {
    Environment e;
    e.lights[0].enabled = 1;
    e.lights[0].position = Vector3(1, 2, 3);
    e.lights[0].positionW = 1;
    e.lights[0].spotDirection = UnitX;
    e.lights[1].enabled = 1;
    e.lights[1].position = Vector3(1, 0, 0);  // at infinity: only turned
    glTranslatef(10, 0, 0);
    glRotatef(90, 0, 0, 1);  // x becomes y
    e.ApplyLighting();
    const capture::GLState state = capture::Current();
    const float* placed = state.lights[0].position;
    EXPECT_NEAR(placed[0], 8, 1e-5);
    EXPECT_NEAR(placed[1], 1, 1e-5);
    EXPECT_NEAR(placed[2], 3, 1e-5);
    EXPECT_EQ(placed[3], 1);
    EXPECT_NEAR(state.lights[0].spotDirection[0], 0, 1e-6);
    EXPECT_NEAR(state.lights[0].spotDirection[1], 1, 1e-6);
    EXPECT_NEAR(state.lights[1].position[0], 0, 1e-6);
    EXPECT_NEAR(state.lights[1].position[1], 1, 1e-6);
    EXPECT_EQ(state.lights[1].position[3], 0);
}

TEST_F(EnvironmentGL, FogModesSelectTheirFunctionOrSwitchFogOff) {
    const struct {
        int mode;
        GLenum function;  // 0: fog off
    } cases[] = {{0, 0}, {1, GL_LINEAR}, {2, GL_EXP}, {3, GL_EXP2}, {4, 0}, {-1, 0}};
    const capture::GLState initial;
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        captured::Restart();
        glEnable(GL_FOG);
        glHint(GL_FOG_HINT, GL_NICEST);
        Fog fog;
        fog.mode = c.mode;
        fog.density = 0.25f;
        fog.start = 10;
        fog.end = 90;
        fog.color = Color(0.1f, 0.2f, 0.3f, 1);
        fog.Apply();
        const capture::GLState state = capture::Current();
        EXPECT_EQ(state.IsEnabled(GL_FOG), c.function != 0);
        const capture::FogSettings& expected = c.function == 0 ? initial.fog : capture::FogSettings{};
        EXPECT_EQ(state.fog.mode, c.function == 0 ? expected.mode : c.function);
        EXPECT_EQ(state.fog.density, c.function == 0 ? expected.density : 0.25f);
        EXPECT_EQ(state.fog.start, c.function == 0 ? expected.start : 10.0f);
        EXPECT_EQ(state.fog.end, c.function == 0 ? expected.end : 90.0f);
        const std::vector<float> colour =
            c.function == 0 ? values(expected.colour, 4) : std::vector<float>{0.1f, 0.2f, 0.3f, 1};
        EXPECT_EQ(values(state.fog.colour, 4), colour);
        EXPECT_EQ(state.Hint(GL_FOG_HINT), c.function == 0 ? GLenum(GL_NICEST) : GLenum(GL_DONT_CARE));
    }
}

// Where the projection takes model points, as normalised device coordinates.
void expectDevicePoints(const std::vector<std::pair<Vector3, Vector3>>& points) {
    const capture::GLState state = capture::Current();
    for (const auto& [model, device] : points) {
        const Vector3 got = captured::Transformed(state.projection, model);
        EXPECT_LT(Length(got - device), 1e-4f) << "(" << model.x << ", " << model.y << ", " << model.z
                                                << ") goes to (" << got.x << ", " << got.y << ", " << got.z << ")";
    }
    EXPECT_EQ(state.matrixMode, GLenum(GL_MODELVIEW));
}

TEST_F(EnvironmentGL, DefaultOrthographicProjectionSpansTheWindow) {
    glTranslatef(1, 2, 3);  // the model-view matrix is the caller's
    Environment e;
    e.SetViewport(0, 0, 400, 400);
    e.projection.Apply();
    const capture::GLState state = capture::Current();
    EXPECT_EQ(std::vector<int>(state.viewport, state.viewport + 4), (std::vector<int>{0, 0, 400, 400}));
    // x and y over the window at every depth; z from 0 to near - far over the depth range.
    expectDevicePoints({{{0, 0, 0}, {-1, -1, -1}},
                        {{400, 400, -1100}, {1, 1, 1}},
                        {{400, 0, -550}, {1, -1, 0}},
                        {{200, 400, -550}, {0, 1, 0}}});
    EXPECT_EQ(state.modelview[12], 1.0f);
}

TEST_F(EnvironmentGL, PerspectiveProjectionKeepsTheSizeAtMiddleDepth) {
    Environment e;
    e.projection.type = 1;
    e.projection.near = 100;
    e.projection.far = 1100;
    e.SetViewport(0, 0, 400, 400);
    e.projection.Apply();
    // The window at the middle depth (model z -500), the near plane at z 0
    // and the far one at -1000.
    expectDevicePoints({{{0, 0, -500}, {-1, -1, 0.8333333f}},
                        {{400, 400, -500}, {1, 1, 0.8333333f}},
                        {{200, 200, 0}, {0, 0, -1}},
                        {{200, 200, -1000}, {0, 0, 1}}});
}

TEST_F(EnvironmentGL, OtherProjectionTypesAndAMiddleDepthAtTheEyeSetNoVolume) {
    for (auto [type, near, far] : {std::tuple<unsigned, float, float>{2, -100, 1000}, {1, -500, 500}}) {
        captured::Restart();
        Environment e;
        e.projection.type = type;
        e.projection.near = near;
        e.projection.far = far;
        e.projection.Apply();
        // Only the move of the model origin.
        EXPECT_EQ(values(capture::Current().projection, 16),
                  (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -200, -200, -near, 1}))
            << type;
        EXPECT_EQ(capture::Current().matrixMode, GLenum(GL_MODELVIEW));
        EXPECT_EQ(capture::Problems().invalidValue, 0) << "no volume is asked for";
    }
}

TEST_F(EnvironmentGL, ClearColoursAndMaterialHandOver) {
    glClearAccum(1, 1, 1, 1);
    Environment e;
    e.clearColor = Color(0.1f, 0.2f, 0.3f, 0.4f);
    e.ApplyClearColors();
    EXPECT_EQ(values(capture::Current().clearColour, 4), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(values(capture::Current().clearAccum, 4), (std::vector<float>{0, 0, 0, 0}));

    captured::Restart();
    Material m;
    m.diffuse = Color(0.5f, 0.25f, 1, 1);
    m.shininess = 12;
    m.Apply();
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 3; ++i) glVertex3f(float(i), float(i * i), 0);
    glEnd();
    ASSERT_EQ(capture::Triangles().size(), 1u);
    const capture::Surface& front = capture::Surfaces().at(capture::Triangles()[0].surface);
    EXPECT_EQ(values(front.ambient, 4), values(m.ambient));
    EXPECT_EQ(values(front.diffuse, 4), values(m.diffuse));
    EXPECT_EQ(values(front.specular, 4), values(m.specular));
    EXPECT_EQ(values(front.emission, 4), values(m.emission));
    EXPECT_EQ(front.shininess, 12);
    // The back faces get the same material.
    std::map<double, std::vector<double>> back;
    for (const capture::Call& call : captured::Calls())
        if ((call.name == "glMaterialfv" || call.name == "glMaterialf") && call.args[0] == GL_BACK)
            back[call.args[1]] = std::vector<double>(call.args.begin() + 2, call.args.end());
    EXPECT_EQ(back[GL_AMBIENT], (std::vector<double>{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(back[GL_DIFFUSE], (std::vector<double>{0.5, 0.25, 1, 1}));
    EXPECT_EQ(back[GL_SPECULAR], (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(back[GL_SHININESS], std::vector<double>{12});
    EXPECT_EQ(back[GL_EMISSION], (std::vector<double>{0, 0, 0, 1}));
}

}  // namespace
