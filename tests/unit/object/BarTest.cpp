#include <limits>

#include "PrimitiveTest.h"
#include "object/Bar.h"
#include "object/BarStyle.h"
#include "object/RoundPole.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

class Bars : public PrimitiveTest {};

void expectVector(const Vector3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

struct BarCase {
    const char* what;
    const BarStyle* style;
    Vector3 position;
    float w, h, d;
    Vector3 start, end;
    float strokeWidth, strokeHeight;
    int cap;
};

TEST_F(Bars, TheStrokeStopsShortOfTheEndsByWhatTheCapsAdd) {
    const BarCase cases[] = {
        {"square pole", &kSquarePoleStyle, Origin, 10, 2, 2, {-4.25f, 0, 0}, {4.25f, 0, 0}, 1, 1, 4},
        {"round pole", &kRoundPoleStyle, Origin, 10, 2, 2, {-4, 0, 0}, {4, 0, 0}, 1, 1, 2},
        {"square edge button", &kSquareEdgeButtonStyle, Origin, 10, 2, 2, {-4.25f, 0, 0}, {4.25f, 0, 0}, 1, 1, 10},
        {"round edge button", &kRoundEdgeButtonStyle, Origin, 10, 2, 2, {-4, 0, 0}, {4, 0, 0}, 1, 1, 2},
        // Thinner than the thinnest stroke: the section is raised to 0.9 but
        // the body is still shortened by half of the height asked for.
        {"thin round pole", &kRoundPoleStyle, Vector3(1, 2, 3), 10, 1, 6, {-3.5f, 2, 3}, {5.5f, 2, 3}, 0.9f, 3, 2},
        // Too short for a body: a body of length 1 starting at the centre.
        {"short square pole", &kSquarePoleStyle, Vector3(1, 2, 3), 1, 4, 2, {1, 2, 3}, {2, 2, 3}, 2, 1, 4},
        {"negative length", &kRoundPoleStyle, Origin, -6, 2, 2, {0, 0, 0}, {1, 0, 0}, 1, 1, 2},
        // A negative thickness is as thick as a positive one, body included.
        {"negative height", &kSquarePoleStyle, Origin, 10, -2, 2, {-4.25f, 0, 0}, {4.25f, 0, 0}, 1, 1, 4},
    };
    for (const BarCase& c : cases) {
        SCOPED_TRACE(c.what);
        RoundPole bar(nullptr);
        Place(bar, c.position, c.w, c.h, c.d);
        StrokeCharacterSet set;
        StrokeCharacter character(&set);
        BuildBar(*c.style, bar, set, character);

        ASSERT_NE(character.firstStroke, nullptr);
        EXPECT_EQ(character.firstStroke, character.lastStroke);
        const Stroke& stroke = *character.firstStroke;
        EXPECT_EQ(stroke.kind, 'l');
        EXPECT_EQ(stroke.owner, &character);
        expectVector(stroke.start, c.start.x, c.start.y, c.start.z);
        expectVector(stroke.end, c.end.x, c.end.y, c.end.z);
        EXPECT_EQ(stroke.startCap, c.cap);
        EXPECT_EQ(stroke.endCap, c.cap);
        EXPECT_EQ(set.capStyle, c.cap);
        EXPECT_FLOAT_EQ(set.strokeWidth, c.strokeWidth);
        EXPECT_FLOAT_EQ(set.strokeHeight, c.strokeHeight);
        EXPECT_EQ(set.widthNegated, c.h < 0 ? 1 : 0);
    }
}

TEST_F(Bars, TheStepLengthIsTheGlobalOneButNeverFinerThanTheFonts) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float cases[][2] = {{1.0f, 1.0f}, {2.5f, 2.5f}, {0.05f, 0.1f}, {0.0f, 0.1f}, {-3.0f, 0.1f}, {nan, 0.1f}};
    for (const auto& c : cases) {
        FacetLengthGlobal = c[0];
        RoundPole bar(nullptr);
        Place(bar, Origin, 10, 2, 2);
        StrokeCharacterSet set;
        StrokeCharacter character(&set);
        BuildBar(kRoundPoleStyle, bar, set, character);
        EXPECT_FLOAT_EQ(set.facetLength, c[1]) << "global " << c[0];
    }
}

TEST_F(Bars, ALineStrokeObjectLooksLikeAStrokeOfTheFont) {
    StrokeFontCharacterSet font;
    font.capStyle = 5;
    font.sectionShape = 6;
    font.sectionSegments = 5;
    font.sectionParameter = 0.0f;
    font.sectionParameter2 = 0.0f;
    font.sectionTwist = 0.3f;
    const BarStyle style = FontBarStyle(font);
    EXPECT_FLOAT_EQ(style.bodyCoefficient, 0.5f);
    EXPECT_FLOAT_EQ(style.sectionParameter, 0.01f);
    EXPECT_FLOAT_EQ(style.sectionParameter2, 0.01f);

    font.sectionParameter = 1.5f;
    font.sectionParameter2 = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FLOAT_EQ(FontBarStyle(font).sectionParameter, 1.5f);
    EXPECT_FLOAT_EQ(FontBarStyle(font).sectionParameter2, 0.01f);

    RoundPole bar(nullptr);
    Place(bar, Origin, 10, 2, 2);
    StrokeCharacterSet set;
    StrokeCharacter character(&set);
    BuildBar(style, bar, set, character);
    EXPECT_EQ(character.firstStroke->startCap, 5);
    EXPECT_EQ(character.firstStroke->endCap, 5);
    EXPECT_EQ(set.sectionShape, 6);
    EXPECT_EQ(set.sectionSegments, 5);
    EXPECT_FLOAT_EQ(set.sectionTwist, 0.3f);
}

}  // namespace
