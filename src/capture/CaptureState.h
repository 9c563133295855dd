#pragma once

// The inner state of the capture layer, shared by its entry points, its
// display lists and its primitive assembly.

#include <GL/gl.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "capture/Capture.h"
#include "capture/Matrix.h"

namespace capture {

// A call as a display list keeps it. Calls that change nothing the capture
// follows are kept as kOther, for the checks made when they run.
enum class Op : std::uint8_t {
    kBegin, kEnd, kVertex, kNormal, kColour, kMaterial, kEnable, kDisable, kColourMaterial,
    kMatrixMode, kLoadIdentity, kMultiply, kTranslate, kRotate, kScale, kPush, kPop,
    kCallList, kSphere, kOther,
};

struct Command {
    Op op;
    std::uint32_t a = 0, b = 0;  // enums, names, counts; for kMultiply the index of its matrix
    float f[4] = {0, 0, 0, 0};
};

struct List {
    std::vector<Command> commands;
    std::vector<Matrix4> matrices;  // the operands of the list's kMultiply commands
};

struct PendingVertex {
    Vertex vertex;
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
    std::vector<PendingVertex> pending;

    std::vector<GLuint> calling;  // lists being replayed, outermost first
    std::vector<Triangle> triangles;
    ProblemCounts problems;
    GLenum error = GL_NO_ERROR;
};

State& TheState();

// Runs one call: at once when no list is compiled, else into the list
// (and at once too under GL_COMPILE_AND_EXECUTE).
void Issue(const Command& command, const Matrix4* matrix = nullptr);
void Execute(const Command& command, const Matrix4* matrix);
void CallList(GLuint name);

// Counts a refused call and keeps OpenGL's error flag, which glGetError reads.
void Refuse(long ProblemCounts::*kind, GLenum error);
// Counts the non-finite values among count floats; true when all are finite.
bool CheckFinite(const float* values, int count);
bool CheckFinite(const double* values, int count);

// Primitive assembly.
void AddVertex(float x, float y, float z);
void FinishPrimitive();
void DrawSphere(double radius, int slices, int stacks);
std::uint32_t CurrentSurface();

}  // namespace capture
