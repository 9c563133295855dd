#pragma once

// Triangles that show a solid (open seams, overlapping bodies and all) as a
// signed distance on a grid, for a level-set mesher to make closed shells
// of: positive inside, negative outside, in millimetres. Inside is what the
// outside cannot reach without passing within `wall` of a triangle, so
// seams narrower than twice that are closed and what a surface encloses is
// filled. Near the surface the sign also follows the nearest triangle's
// front, so that the surface stays where it was drawn. No OpenVDB: it
// builds for a web page as well.

#include <cstddef>
#include <vector>

#include "SolidMesh.h"

struct DistanceVolume {
    Point3 origin{{0, 0, 0}};  // the first grid point
    float spacing = 1.0f;
    int size[3] = {0, 0, 0};
    std::vector<float> values;  // x fastest, then y, then z
    std::size_t Index(int x, int y, int z) const {
        return static_cast<std::size_t>(x) +
               static_cast<std::size_t>(size[0]) * (static_cast<std::size_t>(y) + static_cast<std::size_t>(size[1]) * z);
    }
};

// The grid covers the triangles with two spacings of outside around them;
// values are exact within 1.5 spacings of the surface and clamped beyond.
DistanceVolume SignedDistanceVolume(const std::vector<TriangleCorners>& triangles, float spacing);

// The distance from p to the nearest point of triangle t, and that point.
float DistanceToTriangle(const Point3& p, const TriangleCorners& t, Point3& nearest);

// The surface where the volume's value is 0, as closed triangles facing the
// negative side: marching tetrahedra over six tetrahedra a cube, all
// sharing the cube's main diagonal, so that neighbouring cubes cut their
// common faces alike. The level set of a function linear in each
// tetrahedron is a closed 2-manifold wherever no grid value is 0, so values
// of 0 are taken as a hair outside.
SolidMesh MeshLevelSet(const DistanceVolume& volume);
