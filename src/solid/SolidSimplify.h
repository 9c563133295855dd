#pragma once

// A meshed solid made lean: flat and gently curved regions merged into
// fewer, larger triangles by collapsing edges, each collapse allowed only
// where it keeps the surface closed and unfolded (the edge's two
// neighbouring triangles are the only ones its ends share, no triangle
// turns over) and moves no vertex further than the error from the planes
// of the triangles it stood for. A closed solid stays a closed solid.

#include "SolidMesh.h"

// `error`: millimetres the surface may move.
SolidMesh Simplified(const SolidMesh& mesh, float error);
