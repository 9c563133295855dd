#pragma once

// Turns the recorded glBegin/glEnd primitives back into the polygons OpenGL
// would rasterise, in OpenGL's own vertex order for each mode, so a test can
// check windings and normals of any geometry the program issues.

#include <array>
#include <vector>

#include "RecordingGL.h"

namespace gl_record {

struct PolygonVertex {
    std::array<double, 3> point;
    std::array<double, 3> normal;  // the current normal when the vertex was issued
};

struct Polygon {
    unsigned mode;  // the glBegin mode it came from
    std::vector<PolygonVertex> vertices;
};

// The polygons OpenGL forms from count vertices of a glBegin mode, as lists of
// vertex indexes in its own order (so their winding is OpenGL's).
std::vector<std::vector<std::size_t>> PolygonOrders(unsigned mode, std::size_t count);

// Every triangle or quad of the given calls (normally Effective()): triangle
// strips alternate their order as OpenGL does, quad strips take vertices
// 2i, 2i + 1, 2i + 3, 2i + 2. Points, lines and incomplete primitives are
// dropped. The current normal starts as (0, 0, 1), OpenGL's initial value.
std::vector<Polygon> AssemblePolygons(const std::vector<Call>& calls);

// The area-weighted normal of the polygon by Newell's method: its direction
// is the side from which the vertices run counter-clockwise; its length is
// twice the area (zero for a degenerate polygon).
std::array<double, 3> WindingNormal(const Polygon& polygon);

}  // namespace gl_record
