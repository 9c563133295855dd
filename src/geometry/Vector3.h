#pragma once

#include <cmath>

// The one point-and-direction type of the program: three floats, copied freely.
// A default-constructed vector is (1, 1, 1); use Origin for a zero vector.
struct Vector3 {
    float x, y, z;

    constexpr Vector3() : x(1.0f), y(1.0f), z(1.0f) {}
    constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    // Divides by the length; a vector too short to normalise is left as it is
    // and the result is non-zero.
    int Normalize();

    // Right-handed rotation about the direction of axis by angle radians.
    // A vector along the axis (or a zero vector) is unchanged.
    void RotateAbout(const Vector3& axis, float angle);
};

inline constexpr Vector3 Origin{0.0f, 0.0f, 0.0f};
inline constexpr Vector3 UnitX{1.0f, 0.0f, 0.0f};
inline constexpr Vector3 UnitY{0.0f, 1.0f, 0.0f};
inline constexpr Vector3 UnitZ{0.0f, 0.0f, 1.0f};

// The tolerance of every "too short" decision: strictly within ±0.000001,
// compared in double precision.
inline bool IsNearZero(double f) { return f > -0.000001 && f < 0.000001; }
inline bool IsFinite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator-(const Vector3& a) { return {-a.x, -a.y, -a.z}; }
inline Vector3 operator*(float s, const Vector3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline Vector3 operator*(const Vector3& a, float s) { return {s * a.x, s * a.y, s * a.z}; }
inline Vector3 operator/(const Vector3& a, float s) { return {a.x / s, a.y / s, a.z / s}; }

inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(const Vector3& a);

// A normalised copy; a vector too short to normalise comes back unchanged.
Vector3 Normalized(Vector3 v);

// Returns v rotated about axis by angle radians (v itself is untouched).
Vector3 Rotated(Vector3 v, const Vector3& axis, float angle);

// The angle in (-pi, pi] by which a must turn about axis to point along b;
// 0 when either vector is too short to normalise.
float SignedAngle(const Vector3& a, const Vector3& b, const Vector3& axis);
