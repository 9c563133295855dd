#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "StrokeTestSupport.h"
#include "stroke/CircleStroke.h"
#include "stroke/DotStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/PivotStroke.h"

namespace {

class CharacterReading : public ::testing::Test {
protected:
    int Read(const std::string& line) {
        std::istringstream in(line);
        return character.Read(in);
    }

    std::vector<Stroke*> Strokes() const {
        std::vector<Stroke*> all;
        for (Stroke* s = character.firstStroke; s != nullptr; s = s->next) all.push_back(s);
        return all;
    }

    StrokeFontCharacterSet font;
    StrokeCharacter character{&font};
};

TEST_F(CharacterReading, AnOpenLine) {
    EXPECT_EQ(Read("A f 10 20 l 30 40 f"), 0);
    const std::vector<Stroke*> strokes = Strokes();
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_NE(dynamic_cast<LineStroke*>(strokes[0]), nullptr);
    EXPECT_EQ(strokes[0]->kind, 'l');
    EXPECT_TRUE(Near(strokes[0]->start, Point(10, 20)));
    EXPECT_TRUE(Near(strokes[0]->end, Point(30, 40)));
    EXPECT_EQ(strokes[0]->startCap, 1);
    EXPECT_EQ(strokes[0]->endCap, 1);
    EXPECT_EQ(character.lastStroke, strokes[0]);
}

TEST_F(CharacterReading, TwoMarkersAroundAPointMakeADot) {
    EXPECT_EQ(Read("A f 10 20 f"), 0);
    const std::vector<Stroke*> strokes = Strokes();
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_NE(dynamic_cast<DotStroke*>(strokes[0]), nullptr);
    EXPECT_TRUE(Near(strokes[0]->start, Point(10, 20)));
    EXPECT_EQ(strokes[0]->startCap, 1);
    EXPECT_EQ(strokes[0]->endCap, 1);
}

TEST_F(CharacterReading, CappedMarkersUseTheCapStyleAndJoinedStrokesShareTheirPoint) {
    font.capStyle = 2;
    EXPECT_EQ(Read("A e 1 2 l 3 4 l 5 6 e"), 0);
    const std::vector<Stroke*> strokes = Strokes();
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0]->startCap, 2);
    EXPECT_EQ(strokes[0]->endCap, 0);
    EXPECT_EQ(strokes[1]->startCap, 0);
    EXPECT_EQ(strokes[1]->endCap, 2);
    EXPECT_EQ(strokes[1]->prev, strokes[0]);
    EXPECT_TRUE(Near(strokes[0]->end, Point(3, 4)));
    EXPECT_TRUE(Near(strokes[1]->start, Point(3, 4)));
}

TEST_F(CharacterReading, APointAtTheOriginCountsAsNoPoint) {
    EXPECT_EQ(Read("A f 0 0 f 5 5 l 10 10"), 0);
    const std::vector<Stroke*> strokes = Strokes();
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0]->kind, 'l');
    EXPECT_TRUE(Near(strokes[0]->start, Point(5, 5)));
}

TEST_F(CharacterReading, AnUnknownLetterLeavesNoStrokes) {
    for (const char* line : {"A f 1 2 l 3 4 x 5 6", "A f 1 2 l 3 4 d", "A q"}) {
        EXPECT_EQ(Read(line), 1) << line;
        EXPECT_EQ(character.firstStroke, nullptr) << line;
        EXPECT_EQ(character.lastStroke, nullptr) << line;
    }
}

TEST_F(CharacterReading, AnEmptyLineKeepsTheCodeAndLeavesNoStrokes) {
    EXPECT_EQ(Read("Q f 1 2 l 3 4"), 0);
    EXPECT_EQ(Read(""), 1);
    EXPECT_EQ(character.code, 'Q');
    EXPECT_EQ(character.firstStroke, nullptr);
}

TEST_F(CharacterReading, MissingValuesAreCounted) {
    EXPECT_EQ(Read("A f 1 2 l 3"), 1);
    EXPECT_EQ(Read("A f 1 2 c 3"), 2);
}

TEST_F(CharacterReading, ADotBeforeAPivotFacesAlongItFromTheFirstDrawOn) {
    EXPECT_EQ(Read("j f 5 5 f p 5 15 f"), 0);
    ASSERT_EQ(character.firstStroke->kind, 'd');
    for (int pass = 0; pass < 2; ++pass) {
        character.firstStroke->Draw();
        EXPECT_TRUE(Near(character.firstStroke->direction, UnitY)) << "pass " << pass;
        EXPECT_TRUE(Near(character.lastStroke->BodyStartDirection(), UnitY)) << "pass " << pass;
    }
}

TEST_F(CharacterReading, WritingAndReadingBackGivesTheSameStrokes) {
    font.capStyle = 3;
    const char* glyphs[] = {
        "B f 1 10 l 10 10 p 20 0 s 30 10 c 30 0 -90 f f 50 50 f",
        "C e 1 2 l 3 4 e e 7 8 c 7 0 180 p 0 -10 e e 5 5 e",
        "j f 0.25 15.5 f l 0 0 c -5 0 -180 f",
    };
    for (const char* glyph : glyphs) {
        ASSERT_EQ(Read(glyph), 0) << glyph;
        std::ostringstream out;
        EXPECT_EQ(character.Write(out), 0);
        StrokeCharacter copy(&font);
        std::istringstream in(out.str());
        ASSERT_EQ(copy.Read(in), 0) << out.str();
        EXPECT_EQ(copy.code, character.code);
        Stroke* a = character.firstStroke;
        Stroke* b = copy.firstStroke;
        for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
            EXPECT_EQ(a->kind, b->kind) << out.str();
            EXPECT_EQ(a->startCap, b->startCap) << out.str();
            EXPECT_EQ(a->endCap, b->endCap) << out.str();
            EXPECT_TRUE(Near(a->start, b->start, 1e-3f)) << out.str();
            EXPECT_TRUE(Near(a->end, b->end, 1e-3f)) << out.str();
            EXPECT_TRUE(Near(a->centre, b->centre, 1e-3f)) << out.str();
            auto* arcA = dynamic_cast<CircleStroke*>(a);
            auto* arcB = dynamic_cast<CircleStroke*>(b);
            ASSERT_EQ(arcA == nullptr, arcB == nullptr);
            if (arcA != nullptr) {
                EXPECT_NEAR(arcA->sweep, arcB->sweep, 1e-5f);
            }
        }
        EXPECT_EQ(a, nullptr) << "the copy lost strokes: " << out.str();
        EXPECT_EQ(b, nullptr) << "the copy gained strokes: " << out.str();
    }
}

// Glyphs with every kind and the awkward joints: sharp, turning back,
// overlapping trims, pivots next to pivots and dots, closed and huge arcs.
TEST_F(CharacterReading, EveryFittedFieldIsFiniteAndEveryDirectionUnitLength) {
    const char* glyphs[] = {
        "A f 0 0 l 10 20 l 20 0 f f 5 10 l 15 10 f",
        "M f 0 0 p 0 20 p 10 10 p 20 20 p 20 0 f",
        "S f -20 0 l 0 0 p -5 8.66 l 15 8.66 f",
        "Z f 0 20 p 20 20 p 0 0 p 20 0 f",
        "O f 10 0 c 0 0 180 c 0 0 180 f",
        "o f 10 0 c 0 0 360 f",
        "T f 0 0 l 20 0 l 10 0.1 p 20 0.2 c 20 10 -359 f",
        "i f 0 0 l 0 10 f f 0 15 f",
        "d e 5 5 e",
        "k f 3 3 f p 10 0 p 3 3.001 s 20 20 f",
        "H f 0 0 s 0 20 l 10 20 s 10 0 c 5 0 -180 f",
        "U f 0 -20 l 0 0 l 4 0 l 4 -20 f",
        "h f -1000000 0 c 1000000 0 90 l 0 0 f",
        "q f 1 1 c 1 1.0000001 90 p 1 1 c 0 0 0 f",
    };
    auto isUnit = [](const Vector3& v) { return std::fabs(Length(v) - 1.0f) < 1e-4f; };
    for (const char* glyph : glyphs) {
        EXPECT_EQ(Read(glyph), 0) << glyph;
        ASSERT_NE(character.firstStroke, nullptr) << glyph;
        for (int pass = 0; pass < 2; ++pass) character.firstStroke->Draw();
        for (Stroke* s = character.firstStroke; s != nullptr; s = s->next) {
            const std::string where = std::string(glyph) + " stroke " + s->kind;
            for (const Vector3& p : {s->start, s->end, s->centre, s->bodyStart, s->bodyEnd})
                EXPECT_TRUE(IsFinite(p)) << where;
            for (const Vector3& d : {s->direction, s->StartDirection(), s->EndDirection(), s->BodyStartDirection(),
                                     s->BodyEndDirection()})
                EXPECT_TRUE(isUnit(d)) << where << " (" << d.x << ", " << d.y << ", " << d.z << ")";
            if (auto* arc = dynamic_cast<CircleStroke*>(s)) {
                EXPECT_TRUE(std::isfinite(arc->radius) && std::isfinite(arc->sweep)) << where;
                EXPECT_LE(std::fabs(arc->sweep), static_cast<float>(kTwoPi)) << where;
            }
        }
    }
}

}  // namespace
