#pragma once

// Values on a dense, regular grid of points: the portable grid's storage.

#include <cstddef>
#include <vector>

#include "SolidMesh.h"

struct DenseField {
    Point3 origin{{0, 0, 0}};  // the first grid point
    float spacing = 1.0f;
    int size[3] = {0, 0, 0};
    std::vector<float> values;  // x fastest, then y, then z

    std::size_t Count() const {
        return static_cast<std::size_t>(size[0]) * static_cast<std::size_t>(size[1]) * static_cast<std::size_t>(size[2]);
    }
    std::size_t Index(int x, int y, int z) const {
        return static_cast<std::size_t>(x) +
               static_cast<std::size_t>(size[0]) * (static_cast<std::size_t>(y) + static_cast<std::size_t>(size[1]) * z);
    }
    Point3 At(int x, int y, int z) const {
        return {origin[0] + spacing * x, origin[1] + spacing * y, origin[2] + spacing * z};
    }
};

// The surface where the field's value is 0, as closed triangles facing the
// positive side (the field is negative inside): marching tetrahedra over
// six tetrahedra a cube, all sharing the cube's main diagonal, so that
// neighbouring cubes cut their common faces alike. The level set of a
// function linear in each tetrahedron is a closed 2-manifold wherever no
// grid value is 0, so values of 0 are taken as a hair outside.
SolidMesh MeshZeroLevel(const DenseField& field);
