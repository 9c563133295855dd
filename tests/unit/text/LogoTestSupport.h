#pragma once

// Building blocks of the logo tests: string files composed section by
// section, the small test font, and the glyph lists the logo calls.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace logo_test {

// A valid string file, one member per section; a test changes one and reads.
struct StringFile {
    std::string textBlock = "AB\n12\n00\n01\n\\";
    std::string sizes = "1 1 2 1 1 1 1 1 1 1";  // digit 2 doubles
    std::string decorations = "0 0 0 0 0 1\n0 0 0 0 0 1\n0 0 0 0 0 1\n0 0 0 0 0 1";
    std::string shadow = "0 0 0\n0 0 0\n0 1 0\n0 -1 0";
    std::string lineObject = "0";
    std::string characterObject = "0";
    std::string layout = "0 0";
    std::string characterMotion = ZeroLines(16);
    std::string animation = "1 0.5 0.5";
    std::string logoMotion = ZeroLines(12);
    std::string tables = "0 4 1 1";
    std::string materials = "0.2 0.2 0.2 1\n0.8 0.8 0.8 1\n0 0 0 1\n0\n0 0 0 1";
    std::string colours = "1 1 1 1";

    std::string Text() const;
    static std::string ZeroLines(int count);
};

// Reads text into logo and returns the reader's result.
int ReadString(LogoString& logo, const std::string& text);
// The contents of a file under tests/data/logo.
std::string DataFile(const std::string& name);

// The font of tests/data/logo/font.src: widths A 12, B 8, C 6, Z 0; space 20,
// line height 30, letter gap 4, line gap 6, stroke width 1.
std::unique_ptr<StrokeFontCharacterSet> LoadTestFont();
// The display list of the glyph with the given code (-1 when none).
int GlyphList(const StrokeFontCharacterSet& font, char code);

// Where each call of a glyph list lands: the x and y of the glyph's origin
// and the model-view matrix, in the order drawn.
struct GlyphPlacement {
    char code;
    double x, y;
    std::array<float, 16> modelview;
};
std::vector<GlyphPlacement> PlacedGlyphs(const StrokeFontCharacterSet& font);

}  // namespace logo_test
