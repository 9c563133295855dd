#include "app/Display.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AppTestSupport.h"
#include "app/Interaction.h"

namespace {

using captured::Names;
using captured::Position;

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { app_test::ResetProgram(); }
};

std::vector<float> four(const float* v) { return std::vector<float>(v, v + 4); }


// Every setting initGL makes, against a GL left in other states, so that
// none of them passes for being GL's initial value.
TEST_F(DisplayTest, InitGLSetsTheFixedStateAndTheLightsAndRegistersInputLast) {
    glClearAccum(1, 1, 1, 1);
    glDepthFunc(GL_ALWAYS);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glCullFace(GL_FRONT);
    glBlendFunc(GL_ONE, GL_ONE);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    glShadeModel(GL_FLAT);
    environment.clearColor = Color(0.1f, 0.2f, 0.3f, 1);
    environment.lights[0].enabled = 1;
    environment.lights[0].position = Vector3(1, 2, 3);
    environment.lights[0].positionW = 1;
    initGL();

    const capture::GLState state = capture::Current();
    EXPECT_EQ(four(state.clearColour), (std::vector<float>{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(four(state.clearAccum), (std::vector<float>{0, 0, 0, 0}));
    EXPECT_EQ(state.depthFunc, GLenum(GL_LESS));
    for (GLenum on : {GL_DEPTH_TEST, GL_NORMALIZE, GL_CULL_FACE, GL_BLEND, GL_LIGHTING, GL_LIGHT0})
        EXPECT_TRUE(state.IsEnabled(on)) << on;
    EXPECT_EQ(state.polygonMode[0], GLenum(GL_FILL));
    EXPECT_EQ(state.polygonMode[1], GLenum(GL_FILL));
    EXPECT_EQ(state.cullFace, GLenum(GL_BACK));
    EXPECT_EQ(state.blendSource, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(state.blendDestination, GLenum(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(state.Hint(GL_POLYGON_SMOOTH_HINT), GLenum(GL_NICEST));
    EXPECT_EQ(state.shadeModel, GLenum(GL_SMOOTH));
    // The model-view matrix is the identity: the light stays where the file put it, in eye coordinates.
    EXPECT_EQ(four(state.lights[0].position), (std::vector<float>{1, 2, 3, 1}));
    EXPECT_EQ(logoString.font, &font);

    const std::vector<std::string> names = Names(captured::Calls());
    const std::vector<std::string> lastFour(names.end() - 4, names.end());
    EXPECT_EQ(lastFour, (std::vector<std::string>{"glutMotionFunc", "glutMouseFunc", "glutKeyboardFunc",
                                                  "glutSpecialFunc"}));
    const capture::GlutState& glut = capture::Glut();
    EXPECT_EQ(glut.motion, &mouseMotion);
    EXPECT_EQ(glut.mouse, &mouseButton);
    EXPECT_EQ(glut.keyboard, &keyboard);
    EXPECT_EQ(glut.special, &specialKey);
    EXPECT_TRUE(captured::SoundGL());
}

TEST_F(DisplayTest, InitGLLeavesCullingOffWhenSwitchedOff) {
    viewState.cullFaces = false;
    glCullFace(GL_FRONT);
    initGL();
    EXPECT_FALSE(capture::Current().IsEnabled(GL_CULL_FACE));
    EXPECT_EQ(capture::Current().cullFace, GLenum(GL_BACK)) << "set for when the key switches culling on";
}

// Where the projection takes model points: x and y across the window, z
// across the depth range.
struct Projected {
    Vector3 model, device;
};

void expectProjection(const std::vector<Projected>& points) {
    const capture::GLState state = capture::Current();
    for (const Projected& p : points) {
        const Vector3 device = captured::Transformed(state.projection, p.model);
        EXPECT_TRUE(app_test::NearPoint(device, p.device)) << "(" << p.model.x << ", " << p.model.y << ", " << p.model.z << ") goes to ("
                                            << device.x << ", " << device.y << ", " << device.z << ")";
    }
    EXPECT_EQ(state.matrixMode, GLenum(GL_MODELVIEW));
}

TEST_F(DisplayTest, ReshapeWithTheDefaultEnvironmentGivesDepth1100) {
    reshape(400, 400);
    EXPECT_EQ(viewState.viewDepth, 1100.0f);
    const capture::GLState state = capture::Current();
    EXPECT_EQ(std::vector<int>(state.viewport, state.viewport + 4), (std::vector<int>{0, 0, 400, 400}));
    // The window's corners at the middle depth, and the depth range from 0 to -1100.
    expectProjection({{{0, 0, -550}, {-1, -1, 0}},
                      {{400, 400, -550}, {1, 1, 0}},
                      {{200, 200, 0}, {0, 0, -1}},
                      {{200, 200, -1100}, {0, 0, 1}}});
    EXPECT_EQ(capture::Glut().redisplays, 1);
    EXPECT_EQ(Names(captured::Calls()).back(), "glutPostRedisplay");
}

TEST_F(DisplayTest, ReshapeTakesTheWindowSizeForViewAndProjection) {
    environment.projection.width = 999.0f;
    reshape(300, 200);
    EXPECT_EQ(viewState.width, 300);
    EXPECT_EQ(viewState.height, 200);
    EXPECT_EQ(environment.projection.width, 300.0f);
    EXPECT_EQ(environment.projection.height, 200.0f);
    expectProjection({{{0, 0, -550}, {-1, -1, 0}}, {{300, 200, -550}, {1, 1, 0}}});
}

TEST_F(DisplayTest, DisplayClearsDrawsTheLogoAtTheWindowCentreAndMiddleDepthAndSwaps) {
    reshape(400, 400);
    const unsigned logo = app_test::ProbeLogo();
    display();
    EXPECT_EQ(app_test::FrameSteps(),
              (std::vector<std::string>{"glClear " + std::to_string(GL_COLOR_BUFFER_BIT),
                                        "glClear " + std::to_string(GL_DEPTH_BUFFER_BIT),
                                        "glCallList " + std::to_string(logo), "glFlush", "glutSwapBuffers"}));
    const std::vector<captured::Face> faces = captured::Faces();
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_TRUE(app_test::NearPoint(Position(faces[0].corners[0]), Vector3(200, 200, -550)));
    EXPECT_TRUE(app_test::NearPoint(Position(faces[0].corners[1]), Vector3(201, 200, -550)));
    // Drawn with the vertex colours as the front's ambient and diffuse terms.
    const capture::Surface& surface = capture::Surfaces().at(faces[0].triangle.surface);
    EXPECT_TRUE(surface.colourMaterial);
    EXPECT_EQ(surface.colourMaterialMode, unsigned(GL_AMBIENT_AND_DIFFUSE));
    EXPECT_EQ(capture::Current().colourMaterialFace, GLenum(GL_FRONT));
    EXPECT_EQ(capture::Glut().swaps, 1);
    EXPECT_TRUE(captured::SoundGL());
}

TEST_F(DisplayTest, TheShadowIsDrawnBeforeTheLogoUnderItsMatrix) {
    reshape(400, 400);
    const unsigned logo = app_test::ProbeLogo();
    logoString.shadow.enabled = 1;
    logoString.shadowList = static_cast<int>(logo);
    // Drops every point onto y = 0.
    const float flatten[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::copy(flatten, flatten + 16, logoString.shadow.matrix);
    display();
    std::vector<capture::ListCall> calls;
    for (const capture::ListCall& call : capture::ListCalls()) calls.push_back(call);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].modelview[5], 0.0f) << "the shadow, flattened, first";
    EXPECT_EQ(calls[1].modelview[5], 1.0f);
    const std::vector<captured::Face> faces = captured::Faces();
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_TRUE(app_test::NearPoint(Position(faces[0].corners[2]), Vector3(200, 200, -550)));
    EXPECT_TRUE(app_test::NearPoint(Position(faces[1].corners[2]), Vector3(200, 201, -550)));
}

TEST_F(DisplayTest, DisplayAppliesPanRotationAndScale) {
    reshape(300, 200);
    viewState.panX = 10.0f;
    viewState.panY = -20.0f;
    viewState.rotX = 15.0f;
    viewState.rotY = 25.0f;
    viewState.rotZ = 35.0f;
    viewState.scale = 2.0f;
    app_test::ProbeLogo();
    display();
    const std::vector<captured::Face> faces = captured::Faces();
    ASSERT_EQ(faces.size(), 1u);
    // The view turns about x, then y, then z, each in the frame the one
    // before left: a point is scaled, turned about z, then y, then x, then
    // moved to the window centre plus the pan.
    const float degrees = static_cast<float>(M_PI / 180);
    const Vector3 centre(160, 80, -550);
    for (int c = 1; c < 3; ++c) {
        Vector3 p = 2.0f * (c == 1 ? UnitX : UnitY);
        p = Rotated(p, UnitZ, 35 * degrees);
        p = Rotated(p, UnitY, 25 * degrees);
        p = Rotated(p, UnitX, 15 * degrees);
        EXPECT_TRUE(app_test::NearPoint(Position(faces[0].corners[c]), centre + p)) << c;
    }
    EXPECT_TRUE(app_test::NearPoint(Position(faces[0].corners[0]), centre));
}

TEST_F(DisplayTest, DisplayBeforeTheFirstReshapeHasNoDepth) {
    app_test::ProbeLogo();
    display();
    ASSERT_EQ(capture::Triangles().size(), 1u);
    EXPECT_TRUE(app_test::NearPoint(Position(captured::Faces()[0].corners[0]), Vector3(200, 200, 0)));
}

TEST_F(DisplayTest, VisibilitySwitchesTheIdleCallback) {
    visibility(GLUT_VISIBLE);
    EXPECT_EQ(capture::Glut().idle, &idle);
    EXPECT_EQ(capture::Glut().redisplays, 1);
    visibility(GLUT_NOT_VISIBLE);
    EXPECT_EQ(capture::Glut().idle, nullptr);
    EXPECT_EQ(capture::Glut().redisplays, 2);
}

}  // namespace
