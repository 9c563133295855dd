#pragma once

#include <ostream>
#include <string>

#include "app/ViewState.h"

struct Environment;
class LogoString;
class StrokeFontCharacterSet;

// Reads a data file whole (what names it in messages: "font", "environment",
// "string"). When it cannot be opened or read, writes one line naming the
// file, and why where that is known, and returns false.
bool ReadDataFileOrReport(const std::string& file, const char* what, std::string& text, std::ostream& errors);

// Each loader opens its file, reads it into target and closes it again. On
// failure it writes one line naming the file to errors and returns false.
// The font's own error count is not examined: the viewer runs with what was
// read.
bool LoadFont(const std::string& file, StrokeFontCharacterSet& target, std::ostream& errors);
bool LoadEnvironment(const std::string& file, Environment& target, std::ostream& errors);
// Also warns, one line each, about text lines the reader had to drop.
bool LoadLogoString(const std::string& file, LogoString& target, std::ostream& errors);

// Loads font, environment and string file into the global records, in that
// order, stopping at the first failure.
bool LoadDataFiles(const ViewState& view, std::ostream& errors);

// Creates the window, sets up OpenGL and registers every callback; the main
// loop is all that remains after it.
void OpenViewerWindow(const char* programName);
