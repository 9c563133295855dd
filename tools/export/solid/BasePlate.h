#pragma once

// The plate a print stands on: a rectangle with corners rounded by
// `radius`, from zBottom up to zTop, as closed outward triangles.

#include <vector>

#include "SolidMesh.h"

std::vector<TriangleCorners> RoundedPlate(float x0, float y0, float x1, float y1, float radius, float zBottom,
                                          float zTop);
