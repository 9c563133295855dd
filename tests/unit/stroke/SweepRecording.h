#pragma once

// Helpers for the sweeping tests: a stroke with a style to draw with, and
// the primitives drawn, read back from the capture layer with their
// vertices and normals.

#include <array>
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
    Vector3 normal;  // unit length, as the capture layer keeps it
};

struct RecordedPrimitive {
    unsigned mode;
    std::vector<RecordedVertex> vertices;
    std::vector<std::array<std::size_t, 3>> triangles;  // into vertices, in GL's winding
};

// The primitives drawn since the capture was restarted (captured::Restart),
// in the order drawn.
std::vector<RecordedPrimitive> RecordedPrimitives();

struct Triangle {
    RecordedVertex a, b, c;  // counter-clockwise is the front face
};

// The triangles GL forms from a primitive, in its own winding.
std::vector<Triangle> Triangles(const RecordedPrimitive& primitive);

// Mean of the points of a ring as drawn in a band (the B* vertices of a
// strip or quad band), leaving out the ring's repeated last point.
Vector3 SecondRingCentre(const RecordedPrimitive& band);
