#pragma once

// Turns triangles that show a solid (open seams, overlapping bodies and
// all) into closed, outward-facing, non-intersecting shells, through a
// volume: the unsigned distance to the triangles, closed by a small radius
// (which bridges seams narrower than twice that radius and fills what the
// surface encloses) and meshed back. Built on OpenVDB; no file I/O, no GL.

#include <vector>

#include "SolidMesh.h"

struct SolidifyOptions {
    float voxelSize = 0.05f;    // millimetres: the accuracy of the result is about half of it
    float closingRadius = 0.1f; // millimetres: seams up to twice this wide are closed
    float adaptivity = 0.2f;    // 0: uniform triangles; up to 1: fewer triangles where it is flat
};

// The union of what the triangles (in millimetres) enclose or bound, and of
// closedBodies: triangles that already bound closed, outward solids (a base
// plate), which need no closing and so cost less.
SolidMesh Solidify(const std::vector<TriangleCorners>& triangles, const SolidifyOptions& options,
                   const std::vector<TriangleCorners>& closedBodies = {});

// The closed solids of several groups of triangles (one per material), in
// the same coordinates, each without what earlier groups already hold, so
// that they touch without overlapping. Empty groups give empty meshes.
std::vector<SolidMesh> SolidifyGroups(const std::vector<std::vector<TriangleCorners>>& groups,
                                      const SolidifyOptions& options);
