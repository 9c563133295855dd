#include <sstream>

#include "StrokeTestSupport.h"
#include "stroke/DotStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/PivotStroke.h"

namespace {

using DotStrokes = StrokeTest;

TEST_F(DotStrokes, FacesTheFollowingStrokeElseThePrecedingOneElseUp) {
    struct Case {
        bool withPrevious, withNext;
        Vector3 expected;
    } cases[] = {
        {true, true, Normalized(Point(1, 1))},
        {false, true, Normalized(Point(1, 1))},
        {true, false, Normalized(Point(1, -2))},
        {false, false, UnitY},
    };
    for (const Case& c : cases) {
        DotStroke* dot = Make<DotStroke>();
        dot->SetStart(Point(5, 5));
        dot->direction = UnitX;  // left over from an earlier draw
        if (c.withPrevious) Link(Make<LineStroke>(Point(4, 7), Point(5, 5)), dot);
        // A pivot's body direction is what the dot lines up with, not its axis.
        PivotStroke* after = nullptr;
        if (c.withNext) {
            after = Make<PivotStroke>(Point(5, 5), Point(5, 15));
            after->bodyDirection = Normalized(Point(1, 1));
            after->endCap = 1;
            dot->next = after;  // the pivot is not drawn with a joint to the dot
        }
        dot->Draw();
        EXPECT_TRUE(Near(dot->direction, c.expected)) << c.withPrevious << c.withNext;
        EXPECT_TRUE(Near(dot->bodyStart, Point(5, 5)));
        EXPECT_TRUE(Near(dot->bodyEnd, Point(5, 5)));
    }
}

TEST_F(DotStrokes, AllPointsMoveTogetherAndBoundTheDot) {
    DotStroke* dot = Make<DotStroke>();
    dot->SetStart(Point(3, 4));
    dot->SetEnd(Point(6, 8));
    for (const Vector3& p : {dot->start, dot->end, dot->centre, dot->bodyStart, dot->bodyEnd})
        EXPECT_TRUE(Near(p, Point(6, 8)));
    float minX, maxX, minY, maxY;
    dot->GetBounds(minX, maxX, minY, maxY);
    EXPECT_EQ(minX, 6);
    EXPECT_EQ(maxX, 6);
    EXPECT_EQ(minY, 8);
    EXPECT_EQ(maxY, 8);
}

TEST_F(DotStrokes, SettingTheDotDoesNotMoveItsNeighbours) {
    LineStroke* line = Make<LineStroke>(Point(0, 0), Point(5, 5));
    DotStroke* dot = Make<DotStroke>();
    dot->SetStart(Point(5, 5));
    Link(line, dot);
    dot->SetStart(Point(9, 9));
    EXPECT_TRUE(Near(line->end, Point(5, 5)));
}

TEST_F(DotStrokes, WritesAMarkerThePointAndAMarker) {
    struct Case {
        int startCap, endCap;
        const char* expected;
    } cases[] = {
        {0, 0, " e 1.5 -2 e"},
        {1, 1, " f 1.5 -2 f"},
        {32, 2, " f 1.5 -2 e"},
        {2, 32, " e 1.5 -2 f"},
    };
    for (const Case& c : cases) {
        DotStroke* dot = Make<DotStroke>();
        dot->SetStart(Point(1.5f, -2));
        dot->startCap = c.startCap;
        dot->endCap = c.endCap;
        std::ostringstream out;
        EXPECT_EQ(dot->Write(out), 0);
        EXPECT_EQ(out.str(), c.expected);
    }
}

TEST_F(DotStrokes, ReadsNothing) {
    DotStroke* dot = Make<DotStroke>();
    std::istringstream in("7 8");
    EXPECT_EQ(dot->Read(in), 0);
    int x = 0;
    in >> x;
    EXPECT_EQ(x, 7);
}

}  // namespace
