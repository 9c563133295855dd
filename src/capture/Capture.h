#pragma once

// A GL 1.1 and GLUT that draw nothing: every entry point logo3d calls is
// implemented here with its real signature, and what the drawing code issues
// is turned into triangles in the space the model-view matrix maps it to.
// Display lists are emulated (glCallList replays a list in the current
// matrix), every primitive mode is split into triangles in OpenGL's own
// vertex order, and each vertex keeps the current normal (through the
// inverse transpose) and colour, each triangle the current front material.
// glutSolidSphere is tessellated here, slices around z and stacks along it.
//
// It also counts what a real GL would reject or what would break a picture,
// so it can stand in for GL wherever the drawing code runs without a window.
// Beside the triangles it keeps the GL and GLUT state the program set
// (capture/GLState.h) and, when asked, a log of its calls (capture/CallLog.h).
// Needs no window, no X server and no GL library.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace capture {

struct Vertex {
    float position[3];
    float normal[3];  // unit length, or zero where the normal was zero
    float colour[4];
};

// Where a triangle came from: a glBegin mode, or the sphere.
constexpr std::uint32_t kSphere = 0x10000;

// Vertices are shared as OpenGL shares them: the triangles of one strip,
// fan or quad strip refer to the same vertex where OpenGL reuses it.
struct Triangle {
    std::uint32_t vertices[3];  // into the drawing's vertices, in OpenGL's order: counter-clockwise is its front
    std::uint32_t surface;      // index into Surfaces()
    std::uint32_t list;         // the display list called from outside any list, 0 if none
    std::uint32_t innerList;    // the list whose own contents drew it, 0 if none
    std::uint32_t source;       // glBegin mode or kSphere
};

// The front-face material a triangle was drawn with. With colour material
// on, the terms it tracks come from the vertex colours instead.
struct Surface {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
    bool colourMaterial = false;
    unsigned colourMaterialMode = 0x1602;  // GL_AMBIENT_AND_DIFFUSE
    bool operator==(const Surface& other) const;
    // True when the vertex colour replaces the diffuse term.
    bool ColourIsDiffuse() const;
};

// Counts of calls a real GL would reject or that would spoil what it draws.
struct ProblemCounts {
    long nonFinite = 0;           // non-finite numbers among floating-point arguments
    long beginInsideBegin = 0;
    long endWithoutBegin = 0;
    long notAllowedInsideBegin = 0;  // a call OpenGL forbids between glBegin and glEnd
    long stackOverflow = 0;       // a push beyond 32 matrices
    long stackUnderflow = 0;      // a pop of the last matrix
    long newListInsideList = 0;
    long endListWithoutList = 0;
    // Values OpenGL refuses and ignores (list name 0, negative ranges, a bad
    // mode, an empty orthographic volume, a frustum with near <= 0). Counted
    // but not in Total(): the viewer hands some values of its data files to
    // OpenGL as they are and leaves them to OpenGL's own rules.
    long invalidValue = 0;
    long nestingTooDeep = 0;      // glCallList beyond 64 nested lists (ignored, as OpenGL does)
    // What is still open now; a finished drawing leaves all three at zero.
    int openPrimitives = 0;
    int pushedMatrices = 0;        // on all three stacks, beyond their first entry
    int openLists = 0;
    long Total() const;            // every count but invalidValue, and everything still open
};

// A display list called, the model-view matrix (column-major) it was
// called under, and the list whose contents called it (0 from outside any list).
struct ListCall {
    std::uint32_t list;
    float modelview[16];
    std::uint32_t caller;
};
// Every call of a list, in the order made, nested ones included.
const std::vector<ListCall>& ListCalls();

// While off, glCallList from outside any list only records its ListCall and
// draws nothing: where the drawing code puts its lists, at no cost.
void DrawCalledLists(bool on);

// How many list names are in use (generated and not deleted).
std::size_t ListCount();

// Forgets everything: lists, matrices, current attributes, settings, the
// GLUT state, triangles, counts, and the call log, which it switches off.
// New list names continue after the old ones.
void Reset();
// Forgets what has been drawn so far (triangles, their vertices, the list
// calls) and keeps everything else.
void ClearTriangles();

// What has been drawn: the triangles and the vertices they refer to.
struct Drawing {
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
};

const std::vector<Vertex>& Vertices();
const std::vector<Triangle>& Triangles();
// Hands over what has been drawn so far without copying it.
Drawing TakeDrawing();
const std::vector<Surface>& Surfaces();
ProblemCounts Problems();

// What one display list draws when called under the identity model-view
// matrix with the current colour, normal and material; what was drawn so
// far and the matrices are left as they were.
Drawing CaptureList(unsigned list);

}  // namespace capture
