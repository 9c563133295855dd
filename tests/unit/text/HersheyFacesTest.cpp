// The Hershey faces shipped in fonts/hershey/: each loads without a single
// error (its lines fit the reader and no line end follows the last glyph),
// has one glyph for every printable character, draws every glyph with
// finite values and balanced GL, and closes its loops without a seam; the
// Latin faces stand on the default font's baseline and capital height.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Captured.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

const std::filesystem::path kFaces = LOGO3D_SOURCE_DIR "/fonts/hershey";
constexpr std::size_t kLongestLine = 499;

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::filesystem::path> faces() {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(kFaces))
        if (entry.path().extension() == ".src") found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

std::map<char, const StrokeCharacter*> glyphsOf(const StrokeFontCharacterSet& font) {
    std::map<char, const StrokeCharacter*> glyphs;
    for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->code < 128) glyphs.emplace(static_cast<char>(c->code), c);
    return glyphs;
}

TEST(HersheyFaces, ThirtyTwoFacesAreShipped) { EXPECT_EQ(faces().size(), 32u); }

TEST(HersheyFaces, EveryFaceLoadsWithoutErrorsAndDrawsEveryGlyphSoundly) {
    for (const auto& path : faces()) {
        SCOPED_TRACE(path.filename().string());
        const std::string text = contents(path);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '\n') << "a line end after the last glyph reads as one more, empty glyph";
        std::istringstream lines(text);
        std::size_t number = 0;
        for (std::string line; std::getline(lines, line);)
            EXPECT_LE(line.size(), kLongestLine) << "line " << ++number << " is longer than the reader takes";

        StrokeFontCharacterSet font;
        std::istringstream in(text);
        ASSERT_EQ(font.Load(in), 0);
        const auto glyphs = glyphsOf(font);
        std::string codes;
        for (const auto& [code, glyph] : glyphs) codes += code;
        std::string printable;
        for (char c = '!'; c <= '~'; ++c) printable += c;
        EXPECT_EQ(codes, printable);

        // Coarse tessellation: the same sweeps with far fewer vertices to record.
        font.facetLength = 10.0f;
        font.sectionSegments = 4;
        capture::Reset();
        for (const auto& [code, glyph] : glyphs) {
            font.DrawCode(code);
            EXPECT_GT(glyph->maxX - glyph->minX, 0.0f) << "'" << code << "' has no width";
        }
        EXPECT_EQ(capture::ListCount(), glyphs.size()) << "one display list per glyph";
        EXPECT_TRUE(captured::SoundGL());
    }
}

// An open end draws no cap; the importer gives open ends only to the two
// ends of a closed loop, which meet at one point running in one direction.
TEST(HersheyFaces, OpenEndsOnlyWhereALoopClosesOnItself) {
    for (const auto& path : faces()) {
        SCOPED_TRACE(path.filename().string());
        StrokeFontCharacterSet font;
        std::istringstream in(contents(path));
        font.Load(in);
        for (const auto& [code, glyph] : glyphsOf(font)) {
            const Stroke* chainStart = nullptr;
            for (const Stroke* s = glyph->firstStroke; s != nullptr; s = s->next) {
                if (s->kind == 'd') continue;  // dots with open ends only widen blank glyphs
                if (s->startCap != 0) chainStart = s;
                if (s->endCap == 0) continue;
                ASSERT_NE(chainStart, nullptr);
                EXPECT_EQ(chainStart->startCap == 1, s->endCap == 1) << "'" << code << "' opens only one end";
                if (s->endCap == 1) {
                    EXPECT_LT(Length(s->end - chainStart->start), 0.05f) << "'" << code << "' has a gap in a loop";
                    EXPECT_LT(Length(s->EndDirection() - chainStart->StartDirection()), 0.02f)
                        << "'" << code << "' turns where a loop closes";
                }
            }
        }
    }
}

TEST(HersheyFaces, LatinCapitalsStandOnTheBaselineThirtyUnitsHigh) {
    for (const char* name : {"futural", "rowmans", "rowmand", "timesr", "timesi"}) {
        SCOPED_TRACE(name);
        StrokeFontCharacterSet font;
        std::istringstream in(contents(kFaces / (std::string(name) + ".src")));
        ASSERT_EQ(font.Load(in), 0);
        const auto glyphs = glyphsOf(font);
        for (char code : {'E', 'H', 'I'}) {
            EXPECT_NEAR(glyphs.at(code)->minY + font.strokeWidth, 0.0f, 0.02f) << "'" << code << "'";
            EXPECT_NEAR(glyphs.at(code)->maxY - font.strokeWidth, 30.0f, 0.02f) << "'" << code << "'";
        }
    }
}

}  // namespace
