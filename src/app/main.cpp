#include <GL/glut.h>

#include <iostream>

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "scene/GuardedMain.h"
#include "app/Startup.h"

namespace {

// A window larger than the screen or than OpenGL can draw into is brought
// within it, with one line saying so; true when it was.
bool fitWindow(int maxWidth, int maxHeight, const char* limit) {
    const std::string note = FitWindowSize(viewState.width, viewState.height, maxWidth, maxHeight, limit);
    if (!note.empty()) std::cerr << note << std::endl;
    return !note.empty();
}

}  // namespace

int main(int argc, char** argv) {
    return RunGuarded("logo3d", [&] {
        for (const std::string& note : ScanCommandLine(argc, argv, viewState)) std::cerr << note << std::endl;
        if (!LoadDataFiles(viewState, std::cerr)) return 1;
        StartToolkit(argc > 0 ? argv[0] : nullptr);
        fitWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT), "the screen");
        CreateViewerWindow();
        GLint largest[2] = {0, 0};
        glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
        if (fitWindow(largest[0], largest[1], "OpenGL's largest viewport"))
            glutReshapeWindow(viewState.width, viewState.height);
        glutMainLoop();
        return 0;
    });
}
