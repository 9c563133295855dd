#pragma once

// Turns triangles that show a solid (open seams, overlapping bodies and
// all) into closed, outward-facing, non-intersecting shells, through a
// volume on a grid meshed back. The triangles' own signed distance serves
// where it shows every face they draw; where it does not (a seam wide
// enough for the outside to leak in, a part thinner than a voxel), the
// distance closed by a small radius (which bridges seams narrower than
// twice that radius and fills what the surface encloses) does. No file
// I/O, no GL; the grid underneath is given.

#include <vector>

#include "BasePlate.h"
#include "SolidGrid.h"
#include "SolidMesh.h"

struct SolidifyOptions {
    float closingRadius = 0.1f; // millimetres: seams up to twice this wide are closed
    // 0: uniform triangles; up to 1: fewer where it is flat. OpenVDB's merging
    // cuts the strokes' ridges by up to a voxel above 0.01; the simplifier
    // merges more and keeps them.
    float adaptivity = 0.005f;
    float thinnest = 0.0f;      // millimetres across the thinnest drawn part, if known
    float simplifyError = 0.0f; // millimetres the meshed surface may move to become leaner (0: as meshed)
};

// A grid origin that keeps the slab's faces at least a quarter of a voxel
// from the voxels' centres: a face through them would mesh into
// triangles without area, which slicers drop, cutting the solid apart.
Point3 GridOriginAwayFrom(const RoundedSlab& slab, float voxelSize);

// The union of what the triangles (in millimetres) enclose or bound, and of
// the plates, which are measured from their shape and so cost less.
SolidMesh Solidify(const SolidGrid& grid, const std::vector<TriangleCorners>& triangles,
                   const SolidifyOptions& options, const std::vector<RoundedSlab>& plates = {});

// The closed solids of several groups of triangles (one per material), in
// the same coordinates, each without what earlier groups already hold, so
// that they touch without overlapping. Empty groups give empty meshes.
std::vector<SolidMesh> SolidifyGroups(const SolidGrid& grid, const std::vector<std::vector<TriangleCorners>>& groups,
                                      const SolidifyOptions& options);
