// The settings the capture layer keeps as OpenGL keeps them, and its call log.

#include <GL/gl.h>
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/CallLog.h"
#include "capture/Capture.h"
#include "capture/GLState.h"

namespace {

std::vector<float> values(const float* v, int count) { return std::vector<float>(v, v + count); }

TEST(CaptureState, LightsAreStoredThroughTheModelViewMatrixOfTheirCall) {
    capture::Reset();
    const GLfloat position[4] = {1, 0, 0, 1}, direction[3] = {1, 0, 0}, infinite[4] = {1, 0, 0, 0};
    glTranslatef(10, 0, 0);
    glRotatef(90, 0, 0, 1);  // x becomes y
    glLightfv(GL_LIGHT2, GL_POSITION, position);
    glLightfv(GL_LIGHT2, GL_SPOT_DIRECTION, direction);
    glLightfv(GL_LIGHT3, GL_POSITION, infinite);
    // A list places its light by the matrix it runs under, not the one it was compiled under.
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glLightfv(GL_LIGHT4, GL_POSITION, position);
    glEndList();
    glLoadIdentity();
    glCallList(list);
    glTranslatef(5, 5, 5);  // later matrices move nothing already placed
    const capture::GLState state = capture::Current();
    const float* light2 = state.lights[2].position;
    EXPECT_NEAR(light2[0], 10, 1e-5);
    EXPECT_NEAR(light2[1], 1, 1e-5);
    EXPECT_EQ(light2[3], 1);
    EXPECT_NEAR(state.lights[2].spotDirection[0], 0, 1e-6) << "a direction is not moved";
    EXPECT_NEAR(state.lights[2].spotDirection[1], 1, 1e-6);
    EXPECT_NEAR(state.lights[3].position[0], 0, 1e-6);
    EXPECT_NEAR(state.lights[3].position[1], 1, 1e-6);
    EXPECT_EQ(values(state.lights[4].position, 4), values(position, 4));
    EXPECT_EQ(values(state.lights[0].diffuse, 4), (std::vector<float>{1, 1, 1, 1})) << "light 0 starts white";
    EXPECT_EQ(values(state.lights[1].diffuse, 4), (std::vector<float>{0, 0, 0, 1}));
    EXPECT_EQ(capture::Problems().Total(), 0);
}

TEST(CaptureState, ValuesOpenGLRefusesLeaveTheSettingAsItWas) {
    const struct {
        const char* what;
        void (*set)();
        long refused;
    } cases[] = {
        {"cutoff 90 and 180", [] { glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 90); glLightf(GL_LIGHT1, GL_SPOT_CUTOFF, 180); }, 0},
        {"cutoff 100", [] { glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 100); }, 1},
        {"exponent 129", [] { glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 129); }, 1},
        {"negative attenuation", [] { glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, -1); }, 1},
        {"light 8", [] { glLightf(GL_LIGHT0 + 8, GL_SPOT_EXPONENT, 1); }, 1},
        {"fog mode", [] { glFogi(GL_FOG_MODE, GL_LINE); }, 1},
        {"negative density", [] { glFogf(GL_FOG_DENSITY, -0.5f); }, 1},
        {"negative viewport", [] { glViewport(0, 0, -1, 10); }, 1},
    };
    const capture::GLState initial;
    for (const auto& c : cases) {
        capture::Reset();
        c.set();
        const capture::GLState state = capture::Current();
        EXPECT_EQ(capture::Problems().invalidValue, c.refused) << c.what;
        if (c.refused == 0) continue;
        EXPECT_EQ(state.lights[0].spotCutoff, initial.lights[0].spotCutoff) << c.what;
        EXPECT_EQ(state.lights[0].spotExponent, initial.lights[0].spotExponent) << c.what;
        EXPECT_EQ(values(state.lights[0].attenuation, 3), values(initial.lights[0].attenuation, 3)) << c.what;
        EXPECT_EQ(state.fog.mode, initial.fog.mode) << c.what;
        EXPECT_EQ(state.fog.density, initial.fog.density) << c.what;
        EXPECT_EQ(state.viewport[2], 0) << c.what;
    }
}

TEST(CaptureState, SettingsInAListTakeEffectWhenItRuns) {
    capture::Reset();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEnable(GL_FOG);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glClearColor(2, 0.5f, -1, 1);  // clamped to [0, 1]
    glEndList();
    EXPECT_FALSE(capture::Current().IsEnabled(GL_FOG));
    glCallList(list);
    const capture::GLState state = capture::Current();
    EXPECT_TRUE(state.IsEnabled(GL_FOG));
    EXPECT_EQ(state.polygonMode[0], static_cast<GLenum>(GL_LINE));
    EXPECT_EQ(state.polygonMode[1], static_cast<GLenum>(GL_LINE));
    EXPECT_EQ(values(state.clearColour, 4), (std::vector<float>{1, 0.5f, 0, 1}));
    EXPECT_EQ(state.Hint(GL_FOG_HINT), static_cast<GLenum>(GL_DONT_CARE));
}

void noDisplay() {}

TEST(CaptureState, TheCallLogIsOffUntilAskedAndKeepsCallsAsMade) {
    capture::Reset();
    glTranslatef(1, 2, 3);
    EXPECT_TRUE(capture::CallLog().empty());
    capture::RecordCalls(true);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glColor3f(0.5f, 0.25f, 1);
    glEndList();
    glCallList(list);
    glutDisplayFunc(noDisplay);
    glutPostRedisplay();
    std::vector<std::string> names;
    for (const capture::Call& call : capture::CallLog()) names.push_back(call.name);
    EXPECT_EQ(names, (std::vector<std::string>{"glGenLists", "glNewList", "glColor3f", "glEndList", "glCallList",
                                               "glutDisplayFunc", "glutPostRedisplay"}));
    const capture::Call& colour = capture::CallLog()[2];
    EXPECT_EQ(colour.args, (std::vector<double>{0.5, 0.25, 1}));
    EXPECT_EQ(colour.compiling, list);
    EXPECT_EQ(capture::CallLog()[1].compiling, 0u) << "glNewList takes effect at once";
    EXPECT_EQ(capture::CallLog()[5].pointer, reinterpret_cast<const void*>(&noDisplay));
    EXPECT_EQ(capture::Glut().display, &noDisplay);
    EXPECT_EQ(capture::Glut().redisplays, 1);
    capture::Reset();
    glTranslatef(1, 2, 3);
    EXPECT_TRUE(capture::CallLog().empty()) << "Reset switches the log off";
    EXPECT_EQ(capture::Glut().display, nullptr);
}

}  // namespace
