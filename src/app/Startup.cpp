#include "app/Startup.h"

#include <GL/glut.h>

#include <cstdio>

#include "app/Display.h"
#include "app/Globals.h"
#include "text/DataFileLoading.h"

namespace {

const char* const kWindowTitle = "3D Logo -Tavrin 1997-";

// GLUT gets only the program name, so none of its own options can change
// how ours are read.
void initToolkit(const char* programName) {
    static char name[256];
    std::snprintf(name, sizeof name, "%s", programName != nullptr ? programName : "logo3d");
    static char* arguments[] = {name, nullptr};
    static int count = 1;
    glutInit(&count, arguments);
}

}  // namespace

bool LoadDataFiles(const ViewState& view, std::ostream& errors) {
    return LoadFont(view.fontFile, font, errors) && LoadEnvironment(view.envFile, environment, errors) &&
           LoadLogoString(view.stringFile, logoString, errors);
}

void StartToolkit(const char* programName) { initToolkit(programName); }

void CreateViewerWindow() {
    glutInitWindowSize(viewState.width, viewState.height);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH);
    glutCreateWindow(kWindowTitle);
    initGL();
    glutReshapeFunc(reshape);
    glutIdleFunc(idle);
    glutDisplayFunc(display);
    glutVisibilityFunc(visibility);
}

void OpenViewerWindow(const char* programName) {
    StartToolkit(programName);
    CreateViewerWindow();
}
