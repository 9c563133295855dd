#include "app/Interaction.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "AppTestSupport.h"
#include "app/AccumDisplay.h"
#include "app/Display.h"

namespace {

using captured::Names;

class InteractionTest : public ::testing::Test {
protected:
    void SetUp() override { app_test::ResetProgram(); }
    static void press(const char* keys) {
        for (const char* key = keys; *key != '\0'; ++key) keyboard(static_cast<unsigned char>(*key), 0, 0);
    }
    static void drag(int button, int fromX, int fromY, int toX, int toY) {
        mouseButton(button, GLUT_DOWN, fromX, fromY);
        mouseMotion((fromX + toX) / 2, (fromY + toY) / 2);
        mouseMotion(toX, toY);
        mouseButton(button, GLUT_UP, toX, toY);
    }
};

TEST_F(InteractionTest, GrowKeyStopsAt2000AndMakesTheWindowSquare) {
    viewState.height = 300;
    const int expected[] = {500, 625, 781, 976, 1220, 1525, 1906, 2000};
    for (int width : expected) {
        captured::Restart();
        keyboard('e', 0, 0);
        EXPECT_EQ(viewState.width, width);
        EXPECT_EQ(viewState.height, width);
        EXPECT_EQ(capture::Glut().windowWidth, width);
        EXPECT_EQ(capture::Glut().windowHeight, width);
        EXPECT_EQ(Names(captured::Calls()), (std::vector<std::string>{"glutReshapeWindow", "glutPostRedisplay"}));
    }
}

TEST_F(InteractionTest, ShrinkKeyStopsAt100) {
    const int expected[] = {320, 256, 204, 163, 130, 104, 100, 100};
    for (int width : expected) {
        keyboard('r', 0, 0);
        EXPECT_EQ(viewState.width, width);
        EXPECT_EQ(viewState.height, width);
    }
}

TEST_F(InteractionTest, ResizeKeysStayWithinAnIntWhateverTheStartSize) {
    viewState.width = 2147483647;
    keyboard('e', 0, 0);
    EXPECT_EQ(viewState.width, 2000);
    viewState.width = 2147483647;
    keyboard('r', 0, 0);
    EXPECT_EQ(viewState.width, 1717986917);
}

TEST_F(InteractionTest, ModeKeysCombineAndAnyRepeatSwitchesAllOff) {
    press("a");
    EXPECT_TRUE(viewState.aaMode);
    EXPECT_EQ(capture::Glut().display, &accumDisplay);
    press("j");
    EXPECT_TRUE(viewState.aaMode && viewState.jitterMode);
    EXPECT_EQ(capture::Glut().display, &accumDisplay);
    press("m");
    EXPECT_TRUE(viewState.trailMode);
    press("j");
    EXPECT_FALSE(viewState.aaMode || viewState.jitterMode || viewState.trailMode);
    EXPECT_EQ(capture::Glut().display, &display);
    press("ma");
    EXPECT_TRUE(viewState.trailMode && viewState.aaMode);
    press("a");
    EXPECT_FALSE(viewState.aaMode || viewState.jitterMode || viewState.trailMode);
    EXPECT_EQ(capture::Glut().display, &display);
}

TEST_F(InteractionTest, UpperCaseAndUnknownKeysOnlyRedisplay) {
    press("ERAJMCX");
    EXPECT_EQ(Names(captured::Calls()), std::vector<std::string>(7, "glutPostRedisplay"));
    const ViewState fresh;
    EXPECT_EQ(viewState.width, fresh.width);
    EXPECT_FALSE(viewState.aaMode || viewState.jitterMode || viewState.trailMode);
    EXPECT_TRUE(viewState.cullFaces);
}

TEST_F(InteractionTest, CullKeyToggles) {
    glEnable(GL_CULL_FACE);
    press("c");
    EXPECT_FALSE(viewState.cullFaces);
    EXPECT_FALSE(capture::Current().IsEnabled(GL_CULL_FACE));
    EXPECT_EQ(capture::Glut().redisplays, 1);
    press("c");
    EXPECT_TRUE(viewState.cullFaces);
    EXPECT_TRUE(capture::Current().IsEnabled(GL_CULL_FACE));
    EXPECT_EQ(capture::Glut().redisplays, 2);
}

TEST_F(InteractionTest, SpaceTogglesWireframe) {
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    const struct {
        bool wireframe;
        GLenum polygons;
        bool lit;
    } presses[] = {{true, GL_LINE, false}, {false, GL_FILL, true}};
    long redisplays = 0;
    for (const auto& p : presses) {
        press(" ");
        EXPECT_EQ(viewState.wireframe, p.wireframe);
        const capture::GLState state = capture::Current();
        EXPECT_EQ(state.polygonMode[0], p.polygons);
        EXPECT_EQ(state.polygonMode[1], p.polygons);
        EXPECT_EQ(state.IsEnabled(GL_LIGHTING), p.lit);
        EXPECT_EQ(state.IsEnabled(GL_DEPTH_TEST), p.lit) << "the wireframe shows its hidden lines";
        EXPECT_EQ(capture::Glut().redisplays, ++redisplays);
    }
}

TEST_F(InteractionTest, NumberKeysPan) {
    press("6668442");
    EXPECT_EQ(viewState.panX, 5.0f);
    EXPECT_EQ(viewState.panY, 0.0f);
}

TEST_F(InteractionTest, ArrowKeysTurnAboutZ) {
    const struct {
        int key;
        float rotZ;
    } cases[] = {{GLUT_KEY_LEFT, 3.0f}, {GLUT_KEY_UP, 6.0f}, {GLUT_KEY_RIGHT, -3.0f}, {GLUT_KEY_DOWN, -6.0f},
                 {GLUT_KEY_F1, 0.0f}};
    for (const auto& c : cases) {
        app_test::ResetProgram();
        specialKey(c.key, 0, 0);
        EXPECT_EQ(viewState.rotZ, c.rotZ) << c.key;
        EXPECT_EQ(Names(captured::Calls()), std::vector<std::string>{"glutPostRedisplay"});
    }
}

TEST_F(InteractionTest, EscapeEndsWithStatusOne) {
    EXPECT_EXIT(keyboard(27, 0, 0), ::testing::ExitedWithCode(1), "");
}

TEST_F(InteractionTest, FullWidthLeftDragTurnsOnceAround) {
    viewState.width = 300;
    viewState.height = 200;
    drag(GLUT_LEFT_BUTTON, 0, 50, 300, 50);
    EXPECT_EQ(viewState.rotY, 360.0f);
    EXPECT_EQ(viewState.rotX, 0.0f);
    drag(GLUT_LEFT_BUTTON, 10, 0, 10, 100);
    EXPECT_EQ(viewState.rotX, 180.0f);
    EXPECT_FALSE(viewState.leftDown);
}

TEST_F(InteractionTest, RightDragScalesTenfoldPerHundredPixels) {
    drag(GLUT_RIGHT_BUTTON, 50, 50, 50, 150);
    EXPECT_FLOAT_EQ(viewState.scale, 10.0f);
    drag(GLUT_RIGHT_BUTTON, 50, 150, 50, 50);
    EXPECT_FLOAT_EQ(viewState.scale, 1.0f);
    viewState.scale = 1.0f;
    drag(GLUT_RIGHT_BUTTON, 50, 50, 50, 100);
    EXPECT_NEAR(viewState.scale, 3.16228f, 1e-5);
}

TEST_F(InteractionTest, MiddleDragPansWithScreenYUpwards) {
    drag(GLUT_MIDDLE_BUTTON, 100, 100, 130, 80);
    EXPECT_EQ(viewState.panX, 30.0f);
    EXPECT_EQ(viewState.panY, 20.0f);
}

TEST_F(InteractionTest, DragBackToItsStartRestoresTheViewExactly) {
    viewState.rotX = 12.3f;
    viewState.rotY = -45.6f;
    viewState.scale = 1.7f;
    viewState.panX = 3.25f;
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 120, 80);
    mouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 120, 80);
    mouseButton(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 120, 80);
    for (int step = 1; step <= 37; ++step) mouseMotion(120 + 7 * step, 80 - 3 * step);
    mouseMotion(120, 80);
    EXPECT_EQ(viewState.rotX, 12.3f);
    EXPECT_EQ(viewState.rotY, -45.6f);
    EXPECT_EQ(viewState.scale, 1.7f);
    EXPECT_EQ(viewState.panX, 3.25f);
    EXPECT_EQ(viewState.panY, 0.0f);
}

TEST_F(InteractionTest, SecondButtonContinuesFromTheCurrentView) {
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    mouseMotion(100, 0);  // rotY 90 on a 400 wide window
    mouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 0);
    mouseMotion(200, 100);
    EXPECT_EQ(viewState.rotY, 180.0f);
    EXPECT_EQ(viewState.rotX, 90.0f);
    EXPECT_FLOAT_EQ(viewState.scale, 10.0f);
    EXPECT_TRUE(viewState.leftDown && viewState.rightDown);
}

TEST_F(InteractionTest, MotionWithoutButtonsOnlyRedisplays) {
    mouseMotion(300, 300);
    EXPECT_EQ(viewState.rotX, 0.0f);
    EXPECT_EQ(viewState.scale, 1.0f);
    EXPECT_EQ(Names(captured::Calls()), std::vector<std::string>{"glutPostRedisplay"});
}

TEST_F(InteractionTest, LeftDragOnAnEmptyWindowStaysFinite) {
    viewState.width = 0;
    viewState.height = 0;
    drag(GLUT_LEFT_BUTTON, 0, 0, 10, 10);
    EXPECT_TRUE(std::isfinite(viewState.rotX));
    EXPECT_TRUE(std::isfinite(viewState.rotY));
}

}  // namespace
