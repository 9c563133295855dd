#pragma once

#include "geometry/Vector3.h"

class LogoString;

// The path a text line follows: the x axis moved by the per-character offset
// motion at the line parameter u (0 at the left edge, 1 at the right).

// Direction of the path at u on a line of the given width: (width, y', z')
// normalised, with y' and z' the rates of the offsets. Zero when it cannot
// be normalised.
Vector3 PathTangent(const LogoString& logo, float width, float u);

Vector3 PathOffset(const LogoString& logo, float u);

// Steps N of a line decoration: one per two facet lengths of the width, plus
// one; stations run from 0 to N.
unsigned DecorationSteps(float width, float facetLength);

// The frame of a line decoration at one station.
struct PathFrame {
    float u = 0.0f;
    Vector3 point = Origin;    // (x, 0, 0) + offset(u)
    Vector3 tangent = UnitX;   // follows the path only in path mode 1
    Vector3 normal = UnitZ;    // faces the viewer on a straight path
    Vector3 up = -UnitY;       // across the line; -Y on a straight path
};

PathFrame DecorationFrame(const LogoString& logo, float width, unsigned station, unsigned steps);
