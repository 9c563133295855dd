#include "text/GlyphCodes.h"

#include <cstdio>

#include "text/StrokeCharacter.h"

namespace {
bool isPrintable(unsigned code) { return code >= '!' && code <= '~'; }
}  // namespace

std::string GlyphName(char code) {
    const unsigned c = static_cast<unsigned char>(code);
    if (isPrintable(c)) return std::string("glyph '") + code + "'";
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02x", c);
    return std::string("glyph ") + hex;
}

void GlyphCodes::Note(const StrokeCharacter& character, const std::string& text) {
    if (!report.Active()) return;
    // A blank line has no code: its character keeps the default one.
    if (text.find_first_not_of(" \t\v\f\r") == std::string::npos) return;
    const unsigned code = static_cast<unsigned char>(character.code);
    const std::string name = GlyphName(character.code);
    if (!isPrintable(code))
        report.Warning(report.Line(), name,
                       "the code is outside the printable characters '!'..'~': only that byte in a text reaches it");
    if (firstLine[code] == 0) {
        firstLine[code] = report.Line();
        return;
    }
    report.Warning(report.Line(), name,
                   "defined again (first at line " + std::to_string(firstLine[code]) +
                       "): the first definition is drawn, while the last one's width spaces proportional text");
}
