// What each call does when it takes effect, whether issued directly or
// replayed from a display list.

#include <algorithm>
#include <unordered_map>

#include "capture/CaptureState.h"

namespace capture {
namespace {

constexpr std::size_t kMaxStackDepth = 32;  // Mesa's depth for every matrix stack
constexpr std::size_t kMaxListNesting = 64;  // OpenGL's GL_MAX_LIST_NESTING
// Room made ahead for at most this many triangles; beyond it the store grows as it goes.
constexpr std::size_t kMaxReserved = std::size_t(1) << 22;

// Only these may come between glBegin and glEnd.
bool allowedInsideBegin(Op op) {
    return op == Op::kVertex || op == Op::kNormal || op == Op::kColour || op == Op::kMaterial ||
           op == Op::kCallList || op == Op::kEnd;
}

bool facesFront(GLenum face) { return face == GL_FRONT || face == GL_FRONT_AND_BACK; }
bool isFace(GLenum face) { return face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK; }

void copy4(float* to, const float* from) { std::copy(from, from + 4, to); }

void setMaterial(State& s, const Command& c) {
    if (!isFace(c.a)) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
    if (c.b == GL_SHININESS && (c.f[0] < 0.0f || c.f[0] > 128.0f))
        return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    if (!facesFront(c.a)) return;
    Surface& m = s.front;
    switch (c.b) {
        case GL_AMBIENT: copy4(m.ambient, c.f); break;
        case GL_DIFFUSE: copy4(m.diffuse, c.f); break;
        case GL_SPECULAR: copy4(m.specular, c.f); break;
        case GL_EMISSION: copy4(m.emission, c.f); break;
        case GL_SHININESS: m.shininess = c.f[0]; break;
        case GL_AMBIENT_AND_DIFFUSE:
            copy4(m.ambient, c.f);
            copy4(m.diffuse, c.f);
            break;
        default: return Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
    }
    s.surfaceStale = true;
}

// Colour material makes the tracked terms follow the current colour; once
// it is switched off they keep the last colour, as in OpenGL.
void setColourMaterial(State& s, bool on) {
    Surface& m = s.front;
    if (m.colourMaterial && !on) {
        if (m.colourMaterialMode == GL_AMBIENT || m.colourMaterialMode == GL_AMBIENT_AND_DIFFUSE)
            copy4(m.ambient, s.colour);
        if (m.colourMaterialMode == GL_DIFFUSE || m.colourMaterialMode == GL_AMBIENT_AND_DIFFUSE)
            copy4(m.diffuse, s.colour);
        if (m.colourMaterialMode == GL_SPECULAR) copy4(m.specular, s.colour);
        if (m.colourMaterialMode == GL_EMISSION) copy4(m.emission, s.colour);
    }
    m.colourMaterial = on;
    s.surfaceStale = true;
}

void changeMatrix(State& s, const Matrix4& by) {
    Matrix4& top = s.stacks[s.matrixMode].back();
    top = Multiply(top, by);
    if (s.matrixMode == 0) s.normalMatrixStale = true;
}

void setMatrixMode(State& s, GLenum mode) {
    switch (mode) {
        case GL_MODELVIEW: s.matrixMode = 0; break;
        case GL_PROJECTION: s.matrixMode = 1; break;
        case GL_TEXTURE: s.matrixMode = 2; break;
        default: Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
    }
}

void push(State& s) {
    std::vector<Matrix4>& stack = s.stacks[s.matrixMode];
    if (stack.size() >= kMaxStackDepth) return Refuse(&ProblemCounts::stackOverflow, GL_STACK_OVERFLOW);
    stack.push_back(stack.back());
}

void pop(State& s) {
    std::vector<Matrix4>& stack = s.stacks[s.matrixMode];
    if (stack.size() <= 1) return Refuse(&ProblemCounts::stackUnderflow, GL_STACK_UNDERFLOW);
    stack.pop_back();
    if (s.matrixMode == 0) s.normalMatrixStale = true;
}

void enable(State& s, GLenum cap, bool on) {
    if (on) s.settings.enabled.insert(cap);
    else s.settings.enabled.erase(cap);
    if (cap != GL_COLOR_MATERIAL) return;
    s.colourMaterialEnabled = on;
    setColourMaterial(s, on && s.colourMaterialFace != GL_BACK);
}

}  // namespace

void Execute(const Command& c, const Matrix4* matrix) {
    State& s = TheState();
    if (c.op == Op::kBegin) {
        if (s.insideBegin) return Refuse(&ProblemCounts::beginInsideBegin, GL_INVALID_OPERATION);
        if (c.a > GL_POLYGON) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
        s.insideBegin = true;
        s.primitiveMode = c.a;
        StartPrimitive();
        return;
    }
    if (s.insideBegin && !allowedInsideBegin(c.op))
        return Refuse(&ProblemCounts::notAllowedInsideBegin, GL_INVALID_OPERATION);
    switch (c.op) {
        case Op::kEnd:
            if (!s.insideBegin) return Refuse(&ProblemCounts::endWithoutBegin, GL_INVALID_OPERATION);
            FinishPrimitive();
            s.insideBegin = false;
            break;
        case Op::kVertex:
            // Outside glBegin a vertex draws nothing.
            if (s.insideBegin) AddVertex(c.f[0], c.f[1], c.f[2]);
            break;
        case Op::kNormal: std::copy(c.f, c.f + 3, s.normal); break;
        case Op::kColour: copy4(s.colour, c.f); break;
        case Op::kMaterial: setMaterial(s, c); break;
        case Op::kEnable: enable(s, c.a, true); break;
        case Op::kDisable: enable(s, c.a, false); break;
        case Op::kColourMaterial:
            if (!isFace(c.a)) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
            // A change of the tracked terms while tracking leaves the old
            // terms at the current colour, like switching it off and on.
            if (s.front.colourMaterial) setColourMaterial(s, false);
            s.colourMaterialFace = c.a;
            s.front.colourMaterialMode = c.b;
            setColourMaterial(s, s.colourMaterialEnabled && s.colourMaterialFace != GL_BACK);
            break;
        case Op::kMatrixMode: setMatrixMode(s, c.a); break;
        case Op::kLoadIdentity:
            s.stacks[s.matrixMode].back() = Matrix4::Identity();
            if (s.matrixMode == 0) s.normalMatrixStale = true;
            break;
        case Op::kMultiply: changeMatrix(s, *matrix); break;
        case Op::kTranslate: changeMatrix(s, Translation(c.f[0], c.f[1], c.f[2])); break;
        case Op::kRotate: changeMatrix(s, Rotation(c.f[0], c.f[1], c.f[2], c.f[3])); break;
        case Op::kScale: changeMatrix(s, Scaling(c.f[0], c.f[1], c.f[2])); break;
        case Op::kPush: push(s); break;
        case Op::kPop: pop(s); break;
        case Op::kCallList: CallList(c.a); break;
        case Op::kSphere: DrawSphere(static_cast<double>(c.f[0]), static_cast<int>(c.a), static_cast<int>(c.b)); break;
        case Op::kBegin:
        case Op::kOther: break;
        default: ApplySetting(s, c); break;
    }
}

void Issue(const Command& command, const Matrix4* matrix) {
    State& s = TheState();
    if (s.compiling == 0) return Execute(command, matrix);
    Command kept = command;
    if (command.op == Op::kMultiply) {
        kept.a = static_cast<std::uint32_t>(s.compiled.matrices.size());
        s.compiled.matrices.push_back(*matrix);
    }
    s.compiled.Append(kept);
    s.compiled.Count(kept);
    if (s.compileMode == GL_COMPILE_AND_EXECUTE) Execute(command, matrix);
}

namespace {
std::size_t trianglesOfMode(std::uint32_t mode, std::size_t n) {
    switch (mode) {
        case GL_TRIANGLES: return n / 3;
        case GL_TRIANGLE_STRIP:
        case GL_TRIANGLE_FAN:
        case GL_POLYGON: return n >= 3 ? n - 2 : 0;
        case GL_QUADS: return n / 4 * 2;
        case GL_QUAD_STRIP: return n >= 4 ? (n - 2) / 2 * 2 : 0;
        default: return 0;
    }
}
}  // namespace

void List::Count(const Command& c) {
    if (c.op == Op::kBegin) {
        openMode = c.a;
        openVertices = 0;
    } else if (c.op == Op::kVertex) {
        ++openVertices;
    } else if (c.op == Op::kEnd) {
        ownTriangles += trianglesOfMode(openMode, openVertices);
        ownVertices += openVertices;
        openVertices = 0;
    } else if (c.op == Op::kSphere && c.a >= 2 && c.b >= 2) {
        ownTriangles += 2u * c.a * (c.b - 1u);
        ownVertices += std::size_t(c.a) * (c.b + 1u);
    } else if (c.op == Op::kCallList) {
        called.push_back(c.a);
    }
}

namespace {
// Each list is summed once, however often it is called; a list met again
// while it is being summed (a list that calls itself) adds nothing, so the
// figure is a lower bound there.
Size drawnBy(GLuint name, std::unordered_map<GLuint, Size>& known) {
    auto done = known.find(name);
    if (done != known.end()) return done->second;
    const State& s = TheState();
    auto found = s.lists.find(name);
    if (found == s.lists.end()) return {};
    known[name] = Size();
    Size total{found->second.ownTriangles, found->second.ownVertices};
    for (GLuint called : found->second.called) {
        const Size more = drawnBy(called, known);
        total.triangles = std::min(total.triangles + more.triangles, kMaxReserved);
        total.vertices = std::min(total.vertices + more.vertices, kMaxReserved);
    }
    known[name] = total;
    return total;
}
}  // namespace

Size DrawnBy(GLuint name) {
    std::unordered_map<GLuint, Size> known;
    return drawnBy(name, known);
}

void CallList(GLuint name) {
    State& s = TheState();
    // The triangles of a whole list are known before it runs: room for all
    // of them at once spares growing (and copying) the store on the way.
    // Room for twice as many costs only address space until it is used, and
    // lets a second list of the same size follow (the logo after its shadow).
    ListCall call{name, {}, s.calling.empty() ? 0u : s.calling.back()};
    std::copy(s.stacks[0].back().m, s.stacks[0].back().m + 16, call.modelview);
    s.listCalls.push_back(call);
    if (s.calling.empty()) {
        if (!s.drawCalledLists) return;
        const Size expected = DrawnBy(name);
        if (expected.triangles < kMaxReserved && s.triangles.capacity() - s.triangles.size() < expected.triangles)
            s.triangles.reserve(s.triangles.size() + 2 * expected.triangles);
        if (expected.vertices < kMaxReserved && s.vertices.capacity() - s.vertices.size() < expected.vertices)
            s.vertices.reserve(s.vertices.size() + 2 * expected.vertices);
    }
    if (s.calling.size() >= kMaxListNesting) {
        ++s.problems.nestingTooDeep;
        return;
    }
    auto found = s.lists.find(name);
    if (found == s.lists.end()) return;
    // The list cannot change while it runs: only glNewList, glEndList and
    // glDeleteLists change lists, and none of them is kept in a list.
    const List& list = found->second;
    s.calling.push_back(name);
    list.ForEach([&list](const Command& c) { Execute(c, c.op == Op::kMultiply ? &list.matrices[c.a] : nullptr); });
    s.calling.pop_back();
}

}  // namespace capture
