// tools/font/import-hershey on a handmade JHF file (tests/data/hershey/
// fixture.jhf), its output read back by the font reader: pen-up splits
// chains, y turns upwards, x starts at the left bearing and the bearings set
// the spacing, a wrapped record reads as one, a polygon on a circle becomes
// one arc, a corner makes stiff strokes, a closed loop opens without a seam;
// and a bad file gives one line naming the file and the glyph.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CommandOutput.h"
#include "stroke/CircleStroke.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

const std::string kImporter = LOGO3D_SOURCE_DIR "/tools/font/import-hershey";
const std::string kFixture = LOGO3D_TEST_DATA "/hershey/fixture.jhf";
// The fixture's glyphs stand on y = 9 and reach y = -12 (JHF units, y down).
constexpr float kScale = 30.0f / 21.0f;
constexpr float kNear = 0.01f;

std::string quoted(const std::string& word) { return "'" + word + "'"; }

struct Result {
    int status = -1;
    std::string messages;  // the standard error stream
};

// Runs the importer with the given arguments, its standard output into out.
Result importer(const std::string& arguments, const std::string& out) {
    const std::string command = quoted(LOGO3D_PYTHON) + " " + quoted(kImporter) + " " + arguments + " -o " +
                                quoted(out) + " 2>&1";
    const CommandOutput run = RunCommand(command);
    return {run.status, run.text};
}

std::string scratchPath(const std::string& name) {
    return ::testing::TempDir() + "hershey-import-" + std::to_string(getpid()) + "-" + name;
}

class HersheyImport : public ::testing::Test {
protected:
    // Imports the fixture (with extra options) and reads the font back.
    void Import(const std::string& options = "") {
        const std::string out = scratchPath("fixture.src");
        const Result result = importer(quoted(kFixture) + " " + options, out);
        ASSERT_EQ(result.status, 0) << result.messages;
        std::ifstream in(out);
        ASSERT_TRUE(in) << "no font written to " << out;
        errors = font.Load(in);
        std::remove(out.c_str());
    }

    const StrokeCharacter& Glyph(char code) {
        for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
            if (c->code == static_cast<unsigned char>(code)) return *c;
        ADD_FAILURE() << "no glyph '" << code << "'";
        return empty;
    }

    static std::vector<const Stroke*> Strokes(const StrokeCharacter& glyph) {
        std::vector<const Stroke*> strokes;
        for (const Stroke* s = glyph.firstStroke; s != nullptr; s = s->next) strokes.push_back(s);
        return strokes;
    }

    StrokeFontCharacterSet font;
    StrokeCharacter empty{nullptr};
    int errors = -1;
};

void expectPoint(const Vector3& p, float x, float y, const std::string& what) {
    EXPECT_NEAR(p.x, x, kNear) << what;
    EXPECT_NEAR(p.y, y, kNear) << what;
}

TEST_F(HersheyImport, ReadsBackWithoutErrorsOneLinePerGlyphButTheSpace) {
    Import();
    EXPECT_EQ(errors, 0);
    std::string codes;
    for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) codes += c->code;
    EXPECT_EQ(codes, "!\"#$%&'(");
}

TEST_F(HersheyImport, PenUpSplitsChainsYTurnsUpAndXStartsAtTheLeftBearing) {
    Import();
    // Left bearing -5; strokes at x -2 from y -12 down to 9, and at x 2 from -12 to 0.
    const std::vector<const Stroke*> strokes = Strokes(Glyph('!'));
    ASSERT_EQ(strokes.size(), 2u);
    expectPoint(strokes[0]->start, 3 * kScale, 30, "first chain, top");
    expectPoint(strokes[0]->end, 3 * kScale, 0, "first chain, on the baseline");
    expectPoint(strokes[1]->start, 7 * kScale, 30, "second chain, top");
    expectPoint(strokes[1]->end, 7 * kScale, 9 * kScale, "second chain, end");
    for (const Stroke* s : strokes) {
        EXPECT_EQ(s->startCap, font.capStyle) << "each chain starts with a cap";
        EXPECT_EQ(s->endCap, font.capStyle) << "each chain ends with a cap";
    }
}

TEST_F(HersheyImport, AWrappedRecordReadsLikeTheSameRecordOnOneLine) {
    Import();
    const std::vector<const Stroke*> wrapped = Strokes(Glyph('"')), whole = Strokes(Glyph('!'));
    ASSERT_EQ(wrapped.size(), whole.size());
    for (std::size_t k = 0; k < whole.size(); ++k) {
        EXPECT_EQ(wrapped[k]->kind, whole[k]->kind);
        expectPoint(wrapped[k]->start, whole[k]->start.x, whole[k]->start.y, "start");
        expectPoint(wrapped[k]->end, whole[k]->end.x, whole[k]->end.y, "end");
    }
}

TEST_F(HersheyImport, BearingsSetTheLetterGapAndTheSpace) {
    Import();
    // Ink to bearings, both sides together: 6 6 4 4 9 6 10, median 6; the
    // space's cell is 16 wide. Ink edges keep the face's gap between lines.
    EXPECT_NEAR(font.letterGap, 6 * kScale, kNear);
    EXPECT_NEAR(font.spaceWidth, (6 + 16) * kScale - 2 * font.letterGap, kNear);
    EXPECT_NEAR(font.lineHeight, 30, kNear);
    // A blank glyph is as wide as a space and draws nothing.
    const StrokeCharacter& blank = Glyph('(');
    EXPECT_NEAR(blank.maxX - blank.minX, font.spaceWidth, kNear);
    for (const Stroke* s : Strokes(blank)) {
        EXPECT_EQ(s->kind, 'd');
        EXPECT_EQ(s->startCap, 1);
        EXPECT_EQ(s->endCap, 1);
    }
}

TEST_F(HersheyImport, PointsOnACircleBecomeOneArc) {
    Import();
    // Seven points on the circle of radius 5 about (0, -2), from (5, -2)
    // through (0, 3) to (-5, -2): below the centre, so clockwise with y up.
    const std::vector<const Stroke*> strokes = Strokes(Glyph('#'));
    ASSERT_EQ(strokes.size(), 1u);
    ASSERT_EQ(strokes[0]->kind, 'c');
    const auto& arc = static_cast<const CircleStroke&>(*strokes[0]);
    expectPoint(arc.centre, 7 * kScale, 11 * kScale, "centre");
    EXPECT_NEAR(arc.radius, 5 * kScale, kNear);
    EXPECT_NEAR(arc.sweep, -M_PI, 1e-3);
    expectPoint(arc.end, 2 * kScale, 11 * kScale, "end");
}

TEST_F(HersheyImport, WithoutArcFittingEveryChordIsAStraightStroke) {
    Import("--no-arcs");
    const std::vector<const Stroke*> strokes = Strokes(Glyph('#'));
    ASSERT_EQ(strokes.size(), 6u);
    for (const Stroke* s : strokes) EXPECT_NE(s->kind, 'c');
}

TEST_F(HersheyImport, StrokesAtACornerAreStiffAndAtAGentleBendPlain) {
    Import();
    const struct {
        char code;
        const char* kinds;
    } cases[] = {
        {'$', "ss"},  // an L: a right-angled corner
        {'%', "ll"},  // two long strokes bending by 29 degrees
    };
    for (const auto& c : cases) {
        std::string kinds;
        for (const Stroke* s : Strokes(Glyph(c.code))) kinds += s->kind;
        EXPECT_EQ(kinds, c.kinds) << "glyph '" << c.code << "'";
    }
}

TEST_F(HersheyImport, AClosedPolylineOpensWhereItsEndsMeetInOneDirection) {
    Import();
    const std::vector<const Stroke*> strokes = Strokes(Glyph('&'));
    ASSERT_EQ(strokes.size(), 5u);  // a square opened in the middle of a side
    const Stroke& first = *strokes.front();
    const Stroke& last = *strokes.back();
    EXPECT_EQ(first.startCap, 1);
    EXPECT_EQ(last.endCap, 1);
    expectPoint(last.end, first.start.x, first.start.y, "the loop's ends");
    EXPECT_LT(Length(last.EndDirection() - first.StartDirection()), 1e-4);
}

TEST_F(HersheyImport, AChainStartingAtTheOriginIsMovedOffIt) {
    Import();
    // The reader takes (0, 0) for no point; the chain starts at (0.01, 0).
    const std::vector<const Stroke*> strokes = Strokes(Glyph('\''));
    ASSERT_EQ(strokes.size(), 1u);
    expectPoint(strokes[0]->start, 0.01f, 0, "start");
    expectPoint(strokes[0]->end, 0, 30, "end");
}

int strokeCount(const StrokeCharacter& glyph) {
    int count = 0;
    for (const Stroke* s = glyph.firstStroke; s != nullptr; s = s->next) ++count;
    return count;
}

std::vector<std::string> glyphLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}

// --marks on the Latin faces: the ASCII glyphs and the header come out as
// without it, then the accents and the dotless letters, each mark clear of
// the letters (above the x-height or below the baseline) and no higher than
// an x, and the dotless i the i without what stands over it.
TEST(HersheyImportMarks, AccentsFollowTheAsciiGlyphsUnchanged) {
    const char32_t above[] = {0x300, 0x301, 0x302, 0x303, 0x304, 0x306, 0x307, 0x308, 0x30A, 0x30B, 0x30C,
                              0xB4, 0xAF, 0x2D8, 0x2D9, 0xA8, 0x2DA, 0x2DD, 0x2C7};
    const char32_t below[] = {0x327, 0x328, 0xB8, 0x2DB};
    for (const char* face : {"futural", "timesr", "scripts", "gothiceng"}) {
        SCOPED_TRACE(face);
        const std::string source = std::string("/usr/share/hershey-fonts/") + face + ".jhf";
        const std::string plain = scratchPath("plain.src"), marked = scratchPath("marked.src");
        ASSERT_EQ(importer(quoted(source), plain).status, 0);
        ASSERT_EQ(importer(quoted(source) + " --marks", marked).status, 0);
        const std::vector<std::string> ascii = glyphLines(plain), all = glyphLines(marked);
        ASSERT_GE(all.size(), ascii.size() + 25);
        EXPECT_TRUE(std::equal(ascii.begin(), ascii.end(), all.begin()));

        StrokeFontCharacterSet font;
        std::ifstream in(marked);
        EXPECT_EQ(font.Load(in), 0);
        const StrokeCharacter* x = font.FindDrawable(U'x');
        const StrokeCharacter* i = font.FindDrawable(U'i');
        const StrokeCharacter* dotless = font.FindDrawable(0x131);
        ASSERT_TRUE(x && i && dotless && font.FindDrawable(0x237));
        for (char32_t mark : above) {
            const StrokeCharacter* glyph = font.FindDrawable(mark);
            ASSERT_TRUE(glyph) << std::hex << mark;
            EXPECT_GE(glyph->minY, x->maxY) << std::hex << mark;
            EXPECT_LE(glyph->maxY - glyph->minY, x->maxY - x->minY) << std::hex << mark;
        }
        for (char32_t mark : below) {
            const StrokeCharacter* glyph = font.FindDrawable(mark);
            ASSERT_TRUE(glyph) << std::hex << mark;
            EXPECT_LE(glyph->maxY, 0.0f) << std::hex << mark;
        }
        EXPECT_LT(dotless->maxY, i->maxY - 2.0f);
        EXPECT_FLOAT_EQ(dotless->minY, i->minY);
        // A letter with a stroke through it is its base and more; the
        // faces without swashes that could hide the stroke have them all.
        const bool unadorned = std::string(face) == "futural" || std::string(face) == "timesr";
        for (const auto& [struck, base] : {std::pair<char32_t, char32_t>{0xD8, U'O'}, {0xF8, U'o'}, {0x110, U'D'},
                                           {0x111, U'd'}, {0x141, U'L'}, {0x142, U'l'}}) {
            const StrokeCharacter* letter = font.FindDrawable(struck);
            const StrokeCharacter* plainLetter = font.FindDrawable(base);
            ASSERT_TRUE(plainLetter);
            if (letter == nullptr) {
                EXPECT_FALSE(unadorned) << std::hex << struck;
                continue;
            }
            EXPECT_LE(letter->minX, plainLetter->minX) << std::hex << struck;
            EXPECT_GE(letter->maxX, plainLetter->maxX) << std::hex << struck;
            // (Rich glyphs may be simplified to fit a line, so only the plain faces count strokes.)
            if (unadorned) {
                EXPECT_GT(strokeCount(*letter), strokeCount(*plainLetter)) << std::hex << struck;
            }
        }
        std::remove(plain.c_str());
        std::remove(marked.c_str());
    }
}

TEST(HersheyImportFaults, ABadFileGivesOneLineNamingTheFileAndTheGlyph) {
    const std::string good = "    1  1JZ\n";
    const struct {
        const char* what;
        std::string contents;  // empty: no file at all
        std::string expected;
    } cases[] = {
        {"missing file", "", "cannot read"},
        {"truncated record", good + "    2  8KYWPVS\n", "glyph 2"},
        {"count too small", good + "    2  3KYWPVSUTRU\n", "glyph 2"},
        {"count running into the next record", good + "    2  9KYWPVS\n    3  1JZ\n", "glyph 2"},
        {"no record start", good + "hello\n", "glyph 2"},
    };
    for (const auto& c : cases) {
        const std::string path = scratchPath("bad.jhf"), out = scratchPath("bad.src");
        std::remove(path.c_str());
        if (!c.contents.empty()) std::ofstream(path) << c.contents;
        const Result result = importer(quoted(path), out);
        EXPECT_EQ(result.status, 1) << c.what;
        EXPECT_EQ(std::count(result.messages.begin(), result.messages.end(), '\n'), 1) << c.what << ": "
                                                                                      << result.messages;
        EXPECT_NE(result.messages.find(path), std::string::npos) << c.what << ": " << result.messages;
        EXPECT_NE(result.messages.find(c.expected), std::string::npos) << c.what << ": " << result.messages;
        std::remove(path.c_str());
        std::remove(out.c_str());
    }
}

}  // namespace
