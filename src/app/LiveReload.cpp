#include "app/LiveReload.h"

#include <GL/glut.h>

#include <iostream>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "app/Display.h"
#include "app/FileWatch.h"
#include "app/Globals.h"
#include "text/DataFileLoading.h"
#include "text/FileCheck.h"

namespace {

constexpr unsigned kPollMilliseconds = 100;

// The checker's line for the first error, or the loader's own words when
// the checker finds none.
void reportFirstError(const std::string& file, const std::vector<Finding>& findings, const char* what,
                      std::ostream& messages) {
    if (const Finding* first = FirstError(findings)) messages << FormatFinding(file, *first) << std::endl;
    else messages << "error occurs while loading " << what << " file : " << file << std::endl;
}

bool fontLoads(const std::string& file, const std::string& text, std::ostream& messages) {
    StrokeFontCharacterSet fresh;
    const std::vector<Finding> findings = CheckFont(text, fresh);
    if (FirstError(findings) == nullptr) return true;
    reportFirstError(file, findings, "font", messages);
    return false;
}

bool environmentLoads(const std::string& file, const std::string& text, Environment& fresh, std::ostream& messages) {
    std::istringstream in(text);
    if (fresh.Read(in) == 0) return true;
    reportFirstError(file, CheckEnvironment(text), "environment", messages);
    return false;
}

bool stringFileLoads(const std::string& file, const std::string& text, std::ostream& messages) {
    LogoString fresh;
    std::istringstream in(text);
    if (fresh.Read(in) == 0) return true;
    reportFirstError(file, CheckStringFile(text, nullptr), "string", messages);
    return false;
}

// Frees a global record with everything it holds and builds it anew in its
// place, so that every pointer to it stays good.
template <class Record>
void renew(Record& record) {
    record.~Record();
    new (&record) Record();
}

// The environment's OpenGL state as initGL sets it, then the projection.
void applyEnvironment() {
    environment.ApplyClearColors();
    glPushMatrix();
    glLoadIdentity();
    environment.ApplyLighting();
    glPopMatrix();
    if (viewState.wireframe) glDisable(GL_LIGHTING);
    reshape(viewState.width, viewState.height);
}

struct Watches {
    FileWatch font, environment, string;
};
std::unique_ptr<Watches> watches;

void poll(int) {
    DataFileChanges changes;
    // Every watch polls, so that each keeps its own count.
    changes.font = watches->font.Poll();
    changes.environment = watches->environment.Poll();
    changes.string = watches->string.Poll();
    if (changes.Any()) ReloadDataFiles(changes, std::cerr);
    glutTimerFunc(kPollMilliseconds, poll, 0);
}

}  // namespace

bool ReloadDataFiles(const DataFileChanges& changes, std::ostream& messages) {
    std::string fontText, environmentText, stringText;
    Environment freshEnvironment;
    if (changes.font && !(ReadDataFileOrReport(viewState.fontFile, "font", fontText, messages) &&
                          fontLoads(viewState.fontFile, fontText, messages)))
        return false;
    if (changes.environment &&
        !(ReadDataFileOrReport(viewState.envFile, "environment", environmentText, messages) &&
          environmentLoads(viewState.envFile, environmentText, freshEnvironment, messages)))
        return false;
    if (changes.string && !(ReadDataFileOrReport(viewState.stringFile, "string", stringText, messages) &&
                            stringFileLoads(viewState.stringFile, stringText, messages)))
        return false;

    // All read: the same texts go into the global records, which read them
    // exactly as the fresh ones did.
    if (changes.font) {
        renew(font);
        std::istringstream in(fontText);
        font.Load(in);
    }
    if (changes.string) {
        renew(logoString);
        std::istringstream in(stringText);
        logoString.Read(in);
    }
    // The logo's lists call the glyphs' lists: a new font needs a new layout.
    if (changes.font || changes.string) logoString.Prepare(&font);
    if (changes.environment) {
        environment = freshEnvironment;
        applyEnvironment();
    }
    glutPostRedisplay();
    return true;
}

void StartWatchingDataFiles() {
    watches.reset(new Watches{FileWatch(viewState.fontFile), FileWatch(viewState.envFile),
                              FileWatch(viewState.stringFile)});
    glutTimerFunc(kPollMilliseconds, poll, 0);
}
