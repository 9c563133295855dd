#include <cmath>
#include <sstream>

#include "StrokeTestSupport.h"
#include "stroke/DotStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/PivotStroke.h"

namespace {

using LineStrokeFitting = StrokeTest;

TEST_F(LineStrokeFitting, ConstructorKeepsTheEndsApart) {
    LineStroke* line = Make<LineStroke>(Point(2, 3), Point(2, 3));
    EXPECT_TRUE(Near(line->end, Point(3, 3)));
    EXPECT_TRUE(Near(line->bodyEnd, Point(3, 3)));
    EXPECT_TRUE(Near(line->centre, Point(2.5f, 3)));
    EXPECT_TRUE(Near(line->direction, UnitX));
}

TEST_F(LineStrokeFitting, SetStartOntoTheEndPushesTheEndOnAlongTheOldDirection) {
    LineStroke* line = Make<LineStroke>(Point(0, 0), Point(0, 5));
    LineStroke* following = Make<LineStroke>(Point(0, 5), Point(5, 5));
    Link(line, following);
    line->SetStart(Point(0, 5));
    EXPECT_TRUE(Near(line->end, Point(0, 6)));
    EXPECT_TRUE(Near(following->start, Point(0, 6)));
    EXPECT_TRUE(Near(line->direction, UnitY));
}

TEST_F(LineStrokeFitting, SetEndOntoTheStartPushesTheStartBack) {
    LineStroke* previous = Make<LineStroke>(Point(-5, 0), Point(0, 0));
    LineStroke* line = Make<LineStroke>(Point(0, 0), Point(4, 0));
    Link(previous, line);
    line->SetEnd(Point(0, 0));
    EXPECT_TRUE(Near(line->start, Point(-1, 0)));
    EXPECT_TRUE(Near(previous->end, Point(-1, 0)));
}

// Two lines joined at the origin-free point (20, 0), the second leaving at the
// given angle to the first.
struct Corner {
    float degrees;
    Vector3 firstBodyEnd;
    Vector3 secondBodyStart;
};

TEST_F(LineStrokeFitting, JoinedLinesTrimByTheMitreDistance) {
    const Corner corners[] = {
        {0.0f, Point(20, 0), Point(20, 0)},                      // collinear: no trim
        {90.0f, Point(14, 0), Point(20, 6)},                     // tan 45 * 6
        {60.0f, Point(20 - 6 * std::tan(M_PI / 6), 0), Point(20, 0) + 6 * std::tan(M_PI / 6) * AtDegrees(60)},
        {-90.0f, Point(14, 0), Point(20, -6)},
    };
    for (const Corner& c : corners) {
        LineStroke* first = Make<LineStroke>(Point(0, 0), Point(20, 0));
        LineStroke* second = Make<LineStroke>(Point(20, 0), Point(20, 0) + 20 * AtDegrees(c.degrees));
        Link(first, second);
        first->Draw();
        EXPECT_TRUE(Near(first->bodyEnd, c.firstBodyEnd)) << c.degrees << " degrees";
        EXPECT_TRUE(Near(second->bodyStart, c.secondBodyStart)) << c.degrees << " degrees";
        EXPECT_TRUE(Near(first->bodyStart, Point(0, 0)));
        EXPECT_TRUE(Near(second->bodyEnd, second->end));
    }
}

TEST_F(LineStrokeFitting, TurningBackOnALineCollapsesBothBodies) {
    LineStroke* first = Make<LineStroke>(Point(0, 0), Point(20, 0));
    // Back along the first line, 0.6 degrees off: a turn above 0.99 pi.
    LineStroke* second = Make<LineStroke>(Point(20, 0), Point(20, 0) + 10 * AtDegrees(179.4f));
    Link(first, second);
    first->Draw();
    EXPECT_TRUE(Near(second->bodyStart, second->end));
    EXPECT_TRUE(Near(first->bodyEnd, first->start));
}

TEST_F(LineStrokeFitting, AfterAPivotStrokeASharpCornerTrimsByTheRadiusOnly) {
    PivotStroke* pivot = Make<PivotStroke>(Point(-20, 0), Point(0, 0));
    LineStroke* line = Make<LineStroke>(Point(0, 0), 20 * AtDegrees(100));
    Link(pivot, line);
    pivot->Draw();
    EXPECT_TRUE(Near(line->bodyStart, 6 * AtDegrees(100)));
}

TEST_F(LineStrokeFitting, OverlappingTrimsCollapseTheBodyToTheirMidpoint) {
    LineStroke* up = Make<LineStroke>(Point(0, -20), Point(0, 0));
    LineStroke* across = Make<LineStroke>(Point(0, 0), Point(4, 0));
    LineStroke* down = Make<LineStroke>(Point(4, 0), Point(4, -20));
    Link(up, across);
    Link(across, down);
    up->Draw();
    EXPECT_TRUE(Near(across->bodyStart, Point(2, 0)));
    EXPECT_TRUE(Near(across->bodyEnd, Point(2, 0)));
}

TEST_F(LineStrokeFitting, ANeighbouringDotLeavesTheBodyEndOnTheNominalPoint) {
    LineStroke* line = Make<LineStroke>(Point(0, 0), Point(10, 0));
    DotStroke* dot = Make<DotStroke>();
    dot->SetStart(Point(10, 0));
    Link(line, dot);
    line->Draw();
    EXPECT_TRUE(Near(line->bodyEnd, Point(10, 0)));
    // Moved with its neighbours, the body follows instead of staying behind.
    line->MoveTo(Point(5, 5));
    line->Draw();
    EXPECT_TRUE(Near(line->bodyEnd, Point(10, 5)));
    EXPECT_TRUE(Near(line->bodyStart, Point(0, 5)));
    EXPECT_TRUE(Near(dot->start, Point(10, 5)));
}

TEST_F(LineStrokeFitting, WithoutAnOwnerNothingIsFitted) {
    LineStroke orphan(nullptr, Point(0, 0), Point(10, 0));
    LineStroke* following = Make<LineStroke>(Point(10, 0), Point(10, 10));
    Link(&orphan, following);
    following->bodyStart = Point(7, 7);
    orphan.Draw();
    EXPECT_TRUE(Near(following->bodyStart, Point(7, 7)));
    following->SetPrev(nullptr);
}

TEST_F(LineStrokeFitting, ReadingAnEndOnTheStartMovesItOneUnitAlongX) {
    LineStroke* line = Make<LineStroke>();
    line->SetStart(Point(10, 0));
    std::istringstream in("10 0");
    EXPECT_EQ(line->Read(in), 0);
    EXPECT_TRUE(Near(line->end, Point(11, 0)));
    EXPECT_TRUE(Near(line->direction, UnitX));
}

TEST_F(LineStrokeFitting, ReadCountsFailedValues) {
    LineStroke* line = Make<LineStroke>();
    line->SetStart(Point(1, 1));
    std::istringstream in("7");
    EXPECT_EQ(line->Read(in), 1);
    EXPECT_TRUE(Near(line->end, Point(7, 0)));
}

TEST_F(LineStrokeFitting, WriteGivesMarkersOnlyForCappedEnds) {
    struct Case {
        int startCap, endCap;
        const char* expected;
    } cases[] = {
        {0, 0, " l 3 4"},
        {1, 0, " f 1 2 l 3 4"},
        {2, 1, " e 1 2 l 3 4 f"},
        {0, 7, " l 3 4 e"},
    };
    for (const Case& c : cases) {
        LineStroke* line = Make<LineStroke>(Point(1, 2), Point(3, 4));
        line->startCap = c.startCap;
        line->endCap = c.endCap;
        std::ostringstream out;
        EXPECT_EQ(line->Write(out), 0);
        EXPECT_EQ(out.str(), c.expected);
    }
}

}  // namespace
