#include "app/Display.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "MatrixTracker.h"
#include "app/Interaction.h"

namespace {

using app_test::Describe;
using app_test::Names;

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { app_test::ResetProgram(); }
};

TEST_F(DisplayTest, InitGLSetsFixedStateBeforeLightingAndRegistersInputLast) {
    initGL();
    const std::vector<std::string> calls = Describe(gl_record::Calls());
    const std::vector<std::string> expectedStart = {
        "glClearColor 1 1 1 1",
        "glClearAccum 0 0 0 0",
        "glDepthFunc " + std::to_string(GL_LESS),
        "glEnable " + std::to_string(GL_DEPTH_TEST),
        "glEnable " + std::to_string(GL_NORMALIZE),
        "glPolygonMode " + std::to_string(GL_FRONT) + " " + std::to_string(GL_FILL),
        "glPolygonMode " + std::to_string(GL_BACK) + " " + std::to_string(GL_FILL),
        "glCullFace " + std::to_string(GL_BACK),
        "glEnable " + std::to_string(GL_CULL_FACE),
        "glEnable " + std::to_string(GL_BLEND),
        "glBlendFunc " + std::to_string(GL_SRC_ALPHA) + " " + std::to_string(GL_ONE_MINUS_SRC_ALPHA),
        "glHint " + std::to_string(GL_POLYGON_SMOOTH_HINT) + " " + std::to_string(GL_NICEST),
        "glShadeModel " + std::to_string(GL_SMOOTH),
        "glDisable " + std::to_string(GL_LIGHTING),
    };
    ASSERT_GT(calls.size(), expectedStart.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + expectedStart.size()), expectedStart);
    const std::vector<std::string> names = Names(gl_record::Calls());
    const std::vector<std::string> lastFour(names.end() - 4, names.end());
    EXPECT_EQ(lastFour, (std::vector<std::string>{"glutMotionFunc", "glutMouseFunc", "glutKeyboardFunc",
                                                  "glutSpecialFunc"}));
    const gl_record::Callbacks& callbacks = gl_record::RegisteredCallbacks();
    EXPECT_EQ(callbacks.motion, &mouseMotion);
    EXPECT_EQ(callbacks.mouse, &mouseButton);
    EXPECT_EQ(callbacks.keyboard, &keyboard);
    EXPECT_EQ(callbacks.special, &specialKey);
    EXPECT_EQ(logoString.font, &font);
}

TEST_F(DisplayTest, InitGLLeavesCullingOffWhenSwitchedOff) {
    viewState.cullFaces = false;
    initGL();
    for (const gl_record::Call& call : gl_record::EffectiveNamed("glEnable"))
        EXPECT_NE(call.args[0], double(GL_CULL_FACE));
    EXPECT_EQ(gl_record::EffectiveNamed("glCullFace").size(), 1u);
}

TEST_F(DisplayTest, ReshapeWithTheDefaultEnvironmentGivesDepth1100) {
    reshape(400, 400);
    EXPECT_EQ(Describe(gl_record::Calls()), (std::vector<std::string>{
                                                "glViewport 0 0 400 400",
                                                "glMatrixMode " + std::to_string(GL_PROJECTION),
                                                "glLoadIdentity",
                                                "glOrtho -200 200 -200 200 -100 1000",
                                                "glTranslatef -200 -200 100",
                                                "glMatrixMode " + std::to_string(GL_MODELVIEW),
                                                "glutPostRedisplay",
                                            }));
    EXPECT_EQ(viewState.viewDepth, 1100.0f);
}

TEST_F(DisplayTest, ReshapeTakesTheWindowSizeForViewAndProjection) {
    environment.projection.width = 999.0f;
    reshape(300, 200);
    EXPECT_EQ(viewState.width, 300);
    EXPECT_EQ(viewState.height, 200);
    EXPECT_EQ(environment.projection.width, 300.0f);
    EXPECT_EQ(environment.projection.height, 200.0f);
    EXPECT_EQ(Describe(gl_record::EffectiveNamed("glOrtho")[0]), "glOrtho -150 150 -100 100 -100 1000");
}

TEST_F(DisplayTest, DisplayPlacesTheLogoAtTheWindowCentreAndMiddleDepth) {
    reshape(400, 400);
    const std::vector<std::string> logo = app_test::LogoDrawCalls();
    display();
    EXPECT_EQ(Describe(gl_record::Calls()),
              app_test::Spliced(
                  {
                      "glClear " + std::to_string(GL_COLOR_BUFFER_BIT),
                      "glClear " + std::to_string(GL_DEPTH_BUFFER_BIT),
                      "glColorMaterial " + std::to_string(GL_FRONT) + " " + std::to_string(GL_AMBIENT_AND_DIFFUSE),
                      "glEnable " + std::to_string(GL_COLOR_MATERIAL),
                      "glPushMatrix",
                      "glTranslatef 200 200 -550",
                      "glRotatef 0 1 0 0",
                      "glRotatef 0 0 1 0",
                      "glRotatef 0 0 0 1",
                      "glScalef 1 1 1",
                  },
                  logo, {"glPopMatrix", "glFlush", "glutSwapBuffers"}));
}

TEST_F(DisplayTest, DisplayAppliesPanRotationAndScale) {
    reshape(300, 200);
    viewState.panX = 10.0f;
    viewState.panY = -20.0f;
    viewState.rotX = 15.0f;
    viewState.rotY = 25.0f;
    viewState.rotZ = 35.0f;
    viewState.scale = 2.0f;
    gl_record::Reset();
    display();
    const std::vector<std::string> calls = Describe(gl_record::Calls());
    const std::vector<std::string> view(calls.begin() + 5, calls.begin() + 10);
    EXPECT_EQ(view, (std::vector<std::string>{"glTranslatef 160 80 -550", "glRotatef 15 1 0 0", "glRotatef 25 0 1 0",
                                              "glRotatef 35 0 0 1", "glScalef 2 2 2"}));
}

TEST_F(DisplayTest, DisplayBeforeTheFirstReshapeHasNoDepth) {
    display();
    EXPECT_EQ(Describe(gl_record::EffectiveNamed("glTranslatef")[0]), "glTranslatef 200 200 -0");
}

TEST_F(DisplayTest, VisibilitySwitchesTheIdleCallback) {
    visibility(GLUT_VISIBLE);
    EXPECT_EQ(gl_record::RegisteredCallbacks().idle, &idle);
    visibility(GLUT_NOT_VISIBLE);
    EXPECT_EQ(gl_record::RegisteredCallbacks().idle, nullptr);
    EXPECT_EQ(Names(gl_record::Calls()), (std::vector<std::string>{"glutIdleFunc", "glutPostRedisplay", "glutIdleFunc",
                                                                   "glutPostRedisplay"}));
}

}  // namespace
