#include "app/Startup.h"

#include <GL/glut.h>

#include <cstdio>
#include <fstream>

#include "app/Display.h"
#include "app/Globals.h"

namespace {

const char* const kWindowTitle = "3D Logo -Tavrin 1997-";

bool openOrReport(std::ifstream& in, const std::string& file, const char* what, std::ostream& errors) {
    in.open(file);
    if (in) return true;
    errors << "cannot open " << what << " file : " << file << std::endl;
    return false;
}

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

bool LoadFont(const std::string& file, StrokeFontCharacterSet& target, std::ostream& errors) {
    std::ifstream in;
    if (!openOrReport(in, file, "font", errors)) return false;
    target.Load(in);
    return true;
}

bool LoadEnvironment(const std::string& file, Environment& target, std::ostream& errors) {
    std::ifstream in;
    if (!openOrReport(in, file, "environment", errors)) return false;
    if (target.Read(in) == 0) return true;
    errors << "error occurs while loading environment file : " << file << std::endl;
    return false;
}

bool LoadLogoString(const std::string& file, LogoString& target, std::ostream& errors) {
    std::ifstream in;
    if (!openOrReport(in, file, "string", errors)) return false;
    if (target.Read(in) != 0) {
        errors << "error occurs while loading string file : " << file << std::endl;
        return false;
    }
    for (const std::string& line : target.DroppedLines())
        errors << "warning: " << file << " : line dropped, the text would reach " << LogoString::kMaxTextLength
               << " characters : " << line << std::endl;
    return true;
}

bool LoadDataFiles(const ViewState& view, std::ostream& errors) {
    return LoadFont(view.fontFile, font, errors) && LoadEnvironment(view.envFile, environment, errors) &&
           LoadLogoString(view.stringFile, logoString, errors);
}

void OpenViewerWindow(const char* programName) {
    initToolkit(programName);
    glutInitWindowSize(viewState.width, viewState.height);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ACCUM | GLUT_DEPTH);
    glutCreateWindow(kWindowTitle);
    initGL();
    glutReshapeFunc(reshape);
    glutIdleFunc(idle);
    glutDisplayFunc(display);
    glutVisibilityFunc(visibility);
}
