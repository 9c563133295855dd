#pragma once

// Surfaces without thickness (bands, the faces of buttons without a back)
// made into thin solids: each such triangle swept away from the viewer.

#include <functional>
#include <vector>

#include "SolidMesh.h"

// True for every triangle that faces the viewer (+z) and has no triangle
// facing away behind it within `depth`: a sheet, not the front of a body.
// A glyph's triangle whose nearest face in front is a glyph's face turned
// to the viewer lies inside a stroke (a face of a joint that the stroke
// encloses): swept back, it would stand out behind the letter as a needle.
std::vector<bool> FindSheets(const std::vector<TriangleCorners>& triangles, const std::vector<bool>& glyph,
                             float depth);

// The closed prism that sweeps a triangle by `depth` towards -z.
std::vector<TriangleCorners> SweptBack(const TriangleCorners& triangle, float depth);
