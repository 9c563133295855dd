#pragma once

// Helpers for the sweeping tests: a stroke with a style to draw with, and the
// recorded GL calls read back as primitives with their vertices and normals.

#include <string>
#include <vector>

#include "geometry/Vector3.h"
#include "stroke/LineStroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

// A style set, a character over it and a line stroke owned by the character.
struct StyledStroke {
    StrokeCharacterSet set;
    StrokeCharacter character{&set};
    LineStroke* stroke;

    explicit StyledStroke(const Vector3& a = Origin, const Vector3& b = UnitX);
    // A second stroke joined after the last one.
    LineStroke* Append(const Vector3& a, const Vector3& b);
};

struct RecordedVertex {
    Vector3 position;
    Vector3 normal;  // the current normal when the vertex was issued
};

struct RecordedPrimitive {
    unsigned mode;
    std::vector<RecordedVertex> vertices;
};

// The primitives among the effective calls, vertices moved by the
// translations in effect (the sweeping code only translates).
std::vector<RecordedPrimitive> RecordedPrimitives();

struct Triangle {
    RecordedVertex a, b, c;  // counter-clockwise is the front face
};

// The triangles GL forms from a primitive of any mode, in its own winding.
std::vector<Triangle> Triangles(const RecordedPrimitive& primitive);

// Describes the first non-degenerate triangle whose front side (by its
// winding) faces away from the normals given at its corners; empty when
// every triangle agrees. Agreeing means that the cosine between the face's
// facing and the mean of its corner normals is at least minCosine.
std::string FirstWindingFault(const std::vector<RecordedPrimitive>& primitives, float minCosine = -1e-3f);

// True when every argument of every recorded call is finite.
bool AllRecordedValuesFinite();

// Mean of the points of a ring as drawn in a band (the B* vertices of a
// strip or quad band), leaving out the ring's repeated last point.
Vector3 SecondRingCentre(const RecordedPrimitive& band);
