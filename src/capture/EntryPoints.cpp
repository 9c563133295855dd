// The OpenGL entry points and GLUT's sphere, with the signatures of their
// headers. Each one logs itself when the log is on, checks its numbers and
// hands a command to the capture state.

#include <GL/gl.h>
#include <GL/glut.h>

#include <algorithm>

#include "capture/CaptureState.h"

using capture::CheckFinite;
using capture::Command;
using capture::Issue;
using capture::Log;
using capture::LogArray;
using capture::LogImmediate;
using capture::Op;
using capture::ProblemCounts;
using capture::Refuse;
using capture::TheState;

namespace {

Command command(Op op, std::uint32_t a = 0, std::uint32_t b = 0) {
    Command c;
    c.op = op;
    c.a = a;
    c.b = b;
    return c;
}

Command withFloats(Command c, std::initializer_list<float> values) {
    int i = 0;
    for (float v : values) c.f[i++] = v;
    CheckFinite(c.f, static_cast<int>(values.size()));
    return c;
}

// A call that changes nothing the capture follows, kept for its checks.
void other(std::initializer_list<float> values = {}) {
    float kept[8] = {};
    int i = 0;
    for (float v : values) kept[i++] = v;
    CheckFinite(kept, i);
    Issue(command(Op::kOther));
}

// A setting of up to four numbers from an array.
void issueArray(Command c, const GLfloat* values, int count) {
    std::copy(values, values + count, c.f);
    CheckFinite(c.f, count);
    Issue(c);
}

float clamped(float value, float low, float high) { return value < low ? low : value > high ? high : value; }

int lightValueCount(GLenum pname) {
    switch (pname) {
        case GL_AMBIENT:
        case GL_DIFFUSE:
        case GL_SPECULAR:
        case GL_POSITION: return 4;
        case GL_SPOT_DIRECTION: return 3;
        default: return 1;
    }
}

void multiply(const capture::Matrix4& m) {
    CheckFinite(m.m, 16);
    Issue(command(Op::kMultiply), &m);
}

// The calls that only run, never go into a list, and are refused between
// glBegin and glEnd.
bool outsideBegin() {
    if (!TheState().insideBegin) return true;
    Refuse(&ProblemCounts::notAllowedInsideBegin, GL_INVALID_OPERATION);
    return false;
}

}  // namespace

extern "C" {

// ---- primitives and vertex attributes ----
void glBegin(GLenum mode) {
    Log("glBegin", {double(mode)});
    Issue(command(Op::kBegin, mode));
}
void glEnd() {
    Log("glEnd");
    Issue(command(Op::kEnd));
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    Log("glVertex3f", {x, y, z});
    Issue(withFloats(command(Op::kVertex), {x, y, z}));
}
void glVertex3fv(const GLfloat* v) { glVertex3f(v[0], v[1], v[2]); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    Log("glNormal3f", {x, y, z});
    Issue(withFloats(command(Op::kNormal), {x, y, z}));
}
void glNormal3fv(const GLfloat* v) { glNormal3f(v[0], v[1], v[2]); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Log("glColor4f", {r, g, b, a});
    Issue(withFloats(command(Op::kColour), {r, g, b, a}));
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    Log("glColor3f", {r, g, b});
    Issue(withFloats(command(Op::kColour), {r, g, b, 1.0f}));
}

// ---- materials, lights, fog ----
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    const int count = pname == GL_SHININESS ? 1 : 4;
    LogArray("glMaterialfv", {double(face), double(pname)}, params, count);
    issueArray(command(Op::kMaterial, face, pname), params, count);
}
void glMaterialf(GLenum face, GLenum pname, GLfloat param) {
    Log("glMaterialf", {double(face), double(pname), param});
    Issue(withFloats(command(Op::kMaterial, face, pname), {param}));
}
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    const int count = lightValueCount(pname);
    LogArray("glLightfv", {double(light), double(pname)}, params, count);
    issueArray(command(Op::kLight, light, pname), params, count);
}
void glLightf(GLenum light, GLenum pname, GLfloat param) {
    Log("glLightf", {double(light), double(pname), param});
    if (lightValueCount(pname) != 1) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
    Issue(withFloats(command(Op::kLight, light, pname), {param}));
}
void glLightModelfv(GLenum pname, const GLfloat* params) {
    const int count = pname == GL_LIGHT_MODEL_AMBIENT ? 4 : 1;
    LogArray("glLightModelfv", {double(pname)}, params, count);
    issueArray(command(Op::kLightModel, pname), params, count);
}
void glLightModeli(GLenum pname, GLint param) {
    Log("glLightModeli", {double(pname), double(param)});
    Issue(withFloats(command(Op::kLightModel, pname), {static_cast<float>(param)}));
}
void glFogi(GLenum pname, GLint param) {
    Log("glFogi", {double(pname), double(param)});
    Issue(withFloats(command(Op::kFog, pname), {static_cast<float>(param)}));
}
void glFogf(GLenum pname, GLfloat param) {
    Log("glFogf", {double(pname), param});
    Issue(withFloats(command(Op::kFog, pname), {param}));
}
void glFogfv(GLenum pname, const GLfloat* params) {
    const int count = pname == GL_FOG_COLOR ? 4 : 1;
    LogArray("glFogfv", {double(pname)}, params, count);
    issueArray(command(Op::kFog, pname), params, count);
}
void glColorMaterial(GLenum face, GLenum mode) {
    Log("glColorMaterial", {double(face), double(mode)});
    Issue(command(Op::kColourMaterial, face, mode));
}

// ---- state ----
void glEnable(GLenum cap) {
    Log("glEnable", {double(cap)});
    Issue(command(Op::kEnable, cap));
}
void glDisable(GLenum cap) {
    Log("glDisable", {double(cap)});
    Issue(command(Op::kDisable, cap));
}
void glHint(GLenum target, GLenum mode) {
    Log("glHint", {double(target), double(mode)});
    Issue(command(Op::kHint, target, mode));
}
void glDepthFunc(GLenum func) {
    Log("glDepthFunc", {double(func)});
    Issue(command(Op::kDepthFunc, func));
}
void glPolygonMode(GLenum face, GLenum mode) {
    Log("glPolygonMode", {double(face), double(mode)});
    Issue(command(Op::kPolygonMode, face, mode));
}
void glCullFace(GLenum mode) {
    Log("glCullFace", {double(mode)});
    Issue(command(Op::kCullFace, mode));
}
void glBlendFunc(GLenum source, GLenum destination) {
    Log("glBlendFunc", {double(source), double(destination)});
    Issue(command(Op::kBlendFunc, source, destination));
}
void glShadeModel(GLenum mode) {
    Log("glShadeModel", {double(mode)});
    Issue(command(Op::kShadeModel, mode));
}
void glClear(GLbitfield mask) {
    Log("glClear", {double(mask)});
    other();
}
// OpenGL clamps the clear values: colours to [0, 1], the accumulation buffer's to [-1, 1].
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    Log("glClearColor", {r, g, b, a});
    Issue(withFloats(command(Op::kClearColour),
                     {clamped(r, 0, 1), clamped(g, 0, 1), clamped(b, 0, 1), clamped(a, 0, 1)}));
}
void glClearAccum(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Log("glClearAccum", {r, g, b, a});
    Issue(withFloats(command(Op::kClearAccum),
                     {clamped(r, -1, 1), clamped(g, -1, 1), clamped(b, -1, 1), clamped(a, -1, 1)}));
}
void glAccum(GLenum op, GLfloat value) {
    Log("glAccum", {double(op), value});
    other({value});
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    Log("glViewport", {double(x), double(y), double(w), double(h)});
    if (w < 0 || h < 0) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    // Window sizes are far below 2^24, which floats hold exactly.
    Issue(withFloats(command(Op::kViewport),
                     {static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h)}));
}
void glFlush() {
    LogImmediate("glFlush");
    outsideBegin();
}
void glFinish() {
    LogImmediate("glFinish");
    outsideBegin();
}
GLenum glGetError() {
    GLenum error = TheState().error;
    TheState().error = GL_NO_ERROR;
    return error;
}

// ---- matrices ----
void glMatrixMode(GLenum mode) {
    Log("glMatrixMode", {double(mode)});
    Issue(command(Op::kMatrixMode, mode));
}
void glLoadIdentity() {
    Log("glLoadIdentity");
    Issue(command(Op::kLoadIdentity));
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    Log("glOrtho", {l, r, b, t, n, f});
    const double values[6] = {l, r, b, t, n, f};
    CheckFinite(values, 6);
    if (l == r || b == t || n == f) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    multiply(capture::Ortho(l, r, b, t, n, f));
}
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    Log("glFrustum", {l, r, b, t, n, f});
    const double values[6] = {l, r, b, t, n, f};
    CheckFinite(values, 6);
    if (n <= 0.0 || f <= 0.0 || l == r || b == t || n == f)
        return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    multiply(capture::Frustum(l, r, b, t, n, f));
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    Log("glTranslatef", {x, y, z});
    Issue(withFloats(command(Op::kTranslate), {x, y, z}));
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    Log("glRotatef", {angle, x, y, z});
    Issue(withFloats(command(Op::kRotate), {angle, x, y, z}));
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    Log("glScalef", {x, y, z});
    Issue(withFloats(command(Op::kScale), {x, y, z}));
}
void glMultMatrixf(const GLfloat* m) {
    LogArray("glMultMatrixf", {}, m, 16);
    capture::Matrix4 matrix;
    for (int i = 0; i < 16; ++i) matrix.m[i] = m[i];
    multiply(matrix);
}
void glPushMatrix() {
    Log("glPushMatrix");
    Issue(command(Op::kPush));
}
void glPopMatrix() {
    Log("glPopMatrix");
    Issue(command(Op::kPop));
}

// ---- display lists: only glCallList goes into a list ----
GLuint glGenLists(GLsizei range) {
    LogImmediate("glGenLists", {double(range)});
    if (!outsideBegin()) return 0;
    if (range < 0) {
        Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0) return 0;
    capture::State& s = TheState();
    const GLuint first = s.nextListName;
    s.nextListName += static_cast<GLuint>(range);
    for (GLsizei i = 0; i < range; ++i) s.lists[first + static_cast<GLuint>(i)];
    return first;
}
void glNewList(GLuint list, GLenum mode) {
    LogImmediate("glNewList", {double(list), double(mode)});
    capture::State& s = TheState();
    if (!outsideBegin()) return;
    if (s.compiling != 0) return Refuse(&ProblemCounts::newListInsideList, GL_INVALID_OPERATION);
    if (list == 0 || (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE))
        return Refuse(&ProblemCounts::invalidValue, list == 0 ? GL_INVALID_VALUE : GL_INVALID_ENUM);
    s.compiling = list;
    s.compileMode = mode;
    s.compiled = capture::List();
}
void glEndList() {
    LogImmediate("glEndList");
    capture::State& s = TheState();
    if (!outsideBegin()) return;
    if (s.compiling == 0) return Refuse(&ProblemCounts::endListWithoutList, GL_INVALID_OPERATION);
    s.lists[s.compiling] = std::move(s.compiled);
    s.compiled = capture::List();
    s.compiling = 0;
}
void glCallList(GLuint list) {
    Log("glCallList", {double(list)});
    Issue(command(Op::kCallList, list));
}
GLboolean glIsList(GLuint list) {
    LogImmediate("glIsList", {double(list)});
    if (!outsideBegin()) return GL_FALSE;
    return TheState().lists.count(list) != 0 ? GL_TRUE : GL_FALSE;
}
void glDeleteLists(GLuint list, GLsizei range) {
    LogImmediate("glDeleteLists", {double(list), double(range)});
    if (!outsideBegin()) return;
    if (range < 0) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    for (GLsizei i = 0; i < range; ++i) TheState().lists.erase(list + static_cast<GLuint>(i));
}

// GLUT's sphere is drawn like any other geometry, and may go into a list.
void glutSolidSphere(double radius, GLint slices, GLint stacks) {
    Log("glutSolidSphere", {radius, double(slices), double(stacks)});
    CheckFinite(&radius, 1);
    Command c = command(Op::kSphere, static_cast<std::uint32_t>(slices < 0 ? 0 : slices),
                        static_cast<std::uint32_t>(stacks < 0 ? 0 : stacks));
    c.f[0] = static_cast<float>(radius);
    Issue(c);
}

}  // extern "C"
