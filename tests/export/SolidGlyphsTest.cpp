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

struct Style {
    int shape = -1, cap = -1;  // -1: the font's own
};

// A text laid out in a font (in a section shape and cap style of its own,
// if given), drawn, ready for the print path.
DrawnLogo drawnText(const std::string& fontFile, const Style& style, const std::string& text) {
    StrokeFontCharacterSet font;
    std::ostringstream errors;
    EXPECT_TRUE(LoadFont(fontFile, font, errors)) << errors.str();
    if (style.shape >= 0) font.sectionShape = style.shape;
    if (style.cap >= 0) font.capStyle = style.cap;
    LogoString logo;
    std::istringstream in(StringFileForText(text));
    EXPECT_EQ(logo.Read(in), 0);
    const CapturedLogo captured = CaptureLogo(logo, font, -1, false);
    std::set<unsigned> glyphLists;
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->displayList > 0) glyphLists.insert(static_cast<unsigned>(c->displayList));
    const auto isGlyph = [glyphLists](const capture::Triangle& t) { return glyphLists.count(t.innerList) > 0; };
    return DrawnLogoOf(captured, SurfaceNames(captured.surfaces, logo), isGlyph, font.strokeWidth);
}

SolidCheck solidOf(const std::string& fontFile, const Style& style, const std::string& text, float width) {
    const DrawnLogo drawn = drawnText(fontFile, style, text);
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
    std::vector<Style> styles;
    for (int shape = 0; shape <= 9; ++shape)
        for (int cap = 0; cap <= 11; ++cap)
            if (kFullSweep || cap == 2 || shape == 0) styles.push_back({shape, cap});
    const std::string text = kFullSweep ? everyGlyph() : kGlyphs;
    for (const Style& style : styles) {
        SCOPED_TRACE("shape " + std::to_string(style.shape) + ", cap " + std::to_string(style.cap));
        expectSolid(solidOf(font, style, text, 60.0f));
    }
}

// How far each vertex of a mesh lies from the nearest of the given
// triangles (up to `reach`).
std::vector<double> distancesFrom(const std::vector<TriangleCorners>& triangles, const SolidMesh& mesh,
                                  double reach) {
    const TriangleGrid grid(triangles, reach, 1.0);
    std::vector<double> out;
    for (const Point3& v : mesh.vertices) out.push_back(grid.Nearest(v));
    return out;
}

// At the printed size the solid is the drawing: the vertices of a name
// plate's solid lie within 0.05 mm of a drawn triangle or of the plate,
// but where the solid bridges the drawing's open seams (a part in five
// hundred of them, in the middle of a seam up to 0.2 mm wide).
TEST(SolidGlyphs, ANamePlateKeepsToTheDrawnSurface) {
    const DrawnLogo drawn = drawnText(kSource + "/data/font.src", Style{}, "ANNA|B&e4");
    PrintLayout layout;
    layout.onBed = true;
    layout.width = 80.0f;
    layout.base = 2.0f;
    const PrintInput in = PreparePrint(drawn, layout);
    std::vector<TriangleCorners> laidOut;
    for (const auto& group : in.groups) laidOut.insert(laidOut.end(), group.begin(), group.end());
    const std::vector<TriangleCorners> plate = RoundedPlate(in.plateShape);
    laidOut.insert(laidOut.end(), plate.begin(), plate.end());
    const PrintSolid solid = MakePrintSolid(drawn, layout, MakeOpenVdbGrid);
    ASSERT_EQ(solid.parts.size(), 1u);
    const std::vector<double> distances = distancesFrom(laidOut, solid.parts.front().mesh, 1.0);
    const auto beyond = std::count_if(distances.begin(), distances.end(), [](double d) { return d > 0.05; });
    EXPECT_LE(double(beyond), 2e-3 * double(distances.size()));
    EXPECT_LE(*std::max_element(distances.begin(), distances.end()), 0.1);
}

// Each shipped face is a test of its own (so that they run side by side),
// its glyphs together in one solid, at a voxel coarse enough (0.4 mm on a
// print 120 mm wide) to keep the sweep of every face short.
std::vector<std::string> shippedFaces() {
    std::vector<std::string> faces;
    for (const auto& entry : std::filesystem::directory_iterator(kSource + "/fonts/hershey"))
        if (entry.path().extension() == ".src") faces.push_back(entry.path().stem().string());
    std::sort(faces.begin(), faces.end());
    return faces;
}

class ShippedFace : public ::testing::TestWithParam<std::string> {};

TEST(SolidGlyphs, EveryShippedFaceIsSwept) { EXPECT_GE(shippedFaces().size(), 30u); }

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
    expectSolid(solidOf(face, Style{}, everyGlyphOf(face), 120.0f));
}

INSTANTIATE_TEST_SUITE_P(SolidGlyphs, ShippedFace, ::testing::ValuesIn(shippedFaces()),
                         [](const ::testing::TestParamInfo<std::string>& face) { return face.param; });

}  // namespace
