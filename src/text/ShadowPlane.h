#pragma once

#include <GL/gl.h>

#include <istream>

#include "geometry/Vector3.h"
#include "scene/Diagnostics.h"

class TableUses;

// A planar shadow: the logo flattened along the light onto a plane, drawn in
// one material and one colour.
struct ShadowPlane {
    int enabled = 0;
    int materialIndex = 0;
    int colourIndex = 0;
    Vector3 point;   // on the receiving plane
    Vector3 normal;  // of the plane, unit once read
    Vector3 light;   // direction of the light, unit once read
    GLfloat matrix[16] = {};  // column-major projection along light onto the plane

    // Four significant lines: enabled, material and colour index; then the
    // plane point, the normal and the light direction. Computes the matrix.
    // uses, when given, hears of the material and colour of a shadow that is on.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), TableUses* uses = nullptr);
    void ComputeMatrix();
};
