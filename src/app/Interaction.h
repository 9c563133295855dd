#pragma once

// The input callbacks: they change the view state, a little OpenGL state and
// the installed display callback, then ask for a redisplay.
void keyboard(unsigned char key, int x, int y);
void specialKey(int key, int x, int y);
void mouseButton(int button, int state, int x, int y);
void mouseMotion(int x, int y);
