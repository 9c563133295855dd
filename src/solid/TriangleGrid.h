#pragma once

// How near a point is to a set of triangles: the triangles sorted into
// columns of a grid seen from above, so that only those near the point
// are measured (with DistanceToTriangle).

#include <functional>
#include <unordered_map>
#include <vector>

#include "SolidMesh.h"

class TriangleGrid {
public:
    // `reach`: the farthest distance that is measured; `cell`: the width of
    // a column (about the size of a triangle is fastest).
    TriangleGrid(std::vector<TriangleCorners> triangles, double reach, double cell);
    void Add(const TriangleCorners& triangle);
    // The distance to the nearest triangle, or `reach` when none is nearer;
    // `index`, if given, tells which triangle (in the order added), or -1;
    // triangles for which `skip` (given their index) is true are passed over.
    double Nearest(const Point3& point, long* index = nullptr,
                   const std::function<bool(std::size_t)>& skip = nullptr) const;

private:
    long columnOf(double x) const;
    std::vector<TriangleCorners> triangles_;
    double reach_, cell_;
    std::unordered_map<unsigned long long, std::vector<std::size_t>> columns_;
};
