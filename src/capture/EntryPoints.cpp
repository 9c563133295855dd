// The OpenGL and GLUT entry points, with the signatures of their headers.
// Each one checks its numbers and hands a command to the capture state.

#include <GL/gl.h>
#include <GL/glut.h>

#include "capture/CaptureState.h"

using capture::CheckFinite;
using capture::Command;
using capture::Issue;
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

void otherArray(const GLfloat* values, int count) {
    CheckFinite(values, count);
    Issue(command(Op::kOther));
}

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
void glBegin(GLenum mode) { Issue(command(Op::kBegin, mode)); }
void glEnd() { Issue(command(Op::kEnd)); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Issue(withFloats(command(Op::kVertex), {x, y, z})); }
void glVertex3fv(const GLfloat* v) { glVertex3f(v[0], v[1], v[2]); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { Issue(withFloats(command(Op::kNormal), {x, y, z})); }
void glNormal3fv(const GLfloat* v) { glNormal3f(v[0], v[1], v[2]); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Issue(withFloats(command(Op::kColour), {r, g, b, a}));
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { glColor4f(r, g, b, 1.0f); }

// ---- materials, lights, fog ----
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    Command c = command(Op::kMaterial, face, pname);
    const int count = pname == GL_SHININESS ? 1 : 4;
    for (int i = 0; i < count; ++i) c.f[i] = params[i];
    CheckFinite(c.f, count);
    Issue(c);
}
void glMaterialf(GLenum face, GLenum pname, GLfloat param) {
    Issue(withFloats(command(Op::kMaterial, face, pname), {param}));
}
void glLightfv(GLenum, GLenum pname, const GLfloat* params) { otherArray(params, lightValueCount(pname)); }
void glLightf(GLenum, GLenum, GLfloat param) { other({param}); }
void glLightModelfv(GLenum pname, const GLfloat* params) {
    otherArray(params, pname == GL_LIGHT_MODEL_AMBIENT ? 4 : 1);
}
void glLightModeli(GLenum, GLint) { other(); }
void glFogi(GLenum, GLint) { other(); }
void glFogf(GLenum, GLfloat param) { other({param}); }
void glFogfv(GLenum pname, const GLfloat* params) { otherArray(params, pname == GL_FOG_COLOR ? 4 : 1); }
void glColorMaterial(GLenum face, GLenum mode) { Issue(command(Op::kColourMaterial, face, mode)); }

// ---- state ----
void glEnable(GLenum cap) { Issue(command(Op::kEnable, cap)); }
void glDisable(GLenum cap) { Issue(command(Op::kDisable, cap)); }
void glHint(GLenum, GLenum) { other(); }
void glDepthFunc(GLenum) { other(); }
void glPolygonMode(GLenum, GLenum) { other(); }
void glCullFace(GLenum) { other(); }
void glBlendFunc(GLenum, GLenum) { other(); }
void glShadeModel(GLenum) { other(); }
void glClear(GLbitfield) { other(); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { other({r, g, b, a}); }
void glClearAccum(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { other({r, g, b, a}); }
void glAccum(GLenum, GLfloat value) { other({value}); }
void glViewport(GLint, GLint, GLsizei w, GLsizei h) {
    if (w < 0 || h < 0) Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    other();
}
void glFlush() { outsideBegin(); }
void glFinish() { outsideBegin(); }
GLenum glGetError() {
    GLenum error = TheState().error;
    TheState().error = GL_NO_ERROR;
    return error;
}

// ---- matrices ----
void glMatrixMode(GLenum mode) { Issue(command(Op::kMatrixMode, mode)); }
void glLoadIdentity() { Issue(command(Op::kLoadIdentity)); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    const double values[6] = {l, r, b, t, n, f};
    CheckFinite(values, 6);
    if (l == r || b == t || n == f) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    multiply(capture::Ortho(l, r, b, t, n, f));
}
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    const double values[6] = {l, r, b, t, n, f};
    CheckFinite(values, 6);
    if (n <= 0.0 || f <= 0.0 || l == r || b == t || n == f)
        return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    multiply(capture::Frustum(l, r, b, t, n, f));
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Issue(withFloats(command(Op::kTranslate), {x, y, z})); }
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    Issue(withFloats(command(Op::kRotate), {angle, x, y, z}));
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) { Issue(withFloats(command(Op::kScale), {x, y, z})); }
void glMultMatrixf(const GLfloat* m) {
    capture::Matrix4 matrix;
    for (int i = 0; i < 16; ++i) matrix.m[i] = m[i];
    multiply(matrix);
}
void glPushMatrix() { Issue(command(Op::kPush)); }
void glPopMatrix() { Issue(command(Op::kPop)); }

// ---- display lists ----
GLuint glGenLists(GLsizei range) {
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
    capture::State& s = TheState();
    if (!outsideBegin()) return;
    if (s.compiling == 0) return Refuse(&ProblemCounts::endListWithoutList, GL_INVALID_OPERATION);
    s.lists[s.compiling] = std::move(s.compiled);
    s.compiled = capture::List();
    s.compiling = 0;
}
void glCallList(GLuint list) { Issue(command(Op::kCallList, list)); }
GLboolean glIsList(GLuint list) {
    if (!outsideBegin()) return GL_FALSE;
    return TheState().lists.count(list) != 0 ? GL_TRUE : GL_FALSE;
}
void glDeleteLists(GLuint list, GLsizei range) {
    if (!outsideBegin()) return;
    if (range < 0) return Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    for (GLsizei i = 0; i < range; ++i) TheState().lists.erase(list + static_cast<GLuint>(i));
}

// ---- GLUT: no window; the sphere is drawn like any other geometry ----
void glutInit(int*, char**) {}
void glutInitWindowSize(int, int) {}
void glutInitDisplayMode(unsigned int) {}
int glutCreateWindow(const char*) { return 1; }
void glutMainLoop() {}
void glutDisplayFunc(void (*)()) {}
void glutReshapeFunc(void (*)(int, int)) {}
void glutIdleFunc(void (*)()) {}
void glutVisibilityFunc(void (*)(int)) {}
void glutKeyboardFunc(void (*)(unsigned char, int, int)) {}
void glutSpecialFunc(void (*)(int, int, int)) {}
void glutMouseFunc(void (*)(int, int, int, int)) {}
void glutMotionFunc(void (*)(int, int)) {}
void glutPostRedisplay() {}
void glutTimerFunc(unsigned int, void (*)(int), int) {}
void glutSwapBuffers() {}
void glutReshapeWindow(int, int) {}
void glutSolidSphere(double radius, GLint slices, GLint stacks) {
    CheckFinite(&radius, 1);
    Command c = command(Op::kSphere, static_cast<std::uint32_t>(slices < 0 ? 0 : slices),
                        static_cast<std::uint32_t>(stacks < 0 ? 0 : stacks));
    c.f[0] = static_cast<float>(radius);
    Issue(c);
}

}  // extern "C"
