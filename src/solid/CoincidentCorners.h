#pragma once

// Corners of different vertices that lie at the same place (a mesher meets
// a part one voxel thin with both its sides at once) read as one corner in
// a file that knows corners only by their place, such as STL, and the
// edges there as used by four triangles. Each such vertex is moved a hair
// along its normal, towards its own neighbours: into its own part where two
// parts touch, apart where a thin part closes to nothing.

#include "SolidMesh.h"

// Returns how many vertices were moved.
std::size_t SeparateCoincidentCorners(SolidMesh& mesh, float hair);
