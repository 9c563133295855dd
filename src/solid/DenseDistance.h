#pragma once

// The steps of a distance on the dense grid: how far each grid point is
// from the triangles, and which points the outside reaches.

#include <cstdint>
#include <vector>

#include "DenseField.h"

// The unsigned distance to the nearest triangle of every grid point within
// `band` of one (others keep their value), and which triangle that is (-1
// for none).
struct NearestTriangles {
    DenseField distance;
    std::vector<std::int32_t> triangle;
};
NearestTriangles MeasureDistances(const DenseField& shape, const std::vector<TriangleCorners>& triangles, float band);

// The grid points the outside reaches from the grid's border without
// coming within `wall` of a triangle. With `frontLayer`, one layer more:
// the points next to those that lie before the front of their nearest
// triangle, so that a surface stays where it was drawn.
std::vector<bool> OutsideReached(const NearestTriangles& near, const std::vector<TriangleCorners>& triangles,
                                 float wall, bool frontLayer);
