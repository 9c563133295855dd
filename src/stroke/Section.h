#pragma once

#include <vector>

#include "geometry/Vector3.h"

// One closed ring of a swept body: points in world coordinates and their
// normals. Smooth shapes keep one normal per point; faceted shapes keep one
// normal per face (face i runs from point i to point i + 1). The last point
// repeats the first.
struct Section {
    std::vector<Vector3> points;
    std::vector<Vector3> normals;

    unsigned Count() const { return static_cast<unsigned>(points.size()); }
    void Clear() {
        points.clear();
        normals.clear();
    }
};

// Smooth shapes join rings with triangle strips and per-point normals;
// faceted shapes with quads and per-face normals.
bool IsFacetedShape(int sectionShape);
