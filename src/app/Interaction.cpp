#include "app/Interaction.h"

#include <GL/glut.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "app/AccumDisplay.h"
#include "app/Display.h"
#include "app/Globals.h"

namespace {

constexpr unsigned char kEscape = 27;
constexpr float kPanStep = 5.0f;
constexpr float kTurnStep = 3.0f;
constexpr double kGrowFactor = 1.25;
constexpr double kShrinkFactor = 0.8;
constexpr double kLargestSide = 2000.0;
constexpr double kSmallestSide = 100.0;

// Both sides follow the new width, so the window becomes square. The side is
// bounded while still a double, so no size can overflow the int.
void resizeSquare(double side, double smallest, double largest) {
    if (side > largest) side = largest;
    if (side < smallest) side = smallest;
    viewState.width = static_cast<int>(side);
    viewState.height = viewState.width;
    glutReshapeWindow(viewState.width, viewState.height);
}

// A mode key switches its own mode on; pressing it again while it is on
// switches every accumulation mode off and returns to the plain display.
void toggleMode(bool& mode) {
    if (!mode) {
        mode = true;
        glutDisplayFunc(accumDisplay);
        return;
    }
    viewState.aaMode = viewState.jitterMode = viewState.trailMode = false;
    glutDisplayFunc(display);
}

void toggleCulling() {
    if (viewState.cullFaces) glDisable(GL_CULL_FACE);
    else glEnable(GL_CULL_FACE);
    viewState.cullFaces = !viewState.cullFaces;
}

// Wireframe lines are drawn unlit and all of them, hidden ones too.
void toggleWireframe() {
    const bool on = !viewState.wireframe;
    glPolygonMode(GL_FRONT, on ? GL_LINE : GL_FILL);
    glPolygonMode(GL_BACK, on ? GL_LINE : GL_FILL);
    if (on) {
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
    } else {
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
    }
    viewState.wireframe = on;
}

// Degrees of turn for a drag of delta pixels across a window side.
double dragTurn(int delta, int side) { return delta * 360.0 / (side > 0 ? side : 1); }

}  // namespace

void keyboard(unsigned char key, int, int) {
    switch (key) {
        case kEscape: std::exit(1);
        case 'e': resizeSquare(std::trunc(viewState.width * kGrowFactor), 1.0, kLargestSide); break;
        case 'r': resizeSquare(std::trunc(viewState.width * kShrinkFactor), kSmallestSide, INT_MAX); break;
        case 'a': toggleMode(viewState.aaMode); break;
        case 'j': toggleMode(viewState.jitterMode); break;
        case 'm': toggleMode(viewState.trailMode); break;
        case 'c': toggleCulling(); break;
        case '2': viewState.panY -= kPanStep; break;
        case '8': viewState.panY += kPanStep; break;
        case '4': viewState.panX -= kPanStep; break;
        case '6': viewState.panX += kPanStep; break;
        case ' ': toggleWireframe(); break;
        default: break;
    }
    glutPostRedisplay();
}

void specialKey(int key, int, int) {
    switch (key) {
        case GLUT_KEY_LEFT: viewState.rotZ += kTurnStep; break;
        case GLUT_KEY_UP: viewState.rotZ += 2.0f * kTurnStep; break;
        case GLUT_KEY_RIGHT: viewState.rotZ -= kTurnStep; break;
        case GLUT_KEY_DOWN: viewState.rotZ -= 2.0f * kTurnStep; break;
        default: break;
    }
    glutPostRedisplay();
}

void mouseButton(int button, int state, int x, int y) {
    // Every press and release restarts the drag from the current view, so a
    // second button joins in smoothly.
    viewState.dragStartX = x;
    viewState.dragStartY = y;
    viewState.dragPanX = viewState.panX;
    viewState.dragPanY = viewState.panY;
    viewState.dragRotX = viewState.rotX;
    viewState.dragRotY = viewState.rotY;
    viewState.dragScale = viewState.scale;
    const bool down = state == GLUT_DOWN;
    if (button == GLUT_LEFT_BUTTON) viewState.leftDown = down;
    if (button == GLUT_MIDDLE_BUTTON) viewState.middleDown = down;
    if (button == GLUT_RIGHT_BUTTON) viewState.rightDown = down;
    glutPostRedisplay();
}

void mouseMotion(int x, int y) {
    // Computed from the drag start, never step by step, so returning to the
    // start restores the view exactly.
    const int dx = x - viewState.dragStartX;
    const int dy = y - viewState.dragStartY;
    if (viewState.leftDown) {
        viewState.rotY = static_cast<float>(viewState.dragRotY + dragTurn(dx, viewState.width));
        viewState.rotX = static_cast<float>(viewState.dragRotX + dragTurn(dy, viewState.height));
    }
    if (viewState.rightDown) viewState.scale = static_cast<float>(viewState.dragScale * std::pow(10.0, dy * 0.01));
    if (viewState.middleDown) {
        viewState.panX = static_cast<float>(viewState.dragPanX + static_cast<double>(dx));
        viewState.panY = static_cast<float>(viewState.dragPanY - static_cast<double>(dy));
    }
    glutPostRedisplay();
}
