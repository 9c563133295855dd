#pragma once

#include <GL/gl.h>

#include "geometry/Vector3.h"

// A vector handed to GL as a vertex or a normal (a normal may be turned
// round by sign, for the back of a two-sided face).
inline void EmitVertex(const Vector3& p) { glVertex3f(p.x, p.y, p.z); }
inline void EmitNormal(const Vector3& n, float sign = 1.0f) { glNormal3f(sign * n.x, sign * n.y, sign * n.z); }
