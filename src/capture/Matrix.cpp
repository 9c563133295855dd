#include "capture/Matrix.h"

#include <cmath>

namespace capture {

Matrix4 Matrix4::Identity() { return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            out.m[column * 4 + row] = sum;
        }
    return out;
}

Matrix4 Translation(float x, float y, float z) {
    Matrix4 t = Matrix4::Identity();
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    return t;
}

Matrix4 Rotation(float degrees, float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0.0f)) return Matrix4::Identity();
    x /= length;
    y /= length;
    z /= length;
    const float radians = degrees * 0.017453292519943295f;
    const float c = std::cos(radians), s = std::sin(radians), k = 1.0f - c;
    return {{x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0,  //
             x * y * k - z * s, y * y * k + c, y * z * k + x * s, 0,  //
             x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0,  //
             0, 0, 0, 1}};
}

Matrix4 Scaling(float x, float y, float z) { return {{x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}}; }

Matrix4 Ortho(double l, double r, double b, double t, double n, double f) {
    Matrix4 o = Matrix4::Identity();
    o.m[0] = static_cast<float>(2.0 / (r - l));
    o.m[5] = static_cast<float>(2.0 / (t - b));
    o.m[10] = static_cast<float>(-2.0 / (f - n));
    o.m[12] = static_cast<float>(-(r + l) / (r - l));
    o.m[13] = static_cast<float>(-(t + b) / (t - b));
    o.m[14] = static_cast<float>(-(f + n) / (f - n));
    return o;
}

Matrix4 Frustum(double l, double r, double b, double t, double n, double f) {
    Matrix4 o{};
    o.m[0] = static_cast<float>(2.0 * n / (r - l));
    o.m[5] = static_cast<float>(2.0 * n / (t - b));
    o.m[8] = static_cast<float>((r + l) / (r - l));
    o.m[9] = static_cast<float>((t + b) / (t - b));
    o.m[10] = static_cast<float>(-(f + n) / (f - n));
    o.m[11] = -1.0f;
    o.m[14] = static_cast<float>(-2.0 * f * n / (f - n));
    return o;
}

Matrix3 NormalMatrix(const Matrix4& a) {
    // Upper 3x3 element at row r, column c.
    auto e = [&a](int r, int c) { return a.m[c * 4 + r]; };
    Matrix3 cof;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof.m[c * 3 + r] = e(r1, c1) * e(r2, c2) - e(r1, c2) * e(r2, c1);
        }
    // The determinant's sign keeps a mirrored normal on the mirrored side,
    // as the true inverse transpose would.
    const float det = e(0, 0) * cof.m[0] + e(0, 1) * cof.m[3] + e(0, 2) * cof.m[6];
    if (det < 0.0f)
        for (float& v : cof.m) v = -v;
    return cof;
}

}  // namespace capture
