#pragma once

#include <istream>
#include <map>
#include <string>

#include "scene/Diagnostics.h"

class StrokeCharacter;

// How a glyph is named in findings: "glyph 'A'", "glyph 'é' (U+00E9)", or
// "glyph 0x09" for a control code.
std::string GlyphName(char32_t code);

// Reads the code that begins a glyph line, after blanks: a character in UTF-8
// (one to four bytes), or U+ and hex digits. A byte that begins no UTF-8
// character is taken as Latin-1. False when the line holds nothing.
bool ReadGlyphCode(std::istream& in, char32_t& code);
// How a glyph line writes its code: the character itself, or U+ and hex
// digits for a combining mark or a control code.
std::string GlyphCodeText(char32_t code);

// What the glyph lines of a font say together: a code defined twice (the
// lookup draws the first definition, while the width table keeps the last)
// and codes that plain text cannot reach. Says nothing to a silent report.
class GlyphCodes {
public:
    explicit GlyphCodes(Diagnostics& report_) : report(report_) {}
    // The character read from the report's current line, text.
    void Note(const StrokeCharacter& character, const std::string& text);

private:
    Diagnostics& report;
    std::map<char32_t, int> firstLine;
};
