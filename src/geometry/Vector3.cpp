#include "geometry/Vector3.h"

#include <cmath>

float Length(const Vector3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

int Vector3::Normalize() {
    float length = Length(*this);
    if (IsNearZero(length)) return 1;
    x /= length;
    y /= length;
    z /= length;
    return 0;
}

void Vector3::RotateAbout(const Vector3& axis, float angle) {
    Vector3 n = axis;
    Vector3 b = Cross(n, *this);
    Vector3 a = Cross(b, n);
    a.Normalize();
    b.Normalize();
    n.Normalize();
    if (IsNearZero(Length(a))) return;
    float p = Dot(*this, a);
    float q = Dot(*this, b);
    float h = Dot(*this, n);
    float c = std::cos(angle);
    float s = std::sin(angle);
    *this = (p * c - q * s) * a + (p * s + q * c) * b + h * n;
}

Vector3 Normalized(Vector3 v) {
    v.Normalize();
    return v;
}

Vector3 Rotated(Vector3 v, const Vector3& axis, float angle) {
    v.RotateAbout(axis, angle);
    return v;
}

float SignedAngle(const Vector3& a, const Vector3& b, const Vector3& axis) {
    Vector3 an = Normalized(a);
    Vector3 bn = Normalized(b);
    if (IsNearZero(Length(an)) || IsNearZero(Length(bn))) return 0.0f;
    return std::atan2(Dot(Cross(an, bn), axis), Dot(an, bn));
}
