#pragma once

// The plate a print stands on: a rectangle with corners rounded by
// `radius`, from zBottom up to zTop.

#include <vector>

#include "SolidMesh.h"

struct RoundedSlab {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the rectangle, in millimetres
    float radius = 0;                      // of its corners, seen from above
    float zBottom = 0, zTop = 0;
};

// The slab as closed outward triangles (16 steps to a quarter circle).
std::vector<TriangleCorners> RoundedPlate(const RoundedSlab& slab);

// The signed distance from a point to the slab: negative inside.
float DistanceToSlab(const RoundedSlab& slab, float x, float y, float z);
