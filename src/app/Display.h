#pragma once

#include <functional>

// One-time OpenGL set-up after the window exists, and the GLUT callbacks of
// the plain display loop. The picture is redrawn only on events.
void initGL();
void display();
// What display draws, without showing it: for programs that read the picture back.
void renderView();
// The same with the logo at one frame of its whole-logo motion (DrawFrame).
void renderMotionFrame(unsigned frame);
// The frame around any drawing of the logo: cleared, with colour material,
// in the view's transformation.
void renderViewOf(const std::function<void()>& drawLogo);
void reshape(int w, int h);
void idle();
void visibility(int state);
