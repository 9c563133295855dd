// Whole glyphs built of every stroke kind (lines, stiff and pivot lines, arcs,
// dots), compiled in every section shape: the surfaces they emit must be
// sound wherever strokes meet, not only along single strokes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "../stroke/SweepRecording.h"
#include "LogoTestSupport.h"
#include "Captured.h"
#include "scene/DataLine.h"
#include "text/FontWithHeader.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

std::string testFont(const std::string& header) {
    std::ifstream in(LOGO3D_TEST_DATA "/fonts/test.src");
    return FontWithHeader(in, header);
}

const char* const kEveryKind = "BCDJOPRSUij!?8047AKMW";

TEST(GlyphInvariants, EveryKindInEveryShapeGivesUnitNormalsAndFiniteValues) {
    for (int shape = 0; shape <= 9; ++shape) {
        for (int cap : {2, 11}) {
            SCOPED_TRACE("shape " + std::to_string(shape) + " cap " + std::to_string(cap));
            StrokeFontCharacterSet font;
            std::istringstream in(
                testFont("2.5 3 6 0.5 " + std::to_string(cap) + " 1 " + std::to_string(shape) + " 0.7 0 16 24 5 10"));
            font.Load(in);
            captured::Restart();
            for (const char* c = kEveryKind; *c != '\0'; ++c) font.DrawCode(*c);
            EXPECT_EQ(capture::ListCalls().size(), std::strlen(kEveryKind));
            EXPECT_TRUE(captured::SoundGL());
            // The normals as the glyph lists hold them, before GL renormalises them.
            int normals = 0;
            for (const capture::Call& n : capture::CallLog()) {
                if (n.name != "glNormal3f") continue;
                ++normals;
                const double length = std::sqrt(n.args[0] * n.args[0] + n.args[1] * n.args[1] + n.args[2] * n.args[2]);
                ASSERT_NEAR(length, 1.0, 1e-4);
            }
            EXPECT_GT(normals, 1000);
        }
    }
}

// Glyphs whose strokes meet at right angles or gentler. Where a stroke turns
// back more sharply (the points of W, M, A), the fillet's radius is smaller
// than the section's half width, and the inner side of the swept corner folds
// over itself inside the solid: those hidden faces wind the other way.
const char* const kGentleJoints = "BCDJOPRSUij!?8047";

TEST(GlyphInvariants, RoundGlyphsAreLitFromOutsideWhereStrokesMeet) {
    // The shapes whose normals all point out of a convex section.
    for (int shape : {0, 1, 2, 5, 8, 9}) {
        SCOPED_TRACE("shape " + std::to_string(shape));
        StrokeFontCharacterSet font;
        std::istringstream in(testFont("2.5 3 6 0.5 2 1 " + std::to_string(shape) + " 0.7 0 16 24 5 10"));
        font.Load(in);
        for (const char* c = kGentleJoints; *c != '\0'; ++c) {
            capture::Reset();
            font.DrawCode(*c);
            const std::string fault = captured::FirstWindingFault(captured::Faces());
            EXPECT_TRUE(fault.empty()) << "glyph " << *c << ": " << fault;
        }
    }
}

}  // namespace

namespace {

std::unique_ptr<StrokeFontCharacterSet> fontOf(const std::string& header, const std::string& glyphs) {
    auto font = std::make_unique<StrokeFontCharacterSet>();
    std::istringstream in(header + "\n" + glyphs);
    font->Load(in);
    return font;
}

float area(const Triangle& t) {
    return 0.5f * Length(Cross(t.b.position - t.a.position, t.c.position - t.a.position));
}

// Bands between rings that only rounding keeps apart: every triangle has
// next to no area, yet not none. (A band that would turn inside out is
// flattened onto its first ring on purpose, and has no area at all.) The
// glyph's strokes are drawn as its list holds them, but without the list,
// so that each band can be told apart.
int slivers(const StrokeFontCharacterSet& font, char code) {
    const StrokeCharacter* glyph = font.firstCharacter;
    while (glyph != nullptr && glyph->code != static_cast<unsigned char>(code)) glyph = glyph->next;
    if (glyph == nullptr || glyph->firstStroke == nullptr) return 0;
    captured::Restart();
    glyph->firstStroke->Draw();
    int count = 0;
    for (const RecordedPrimitive& primitive : RecordedPrimitives()) {
        float largest = 0.0f;
        for (const Triangle& t : Triangles(primitive)) largest = std::max(largest, area(t));
        if (largest > 0.0f && largest < 1e-4f) ++count;
    }
    return count;
}

TEST(GlyphInvariants, ExtremeGlyphsDrawFiniteGeometryWithoutSlivers) {
    std::ifstream defaultFont(LOGO3D_SOURCE_DIR "/data/font.src");
    const std::string defaultHeader = readSignificantLine(defaultFont);
    struct Case {
        std::string header, glyphs;
    } cases[] = {
        // Marker points far beyond any coordinate a stroke may have.
        {defaultHeader, "A e 1e30 0 l 0 0 e\nB e 3e38 3e38 c 0 0 90 e"},
        {defaultHeader, "A e -3e38 1e38 l 0 0 e\nB e 1e6 1e6 l 1e38 -1e38 s 0 0 e"},
        // Strokes wider and deeper than any coordinate: a glyph's width
        // (its extent plus a stroke width each side) overflowed a float.
        {"3e38 -3e38 8 1.5 2 1 0 1 0 14 30 7 22", "A e 1e30 0 l 8 3e38 c 0 900 e\nB e 0 0 l 8 8 e"},
        // An arc between two sharp corners whose trims use up all of it.
        {"6 6 8 1.5 2 1 0 1 0 0.7 1.1 6 6", "B f 10 32 l 43 29 c 52 26 112 l 30 10 f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.glyphs);
        const std::unique_ptr<StrokeFontCharacterSet> font = fontOf(c.header, c.glyphs);
        unsigned count = 0;
        const std::unique_ptr<float[]> widths = font->BuildWidthTable(count);
        for (unsigned code = 0; code < count; ++code) EXPECT_TRUE(std::isfinite(widths[code])) << code;
        LogoString logo;
        ASSERT_EQ(logo_test::ReadString(logo, logo_test::StringFile().Text()), 0);
        capture::Reset();
        logo.Prepare(font.get());
        logo.Draw();
        EXPECT_TRUE(captured::SoundGL());
        for (char code : {'A', 'B'}) EXPECT_EQ(slivers(*font, code), 0) << code;
    }
    FacetLengthGlobal = 1.0f;
}

TEST(GlyphInvariants, AWideSectionAlongALongArcKeepsToTheSweepBudget) {
    // 4096 rings of 4096 points, 16 million vertices, without the budget.
    const std::unique_ptr<StrokeFontCharacterSet> font =
        fontOf("3725 4 8 0.5 2 1 0 1 0 14 30 7 22", "B e 3e38 3e38 c 0 0 90 e");
    capture::Reset();
    font->DrawCode('B');
    EXPECT_LT(capture::Vertices().size(), 3u << 20);
    EXPECT_TRUE(captured::SoundGL());
}

}  // namespace
