#include <cmath>
#include <limits>

#include "PrimitiveTest.h"
#include "object/FrameGeometry.h"

namespace {

void expectVector(const Vector3& v, const Vector3& expected) {
    EXPECT_NEAR(v.x, expected.x, 1e-5f);
    EXPECT_NEAR(v.y, expected.y, 1e-5f);
    EXPECT_NEAR(v.z, expected.z, 1e-5f);
}

TEST(SquareFramePath, RunsClockwiseFromTheMiddleOfTheLeftSideInsetByTheStroke) {
    const auto path = SquareFramePath(Origin, 20, 10, 1);
    const Vector3 expected[] = {{-9, 0, 0}, {-9, 4, 0}, {9, 4, 0}, {9, -4, 0}, {-9, -4, 0}, {-9, 0, 0}};
    for (int i = 0; i < 6; ++i) expectVector(path[i], expected[i]);

    const auto moved = SquareFramePath(Vector3(1, 2, 3), 20, 10, 1);
    for (int i = 0; i < 6; ++i) expectVector(moved[i], expected[i] + Vector3(1, 2, 3));
}

TEST(FrameHasRoom, OnlyWhenTheStrokeFitsInsideOnBothAxes) {
    struct Case {
        float w, h, r;
        bool room;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {{20, 10, 1, true},  {4, 3, 0.8f, true},  {2.01f, 10, 1, true}, {2, 10, 1, false},
                          {10, 1.5f, 1, false}, {-20, -10, 1, false}, {0, 0, 0.9f, false}, {nan, 10, 1, false}};
    for (const Case& c : cases) EXPECT_EQ(FrameHasRoom(c.w, c.h, c.r), c.room) << c.w << " x " << c.h << " r " << c.r;
}

TEST(RoundFrameSegments, OnePerStepOfHalfTheLargerCircumferencePlusOne) {
    struct Case {
        float a, b, step;
        int segments;
    };
    const Case cases[] = {{2.4f, 1.4f, 1, 8},  {1.4f, 2.4f, 1, 8},           {2.4f, 1.4f, 0.5f, 16},
                          {0, 0, 1, 1},        {2.4f, 1.4f, 1e-30f, 4097}, {1e30f, 1, 1, 4097},
                          {-5, -5, 1, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(RoundFrameSegments(c.a, c.b, c.step), c.segments) << c.a << " x " << c.b << " step " << c.step;
}

TEST(RoundFrameRing, TheLastBandCoversTheFirstAgain) {
    // w 4, h 3 under a stroke of half thickness 0.8.
    const Vector3 centre(1, 2, 3);
    const float a = 2.4f, b = 1.4f;
    const int n = RoundFrameSegments(a, b, 1.0f);
    const float step = static_cast<float>(2 * M_PI / n);
    const RingPlacement first = RoundFrameRing(centre, a, b, 0.0f);
    expectVector(first.point, Vector3(2.2f, 2, 3));
    expectVector(first.direction, UnitY);
    const RingPlacement last = RoundFrameRing(centre, a, b, static_cast<float>(n) * step);
    expectVector(last.point, first.point);
    const RingPlacement second = RoundFrameRing(centre, a, b, step);
    const RingPlacement beyond = RoundFrameRing(centre, a, b, static_cast<float>(n + 1) * step);
    expectVector(beyond.point, second.point);
    expectVector(beyond.direction, second.direction);
    const RingPlacement quarter = RoundFrameRing(centre, a, b, static_cast<float>(M_PI / 2));
    expectVector(quarter.point, Vector3(1, 2.7f, 3));
    expectVector(quarter.direction, Vector3(-1, 0, 0));
}

TEST(RoundFrameRing, OnACircleEveryRingIsSquareToThePath) {
    const Vector3 centre(1, 2, 3);
    for (int k = 0; k < 12; ++k) {
        const RingPlacement at = RoundFrameRing(centre, 5, 5, k * 0.5f);
        EXPECT_NEAR(Length(at.point - centre), 2.5f, 1e-5f);
        EXPECT_NEAR(Dot(at.direction, at.point - centre), 0.0f, 1e-5f);
        EXPECT_NEAR(Length(at.direction), 1.0f, 1e-6f);
    }
}

}  // namespace
