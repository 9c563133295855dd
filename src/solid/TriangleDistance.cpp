#include "TriangleDistance.h"

#include <cmath>

namespace {

Point3 minus(const Point3& a, const Point3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
float dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point3 along(const Point3& a, const Point3& d, float t) { return {a[0] + t * d[0], a[1] + t * d[1], a[2] + t * d[2]}; }

}  // namespace

float DistanceToTriangle(const Point3& p, const TriangleCorners& t, Point3& nearest) {
    // The nearest point by the region of the triangle's plane p falls in.
    const Point3& a = t[0];
    const Point3& b = t[1];
    const Point3& c = t[2];
    const Point3 ab = minus(b, a), ac = minus(c, a), ap = minus(p, a);
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) nearest = a;
    else {
        const Point3 bp = minus(p, b);
        const float d3 = dot(ab, bp), d4 = dot(ac, bp);
        const Point3 cp = minus(p, c);
        const float d5 = dot(ab, cp), d6 = dot(ac, cp);
        const float vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
        if (d3 >= 0 && d4 <= d3) nearest = b;
        else if (d6 >= 0 && d5 <= d6) nearest = c;
        else if (vc <= 0 && d1 >= 0 && d3 <= 0) nearest = along(a, ab, d1 / (d1 - d3));
        else if (vb <= 0 && d2 >= 0 && d6 <= 0) nearest = along(a, ac, d2 / (d2 - d6));
        else if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
            nearest = along(b, minus(c, b), (d4 - d3) / ((d4 - d3) + (d5 - d6)));
        else {
            const float sum = va + vb + vc;
            if (!(std::fabs(sum) > 0.0f)) nearest = a;  // a triangle without area: its first corner
            else nearest = along(along(a, ab, vb / sum), ac, vc / sum);
        }
    }
    const Point3 d = minus(p, nearest);
    return std::sqrt(dot(d, d));
}
