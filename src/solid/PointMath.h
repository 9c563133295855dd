#pragma once

// The few sums of points the solid path's files share.

#include "SolidMesh.h"

inline Point3 Minus(const Point3& a, const Point3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline float Dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline Point3 Cross(const Point3& a, const Point3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
// a + t d
inline Point3 Along(const Point3& a, const Point3& d, float t) { return {a[0] + t * d[0], a[1] + t * d[1], a[2] + t * d[2]}; }
