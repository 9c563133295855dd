// The solid path on glyphs: whatever the section shape and the cap style,
// and in every shipped face, the print solid of a text is closed (no open
// edge, none used by more than two triangles) and holds material.
// LOGO3D_FULL_SWEEP=1 (bench/print-export --sweep) runs every shape with
// every cap on every glyph of the default font instead of the fixed set.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "DrawnText.h"
#include "export/DrawnLogo.h"
#include "export/ExportScene.h"
#include "solid/OpenVdbGrid.h"
#include "solid/PrintSolid.h"
#include "text/TextStringFile.h"
#include "solid/TriangleGrid.h"
#include "text/DataFileLoading.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"
#include "text/TextCharacters.h"

namespace {

const std::string kSource = LOGO3D_SOURCE_DIR;
const bool kFullSweep = std::getenv("LOGO3D_FULL_SWEEP") != nullptr;

// Corners, arcs, dots and overlapping strokes.
const char* const kGlyphs = "ABegik|MRSW48&@";

// Every printable character but the line separator and the backslash,
// in lines of about thirty.
std::string everyGlyph() {
    std::string text;
    for (char c = '!'; c <= '~'; ++c) {
        if (c == '|' || c == '\\') continue;
        if (!text.empty() && (c - '!') % 30 == 0) text += '|';
        text += c;
    }
    return text;
}

SolidCheck solidOf(const std::string& fontFile, const SweepStyle& style, const std::string& text, float width) {
    const DrawnLogo drawn = DrawnText(fontFile, style, text);
    PrintLayout layout;
    layout.onBed = true;
    layout.width = width;
    layout.voxel = width / 300.0f;
    const PrintSolid solid = MakePrintSolid(drawn, layout, MakeOpenVdbGrid);
    if (solid.parts.empty()) return {};
    return CheckSolid(solid.parts.front().mesh);
}

void expectSolid(const SolidCheck& check) {
    EXPECT_EQ(check.openEdges, 0u);
    EXPECT_EQ(check.overusedEdges, 0u);
    EXPECT_EQ(check.misturnedEdges, 0u);
    EXPECT_GT(check.volume, 0.0);
    EXPECT_GT(check.shells, 0u);
}

TEST(SolidGlyphs, EverySectionShapeAndCapStyleGivesClosedLetters) {
    const std::string font = kSource + "/data/font.src";
    std::vector<SweepStyle> styles;
    for (int shape = 0; shape <= 9; ++shape)
        for (int cap = 0; cap <= 11; ++cap)
            if (kFullSweep || cap == 2 || shape == 0) styles.push_back({shape, cap});
    const std::string text = kFullSweep ? everyGlyph() : kGlyphs;
    for (const SweepStyle& style : styles) {
        SCOPED_TRACE("shape " + std::to_string(style.shape) + ", cap " + std::to_string(style.cap));
        expectSolid(solidOf(font, style, text, 60.0f));
    }
}

// Each face is a test of its own (so that they run side by side), its
// glyphs together in one solid, at a voxel coarse enough (0.4 mm on a print
// 120 mm wide) to keep the sweep of every face short.
std::vector<std::string> shippedFaces() {
    std::vector<std::string> faces;
    for (const auto& entry : std::filesystem::directory_iterator(kSource + "/fonts/hershey"))
        if (entry.path().extension() == ".src") faces.push_back(entry.path().stem().string());
    std::sort(faces.begin(), faces.end());
    return faces;
}

// A face of each family the shipped faces come in (simplex, duplex,
// complex, triplex, gothic, script, Cyrillic, symbols): each family draws
// its glyphs with its own strokes, serifs and dots. The full sweep
// (LOGO3D_FULL_SWEEP=1, bench/print-export --sweep) takes every face.
// Under the sanitizers (LOGO3D_SMALL_SWEEP), whose allocator makes
// OpenVDB's many large nodes slow, two of them.
std::vector<std::string> sweptFaces() {
    if (kFullSweep) return shippedFaces();
#ifdef LOGO3D_SMALL_SWEEP
    return {"futural", "gothiceng"};
#else
    return {"futural", "rowmand", "timesr", "timesib", "gothiceng", "scriptc", "cyrillic", "symbolic"};
#endif
}

class ShippedFace : public ::testing::TestWithParam<std::string> {};

TEST(SolidGlyphs, EverySweptFaceIsShipped) {
    const std::vector<std::string> shipped = shippedFaces();
    EXPECT_GE(shipped.size(), 30u);
    for (const std::string& face : sweptFaces())
        EXPECT_TRUE(std::find(shipped.begin(), shipped.end(), face) != shipped.end()) << face;
}

// Every glyph a font file holds (ASCII and beyond) but the line separator,
// the backslash and the space, in lines of thirty.
std::string everyGlyphOf(const std::string& fontFile) {
    StrokeFontCharacterSet font;
    std::ostringstream errors;
    EXPECT_TRUE(LoadFont(fontFile, font, errors)) << errors.str();
    std::set<char32_t> codes;
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->code > U' ' && c->code != U'|' && c->code != U'\\') codes.insert(c->code);
    std::string text;
    std::size_t inLine = 0;
    for (char32_t code : codes) {
        if (inLine == 30) text += '|', inLine = 0;
        text += Utf8(code);
        ++inLine;
    }
    return text;
}

TEST_P(ShippedFace, EveryGlyphIsClosedInItsOwnStyle) {
    const std::string face = kSource + "/fonts/hershey/" + GetParam() + ".src";
    expectSolid(solidOf(face, SweepStyle{}, everyGlyphOf(face), 120.0f));
}

INSTANTIATE_TEST_SUITE_P(SolidGlyphs, ShippedFace, ::testing::ValuesIn(sweptFaces()),
                         [](const ::testing::TestParamInfo<std::string>& face) { return face.param; });

}  // namespace
