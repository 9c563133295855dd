#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "Captured.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

int loadFont(StrokeFontCharacterSet& font, const std::string& text) {
    std::istringstream in(text);
    return font.Load(in);
}

const char* kHeader = "3 4 6 0.5 5 0.7 2 1.5 0 20 30 4 8\n";

TEST(FontHeader, ValuesGoToTheirFieldsInFileOrder) {
    StrokeFontCharacterSet font;
    // The final line end adds one empty character line, whose code cannot be read.
    EXPECT_EQ(loadFont(font, std::string("# a comment before the header\n\n") + kHeader), 1);
    EXPECT_FLOAT_EQ(font.strokeWidth, 3);
    EXPECT_FLOAT_EQ(font.strokeHeight, 4);
    EXPECT_EQ(font.sectionSegments, 6);
    EXPECT_FLOAT_EQ(font.facetLength, 0.5f);
    EXPECT_EQ(font.capStyle, 5);
    EXPECT_FLOAT_EQ(font.sectionParameter2, 0.7f);
    EXPECT_EQ(font.sectionShape, 2);
    EXPECT_FLOAT_EQ(font.sectionParameter, 1.5f);
    EXPECT_FLOAT_EQ(font.spaceWidth, 20);
    EXPECT_FLOAT_EQ(font.lineHeight, 30);
    EXPECT_FLOAT_EQ(font.letterGap, 4);
    EXPECT_FLOAT_EQ(font.lineGap, 8);
}

struct HeaderLimitCase {
    const char* header;
    const char* what;
    float StrokeCharacterSet::*floatField;
    int StrokeCharacterSet::*intField;
    double expected;
};

class FontHeaderLimits : public ::testing::TestWithParam<HeaderLimitCase> {};

TEST_P(FontHeaderLimits, ApplyAfterReading) {
    StrokeFontCharacterSet font;
    EXPECT_EQ(loadFont(font, GetParam().header), 0) << GetParam().what;
    if (GetParam().floatField)
        EXPECT_NEAR(font.*(GetParam().floatField), GetParam().expected, 1e-6) << GetParam().what;
    else
        EXPECT_EQ(font.*(GetParam().intField), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Header, FontHeaderLimits,
    ::testing::Values(
        HeaderLimitCase{"6 6 8 1 12 1 0 1 0 1 1 1 1", "cap 12", nullptr, &StrokeCharacterSet::capStyle, 2},
        HeaderLimitCase{"6 6 8 1 1 1 0 1 0 1 1 1 1", "cap 1", nullptr, &StrokeCharacterSet::capStyle, 2},
        HeaderLimitCase{"6 6 8 1 11 1 0 1 0 1 1 1 1", "cap 11", nullptr, &StrokeCharacterSet::capStyle, 11},
        HeaderLimitCase{"6 6 8 1 2 1 10 1 0 1 1 1 1", "shape 10", nullptr, &StrokeCharacterSet::sectionShape, 0},
        HeaderLimitCase{"6 6 8 1 2 1 -1 1 0 1 1 1 1", "shape -1", nullptr, &StrokeCharacterSet::sectionShape, 0},
        HeaderLimitCase{"-3 6 8 1 2 1 0 1 0 1 1 1 1", "width -3", &StrokeCharacterSet::strokeWidth, nullptr, 3},
        HeaderLimitCase{"-3 6 8 1 2 1 0 1 0 1 1 1 1", "negated", nullptr, &StrokeCharacterSet::widthNegated, 1},
        HeaderLimitCase{"6 -2 8 1 2 1 0 1 0 1 1 1 1", "height negates", nullptr, &StrokeCharacterSet::widthNegated, 1},
        HeaderLimitCase{"0.5 6 8 1 2 1 0 1 0 1 1 1 1", "width 0.5", &StrokeCharacterSet::strokeWidth, nullptr, 0.9},
        HeaderLimitCase{"6 0 8 1 2 1 0 1 0 1 1 1 1", "height 0", &StrokeCharacterSet::strokeHeight, nullptr, 0.9},
        HeaderLimitCase{"6 6 8 0.05 2 1 0 1 0 1 1 1 1", "facet 0.05", &StrokeCharacterSet::facetLength, nullptr, 0.1},
        HeaderLimitCase{"6 6 8 1 2 0 0 0.001 0 1 1 1 1", "parameter", &StrokeCharacterSet::sectionParameter, nullptr,
                        0.01},
        HeaderLimitCase{"6 6 8 1 2 0 0 1 0 1 1 1 1", "parameter 2", &StrokeCharacterSet::sectionParameter2, nullptr,
                        0.01},
        HeaderLimitCase{"6 6 8 1 2 1 0 1 90 1 1 1 1", "twist 90", &StrokeCharacterSet::sectionTwist, nullptr,
                        1.5707964}));

TEST(FontHeader, AHeaderSplitOverTwoLinesReadsOnlyTheFirst) {
    StrokeFontCharacterSet font;
    // Six header values are missing; the second line is then a character
    // whose command "0" is not a command letter.
    EXPECT_EQ(loadFont(font, "6 6 8 1 2 1 0\n1 0 1 1 1 1"), 6 + 1);
    EXPECT_EQ(font.firstCharacter->code, '1');
    EXPECT_EQ(font.firstCharacter->firstStroke, nullptr);
}

TEST(FontHeader, WriteHeaderRoundTrips) {
    StrokeFontCharacterSet font;
    loadFont(font, "-3 4 6 0.5 5 0.7 2 1.5 45 20 30 4 8");
    std::ostringstream out;
    EXPECT_EQ(font.WriteHeader(out), 0);
    StrokeFontCharacterSet again;
    std::istringstream in(out.str());
    EXPECT_EQ(again.ReadHeader(in), 0);
    EXPECT_FLOAT_EQ(again.strokeWidth, 3);
    EXPECT_EQ(again.widthNegated, 1);
    EXPECT_NEAR(again.sectionTwist, font.sectionTwist, 1e-6);
    EXPECT_FLOAT_EQ(again.lineGap, 8);
    EXPECT_EQ(out.str().front(), ' ');
}

TEST(FontLoad, AFinalLineEndAddsAnEmptySpaceCharacterLast) {
    StrokeFontCharacterSet font;
    loadFont(font, std::string(kHeader) + "A f 0 0 l 10 0 f\n");
    ASSERT_NE(font.lastCharacter, nullptr);
    EXPECT_EQ(font.lastCharacter->code, ' ');
    EXPECT_EQ(font.lastCharacter->firstStroke, nullptr);
    EXPECT_EQ(font.firstCharacter->code, 'A');
    EXPECT_EQ(font.MaxCode(), 'A');
}

TEST(FontLoad, CharacterLinesAreNotSkippedAsComments) {
    StrokeFontCharacterSet font;
    loadFont(font, std::string(kHeader) + "A f 0 0 l 10 0 f\n\n# f 0 0 l 5 0 f");
    int count = 0;
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) ++count;
    EXPECT_EQ(count, 3);
    EXPECT_EQ(font.lastCharacter->code, '#');
}

TEST(FontLoad, SameCodeTwiceDrawsTheFirstButTheTableHoldsTheLastWidth) {
    capture::Reset();
    StrokeFontCharacterSet font;
    loadFont(font, std::string(kHeader) + "B f 0 0 l 10 0 f\nB f 0 0 l 30 0 f");
    unsigned count = 0;
    std::unique_ptr<float[]> widths = font.BuildWidthTable(count);
    EXPECT_EQ(count, unsigned('B') + 1);
    EXPECT_FLOAT_EQ(widths['B'], 30 + 2 * 3);
    EXPECT_FLOAT_EQ(widths['A'], 0);

    font.DrawCode('B');
    const int firstList = font.firstCharacter->displayList;
    EXPECT_GT(firstList, 0);
    EXPECT_EQ(font.lastCharacter->displayList, -1);
    const std::vector<capture::ListCall>& called = capture::ListCalls();
    ASSERT_EQ(called.size(), 1u);
    EXPECT_EQ(called[0].list, static_cast<unsigned>(firstList));
}

TEST(FontLoad, HighestCodeHasItsWidthInTheTable) {
    StrokeFontCharacterSet font;
    loadFont(font, std::string(kHeader) + "~ f 0 0 l 4 0 f\nA f 0 0 l 10 0 f");
    unsigned count = 0;
    std::unique_ptr<float[]> widths = font.BuildWidthTable(count);
    ASSERT_EQ(count, unsigned('~') + 1);
    EXPECT_FLOAT_EQ(widths['~'], 4 + 2 * 3);
}

TEST(FontLoad, EmptySetDrawsAndCompilesNothing) {
    captured::Restart();
    StrokeFontCharacterSet font;
    font.DrawCode('A');
    font.CompileCode('A');
    EXPECT_EQ(font.MaxCode(), 0);
    EXPECT_TRUE(capture::CallLog().empty());
}

// The leftmost x of what a glyph's list draws when called under the
// identity, and of its strokes drawn without the list.
float leftOfList(int list) {
    const capture::Drawing drawn = capture::CaptureList(static_cast<unsigned>(list));
    float left = 1e30f;
    for (const capture::Vertex& v : drawn.vertices) left = std::min(left, v.position[0]);
    return left;
}

float leftOfStrokes(const StrokeCharacter& character) {
    capture::ClearTriangles();
    character.firstStroke->Draw();
    float left = 1e30f;
    for (const capture::Vertex& v : capture::Vertices()) left = std::min(left, v.position[0]);
    capture::ClearTriangles();
    return left;
}

// Where the pen stands after calling the list under the identity.
float penAfter(int list) {
    glPushMatrix();
    glCallList(static_cast<GLuint>(list));
    const float x = capture::Current().modelview[12];
    glPopMatrix();
    return x;
}

TEST(FontCharacter, CompiledListPutsTheLeftEdgeAtTheOriginAndAdvancesThePen) {
    capture::Reset();
    StrokeFontCharacterSet font;
    loadFont(font, std::string(kHeader) + "A f 2 0 l 12 0 f");
    StrokeCharacter* a = font.firstCharacter;
    EXPECT_FLOAT_EQ(a->minX, 2 - 3);
    EXPECT_FLOAT_EQ(a->maxX, 12 + 3);
    font.CompileCode('A');
    ASSERT_GT(a->displayList, 0);
    // The strokes move right by 1, and the pen by the glyph's width.
    EXPECT_NEAR(leftOfList(a->displayList), leftOfStrokes(*a) + 1, 1e-5);
    EXPECT_FLOAT_EQ(penAfter(a->displayList), 16);

    // A valid list is not compiled again; an invalid one is.
    const int before = a->displayList;
    font.CompileCode('A');
    EXPECT_EQ(a->displayList, before);
    glDeleteLists(before, 1);
    font.DrawCode('A');
    EXPECT_NE(a->displayList, before);
    EXPECT_TRUE(captured::SoundGL());
}

TEST(FontCharacter, PlainCharacterListHoldsOnlyTheStrokes) {
    capture::Reset();
    StrokeCharacterSet set;
    set.SetStrokeWidth(3);
    StrokeCharacter character(&set);
    std::istringstream line("A f 2 0 l 12 0 f");
    character.Read(line);
    character.Compile();
    ASSERT_GT(character.displayList, 0);
    EXPECT_EQ(leftOfList(character.displayList), leftOfStrokes(character));
    EXPECT_EQ(penAfter(character.displayList), 0.0f);
}

TEST(FontCharacter, ACharacterWithoutStrokesCompilesToNoList) {
    capture::Reset();
    StrokeFontCharacterSet font;
    StrokeCharacter character(&font);
    character.Compile();
    EXPECT_EQ(character.displayList, -1);
    EXPECT_EQ(capture::ListCount(), 0u);
}

TEST(FontCharacter, BoundsGrowByTheStrokeWidth) {
    StrokeFontCharacterSet font;
    font.SetStrokeWidth(6);
    StrokeCharacter character(&font);
    std::istringstream line("A f 0 0 l 10 0 f");
    character.Read(line);
    EXPECT_FLOAT_EQ(character.minX, -6);
    EXPECT_FLOAT_EQ(character.maxX, 16);
    EXPECT_FLOAT_EQ(character.minY, -6);
    EXPECT_FLOAT_EQ(character.maxY, 6);
}

TEST(FontCharacter, StyleGettersFallBackWithoutOwner) {
    StrokeCharacter orphan;
    EXPECT_FLOAT_EQ(orphan.StrokeWidth(), 6);
    EXPECT_FLOAT_EQ(orphan.StrokeHeight(), 6);
    EXPECT_EQ(orphan.CapStyle(), 2);
    EXPECT_EQ(orphan.SectionSegments(), 8);
    EXPECT_FLOAT_EQ(orphan.FacetLength(), 1);
    EXPECT_EQ(orphan.SectionShape(), 0);
    EXPECT_EQ(orphan.WidthNegated(), 0);
    EXPECT_FLOAT_EQ(orphan.SectionParameter(), 1);
    EXPECT_FLOAT_EQ(orphan.SectionTwist(), 0);
    EXPECT_FLOAT_EQ(orphan.SectionParameter2(), 0);
    std::istringstream line("A f 0 0 l 10 0 f");
    EXPECT_EQ(orphan.Read(line), 1);
    EXPECT_EQ(orphan.firstStroke, nullptr);
}

TEST(FontCharacter, EffectiveWidthFollowsTheSectionShape) {
    const struct {
        int shape;
        float parameter;
        float expected;
    } cases[] = {
        {0, 1, 6},      {1, 3, 6},     {5, 1, 6},  {8, 1, 6},    {9, 1, 6},
        {2, 0.5f, 4.5f}, {6, 0.5f, 4.5f}, {2, 3, 6}, {3, 1, 1.2f}, {4, 1, 1.2f},
        // crescent: x = pi/2 gives (9 - 6 sqrt(1.25)) / 2
        {7, 1, static_cast<float>((9 - 6 * std::sqrt(1.25)) / 2)},
    };
    for (const auto& c : cases) {
        StrokeCharacterSet set;
        set.sectionShape = c.shape;
        set.sectionParameter = c.parameter;
        StrokeCharacter character(&set);
        EXPECT_NEAR(character.EffectiveWidth(), c.expected, 1e-5) << "shape " << c.shape;
    }
}

}  // namespace
