#pragma once

// The unit tests' view of the capture layer, which stands in for GL and
// GLUT: a fresh start with the call log on, the logged calls by name, the
// drawn triangles with their corners, the primitives as drawn, and GL's
// misuse as one assertion.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "capture/CallLog.h"
#include "capture/Capture.h"
#include "capture/GLState.h"
#include "geometry/Vector3.h"

namespace captured {

// Forgets every list, setting and triangle, and logs the calls from now on.
void Restart();

// The logged calls that took effect at once (none compiled into a list),
// all of them or those of one name.
std::vector<capture::Call> Calls();
std::vector<capture::Call> Calls(const std::string& name);
std::vector<std::string> Names(const std::vector<capture::Call>& calls);
// "name a b c", enough to compare calls at a glance.
std::string Describe(const capture::Call& call);

// Passes when nothing was refused, left open or non-finite (see
// capture::ProblemCounts::Total), and says what when not.
::testing::AssertionResult SoundGL();

inline Vector3 Position(const capture::Vertex& v) { return {v.position[0], v.position[1], v.position[2]}; }
inline Vector3 Normal(const capture::Vertex& v) { return {v.normal[0], v.normal[1], v.normal[2]}; }
// A point through a column-major matrix, divided by w.
Vector3 Transformed(const float* matrix, const Vector3& point);

// A drawn triangle with its corners, counter-clockwise from its front.
struct Face {
    std::array<capture::Vertex, 3> corners;
    capture::Triangle triangle;
    // Twice the area, along the side the front faces.
    Vector3 Winding() const;
};
std::vector<Face> Faces();

// Each glBegin/glEnd pair issued outside display lists, with its vertices
// as captured (through the model-view matrix) and its triangles as indexes
// into them.
struct Primitive {
    unsigned mode;
    std::vector<capture::Vertex> vertices;
    std::vector<std::array<std::size_t, 3>> triangles;
};
std::vector<Primitive> Primitives();

// Describes the first triangle of some area whose front faces away from
// the normals at its corners (the cosine between its facing and their sum
// below minCosine); empty when there is none.
std::string FirstWindingFault(const std::vector<Face>& faces, float minCosine = -1e-3f);

}  // namespace captured
