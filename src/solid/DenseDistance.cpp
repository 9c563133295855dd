#include "DenseDistance.h"
#include "PointMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

#include "TriangleDistance.h"

namespace {

// Whether a grid point near a triangle lies on its front (outer) side.
bool inFront(const NearestTriangles& near, const std::vector<TriangleCorners>& triangles, int x, int y, int z) {
    const std::int32_t t = near.triangle[near.distance.Index(x, y, z)];
    if (t < 0) return false;
    const TriangleCorners& c = triangles[static_cast<std::size_t>(t)];
    const Point3 p = near.distance.At(x, y, z);
    Point3 nearest;
    DistanceToTriangle(p, c, nearest);
    return Dot(Minus(p, nearest), Cross(Minus(c[1], c[0]), Minus(c[2], c[0]))) > 0.0f;
}

using Cell = std::array<int, 3>;
constexpr Cell kSteps[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

class Flood {
public:
    Flood(const NearestTriangles& near, const std::vector<TriangleCorners>& triangles, float wall)
        : near_(near), triangles_(triangles), field_(near.distance), reached_(field_.Count(), false) {
        for (std::size_t i = 0; i < field_.values.size(); ++i) wallAt_.push_back(field_.values[i] <= wall);
    }

    void FromBorder() {
        const int nx = field_.size[0], ny = field_.size[1], nz = field_.size[2];
        for (int z = 0; z < nz; ++z)
            for (int y = 0; y < ny; ++y)
                for (int x = 0; x < nx; ++x)
                    if (x == 0 || y == 0 || z == 0 || x == nx - 1 || y == ny - 1 || z == nz - 1) reach({x, y, z}, false);
        while (!queue_.empty()) {
            const Cell c = queue_.front();
            queue_.pop_front();
            for (const Cell& d : kSteps) reach({c[0] + d[0], c[1] + d[1], c[2] + d[2]}, false);
        }
    }

    // One layer deep: the wall points next to the outside that lie before
    // their triangle's front. No further: along a surface that runs into
    // another body, the points before its front lie inside that body.
    void FrontLayer() {
        std::vector<Cell> layer;
        for (int z = 0; z < field_.size[2]; ++z)
            for (int y = 0; y < field_.size[1]; ++y)
                for (int x = 0; x < field_.size[0]; ++x)
                    if (reached_[field_.Index(x, y, z)]) layer.push_back({x, y, z});
        for (const Cell& c : layer)
            for (const Cell& d : kSteps) reach({c[0] + d[0], c[1] + d[1], c[2] + d[2]}, true);
        queue_.clear();
    }

    std::vector<bool> Reached() { return std::move(reached_); }

private:
    const NearestTriangles& near_;
    const std::vector<TriangleCorners>& triangles_;
    const DenseField& field_;
    std::vector<bool> reached_, wallAt_;
    std::deque<Cell> queue_;

    // The flood keeps away from the walls; the front layer goes only into
    // wall points before their triangle's front.
    void reach(const Cell& c, bool intoWalls) {
        if (c[0] < 0 || c[1] < 0 || c[2] < 0 || c[0] >= field_.size[0] || c[1] >= field_.size[1] ||
            c[2] >= field_.size[2])
            return;
        const std::size_t i = field_.Index(c[0], c[1], c[2]);
        if (reached_[i]) return;
        if (intoWalls ? (!wallAt_[i] || !inFront(near_, triangles_, c[0], c[1], c[2])) : wallAt_[i]) return;
        reached_[i] = true;
        queue_.push_back(c);
    }
};

}  // namespace

NearestTriangles MeasureDistances(const DenseField& shape, const std::vector<TriangleCorners>& triangles, float band) {
    NearestTriangles near{shape, std::vector<std::int32_t>(shape.Count(), -1)};
    DenseField& v = near.distance;
    const float h = v.spacing;
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        int from[3], to[3];
        for (int k = 0; k < 3; ++k) {
            const auto [lo, hi] = std::minmax({triangles[t][0][k], triangles[t][1][k], triangles[t][2][k]});
            from[k] = std::max(0, static_cast<int>(std::floor((lo - band - v.origin[k]) / h)));
            to[k] = std::min(v.size[k] - 1, static_cast<int>(std::ceil((hi + band - v.origin[k]) / h)));
        }
        for (int z = from[2]; z <= to[2]; ++z)
            for (int y = from[1]; y <= to[1]; ++y)
                for (int x = from[0]; x <= to[0]; ++x) {
                    Point3 nearest;
                    const float d = DistanceToTriangle(v.At(x, y, z), triangles[t], nearest);
                    const std::size_t i = v.Index(x, y, z);
                    if (d < v.values[i]) {
                        v.values[i] = d;
                        near.triangle[i] = static_cast<std::int32_t>(t);
                    }
                }
    }
    return near;
}

std::vector<bool> OutsideReached(const NearestTriangles& near, const std::vector<TriangleCorners>& triangles,
                                 float wall, bool frontLayer) {
    Flood flood(near, triangles, wall);
    flood.FromBorder();
    if (frontLayer) flood.FrontLayer();
    return flood.Reached();
}
