// GLUT without a window: what the program asks of it is kept in the GLUT
// state (callbacks, window size and title, requests) and the call log.

#include <GL/glut.h>

#include "capture/CaptureState.h"

using capture::LogImmediate;
using capture::TheState;

namespace {

capture::GlutState& glut() { return TheState().glut; }

template <typename... Args>
const void* pointerOf(void (*f)(Args...)) {
    return reinterpret_cast<const void*>(f);
}

}  // namespace

extern "C" {

void glutInit(int*, char**) { LogImmediate("glutInit"); }
void glutInitWindowSize(int w, int h) {
    LogImmediate("glutInitWindowSize", {double(w), double(h)});
    glut().windowWidth = w;
    glut().windowHeight = h;
}
void glutInitDisplayMode(unsigned int mode) {
    LogImmediate("glutInitDisplayMode", {double(mode)});
    glut().displayMode = mode;
}
int glutCreateWindow(const char* title) {
    LogImmediate("glutCreateWindow", {}, title);
    glut().title = title != nullptr ? title : "";
    return 1;
}
void glutMainLoop() { LogImmediate("glutMainLoop"); }
void glutDisplayFunc(void (*f)()) {
    LogImmediate("glutDisplayFunc", {}, pointerOf(f));
    glut().display = f;
}
void glutReshapeFunc(void (*f)(int, int)) {
    LogImmediate("glutReshapeFunc", {}, pointerOf(f));
    glut().reshape = f;
}
void glutIdleFunc(void (*f)()) {
    LogImmediate("glutIdleFunc", {}, pointerOf(f));
    glut().idle = f;
}
void glutVisibilityFunc(void (*f)(int)) {
    LogImmediate("glutVisibilityFunc", {}, pointerOf(f));
    glut().visibility = f;
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) {
    LogImmediate("glutKeyboardFunc", {}, pointerOf(f));
    glut().keyboard = f;
}
void glutSpecialFunc(void (*f)(int, int, int)) {
    LogImmediate("glutSpecialFunc", {}, pointerOf(f));
    glut().special = f;
}
void glutMouseFunc(void (*f)(int, int, int, int)) {
    LogImmediate("glutMouseFunc", {}, pointerOf(f));
    glut().mouse = f;
}
void glutMotionFunc(void (*f)(int, int)) {
    LogImmediate("glutMotionFunc", {}, pointerOf(f));
    glut().motion = f;
}
void glutPostRedisplay() {
    LogImmediate("glutPostRedisplay");
    ++glut().redisplays;
}
void glutTimerFunc(unsigned int milliseconds, void (*f)(int), int value) {
    LogImmediate("glutTimerFunc", {double(milliseconds), double(value)}, pointerOf(f));
}
void glutSwapBuffers() {
    LogImmediate("glutSwapBuffers");
    ++glut().swaps;
}
void glutReshapeWindow(int w, int h) {
    LogImmediate("glutReshapeWindow", {double(w), double(h)});
    glut().windowWidth = w;
    glut().windowHeight = h;
}

}  // extern "C"
