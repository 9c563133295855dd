#include <cmath>
#include <sstream>

#include "StrokeTestSupport.h"
#include "stroke/LineStroke.h"

namespace {

using StrokeBase = StrokeTest;

TEST_F(StrokeBase, MoveToPullsAJoinedPreviousEndButLeavesAnOpenOneAlone) {
    for (int cap : {0, 1}) {
        LineStroke* first = Make<LineStroke>(Point(0, 0), Point(10, 0));
        LineStroke* second = Make<LineStroke>(Point(10, 0), Point(10, 10));
        second->startCap = cap;
        Link(first, second);
        second->MoveTo(Point(20, 5));
        EXPECT_TRUE(Near(second->start, Point(20, 0)));
        EXPECT_TRUE(Near(second->end, Point(20, 10)));
        EXPECT_TRUE(Near(first->end, cap == 0 ? Point(20, 0) : Point(10, 0))) << "startCap " << cap;
    }
}

TEST_F(StrokeBase, SetPrevWithTheSamePreviousKeepsTheLinkAndPullsTheStart) {
    LineStroke* first = Make<LineStroke>(Point(0, 0), Point(10, 0));
    LineStroke* second = Make<LineStroke>(Point(10, 0), Point(10, 10));
    Link(first, second);
    first->end = Point(12, 3);  // moved behind the link's back
    second->SetPrev(first);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->prev, first);
    EXPECT_TRUE(Near(second->start, Point(12, 3)));
}

TEST_F(StrokeBase, SetPrevWithAnotherStrokeUnlinksTheOldOne) {
    LineStroke* old = Make<LineStroke>(Point(0, 0), Point(10, 0));
    LineStroke* other = Make<LineStroke>(Point(5, 5), Point(10, 5));
    LineStroke* stroke = Make<LineStroke>(Point(10, 0), Point(10, 10));
    Link(old, stroke);
    stroke->SetPrev(other);
    EXPECT_EQ(old->next, nullptr);
    EXPECT_EQ(stroke->prev, other);
    EXPECT_TRUE(Near(stroke->start, Point(10, 5)));
}

TEST(JointTrim, DependsOnTheAngleAndTheNeighbourKind) {
    const float r = 6.0f;
    const float aboveTurnBack = std::nextafter(static_cast<float>(kTurnBackAngle), 4.0f);
    struct Case {
        float theta;
        char kind;
        JointTrim::Kind expected;
        float distance;
    } cases[] = {
        {0.0f, 'l', JointTrim::Distance, 0.0f},
        {static_cast<float>(M_PI / 2), 'l', JointTrim::Distance, 6.0f},
        {static_cast<float>(M_PI / 2), 's', JointTrim::Distance, 6.0f},
        {static_cast<float>(M_PI / 2), 'c', JointTrim::Distance, 6.0f},
        {static_cast<float>(kTurnBackAngle), 'l', JointTrim::Distance, std::tan(static_cast<float>(kTurnBackAngle) * 0.5f) * r},
        {aboveTurnBack, 'l', JointTrim::WholeStroke, 0.0f},
        {aboveTurnBack, 'c', JointTrim::WholeStroke, 0.0f},
        {static_cast<float>(M_PI / 3), 'p', JointTrim::Distance, std::tan(static_cast<float>(M_PI / 6)) * r},
        {static_cast<float>(100 * M_PI / 180), 'p', JointTrim::Distance, r},
        {aboveTurnBack, 'p', JointTrim::Distance, r},
        {static_cast<float>(M_PI / 2), 'd', JointTrim::None, 0.0f},
        {static_cast<float>(M_PI / 2), 'x', JointTrim::None, 0.0f},
    };
    for (const Case& c : cases) {
        const JointTrim trim = TrimAtJoint(c.theta, c.kind, r);
        EXPECT_EQ(trim.kind, c.expected) << c.kind << " at " << c.theta;
        if (c.expected == JointTrim::Distance) {
            EXPECT_NEAR(trim.distance, c.distance, 1e-4f) << c.kind << " at " << c.theta;
        }
    }
}

TEST(JointAngle, IsTheUnsignedTurnAndZeroForADegenerateDirection) {
    EXPECT_FLOAT_EQ(JointAngle(UnitX, UnitY), static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(JointAngle(UnitY, UnitX), static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(JointAngle(UnitX, UnitX), 0.0f);
    EXPECT_FLOAT_EQ(JointAngle(UnitX, Origin), 0.0f);
}

TEST_F(StrokeBase, BoundsOfAStrokeWhoseEndsCoincideAreThatPoint) {
    LineStroke* line = Make<LineStroke>(Point(3, 4), Point(8, -2));
    float minX, maxX, minY, maxY;
    line->GetBounds(minX, maxX, minY, maxY);
    EXPECT_EQ(minX, 3);
    EXPECT_EQ(maxX, 8);
    EXPECT_EQ(minY, -2);
    EXPECT_EQ(maxY, 4);
    line->end = line->start;  // a line never keeps this, but the base rule must hold
    line->GetBounds(minX, maxX, minY, maxY);
    EXPECT_EQ(minX, 3);
    EXPECT_EQ(maxX, 3);
    EXPECT_EQ(minY, 4);
    EXPECT_EQ(maxY, 4);
}

TEST(ReadCoordinate, CountsAFailureAndKeepsMagnitudesFromOverflowing) {
    std::istringstream in("12.5 -3e30 4e30 x");
    float a = 0, b = 0, c = 0, d = 0;
    EXPECT_EQ(ReadCoordinate(in, a), 0);
    EXPECT_EQ(ReadCoordinate(in, b), 0);
    EXPECT_EQ(ReadCoordinate(in, c), 0);
    EXPECT_EQ(ReadCoordinate(in, d), 1);
    EXPECT_EQ(a, 12.5f);
    EXPECT_EQ(b, -kMaxCoordinate);
    EXPECT_EQ(c, kMaxCoordinate);
    EXPECT_EQ(d, 0.0f);
}

}  // namespace
