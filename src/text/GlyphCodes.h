#pragma once

#include <string>

#include "scene/Diagnostics.h"

class StrokeCharacter;

// How a glyph is named in findings: "glyph 'A'", or "glyph 0xc3" for a code
// outside printable ASCII.
std::string GlyphName(char code);

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
    int firstLine[256] = {};
};
