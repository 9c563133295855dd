// The solid path on glyphs: whatever the section shape and the cap style,
// and in every shipped face, the print solid of a text is closed (no open
// edge, none used by more than two triangles) and holds material.
// LOGO3D_FULL_SWEEP=1 (bench/print-export --sweep) runs every shape with
// every cap on every glyph of the default font instead of the fixed set.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "ExportScene.h"
#include "LogoCapture.h"
#include "PrintSolid.h"
#include "SceneFiles.h"
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
// if given), captured, ready for the print path.
struct CapturedText {
    CapturedLogo captured;
    std::vector<std::string> surfaceNames;
    std::function<bool(const capture::Triangle&)> isGlyph;
    float strokeWidth = 0.0f;
};

CapturedText capturedText(const std::string& fontFile, const Style& style, const std::string& text) {
    StrokeFontCharacterSet font;
    std::ostringstream errors;
    EXPECT_TRUE(LoadFont(fontFile, font, errors)) << errors.str();
    if (style.shape >= 0) font.sectionShape = style.shape;
    if (style.cap >= 0) font.capStyle = style.cap;
    LogoString logo;
    std::istringstream in(StringFileForText(text));
    EXPECT_EQ(logo.Read(in), 0);
    CapturedText out;
    out.captured = CaptureLogo(logo, font, -1, false);
    out.surfaceNames = SurfaceNames(out.captured.surfaces, logo);
    std::set<unsigned> glyphLists;
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->displayList > 0) glyphLists.insert(static_cast<unsigned>(c->displayList));
    out.isGlyph = [glyphLists](const capture::Triangle& t) { return glyphLists.count(t.innerList) > 0; };
    out.strokeWidth = font.strokeWidth;
    return out;
}

SolidCheck solidOf(const std::string& fontFile, const Style& style, const std::string& text, float width) {
    const CapturedText t = capturedText(fontFile, style, text);
    PrintLayout layout;
    layout.onBed = true;
    layout.width = width;
    layout.voxel = width / 300.0f;
    const PrintSolid solid = MakePrintSolid(t.captured, t.surfaceNames, t.isGlyph, t.strokeWidth, layout);
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

// The distance from a point to a triangle: to its closest point, found
// by the region of the triangle's plane the point projects into.
double distanceToTriangle(const Point3& point, const TriangleCorners& t) {
    using V = std::array<double, 3>;
    auto sub = [](const V& a, const V& b) { return V{a[0] - b[0], a[1] - b[1], a[2] - b[2]}; };
    auto dot = [](const V& a, const V& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    auto at = [](const V& a, const V& ab, const V& ac, double v, double w) {
        return V{a[0] + v * ab[0] + w * ac[0], a[1] + v * ab[1] + w * ac[1], a[2] + v * ab[2] + w * ac[2]};
    };
    const V p{point[0], point[1], point[2]}, a{t[0][0], t[0][1], t[0][2]}, b{t[1][0], t[1][1], t[1][2]},
        c{t[2][0], t[2][1], t[2][2]};
    const V ab = sub(b, a), ac = sub(c, a), ap = sub(p, a), bp = sub(p, b), cp = sub(p, c);
    const double d1 = dot(ab, ap), d2 = dot(ac, ap), d3 = dot(ab, bp), d4 = dot(ac, bp), d5 = dot(ab, cp),
                 d6 = dot(ac, cp);
    const double va = d3 * d6 - d5 * d4, vb = d5 * d2 - d1 * d6, vc = d1 * d4 - d3 * d2;
    V closest;
    if (d1 <= 0 && d2 <= 0) closest = a;
    else if (d3 >= 0 && d4 <= d3) closest = b;
    else if (d6 >= 0 && d5 <= d6) closest = c;
    else if (vc <= 0 && d1 >= 0 && d3 <= 0) closest = at(a, ab, ac, d1 / (d1 - d3), 0);
    else if (vb <= 0 && d2 >= 0 && d6 <= 0) closest = at(a, ab, ac, 0, d2 / (d2 - d6));
    else if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) {
        const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        closest = at(b, sub(c, b), V{0, 0, 0}, w, 0);
    } else {
        const double sum = va + vb + vc;
        closest = at(a, ab, ac, vb / sum, vc / sum);
    }
    const V d = sub(p, closest);
    return std::sqrt(dot(d, d));
}

// How far each vertex of a mesh lies from the nearest of the given
// triangles (those within `reach` of it, found through a grid of cells).
std::vector<double> distancesFrom(const std::vector<TriangleCorners>& triangles, const SolidMesh& mesh,
                                  double reach) {
    const double cell = 1.0;
    std::map<std::pair<int, int>, std::vector<std::size_t>> cells;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        double lo[2] = {1e30, 1e30}, hi[2] = {-1e30, -1e30};
        for (const Point3& p : triangles[i])
            for (int k = 0; k < 2; ++k) lo[k] = std::min(lo[k], double(p[k])), hi[k] = std::max(hi[k], double(p[k]));
        for (int x = int(std::floor((lo[0] - reach) / cell)); x <= int(std::floor((hi[0] + reach) / cell)); ++x)
            for (int y = int(std::floor((lo[1] - reach) / cell)); y <= int(std::floor((hi[1] + reach) / cell)); ++y)
                cells[{x, y}].push_back(i);
    }
    std::vector<double> out;
    for (const Point3& v : mesh.vertices) {
        double nearest = reach;
        const auto found = cells.find({int(std::floor(v[0] / cell)), int(std::floor(v[1] / cell))});
        if (found != cells.end())
            for (std::size_t i : found->second) nearest = std::min(nearest, distanceToTriangle(v, triangles[i]));
        out.push_back(nearest);
    }
    return out;
}

// At the printed size the solid is the drawing: the vertices of a name
// plate's solid lie within 0.05 mm of a drawn triangle or of the plate,
// but where the solid bridges the drawing's open seams (a part in five
// hundred of them, in the middle of a seam up to 0.2 mm wide).
TEST(SolidGlyphs, ANamePlateKeepsToTheDrawnSurface) {
    const CapturedText t = capturedText(kSource + "/data/font.src", Style{}, "ANNA|B&e4");
    PrintLayout layout;
    layout.onBed = true;
    layout.width = 80.0f;
    layout.base = 2.0f;
    const PrintInput in = PreparePrint(t.captured, t.surfaceNames, t.isGlyph, t.strokeWidth, layout);
    std::vector<TriangleCorners> drawn;
    for (const auto& group : in.groups) drawn.insert(drawn.end(), group.begin(), group.end());
    const PrintSolid solid = MakePrintSolid(t.captured, t.surfaceNames, t.isGlyph, t.strokeWidth, layout);
    ASSERT_EQ(solid.parts.size(), 1u);
    const std::vector<double> distances = distancesFrom(drawn, solid.parts.front().mesh, 1.0);
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
