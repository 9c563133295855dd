#include "TriangleDistance.h"
#include "PointMath.h"

#include <cmath>

float DistanceToTriangle(const Point3& p, const TriangleCorners& t, Point3& nearest) {
    // The nearest point by the region of the triangle's plane p falls in.
    const Point3& a = t[0];
    const Point3& b = t[1];
    const Point3& c = t[2];
    const Point3 ab = Minus(b, a), ac = Minus(c, a), ap = Minus(p, a);
    const float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) nearest = a;
    else {
        const Point3 bp = Minus(p, b);
        const float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
        const Point3 cp = Minus(p, c);
        const float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
        const float vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
        if (d3 >= 0 && d4 <= d3) nearest = b;
        else if (d6 >= 0 && d5 <= d6) nearest = c;
        else if (vc <= 0 && d1 >= 0 && d3 <= 0) nearest = Along(a, ab, d1 / (d1 - d3));
        else if (vb <= 0 && d2 >= 0 && d6 <= 0) nearest = Along(a, ac, d2 / (d2 - d6));
        else if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
            nearest = Along(b, Minus(c, b), (d4 - d3) / ((d4 - d3) + (d5 - d6)));
        else {
            const float sum = va + vb + vc;
            if (!(std::fabs(sum) > 0.0f)) nearest = a;  // a triangle without area: its first corner
            else nearest = Along(Along(a, ab, vb / sum), ac, vc / sum);
        }
    }
    const Point3 d = Minus(p, nearest);
    return std::sqrt(Dot(d, d));
}
