#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "text/Motion.h"
#include "text/ShadowPlane.h"

namespace {

// A point through a column-major matrix, divided by w, in double precision.
Vector3 transformed(const float* m, const Vector3& p) {
    const double x = p.x, y = p.y, z = p.z;
    const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    return Vector3(static_cast<float>((m[0] * x + m[4] * y + m[8] * z + m[12]) / w),
                   static_cast<float>((m[1] * x + m[5] * y + m[9] * z + m[13]) / w),
                   static_cast<float>((m[2] * x + m[6] * y + m[10] * z + m[14]) / w));
}

TEST(ShadowPlane, ProjectsPointsAlongTheLightOntoThePlane) {
    const struct {
        Vector3 point, normal, light;
    } planes[] = {
        {Vector3(0, -40, 0), Vector3(0, 3, 0), Vector3(0, -1, -1)},
        {Vector3(5, 2, -7), Vector3(1, 2, 2), Vector3(-1, -3, 0.5f)},
        {Vector3(0, 0, -10), Vector3(0, 0, 1), Vector3(0.2f, 0.1f, -1)},
    };
    const Vector3 points[] = {Vector3(0, 0, 0), Vector3(12, 30, -4), Vector3(-50, 7, 20)};
    for (const auto& p : planes) {
        ShadowPlane shadow;
        shadow.point = p.point;
        shadow.normal = Normalized(p.normal);
        shadow.light = Normalized(p.light);
        shadow.ComputeMatrix();
        const float* m = shadow.matrix;
        for (const Vector3& x : points) {
            const Vector3 projected = transformed(m, x);
            EXPECT_NEAR(Dot(projected - p.point, shadow.normal), 0.0f, 1e-3f);
            const Vector3 along = Cross(projected - x, shadow.light);
            EXPECT_NEAR(Length(along), 0.0f, 1e-3f);
            // OpenGL clips every point of negative w, whichever way the light points.
            EXPECT_GT(m[3] * x.x + m[7] * x.y + m[11] * x.z + m[15], 0.0);
        }
    }
}

TEST(ShadowPlane, ReadNormalisesAndComputesTheMatrix) {
    std::istringstream in("1 2 3\n0 -40 0\n0 3 0\n0 -1 -1\n");
    ShadowPlane shadow;
    EXPECT_EQ(shadow.Read(in), 0);
    EXPECT_EQ(shadow.enabled, 1);
    EXPECT_EQ(shadow.materialIndex, 2);
    EXPECT_EQ(shadow.colourIndex, 3);
    EXPECT_FLOAT_EQ(shadow.normal.y, 1.0f);
    EXPECT_FLOAT_EQ(shadow.matrix[15], std::fabs(Dot(shadow.normal, shadow.light)));
}

TEST(Motion, ChannelsAddAPolynomialAndASineWaveWithThePhaseInDegrees) {
    MotionChannel c;
    c.polynomial = {1, 2, 3};
    c.wave = {4, 0.5f, 90};
    const struct {
        float t, value, derivative;
    } cases[] = {
        // 1 + 2t + 3t^2 + 4 sin(pi t + pi/2); rate 2 + 6t + 2 pi 4 0.5 cos(...)
        {0, 1 + 4, 2},
        {1, 6 - 4, 8},
        {0.5f, 1 + 1 + 0.75f, 2 + 3 - 4 * float(M_PI)},
        {-1, 2 - 4, -4},
    };
    for (const auto& k : cases) {
        EXPECT_NEAR(c.Value(k.t), k.value, 1e-5f) << k.t;
        EXPECT_NEAR(c.Derivative(k.t), k.derivative, 1e-5f) << k.t;
    }
    const MotionWave still;
    EXPECT_FLOAT_EQ(still.Value(0.3f), 0.0f);
    EXPECT_FLOAT_EQ(still.frequency, 1.0f);
}

}  // namespace
