#pragma once

#include <string>
#include <vector>

#include "app/ViewState.h"

// More passes than this would make every accumulated frame take seconds.
constexpr unsigned kMaxPasses = 64;

// Reads the options after the program name into state. Unknown options and
// free arguments are ignored; a bad number converts to its valid prefix or 0.
// Returns the notes to show the user (one line each, no line end), such as a
// pass count that was brought into range.
std::vector<std::string> ScanCommandLine(int argc, const char* const* argv, ViewState& state);

// Brings a window size within maxWidth x maxHeight (what `limit` allows: the
// screen, or OpenGL's largest viewport); returns the note that says so, or
// an empty string when the size fits.
std::string FitWindowSize(int& width, int& height, int maxWidth, int maxHeight, const char* limit);
