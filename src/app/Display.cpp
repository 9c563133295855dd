#include "app/Display.h"

#include <GL/glut.h>

#include "app/Globals.h"
#include "app/Interaction.h"
#include "app/ViewTransform.h"

namespace {

void applyFixedState() {
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_FILL);
    glCullFace(GL_BACK);
    if (viewState.cullFaces) glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);
}

}  // namespace

void initGL() {
    environment.ApplyClearColors();
    applyFixedState();
    // The model-view matrix is still the identity, so the lights are placed
    // in eye coordinates and stay put while the logo turns.
    environment.ApplyLighting();
    logoString.Prepare(&font);
    glutMotionFunc(mouseMotion);
    glutMouseFunc(mouseButton);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(specialKey);
}

void renderViewOf(const std::function<void()>& drawLogo) {
    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glPushMatrix();
    TranslateToViewCentre(viewState);
    RotateAndScaleView(viewState);
    drawLogo();
    glPopMatrix();
}

void renderView() {
    renderViewOf([] { logoString.Draw(); });
}

void renderMotionFrame(unsigned frame) {
    renderViewOf([frame] { logoString.DrawFrame(frame); });
}

void display() {
    renderView();
    glFlush();
    glutSwapBuffers();
}

void reshape(int w, int h) {
    environment.SetViewport(0, 0, w, h);
    environment.projection.Apply();
    viewState.viewDepth = environment.projection.far - environment.projection.near;
    viewState.width = w;
    viewState.height = h;
    glutPostRedisplay();
}

void idle() {}

void visibility(int state) {
    glutIdleFunc(state == GLUT_VISIBLE ? idle : nullptr);
    glutPostRedisplay();
}
