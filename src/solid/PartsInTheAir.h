#pragma once

// The parts of a print that would be printed in the air: shells that
// neither reach the floor (the bed, or the plate's top) nor touch a shell
// that does, however many shells they pass through on the way.

#include <vector>

#include "SolidMesh.h"

// One entry for each group of touching shells that does not reach within
// `reach` of the floor: the bounds of its lowest shell. Shells touch when a
// vertex of one lies within `reach` of the other's surface.
std::vector<SolidBounds> PartsInTheAir(const std::vector<SolidMesh>& shells, float floor, float reach);
