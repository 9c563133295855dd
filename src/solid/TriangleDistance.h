#pragma once

// The distance from a point to a triangle, measured exactly.

#include "SolidMesh.h"

// The distance from p to the nearest point of triangle t, and that point.
float DistanceToTriangle(const Point3& p, const TriangleCorners& t, Point3& nearest);
