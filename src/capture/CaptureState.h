#pragma once

// The inner state of the capture layer, shared by its entry points, its
// display lists and its primitive assembly.

#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "capture/CallLog.h"
#include "capture/Capture.h"
#include "capture/GLState.h"
#include "capture/Matrix.h"

namespace capture {

// A call as a display list keeps it. Calls that change nothing the capture
// follows are kept as kOther, for the checks made when they run.
enum class Op : std::uint8_t {
    kBegin, kEnd, kVertex, kNormal, kColour, kMaterial, kEnable, kDisable, kColourMaterial,
    kMatrixMode, kLoadIdentity, kMultiply, kTranslate, kRotate, kScale, kPush, kPop,
    kCallList, kSphere,
    // Settings kept in the state, which a list may hold like any other call.
    kLight, kLightModel, kFog, kHint, kDepthFunc, kCullFace, kPolygonMode, kBlendFunc, kShadeModel,
    kClearColour, kClearAccum, kViewport,
    kOther,
};

struct Command {
    Op op;
    std::uint32_t a = 0, b = 0;  // enums, names, counts; for kMultiply the index of its matrix
    float f[4] = {0, 0, 0, 0};
};

// A display list keeps its commands packed, each as only the words its op
// uses: a list of vertices and normals takes half the memory of whole
// commands, and memory is what compiling a logo spends most time on.
struct List {
    std::vector<std::uint32_t> words;
    std::vector<Matrix4> matrices;  // the operands of the list's kMultiply commands
    void Append(const Command& command);
    // Calls visit with each command in turn.
    template <typename Visit>
    void ForEach(Visit visit) const;
    // What it draws by its own primitives (not by the lists it calls), and
    // the lists it calls, once per call; counted as the list is compiled.
    std::size_t ownTriangles = 0;
    std::size_t ownVertices = 0;
    std::vector<GLuint> called;
    void Count(const Command& command);

private:
    std::uint32_t openMode = 0;
    std::size_t openVertices = 0;
};

// The operands each op keeps in a list.
struct Operands {
    bool a, b;
    int floats;
};
constexpr Operands OperandsOf(Op op) {
    switch (op) {
        case Op::kVertex:
        case Op::kNormal:
        case Op::kTranslate:
        case Op::kScale: return {false, false, 3};
        case Op::kColour:
        case Op::kRotate:
        case Op::kClearColour:
        case Op::kClearAccum:
        case Op::kViewport: return {false, false, 4};
        case Op::kMaterial:
        case Op::kLight: return {true, true, 4};
        case Op::kLightModel:
        case Op::kFog: return {true, false, 4};
        case Op::kColourMaterial:
        case Op::kHint:
        case Op::kPolygonMode:
        case Op::kBlendFunc: return {true, true, 0};
        case Op::kSphere: return {true, true, 1};
        case Op::kBegin:
        case Op::kEnable:
        case Op::kDisable:
        case Op::kMatrixMode:
        case Op::kMultiply:
        case Op::kCallList:
        case Op::kDepthFunc:
        case Op::kCullFace:
        case Op::kShadeModel: return {true, false, 0};
        default: return {false, false, 0};
    }
}

inline void List::Append(const Command& c) {
    const Operands o = OperandsOf(c.op);
    words.push_back(static_cast<std::uint32_t>(c.op));
    if (o.a) words.push_back(c.a);
    if (o.b) words.push_back(c.b);
    for (int i = 0; i < o.floats; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &c.f[i], 4);
        words.push_back(bits);
    }
}

template <typename Visit>
void List::ForEach(Visit visit) const {
    const std::size_t end = words.size();
    for (std::size_t i = 0; i < end;) {
        Command c;
        c.op = static_cast<Op>(words[i++]);
        const Operands o = OperandsOf(c.op);
        if (o.a) c.a = words[i++];
        if (o.b) c.b = words[i++];
        std::memcpy(c.f, &words[i], static_cast<std::size_t>(o.floats) * 4);
        i += static_cast<std::size_t>(o.floats);
        visit(c);
    }
}

// How many triangles and vertices calling the list draws, nested lists included.
struct Size {
    std::size_t triangles = 0, vertices = 0;
};
Size DrawnBy(GLuint name);

// What a vertex of the open primitive needs beside the vertex itself.
struct PendingVertex {
    std::uint32_t surface;
    bool visible;  // false where w <= 0: OpenGL clips such a point
};

struct State {
    std::unordered_map<GLuint, List> lists;
    GLuint nextListName = 1;
    GLuint compiling = 0;
    GLenum compileMode = GL_COMPILE;
    List compiled;  // replaces the named list at glEndList

    std::vector<Matrix4> stacks[3] = {{Matrix4::Identity()}, {Matrix4::Identity()}, {Matrix4::Identity()}};
    int matrixMode = 0;  // index into stacks: model-view, projection, texture
    Matrix3 normalMatrix = NormalMatrix(Matrix4::Identity());
    bool normalMatrixStale = false;

    float normal[3] = {0.0f, 0.0f, 1.0f};
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    Surface front;
    bool colourMaterialEnabled = false;
    GLenum colourMaterialFace = GL_FRONT_AND_BACK;
    std::uint32_t surfaceIndex = 0;
    bool surfaceStale = true;
    std::vector<Surface> surfaces;

    bool insideBegin = false;
    GLenum primitiveMode = GL_TRIANGLES;
    std::size_t firstPending = 0;  // the open primitive's first vertex in vertices
    std::vector<PendingVertex> pending;

    std::vector<GLuint> calling;  // lists being replayed, outermost first
    std::vector<ListCall> listCalls;
    bool drawCalledLists = true;
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    ProblemCounts problems;
    GLenum error = GL_NO_ERROR;

    GLState settings;  // its matrices, colour and normal are filled in by Current()
    GlutState glut;
    bool logging = false;
    std::vector<Call> log;
};

// Never destroyed: the program's global records release their lists from
// their destructors at exit, after function-local statics would be gone.
// Inline, since every call of every entry point asks for it.
inline State& TheState() {
    static State* state = new State;
    return *state;
}

// Runs one call: at once when no list is compiled, else into the list
// (and at once too under GL_COMPILE_AND_EXECUTE).
void Issue(const Command& command, const Matrix4* matrix = nullptr);
void Execute(const Command& command, const Matrix4* matrix);
void CallList(GLuint name);

// Counts a refused call and keeps OpenGL's error flag, which glGetError reads.
void Refuse(long ProblemCounts::*kind, GLenum error);
// Counts the non-finite values among count floats; true when all are finite.
bool CountNonFinite(const float* values, int count);
bool CountNonFinite(const double* values, int count);
template <typename Number>
inline bool CheckFinite(const Number* values, int count) {
    // x - x is 0 for every finite x and NaN otherwise: one test for all.
    Number sum = 0;
    for (int i = 0; i < count; ++i) sum += values[i] - values[i];
    return sum == 0 ? true : CountNonFinite(values, count);
}

// Applies the settings ops (kLight to kViewport).
void ApplySetting(State& state, const Command& command);

// Appends a call to the log; Log() first asks whether the log is on.
void LogCall(const char* name, std::initializer_list<double> args, const void* pointer, bool kept);
void LogArray(const char* name, std::initializer_list<double> head, const float* values, int count);
inline void Log(const char* name, std::initializer_list<double> args = {}, const void* pointer = nullptr) {
    if (TheState().logging) LogCall(name, args, pointer, true);
}
// A call that never goes into a display list: it takes effect at once.
inline void LogImmediate(const char* name, std::initializer_list<double> args = {}, const void* pointer = nullptr) {
    if (TheState().logging) LogCall(name, args, pointer, false);
}

// Primitive assembly.
void StartPrimitive();
void AddVertex(float x, float y, float z);
void FinishPrimitive();
void DrawSphere(double radius, int slices, int stacks);
std::uint32_t CurrentSurface();

}  // namespace capture
