#include "geometry/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectVector(const Vector3& v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

TEST(Vector3, DefaultIsOneOneOneAndConstantsAreExact) {
    ExpectVector(Vector3(), 1, 1, 1, 0);
    ExpectVector(Origin, 0, 0, 0, 0);
    ExpectVector(UnitX, 1, 0, 0, 0);
    ExpectVector(UnitY, 0, 1, 0, 0);
    ExpectVector(UnitZ, 0, 0, 1, 0);
}

TEST(Vector3, NearZeroBoundsAreStrictInDoublePrecision) {
    EXPECT_FALSE(IsNearZero(0.0000011));
    EXPECT_TRUE(IsNearZero(0.0000009));
    EXPECT_TRUE(IsNearZero(-0.0000009));
    // The float nearest 0.000001 lies just below it.
    EXPECT_TRUE(IsNearZero(0.000001f));
    EXPECT_FALSE(IsNearZero(0.000001));
}

TEST(Vector3, NormalizeLeavesTooShortVectorsAndReportsIt) {
    Vector3 tiny(0.0000005f, 0, 0);
    EXPECT_NE(tiny.Normalize(), 0);
    ExpectVector(tiny, 0.0000005f, 0, 0, 0);
    Vector3 v(3, 0, 4);
    EXPECT_EQ(v.Normalize(), 0);
    ExpectVector(v, 0.6f, 0, 0.8f);
}

TEST(Vector3, RotateAboutIsRightHandedAndIgnoresAxisLength) {
    Vector3 v = UnitX;
    v.RotateAbout(UnitZ, static_cast<float>(M_PI / 2));
    ExpectVector(v, 0, 1, 0);
    Vector3 w = UnitX;
    w.RotateAbout(Vector3(0, 0, 7), static_cast<float>(M_PI / 2));
    ExpectVector(w, v.x, v.y, v.z, 0);
    Vector3 along(0, 0, 5);
    along.RotateAbout(UnitZ, 1.0f);
    ExpectVector(along, 0, 0, 5, 0);
    Vector3 zero = Origin;
    zero.RotateAbout(UnitZ, 1.0f);
    ExpectVector(zero, 0, 0, 0, 0);
}

TEST(Vector3, RotateAboutKeepsTheComponentAlongTheAxis) {
    Vector3 v(1, 0, 2);
    v.RotateAbout(UnitZ, static_cast<float>(M_PI));
    ExpectVector(v, -1, 0, 2, 1e-6f);
}

TEST(Vector3, SignedAngleSignFollowsTheAxis) {
    EXPECT_NEAR(SignedAngle(UnitX, UnitY, UnitZ), M_PI / 2, 1e-6);
    EXPECT_NEAR(SignedAngle(UnitX, UnitY, -UnitZ), -M_PI / 2, 1e-6);
    EXPECT_NEAR(SignedAngle(UnitX, -UnitX, UnitZ), M_PI, 1e-6);
    EXPECT_EQ(SignedAngle(Origin, UnitX, UnitZ), 0.0f);
    EXPECT_NEAR(SignedAngle(Vector3(5, 0, 0), Vector3(0, 0.1f, 0), UnitZ), M_PI / 2, 1e-6);
}

TEST(Vector3, CrossAndDot) {
    ExpectVector(Cross(UnitX, UnitY), 0, 0, 1, 0);
    ExpectVector(Cross(UnitY, UnitX), 0, 0, -1, 0);
    EXPECT_EQ(Dot(Vector3(1, 2, 3), Vector3(4, 5, 6)), 32.0f);
    EXPECT_EQ(Length(Vector3(3, 4, 0)), 5.0f);
}

}  // namespace
