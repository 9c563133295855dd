#include <cmath>
#include <sstream>

#include "StrokeTestSupport.h"
#include "stroke/DotStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/PivotStroke.h"
#include "stroke/StiffStroke.h"

namespace {

using StiffAndPivotStrokes = StrokeTest;

// Distance of point q from the line through p along the unit direction d.
float DistanceFromAxis(const Vector3& q, const Vector3& p, const Vector3& d) { return Length(Cross(d, q - p)); }

TEST_F(StiffAndPivotStrokes, AStiffStrokeKeepsItsLengthWhileItsNeighboursTrimAgainstIt) {
    LineStroke* first = Make<LineStroke>(Point(0, 0), Point(20, 0));
    StiffStroke* stiff = Make<StiffStroke>(Point(20, 0), Point(20, 20));
    LineStroke* last = Make<LineStroke>(Point(20, 20), Point(0, 20));
    Link(first, stiff);
    Link(stiff, last);
    first->Draw();
    EXPECT_TRUE(Near(stiff->bodyStart, Point(20, 0)));
    EXPECT_TRUE(Near(stiff->bodyEnd, Point(20, 20)));
    EXPECT_TRUE(Near(first->bodyEnd, Point(14, 0)));
    EXPECT_TRUE(Near(last->bodyStart, Point(14, 20)));
}

TEST_F(StiffAndPivotStrokes, AStraightJointDoesNotSwingThePivot) {
    LineStroke* first = Make<LineStroke>(Point(0, 0), Point(10, 0));
    PivotStroke* pivot = Make<PivotStroke>(Point(10, 0), Point(30, 0));
    Link(first, pivot);
    first->Draw();
    EXPECT_TRUE(Near(pivot->bodyStart, Point(10, 0)));
    EXPECT_TRUE(Near(pivot->bodyEnd, Point(30, 0)));
    EXPECT_TRUE(Near(pivot->bodyDirection, UnitX));
}

TEST_F(StiffAndPivotStrokes, ARightAngleAtTheEndSwingsTheBodyAboutTheStart) {
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
    LineStroke* up = Make<LineStroke>(Point(20, 0), Point(20, 20));
    pivot->startCap = 1;
    Link(pivot, up);
    pivot->Draw();
    // The inner corner: r / cos 45 from the joint, inside the turn.
    const Vector3 corner = Point(20, 0) + 6.0f * std::sqrt(2.0f) * Normalized(UnitY - UnitX);
    EXPECT_TRUE(Near(corner, Point(14, 6)));
    EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 0)));
    // The body's side runs through the corner: its end is the foot of the
    // perpendicular from the corner onto the swung axis.
    EXPECT_NEAR(Dot(corner - pivot->bodyEnd, pivot->bodyDirection), 0.0f, 1e-4f);
    EXPECT_NEAR(Length(corner - pivot->bodyEnd), 6.0f, 1e-4f);
    EXPECT_NEAR(DistanceFromAxis(pivot->bodyEnd, Point(0, 0), pivot->bodyDirection), 0.0f, 1e-4f);
    // At a right angle the corner lies on the stroke's own edge: the axis
    // stays put and the body ends below the corner.
    EXPECT_TRUE(Near(pivot->bodyEnd, Point(14, 0)));
    EXPECT_TRUE(Near(pivot->bodyDirection, UnitX));
}

TEST_F(StiffAndPivotStrokes, TheSwungSidePassesAtTheRadiusFromTheInnerCorner) {
    // Turns below a right angle: the corner lies r from both axes.
    for (float degrees : {30.0f, 60.0f, -60.0f, 89.0f}) {
        PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
        LineStroke* next = Make<LineStroke>(Point(20, 0), Point(20, 0) + 20 * AtDegrees(degrees));
        pivot->startCap = 1;
        Link(pivot, next);
        pivot->Draw();
        const Vector3 corner = pivot->bodyEnd + 6.0f * Normalized(degrees > 0 ? Cross(UnitZ, pivot->bodyDirection)
                                                                            : Cross(pivot->bodyDirection, UnitZ));
        EXPECT_NEAR(DistanceFromAxis(corner, Point(0, 0), UnitX), 6.0f, 1e-3f) << degrees;
        EXPECT_NEAR(DistanceFromAxis(corner, next->start, next->direction), 6.0f, 1e-3f) << degrees;
        EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 0)));
    }
}

TEST_F(StiffAndPivotStrokes, ASharpTurnSwingsTheAxisUntilItsSideTouchesTheCorner) {
    for (float degrees : {120.0f, -150.0f}) {
        PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
        LineStroke* next = Make<LineStroke>(Point(20, 0), Point(20, 0) + 20 * AtDegrees(degrees));
        pivot->startCap = 1;
        Link(pivot, next);
        pivot->Draw();
        // Against a line the corner lies r back along the next stroke's inner edge.
        const float inside = degrees > 0 ? 90.0f : -90.0f;
        const Vector3 corner = Point(20, 0) + 6 * (AtDegrees(degrees) + AtDegrees(degrees + inside));
        EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 0))) << degrees;
        EXPECT_NEAR(DistanceFromAxis(corner, Point(0, 0), pivot->bodyDirection), 6.0f, 1e-3f) << degrees;
        EXPECT_NEAR(Dot(corner - pivot->bodyEnd, pivot->bodyDirection), 0.0f, 1e-3f) << degrees;
        EXPECT_FALSE(Near(pivot->bodyDirection, UnitX, 1e-2f)) << degrees;
    }
}

TEST_F(StiffAndPivotStrokes, ARightAngleAtTheStartSwingsTheBodyAboutTheEnd) {
    LineStroke* in = Make<LineStroke>(Point(-20, 0), Point(0, 0));
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(0, 20));
    Link(in, pivot);
    in->Draw();
    const Vector3 corner = Point(-6, 6);
    EXPECT_TRUE(Near(pivot->bodyEnd, Point(0, 20)));
    EXPECT_NEAR(Dot(corner - pivot->bodyStart, pivot->bodyDirection), 0.0f, 1e-4f);
    EXPECT_NEAR(Length(corner - pivot->bodyStart), 6.0f, 1e-4f);
    EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 6)));
}

TEST_F(StiffAndPivotStrokes, TwoTurnsTheSameWayPutTheSideThroughBothCorners) {
    LineStroke* down = Make<LineStroke>(Point(0, 20), Point(0, 0));
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
    LineStroke* up = Make<LineStroke>(Point(20, 0), Point(20, 20));
    Link(down, pivot);
    Link(pivot, up);
    down->Draw();
    // Corners (6, 6) and (14, 6); the body runs r below them.
    EXPECT_TRUE(Near(pivot->bodyStart, Point(6, 0)));
    EXPECT_TRUE(Near(pivot->bodyEnd, Point(14, 0)));
    EXPECT_TRUE(Near(pivot->bodyDirection, UnitX));
    // The lines meet a pivot at a right angle by trimming the radius.
    EXPECT_TRUE(Near(down->bodyEnd, Point(0, 6)));
    EXPECT_TRUE(Near(up->bodyStart, Point(20, 6)));
}

TEST_F(StiffAndPivotStrokes, AnSBendFollowsTheInnerTangentOfTheCorners) {
    LineStroke* in = Make<LineStroke>(Point(-20, 0), Point(0, 0));
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), 20 * AtDegrees(60));
    LineStroke* out = Make<LineStroke>(pivot->end, pivot->end + Point(20, 0));
    Link(in, pivot);
    Link(pivot, out);
    in->Draw();
    const float mitre = 6.0f / std::cos(static_cast<float>(M_PI / 6));
    const Vector3 startCorner = Point(0, 0) + mitre * AtDegrees(120);
    const Vector3 endCorner = pivot->end + mitre * AtDegrees(-60);
    const Vector3 d = pivot->bodyDirection;
    EXPECT_NEAR(Length(d), 1.0f, 1e-5f);
    EXPECT_NEAR(Dot(pivot->bodyStart - startCorner, d), 0.0f, 1e-3f);
    EXPECT_NEAR(Dot(pivot->bodyEnd - endCorner, d), 0.0f, 1e-3f);
    EXPECT_NEAR(Length(pivot->bodyStart - startCorner), 6.0f, 1e-3f);
    EXPECT_NEAR(Length(pivot->bodyEnd - endCorner), 6.0f, 1e-3f);
    // The corners lie on opposite sides of the body.
    EXPECT_LT(Cross(d, startCorner - pivot->bodyStart).z * Cross(d, endCorner - pivot->bodyStart).z, 0.0f);
}

TEST_F(StiffAndPivotStrokes, AnSBendWithCornersCloserThanTwoRadiiCollapsesToTheirMidpoint) {
    LineStroke* in = Make<LineStroke>(Point(-20, 0), Point(0, 0));
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), 10 * AtDegrees(120));
    LineStroke* out = Make<LineStroke>(pivot->end, pivot->end + Point(20, 0));
    Link(in, pivot);
    Link(pivot, out);
    in->Draw();
    // Sharp turns against lines: corners (-6, 6) and end + (6, -6).
    const Vector3 midpoint = (Point(-6, 6) + pivot->end + Point(6, -6)) * 0.5f;
    EXPECT_TRUE(Near(pivot->bodyStart, midpoint));
    EXPECT_TRUE(Near(pivot->bodyEnd, midpoint));
    EXPECT_NEAR(Length(pivot->bodyDirection), 1.0f, 1e-5f);
}

TEST_F(StiffAndPivotStrokes, WithNothingToSwingAboutAPivotIsDrawnExactlyLikeALine) {
    // The owner-only constructor starts with a body direction along X; a
    // stroke read upwards must not be swept sideways.
    PivotStroke* pivot = Make<PivotStroke>();
    pivot->SetStart(Point(0, 0));
    std::istringstream in("0 10");
    pivot->Read(in);
    LineStroke* line = Make<LineStroke>(Point(0, 0), Point(0, 10));
    for (int pass = 0; pass < 2; ++pass) {
        pivot->Draw();
        line->Draw();
        EXPECT_TRUE(Near(pivot->bodyStart, line->bodyStart));
        EXPECT_TRUE(Near(pivot->bodyEnd, line->bodyEnd));
        EXPECT_TRUE(Near(pivot->bodyDirection, line->direction));
        pivot->MoveTo(Point(5, 5));
        line->MoveTo(Point(5, 5));
    }
}

TEST_F(StiffAndPivotStrokes, BetweenCollinearNeighboursAPivotIsDrawnLikeALine) {
    LineStroke* in = Make<LineStroke>(Point(0, -10), Point(0, 0));
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(0, 10));
    LineStroke* out = Make<LineStroke>(Point(0, 10), Point(0, 20));
    Link(in, pivot);
    Link(pivot, out);
    pivot->bodyDirection = UnitX;  // whatever an earlier fitting left
    in->Draw();
    EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 0)));
    EXPECT_TRUE(Near(pivot->bodyEnd, Point(0, 10)));
    EXPECT_TRUE(Near(pivot->bodyDirection, UnitY));
}

// A sharp joint with a dot or an unknown kind has no inner corner: that side
// is left unpivoted.
TEST_F(StiffAndPivotStrokes, ASharpJointWithADotOrUnknownKindIsNotPivoted) {
    for (char kind : {'d', 'x'}) {
        for (float degrees : {90.0f, 120.0f, -150.0f}) {
            DotStroke* before = Make<DotStroke>();
            PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
            DotStroke* after = Make<DotStroke>();
            after->SetStart(Point(20, 0));
            Link(before, pivot);
            Link(pivot, after);
            before->kind = after->kind = kind;
            before->direction = AtDegrees(-degrees);  // turns by degrees into the pivot
            after->direction = AtDegrees(degrees);
            pivot->Draw();
            EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 0))) << kind << " " << degrees;
            EXPECT_TRUE(Near(pivot->bodyEnd, Point(20, 0))) << kind << " " << degrees;
            EXPECT_TRUE(Near(pivot->bodyDirection, UnitX)) << kind << " " << degrees;
        }
    }
}

TEST_F(StiffAndPivotStrokes, ASharpDotJointLeavesTheOtherJointToPivotAlone) {
    DotStroke* before = Make<DotStroke>();
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
    LineStroke* up = Make<LineStroke>(Point(20, 0), Point(20, 20));
    Link(before, pivot);
    Link(pivot, up);
    before->direction = AtDegrees(-120);
    pivot->Draw();
    EXPECT_TRUE(Near(pivot->bodyStart, Point(0, 0)));
    EXPECT_NEAR(Length(Point(14, 6) - pivot->bodyEnd), 6.0f, 1e-4f);
}

TEST_F(StiffAndPivotStrokes, AGentleJointWithADotStillPivots) {
    DotStroke* before = Make<DotStroke>();
    PivotStroke* pivot = Make<PivotStroke>(Point(0, 0), Point(20, 0));
    Link(before, pivot);
    before->direction = AtDegrees(-45);
    pivot->Draw();
    EXPECT_TRUE(Near(pivot->bodyEnd, Point(20, 0)));
    EXPECT_FALSE(Near(pivot->bodyStart, Point(0, 0)));
}

TEST_F(StiffAndPivotStrokes, KindsWriteTheirOwnLetter) {
    StiffStroke* stiff = Make<StiffStroke>(Point(0, 0), Point(1, 2));
    PivotStroke* pivot = Make<PivotStroke>(Point(1, 2), Point(3, 4));
    std::ostringstream out;
    stiff->Write(out);
    pivot->Write(out);
    EXPECT_EQ(out.str(), " s 1 2 p 3 4");
    EXPECT_TRUE(Near(pivot->bodyDirection, Normalized(Point(2, 2))));
}

}  // namespace
