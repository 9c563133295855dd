#pragma once

#include <ostream>
#include <string>

struct Environment;
class LogoString;
class StrokeFontCharacterSet;

// How every program of logo3d reads its data files: the caller decides when
// (the viewer at start-up and on a change, the tools once), these know how.

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
