#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "StrokeTestSupport.h"
#include "stroke/CircleStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/Tessellation.h"

namespace {

class CircleStrokes : public StrokeTest {
protected:
    // An arc read the way the character reader makes one: start, then record.
    CircleStroke* ReadArc(const Vector3& from, const std::string& record) {
        CircleStroke* arc = Make<CircleStroke>();
        arc->SetStart(from);
        std::istringstream in(record);
        EXPECT_EQ(arc->Read(in), 0) << record;
        return arc;
    }
};

Vector3 AtRadians(double radians, float radius) {
    return Vector3(radius * static_cast<float>(std::cos(radians)), radius * static_cast<float>(std::sin(radians)), 0);
}

TEST_F(CircleStrokes, AQuarterCircleEndsAQuarterTurnOnAndBoundsItsExtent) {
    CircleStroke* made = Make<CircleStroke>(Origin, Point(10, 0), static_cast<float>(M_PI / 2));
    CircleStroke* read = ReadArc(Point(10, 0), "0 0 90");
    for (CircleStroke* arc : {made, read}) {
        EXPECT_TRUE(Near(arc->end, Point(0, 10)));
        EXPECT_FLOAT_EQ(arc->radius, 10.0f);
        EXPECT_TRUE(Near(arc->direction, UnitY));
        EXPECT_TRUE(Near(arc->endDirection, -UnitX));
        float minX, maxX, minY, maxY;
        arc->GetBounds(minX, maxX, minY, maxY);
        EXPECT_NEAR(minX, 0, 1e-4f);
        EXPECT_NEAR(maxX, 10, 1e-4f);
        EXPECT_NEAR(minY, 0, 1e-4f);
        EXPECT_NEAR(maxY, 10, 1e-4f);
    }
}

TEST_F(CircleStrokes, BoundsTakeTheExtremesTheArcPasses) {
    struct Case {
        const char* record;
        float minX, maxX, minY, maxY;
    } cases[] = {
        {"0 0 180", -10, 10, 0, 10},
        {"0 0 -90", 0, 10, -10, 0},
        {"0 0 -180", -10, 10, -10, 0},
        {"0 0 270", -10, 10, -10, 10},
        {"0 0 45", 7.0710678f, 10, 0, 7.0710678f},
    };
    for (const Case& c : cases) {
        CircleStroke* arc = ReadArc(Point(10, 0), c.record);
        float minX, maxX, minY, maxY;
        arc->GetBounds(minX, maxX, minY, maxY);
        EXPECT_NEAR(minX, c.minX, 1e-4f) << c.record;
        EXPECT_NEAR(maxX, c.maxX, 1e-4f) << c.record;
        EXPECT_NEAR(minY, c.minY, 1e-4f) << c.record;
        EXPECT_NEAR(maxY, c.maxY, 1e-4f) << c.record;
    }
}

TEST(ArcSegmentCount, OneBandPerFacetAndAtLeastOnePerTenthOfPiWithinTheLimit) {
    const float pi = static_cast<float>(M_PI);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float radius, sweep, facet;
        int expected;
    } cases[] = {
        {10, pi, 1, 32},
        {10, pi, 100, 10},
        {10, -pi, 1, 32},
        {10, 2 * pi, 1, 63},
        {1e6f, pi, 0.1f, kMaxTessellationCount},
        {10, pi, 0, kMaxTessellationCount},
        {10, pi, -1, 10},
        {0, 0, 1, 1},
        {10, nan, 1, 1},
        {nan, pi, 1, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArcSegmentCount(c.radius, c.sweep, c.facet), c.expected)
            << c.radius << " " << c.sweep << " " << c.facet;
    }
}

TEST(ArcHasBody, OnlyAFullTurnIsSweptBetweenCoincidingEnds) {
    EXPECT_TRUE(ArcHasBody(Point(10, 0), Point(0, 10), 1.5f));
    EXPECT_FALSE(ArcHasBody(Point(10, 0), Point(10, 0.0000005f), 0.0000001f));
    EXPECT_FALSE(ArcHasBody(Point(10, 0), Point(10, 0), -0.0001f));
    EXPECT_TRUE(ArcHasBody(Point(10, 0), Point(10, 0), static_cast<float>(kTwoPi)));
    EXPECT_TRUE(ArcHasBody(Point(10, 0), Point(10, 0), -static_cast<float>(kTwoPi)));
}

TEST_F(CircleStrokes, SweepsBeyondAFullTurnReadAsZero) {
    for (const char* record : {"0 0 400", "0 0 -400", "0 0 1e30"}) {
        CircleStroke* arc = ReadArc(Point(10, 0), record);
        EXPECT_EQ(arc->sweep, 0.0f) << record;
        EXPECT_TRUE(Near(arc->end, Point(10, 0))) << record;
    }
}

TEST_F(CircleStrokes, AFullTurnStaysAClosedCircle) {
    for (const char* record : {"0 0 360", "0 0 -360"}) {
        CircleStroke* arc = ReadArc(Point(10, 0), record);
        EXPECT_FLOAT_EQ(std::fabs(arc->sweep), static_cast<float>(kTwoPi)) << record;
        EXPECT_EQ(arc->sweep > 0, record[4] != '-') << record;
        EXPECT_TRUE(Near(arc->end, Point(10, 0)));
        float minX, maxX, minY, maxY;
        arc->GetBounds(minX, maxX, minY, maxY);
        EXPECT_NEAR(minX, -10, 1e-4f);
        EXPECT_NEAR(maxX, 10, 1e-4f);
        EXPECT_NEAR(minY, -10, 1e-4f);
        EXPECT_NEAR(maxY, 10, 1e-4f);
        arc->Draw();
        EXPECT_TRUE(IsFinite(arc->bodyStart) && IsFinite(arc->bodyEnd));
        EXPECT_NEAR(Length(arc->bodyStartDirection), 1.0f, 1e-5f);
        // Moving a joined end keeps the circle closed.
        arc->SetStart(Point(10, 0));
        EXPECT_FLOAT_EQ(std::fabs(arc->sweep), static_cast<float>(kTwoPi)) << record;
    }
}

TEST_F(CircleStrokes, ACentreOnTheStartIsMovedOneUnitAway) {
    CircleStroke* read = ReadArc(Point(5, 5), "5 5 90");
    EXPECT_TRUE(Near(read->centre, Point(4, 5)));
    EXPECT_FLOAT_EQ(read->radius, 1.0f);
    CircleStroke* made = Make<CircleStroke>(Point(5, 5), Point(5, 5), 1.0f);
    EXPECT_TRUE(Near(made->centre, Point(6, 5)));
}

TEST_F(CircleStrokes, MovingAnEndKeepsTheSweepsSignWhileItsSizeFollows) {
    CircleStroke* arc = ReadArc(Point(10, 0), "0 0 270");
    arc->SetEnd(10 * AtDegrees(-45));
    EXPECT_NEAR(arc->sweep, 315 * M_PI / 180, 1e-4);
    EXPECT_TRUE(Near(arc->start, Point(10, 0)));

    CircleStroke* small = ReadArc(Point(10, 0), "0 0 30");
    small->SetStart(5 * AtDegrees(-60));
    EXPECT_NEAR(small->sweep, M_PI / 2, 1e-4);
    EXPECT_TRUE(Near(small->end, 5 * AtDegrees(30)));  // moved radially with the start
}

TEST_F(CircleStrokes, AShortArcTurnsRoundWhenAnEndCrossesTheOtherEndsRadius) {
    CircleStroke* arc = ReadArc(Point(10, 0), "0 0 30");
    arc->SetStart(10 * AtDegrees(60));
    EXPECT_NEAR(arc->sweep, -M_PI / 6, 1e-4);
    EXPECT_TRUE(Near(arc->direction, AtDegrees(-30)));
}

TEST_F(CircleStrokes, MovingTheStartCarriesAJoinedNextStrokeWithTheEnd) {
    CircleStroke* arc = ReadArc(Point(10, 0), "0 0 90");
    LineStroke* after = Make<LineStroke>(Point(0, 10), Point(-10, 10));
    Link(arc, after);
    arc->SetStart(Point(20, 0));
    EXPECT_TRUE(Near(after->start, Point(0, 20)));
}

TEST_F(CircleStrokes, JoinedEndsAreTrimmedAlongTheArc) {
    // A line runs into the arc at a right angle; the arc leaves tangentially.
    LineStroke* in = Make<LineStroke>(Point(-10, 0), Point(10, 0));
    CircleStroke* arc = ReadArc(Point(10, 0), "0 0 90");
    LineStroke* out = Make<LineStroke>(Point(0, 10), Point(-10, 10));
    Link(in, arc);
    Link(arc, out);
    in->Draw();
    EXPECT_TRUE(Near(arc->bodyStart, AtRadians(0.6, 10)));  // 6 along a radius of 10
    EXPECT_TRUE(Near(arc->bodyStartDirection, Normalized(Cross(UnitZ, arc->bodyStart))));
    EXPECT_TRUE(Near(arc->bodyEnd, Point(0, 10)));
    EXPECT_TRUE(Near(arc->bodyEndDirection, -UnitX));
    EXPECT_TRUE(Near(in->bodyEnd, Point(4, 0)));
}

TEST_F(CircleStrokes, OverlappingTrimsShareTheExcessSoTheBodyEndsMeet) {
    // A 30 degree arc of radius 10 (length 5.236) between a right-angle turn
    // (trim 6, held to the arc length) and a 60 degree turn (trim 3.464).
    LineStroke* in = Make<LineStroke>(Point(-10, 0), Point(10, 0));
    CircleStroke* arc = ReadArc(Point(10, 0), "0 0 30");
    LineStroke* out = Make<LineStroke>(arc->end, arc->end + Point(-10, 0));
    Link(in, arc);
    Link(arc, out);
    in->Draw();
    const double arcLength = 10 * M_PI / 6;
    const double startTrim = arcLength - (arcLength + 6 * std::tan(M_PI / 6) - arcLength) * 0.5;
    EXPECT_TRUE(Near(arc->bodyStart, AtRadians(startTrim / 10, 10)));
    EXPECT_TRUE(Near(arc->bodyEnd, arc->bodyStart));
}

TEST_F(CircleStrokes, TurningBackOnALineCollapsesTheArcOntoItsFarEnd) {
    LineStroke* in = Make<LineStroke>(Point(10, -20), Point(10, 0));
    in->SetEnd(Point(10, 0));
    // Leaves downwards, nearly straight back along the line.
    CircleStroke* arc = ReadArc(Point(10, 0), "-90 0 -30");
    Link(in, arc);
    in->Draw();
    EXPECT_GT(JointAngle(in->direction, arc->direction), kTurnBackAngle);
    EXPECT_TRUE(Near(arc->bodyStart, arc->end));
    EXPECT_TRUE(Near(arc->bodyEnd, arc->end));
}

TEST_F(CircleStrokes, DegenerateAndHugeArcsDrawWithFiniteFields) {
    CircleStroke* unread = Make<CircleStroke>();  // radius 0: nothing to trim along
    LineStroke* in = Make<LineStroke>(Point(-10, 0), Point(0, 0));
    Link(in, unread);
    CircleStroke* huge = ReadArc(Point(-1e6f, 0), "1e30 0 90");
    EXPECT_FLOAT_EQ(huge->radius, 2e6f);
    EXPECT_EQ(ArcSegmentCount(huge->radius, huge->sweep, font.facetLength), kMaxTessellationCount);
    for (CircleStroke* arc : {unread, huge}) {
        in->Draw();
        arc->Draw();
        EXPECT_TRUE(IsFinite(arc->bodyStart));
        EXPECT_TRUE(IsFinite(arc->bodyEnd));
        EXPECT_TRUE(IsFinite(arc->bodyStartDirection));
        EXPECT_TRUE(IsFinite(arc->bodyEndDirection));
    }
}

TEST_F(CircleStrokes, WriteGivesTheCentreAndTheSweepInDegrees) {
    CircleStroke* arc = ReadArc(Point(10, 0), "0 0 -90");
    arc->startCap = 1;
    arc->endCap = 2;
    std::ostringstream out;
    EXPECT_EQ(arc->Write(out), 0);
    EXPECT_EQ(out.str(), " f 10 0 c 0 0 -90 e");
}

}  // namespace
