#include "TriangleGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "TriangleDistance.h"

namespace {

// A column's key: its two indexes, each cut to 32 bits, side by side.
unsigned long long key(long x, long y) {
    return static_cast<unsigned long long>(static_cast<std::uint32_t>(x)) << 32 | static_cast<std::uint32_t>(y);
}

}  // namespace

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

double TriangleGrid::Nearest(const Point3& point, long* index, const std::function<bool(std::size_t)>& skip) const {
    double nearest = reach_;
    if (index) *index = -1;
    const auto found = columns_.find(key(columnOf(point[0]), columnOf(point[1])));
    if (found == columns_.end()) return nearest;
    for (std::size_t i : found->second) {
        if (skip && skip(i)) continue;
        Point3 closest;
        const double d = DistanceToTriangle(point, triangles_[i], closest);
        if (d < nearest) {
            nearest = d;
            if (index) *index = static_cast<long>(i);
        }
    }
    return nearest;
}
