#pragma once

#include <string>
#include <vector>

#include "scene/Diagnostics.h"

class StrokeFontCharacterSet;

// Each check reads the text of one data file with the viewer's own reader,
// given a report, and returns what the reader found, in the order of the
// file.
std::vector<Finding> CheckFont(const std::string& text, StrokeFontCharacterSet& font);
std::vector<Finding> CheckEnvironment(const std::string& text);
// With a font, also names the characters of the text that it has no glyph
// for (they draw nothing).
std::vector<Finding> CheckStringFile(const std::string& text, StrokeFontCharacterSet* font);

// A text given on the command line (lines separated by '|') checked
// against a font, as a string file's text is: each character the font does
// not draw, as "--text: warning: text line 1: 'Ω' (U+03A9, column 1) has no
// glyph in the font and is left out".
std::vector<std::string> TextWarnings(const std::string& text, StrokeFontCharacterSet& font);

// "string.src:41: error: shadow plane normal: expected 3 numbers, found 2".
std::string FormatFinding(const std::string& file, const Finding& finding);
