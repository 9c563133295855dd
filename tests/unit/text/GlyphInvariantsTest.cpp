// Whole glyphs built of every stroke kind (lines, stiff and pivot lines, arcs,
// dots), compiled in every section shape: the surfaces they emit must be
// sound wherever strokes meet, not only along single strokes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../stroke/SweepRecording.h"
#include "RecordingGL.h"
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
            gl_record::Reset();
            for (const char* c = kEveryKind; *c != '\0'; ++c) font.DrawCode(*c);
            EXPECT_EQ(gl_record::EffectiveNamed("glCallList").size(), std::strlen(kEveryKind));
            EXPECT_EQ(gl_record::Errors(), 0);
            EXPECT_EQ(gl_record::OpenPrimitives(), 0);
            EXPECT_TRUE(AllRecordedValuesFinite());
            int normals = 0;
            for (const gl_record::Call& n : gl_record::EffectiveNamed("glNormal3f")) {
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
            gl_record::Reset();
            font.DrawCode(*c);
            const std::string fault = FirstWindingFault(RecordedPrimitives());
            EXPECT_TRUE(fault.empty()) << "glyph " << *c << ": " << fault;
        }
    }
}

}  // namespace
