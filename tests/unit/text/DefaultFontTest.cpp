// The default font in data/: one glyph for every printable ASCII character,
// each reading cleanly, standing on the font's metrics and closed wherever it
// leaves an end open.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

const std::string kFontFile = LOGO3D_SOURCE_DIR "/data/font.src";

// Heights of the pen's centre line that the glyphs are drawn to.
constexpr float kCap = 30, kXHeight = 21, kAscender = 31, kDescender = -9;

class DefaultFont : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(kFontFile);
        ASSERT_TRUE(in) << "cannot open " << kFontFile;
        std::ostringstream text;
        text << in.rdbuf();
        std::istringstream lines(text.str());
        std::string line;
        bool headerSeen = false;
        while (std::getline(lines, line)) {
            if (!headerSeen) headerSeen = !line.empty() && line[0] != '#';
            else if (!line.empty() && static_cast<unsigned char>(line[0]) < 128 && line.rfind("U+", 0) != 0)
                glyphLines.push_back(line);
        }
        std::istringstream whole(text.str());
        // The line end after the last glyph adds one empty character, whose
        // code cannot be read: the only error the file may give.
        ASSERT_EQ(font.Load(whole), 1);
        for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
            if (c->firstStroke != nullptr && c->code < 128) glyphs[static_cast<char>(c->code)].push_back(c);
    }

    const StrokeCharacter& Glyph(char code) { return *glyphs.at(code).front(); }

    StrokeFontCharacterSet font;
    std::vector<std::string> glyphLines;
    std::map<char, std::vector<const StrokeCharacter*>> glyphs;
};

TEST_F(DefaultFont, HasOneGlyphWithAWidthForEveryPrintableCharacter) {
    for (int code = 33; code <= 126; ++code) {
        const char c = static_cast<char>(code);
        ASSERT_EQ(glyphs.count(c), 1u) << "no glyph for '" << c << "'";
        EXPECT_EQ(glyphs[c].size(), 1u) << "'" << c << "' is defined more than once";
        // A glyph without width would end the layout of a line there.
        EXPECT_GT(Glyph(c).maxX - Glyph(c).minX, 0.0f) << "'" << c << "'";
    }
    EXPECT_EQ(glyphs.size(), 94u);
}

TEST_F(DefaultFont, EveryGlyphLineReadsWithoutErrors) {
    ASSERT_EQ(glyphLines.size(), 94u);
    for (const std::string& line : glyphLines) {
        StrokeFontCharacter character(&font);
        std::istringstream in(line);
        EXPECT_EQ(character.Read(in), 0) << line;
        EXPECT_NE(character.firstStroke, nullptr) << line;
    }
}

struct MetricCase {
    const char* codes;
    float bottom, top;  // of the pen's centre line
};

TEST_F(DefaultFont, GlyphsStandOnTheBaselineAndReachTheirHeights) {
    const MetricCase cases[] = {
        {"ABCDEFGHIJKLMNOPRSTUVWXYZ0123456789", 0, kCap},
        {"Q", -2, kCap},
        {"acemnorsuvwxz", 0, kXHeight},
        {"bdfhkl", 0, kAscender},
        {"gpqy", kDescender, kXHeight},
        {"i", 0, kCap},
        {"j", kDescender, kCap},
    };
    const float w = font.strokeWidth;
    for (const MetricCase& metric : cases)
        for (const char* c = metric.codes; *c != '\0'; ++c) {
            EXPECT_NEAR(Glyph(*c).minY + w, metric.bottom, 0.02f) << "'" << *c << "'";
            EXPECT_NEAR(Glyph(*c).maxY - w, metric.top, 0.02f) << "'" << *c << "'";
        }
    for (int code = 33; code <= 126; ++code) {
        const StrokeCharacter& glyph = Glyph(static_cast<char>(code));
        EXPECT_GE(glyph.minY + w, kDescender) << "'" << static_cast<char>(code) << "'";
        EXPECT_LE(glyph.maxY - w, kCap + 3) << "'" << static_cast<char>(code) << "'";
    }
}

// An open end draws no cap and would show as a hole, unless it meets the
// same glyph's path at the same point running on in the same direction:
// another open end, or a straight joint (where the 6 and the 9 close their
// loops). That is how closed loops are drawn.
TEST_F(DefaultFont, OpenEndsOnlyWhereALoopClosesOnItself) {
    struct End {
        Vector3 point, travel;
    };
    for (const auto& [code, list] : glyphs) {
        std::vector<End> starts, ends, joints;
        for (const Stroke* s = list.front()->firstStroke; s != nullptr; s = s->next) {
            if (s->kind == 'd') {
                EXPECT_GT(s->startCap, 1) << "'" << code << "' has a dot with an open side";
                EXPECT_GT(s->endCap, 1) << "'" << code << "' has a dot with an open side";
                continue;
            }
            if (s->startCap == 1) starts.push_back({s->start, s->StartDirection()});
            if (s->endCap == 1) ends.push_back({s->end, s->EndDirection()});
            if (s->endCap == 0 && s->next != nullptr &&
                JointAngle(s->EndDirection(), s->next->StartDirection()) < 0.001f)
                joints.push_back({s->end, s->EndDirection()});
        }
        const auto meets = [](const End& a, const std::vector<End>& others) {
            for (const End& b : others)
                if (Length(a.point - b.point) < 0.01f && Length(Normalized(a.travel) - Normalized(b.travel)) < 0.01f)
                    return true;
            return false;
        };
        for (const End& start : starts)
            EXPECT_TRUE(meets(start, ends) || meets(start, joints))
                << "'" << code << "' has an open start at (" << start.point.x << ", " << start.point.y << ")";
        for (const End& end : ends)
            EXPECT_TRUE(meets(end, starts) || meets(end, joints))
                << "'" << code << "' has an open end at (" << end.point.x << ", " << end.point.y << ")";
    }
}

// Where a straight stroke runs into an arc at a sharp corner, the arc's trim
// eats into its curve and the joint between them turns into a long stray
// piece; glyphs join the two at right angles at most.
TEST_F(DefaultFont, StraightStrokesAndArcsMeetAtRightAnglesAtMost) {
    for (const auto& [code, list] : glyphs)
        for (const Stroke* s = list.front()->firstStroke; s != nullptr; s = s->next) {
            const Stroke* p = s->prev;
            if (p == nullptr || s->startCap != 0 || (p->kind == 'c') == (s->kind == 'c')) continue;
            EXPECT_LE(JointAngle(p->EndDirection(), s->StartDirection()), kHalfPi + 0.001)
                << "'" << code << "' at (" << s->start.x << ", " << s->start.y << ")";
        }
}

}  // namespace
