#include "text/GlyphCodes.h"

#include <cctype>
#include <cstdio>

#include "text/StrokeCharacter.h"
#include "text/TextCharacters.h"

namespace {
bool isPrintable(char32_t code) { return code >= U'!' && code <= U'~'; }
// Codes that no text reaches as a character of its own.
bool isControl(char32_t code) { return code < U'!' || (code >= 0x7F && code <= 0x9F); }

// The length of the UTF-8 sequence a lead byte begins; 0 for none.
int sequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Hex digits after "U+"; false (nothing taken) when none follow.
bool readHexCode(std::istream& in, char32_t& code) {
    if (in.peek() != '+') return false;
    in.get();
    if (!std::isxdigit(in.peek())) {
        in.unget();
        return false;
    }
    unsigned long value = 0;
    while (std::isxdigit(in.peek()) && value <= 0x10FFFF) {
        const int c = in.get();
        value = value * 16 + static_cast<unsigned long>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    code = value > 0x10FFFF ? 0xFFFD : static_cast<char32_t>(value);
    return true;
}
}  // namespace

std::string GlyphName(char32_t code) {
    if (isPrintable(code)) return std::string("glyph '") + static_cast<char>(code) + "'";
    if (code < 0x80 || isControl(code)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x", static_cast<unsigned>(code));
        return std::string("glyph ") + hex;
    }
    return "glyph " + ShownCharacter(code);
}

bool ReadGlyphCode(std::istream& in, char32_t& code) {
    char first = 0;
    if (!(in >> first)) return false;
    const auto lead = static_cast<unsigned char>(first);
    if (first == 'U' && readHexCode(in, code)) return true;
    code = lead;
    const int length = sequenceLength(lead);
    if (length == 0) return true;
    std::string bytes(1, first);
    for (int i = 1; i < length && IsContinuationByte(static_cast<unsigned char>(in.peek())); ++i)
        bytes.push_back(static_cast<char>(in.get()));
    const TextCharacters decoded = DecodeText(bytes);
    if (!decoded.latin1 && decoded.characters.size() == 1 && decoded.marks.empty()) {
        code = decoded.characters[0];
        return true;
    }
    // Not UTF-8: the lead byte alone, as Latin-1; the rest stays to be read.
    for (std::size_t i = bytes.size(); i > 1; --i) in.unget();
    return true;
}

std::string GlyphCodeText(char32_t code) {
    if (code < 0x80) return std::string(1, static_cast<char>(code));
    if (isControl(code) || IsCombiningMark(code)) return CodePointName(code);
    return Utf8(code);
}

void GlyphCodes::Note(const StrokeCharacter& character, const std::string& text) {
    if (!report.Active()) return;
    // A blank line has no code: its character keeps the default one.
    if (text.find_first_not_of(" \t\v\f\r") == std::string::npos) return;
    const char32_t code = character.code;
    const std::string name = GlyphName(code);
    if (isControl(code))
        report.Warning(report.Line(), name,
                       "the code is outside the printable characters '!'..'~': only that byte in a text reaches it");
    const auto first = firstLine.find(code);
    if (first == firstLine.end()) {
        firstLine[code] = report.Line();
        return;
    }
    report.Warning(report.Line(), name,
                   "defined again (first at line " + std::to_string(first->second) +
                       "): the first definition is drawn, while the last one's width spaces proportional text");
}
