#include "TriangleGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

using V = std::array<double, 3>;

V sub(const V& a, const V& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const V& a, const V& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
V along(const V& a, const V& ab, const V& ac, double v, double w) {
    return {a[0] + v * ab[0] + w * ac[0], a[1] + v * ab[1] + w * ac[1], a[2] + v * ab[2] + w * ac[2]};
}
V widened(const Point3& p) { return {p[0], p[1], p[2]}; }

// A column's key: its two indexes, each cut to 32 bits, side by side.
unsigned long long key(long x, long y) {
    return static_cast<unsigned long long>(static_cast<std::uint32_t>(x)) << 32 | static_cast<std::uint32_t>(y);
}

}  // namespace

double DistanceToTriangle(const Point3& point, const TriangleCorners& t) {
    // The closest point lies in one of seven regions of the triangle's
    // plane: a corner, an edge or the inside, told by the point's
    // projections onto the edges.
    const V p = widened(point), a = widened(t[0]), b = widened(t[1]), c = widened(t[2]);
    const V ab = sub(b, a), ac = sub(c, a), ap = sub(p, a), bp = sub(p, b), cp = sub(p, c);
    const double d1 = dot(ab, ap), d2 = dot(ac, ap), d3 = dot(ab, bp), d4 = dot(ac, bp), d5 = dot(ab, cp),
                 d6 = dot(ac, cp);
    const double va = d3 * d6 - d5 * d4, vb = d5 * d2 - d1 * d6, vc = d1 * d4 - d3 * d2;
    V closest;
    if (d1 <= 0 && d2 <= 0) closest = a;
    else if (d3 >= 0 && d4 <= d3) closest = b;
    else if (d6 >= 0 && d5 <= d6) closest = c;
    else if (vc <= 0 && d1 >= 0 && d3 <= 0) closest = along(a, ab, ac, d1 / (d1 - d3), 0);
    else if (vb <= 0 && d2 >= 0 && d6 <= 0) closest = along(a, ab, ac, 0, d2 / (d2 - d6));
    else if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) {
        const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        closest = along(b, sub(c, b), V{0, 0, 0}, w, 0);
    } else {
        const double sum = va + vb + vc;
        closest = along(a, ab, ac, vb / sum, vc / sum);
    }
    const V d = sub(p, closest);
    return std::sqrt(dot(d, d));
}

TriangleGrid::TriangleGrid(std::vector<TriangleCorners> triangles, double reach, double cell)
    : reach_(reach), cell_(cell) {
    for (const TriangleCorners& t : triangles) Add(t);
}

long TriangleGrid::columnOf(double x) const { return std::lround(std::floor(x / cell_)); }

void TriangleGrid::Add(const TriangleCorners& t) {
    const std::size_t index = triangles_.size();
    triangles_.push_back(t);
    double lo[2] = {t[0][0], t[0][1]}, hi[2] = {t[0][0], t[0][1]};
    for (const Point3& p : t)
        for (int k = 0; k < 2; ++k) lo[k] = std::min(lo[k], double(p[k])), hi[k] = std::max(hi[k], double(p[k]));
    for (long x = columnOf(lo[0] - reach_); x <= columnOf(hi[0] + reach_); ++x)
        for (long y = columnOf(lo[1] - reach_); y <= columnOf(hi[1] + reach_); ++y) columns_[key(x, y)].push_back(index);
}

double TriangleGrid::Nearest(const Point3& point, long* index) const {
    double nearest = reach_;
    if (index) *index = -1;
    const auto found = columns_.find(key(columnOf(point[0]), columnOf(point[1])));
    if (found == columns_.end()) return nearest;
    for (std::size_t i : found->second) {
        const double d = DistanceToTriangle(point, triangles_[i]);
        if (d < nearest) {
            nearest = d;
            if (index) *index = static_cast<long>(i);
        }
    }
    return nearest;
}
