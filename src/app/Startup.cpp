#include "app/Startup.h"

#include <GL/glut.h>

#include <cstdio>
#include <sstream>

#include "app/Display.h"
#include "app/Globals.h"
#include "scene/DataFile.h"
#include "scene/Diagnostics.h"

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

// "string.src:41: shadow plane normal": where a string file that failed to
// load fails first. Only a failed load pays for reading the file again, this
// time with a report.
std::string firstFailure(const std::string& file, const std::string& text) {
    FindingList findings;
    LogoString again;
    std::istringstream in(text);
    again.Read(in, findings);
    const Finding* first = FirstError(findings.Findings());
    return first != nullptr ? FindingPlace(file, first->line) + ": " + Printable(first->field) : file;
}

}  // namespace

bool ReadDataFileOrReport(const std::string& file, const char* what, std::string& text, std::ostream& errors) {
    DataFile data = ReadDataFile(file);
    switch (data.status) {
    case DataFile::Status::Read:
        text = std::move(data.text);
        return true;
    case DataFile::Status::CannotOpen:
        errors << "cannot open " << what << " file : " << file << std::endl;
        return false;
    case DataFile::Status::CannotRead:
        break;
    }
    errors << "cannot read " << what << " file : " << file << " (" << data.reason << ")" << std::endl;
    return false;
}

bool LoadFont(const std::string& file, StrokeFontCharacterSet& target, std::ostream& errors) {
    std::string text;
    if (!ReadDataFileOrReport(file, "font", text, errors)) return false;
    std::istringstream in(text);
    target.Load(in);
    return true;
}

bool LoadEnvironment(const std::string& file, Environment& target, std::ostream& errors) {
    std::string text;
    if (!ReadDataFileOrReport(file, "environment", text, errors)) return false;
    std::istringstream in(text);
    if (target.Read(in) == 0) return true;
    errors << "error occurs while loading environment file : " << file << std::endl;
    return false;
}

bool LoadLogoString(const std::string& file, LogoString& target, std::ostream& errors) {
    std::string text;
    if (!ReadDataFileOrReport(file, "string", text, errors)) return false;
    std::istringstream in(text);
    if (target.Read(in) != 0) {
        errors << "error occurs while loading string file : " << firstFailure(file, text) << std::endl;
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
