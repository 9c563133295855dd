#include <cmath>
#include <cstring>

#include "capture/CaptureState.h"

namespace capture {

bool Surface::operator==(const Surface& o) const {
    return std::memcmp(ambient, o.ambient, sizeof ambient) == 0 && std::memcmp(diffuse, o.diffuse, sizeof diffuse) == 0 &&
           std::memcmp(specular, o.specular, sizeof specular) == 0 &&
           std::memcmp(emission, o.emission, sizeof emission) == 0 && shininess == o.shininess &&
           colourMaterial == o.colourMaterial && colourMaterialMode == o.colourMaterialMode;
}

bool Surface::ColourIsDiffuse() const {
    return colourMaterial && (colourMaterialMode == GL_DIFFUSE || colourMaterialMode == GL_AMBIENT_AND_DIFFUSE);
}

long ProblemCounts::Total() const {
    return nonFinite + beginInsideBegin + endWithoutBegin + notAllowedInsideBegin + stackOverflow + stackUnderflow +
           newListInsideList + endListWithoutList + nestingTooDeep + openPrimitives + pushedMatrices + openLists;
}

// List names go on counting: records that outlive a reset keep the names of
// their old lists, which must not come to mean someone else's new list.
void Reset() {
    const GLuint nextListName = TheState().nextListName;
    TheState() = State();
    TheState().nextListName = nextListName;
}

void ClearTriangles() {
    TheState().triangles.clear();
    TheState().vertices.clear();
    TheState().listCalls.clear();
}

const std::vector<ListCall>& ListCalls() { return TheState().listCalls; }

void DrawCalledLists(bool on) { TheState().drawCalledLists = on; }

std::size_t ListCount() { return TheState().lists.size(); }

const std::vector<Vertex>& Vertices() { return TheState().vertices; }

const std::vector<Triangle>& Triangles() { return TheState().triangles; }

Drawing TakeDrawing() {
    Drawing taken;
    taken.vertices.swap(TheState().vertices);
    taken.triangles.swap(TheState().triangles);
    return taken;
}

const std::vector<Surface>& Surfaces() { return TheState().surfaces; }

ProblemCounts Problems() {
    const State& s = TheState();
    ProblemCounts counts = s.problems;
    counts.openPrimitives = s.insideBegin ? 1 : 0;
    counts.pushedMatrices = 0;
    for (const std::vector<Matrix4>& stack : s.stacks) counts.pushedMatrices += static_cast<int>(stack.size()) - 1;
    counts.openLists = s.compiling != 0 ? 1 : 0;
    return counts;
}

Drawing CaptureList(unsigned list) {
    State& s = TheState();
    Drawing before;
    before.vertices.swap(s.vertices);
    before.triangles.swap(s.triangles);
    const std::vector<Matrix4> saved = s.stacks[0];
    s.stacks[0] = {Matrix4::Identity()};
    s.normalMatrixStale = true;
    CallList(list);
    s.stacks[0] = saved;
    s.normalMatrixStale = true;
    Drawing drawn = TakeDrawing();
    s.vertices.swap(before.vertices);
    s.triangles.swap(before.triangles);
    return drawn;
}

void Refuse(long ProblemCounts::*kind, GLenum error) {
    State& s = TheState();
    ++(s.problems.*kind);
    // OpenGL keeps the first error until glGetError reads it.
    if (s.error == GL_NO_ERROR) s.error = error;
}

namespace {

template <class Number>
bool CountNonFiniteOf(const Number* values, int count) {
    int bad = 0;
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) ++bad;
    TheState().problems.nonFinite += bad;
    return bad == 0;
}

}  // namespace

bool CountNonFinite(const float* values, int count) { return CountNonFiniteOf(values, count); }

bool CountNonFinite(const double* values, int count) { return CountNonFiniteOf(values, count); }

}  // namespace capture
