#include "RecordingGL.h"

#include <GL/gl.h>
#include <GL/glut.h>

#include <initializer_list>
#include <map>

namespace gl_record {
namespace {

struct State {
    std::vector<Call> calls;
    std::map<unsigned, std::vector<Call>> lists;
    unsigned nextListName = 1;
    unsigned compiling = 0;
    GLenum compileMode = GL_COMPILE;
    int openPrimitives = 0;
    int errors = 0;
    int matrixDepth[3] = {0, 0, 0};
    GLenum matrixMode = GL_MODELVIEW;
    Callbacks callbacks;
};

// Never destroyed: global records of the program release their lists in
// their destructors at exit, after function-local statics would be gone.
State& state() {
    static State* s = new State;
    return *s;
}

void replay(unsigned list, int depth);

int matrixIndex(GLenum mode) { return mode == GL_PROJECTION ? 1 : mode == GL_TEXTURE ? 2 : 0; }

// Keeps the state a real GL would check when a call takes effect: open
// primitives and matrix stack depths.
void applyEffect(const Call& call) {
    State& s = state();
    if (call.name == "glBegin" && s.openPrimitives++ != 0) ++s.errors;
    if (call.name == "glEnd" && --s.openPrimitives < 0) {
        ++s.errors;
        s.openPrimitives = 0;
    }
    if (call.name == "glMatrixMode") s.matrixMode = static_cast<GLenum>(call.args[0]);
    if (call.name == "glPushMatrix") ++s.matrixDepth[matrixIndex(s.matrixMode)];
    if (call.name == "glPopMatrix" && --s.matrixDepth[matrixIndex(s.matrixMode)] < 0) {
        ++s.errors;
        s.matrixDepth[matrixIndex(s.matrixMode)] = 0;
    }
}

// Records a call that a display list would capture.
void record(const char* name, std::initializer_list<double> args, const void* pointer = nullptr) {
    State& s = state();
    Call call{name, std::vector<double>(args), pointer, s.compiling, 0};
    s.calls.push_back(call);
    if (s.compiling == 0) {
        applyEffect(call);
    } else {
        s.lists[s.compiling].push_back(call);
        if (s.compileMode == GL_COMPILE_AND_EXECUTE) {
            call.compiling = 0;
            s.calls.push_back(call);
            applyEffect(call);
        }
    }
}

// Records a call that takes effect at once even while a list is compiled.
void recordImmediate(const char* name, std::initializer_list<double> args, const void* pointer = nullptr) {
    state().calls.push_back(Call{name, std::vector<double>(args), pointer, 0, 0});
}

void recordArray(const char* name, std::initializer_list<double> head, const GLfloat* values, int count) {
    std::vector<double> args(head);
    for (int i = 0; i < count; ++i) args.push_back(values[i]);
    State& s = state();
    Call call{name, args, values, s.compiling, 0};
    s.calls.push_back(call);
    if (s.compiling != 0) s.lists[s.compiling].push_back(call);
    else applyEffect(call);
}

int componentCount(GLenum pname) {
    switch (pname) {
        case GL_SPOT_DIRECTION: return 3;
        case GL_SHININESS:
        case GL_SPOT_EXPONENT:
        case GL_SPOT_CUTOFF:
        case GL_CONSTANT_ATTENUATION:
        case GL_LINEAR_ATTENUATION:
        case GL_QUADRATIC_ATTENUATION:
        case GL_FOG_DENSITY:
        case GL_FOG_START:
        case GL_FOG_END:
        case GL_FOG_MODE: return 1;
        default: return 4;
    }
}

void replay(unsigned list, int depth) {
    State& s = state();
    auto found = s.lists.find(list);
    if (found == s.lists.end()) return;
    const std::vector<Call> contents = found->second;
    for (Call call : contents) {
        call.compiling = 0;
        call.replayDepth = depth;
        s.calls.push_back(call);
        applyEffect(call);
        if (call.name == "glCallList") replay(static_cast<unsigned>(call.args[0]), depth + 1);
    }
}

}  // namespace

void Reset() { state() = State(); }

const std::vector<Call>& Calls() { return state().calls; }

std::vector<Call> Effective() {
    std::vector<Call> out;
    for (const Call& call : state().calls)
        if (call.IsEffective()) out.push_back(call);
    return out;
}

std::vector<Call> EffectiveNamed(const std::string& name) {
    std::vector<Call> out;
    for (const Call& call : state().calls)
        if (call.IsEffective() && call.name == name) out.push_back(call);
    return out;
}

std::vector<Call> ListContents(unsigned list) {
    auto found = state().lists.find(list);
    return found == state().lists.end() ? std::vector<Call>() : found->second;
}

int Errors() { return state().errors; }
int OpenPrimitives() { return state().openPrimitives; }
int ListCount() { return static_cast<int>(state().lists.size()); }
const Callbacks& RegisteredCallbacks() { return state().callbacks; }

}  // namespace gl_record

using gl_record::record;
using gl_record::recordArray;
using gl_record::recordImmediate;
using gl_record::state;

extern "C" {

// ---- primitives and vertex attributes ----
void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
void glEnd() { record("glEnd", {}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record("glVertex3f", {x, y, z}); }
void glVertex3fv(const GLfloat* v) { record("glVertex3f", {v[0], v[1], v[2]}); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { record("glNormal3f", {x, y, z}); }
void glNormal3fv(const GLfloat* v) { record("glNormal3f", {v[0], v[1], v[2]}); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record("glColor4f", {r, g, b, a}); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { record("glColor3f", {r, g, b}); }

// ---- materials, lights, fog ----
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    recordArray("glMaterialfv", {double(face), double(pname)}, params, gl_record::componentCount(pname));
}
void glMaterialf(GLenum face, GLenum pname, GLfloat param) { record("glMaterialf", {double(face), double(pname), param}); }
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    recordArray("glLightfv", {double(light), double(pname)}, params, gl_record::componentCount(pname));
}
void glLightf(GLenum light, GLenum pname, GLfloat param) { record("glLightf", {double(light), double(pname), param}); }
void glLightModelfv(GLenum pname, const GLfloat* params) {
    recordArray("glLightModelfv", {double(pname)}, params, 4);
}
void glLightModeli(GLenum pname, GLint param) { record("glLightModeli", {double(pname), double(param)}); }
void glFogi(GLenum pname, GLint param) { record("glFogi", {double(pname), double(param)}); }
void glFogf(GLenum pname, GLfloat param) { record("glFogf", {double(pname), param}); }
void glFogfv(GLenum pname, const GLfloat* params) { recordArray("glFogfv", {double(pname)}, params, 4); }
void glColorMaterial(GLenum face, GLenum mode) { record("glColorMaterial", {double(face), double(mode)}); }

// ---- state ----
void glEnable(GLenum cap) { record("glEnable", {double(cap)}); }
void glDisable(GLenum cap) { record("glDisable", {double(cap)}); }
void glHint(GLenum target, GLenum mode) { record("glHint", {double(target), double(mode)}); }
void glDepthFunc(GLenum func) { record("glDepthFunc", {double(func)}); }
void glPolygonMode(GLenum face, GLenum mode) { record("glPolygonMode", {double(face), double(mode)}); }
void glCullFace(GLenum mode) { record("glCullFace", {double(mode)}); }
void glBlendFunc(GLenum s, GLenum d) { record("glBlendFunc", {double(s), double(d)}); }
void glShadeModel(GLenum mode) { record("glShadeModel", {double(mode)}); }
void glClear(GLbitfield mask) { record("glClear", {double(mask)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { record("glClearColor", {r, g, b, a}); }
void glClearAccum(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record("glClearAccum", {r, g, b, a}); }
void glAccum(GLenum op, GLfloat value) { record("glAccum", {double(op), value}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { record("glViewport", {double(x), double(y), double(w), double(h)}); }
void glFlush() { recordImmediate("glFlush", {}); }
void glFinish() { recordImmediate("glFinish", {}); }
GLenum glGetError() { return GL_NO_ERROR; }

// ---- matrices ----
void glMatrixMode(GLenum mode) { record("glMatrixMode", {double(mode)}); }
void glLoadIdentity() { record("glLoadIdentity", {}); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { record("glOrtho", {l, r, b, t, n, f}); }
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glFrustum", {l, r, b, t, n, f});
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { record("glTranslatef", {x, y, z}); }
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) { record("glRotatef", {angle, x, y, z}); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { record("glScalef", {x, y, z}); }
void glMultMatrixf(const GLfloat* m) { recordArray("glMultMatrixf", {}, m, 16); }
void glPushMatrix() { record("glPushMatrix", {}); }
void glPopMatrix() { record("glPopMatrix", {}); }

// ---- display lists ----
GLuint glGenLists(GLsizei range) {
    GLuint first = state().nextListName;
    state().nextListName += static_cast<GLuint>(range);
    for (GLsizei i = 0; i < range; ++i) state().lists[first + i];
    recordImmediate("glGenLists", {double(range)});
    return first;
}
void glNewList(GLuint list, GLenum mode) {
    recordImmediate("glNewList", {double(list), double(mode)});
    if (state().compiling != 0 || list == 0) {
        ++state().errors;
        return;
    }
    state().lists[list].clear();
    state().compiling = list;
    state().compileMode = mode;
}
void glEndList() {
    if (state().compiling == 0) ++state().errors;
    state().compiling = 0;
    recordImmediate("glEndList", {});
}
void glCallList(GLuint list) {
    record("glCallList", {double(list)});
    if (state().compiling == 0) gl_record::replay(list, 1);
}
GLboolean glIsList(GLuint list) {
    recordImmediate("glIsList", {double(list)});
    return state().lists.count(list) != 0 ? GL_TRUE : GL_FALSE;
}
void glDeleteLists(GLuint list, GLsizei range) {
    recordImmediate("glDeleteLists", {double(list), double(range)});
    for (GLsizei i = 0; i < range; ++i) state().lists.erase(list + i);
}

// ---- GLUT ----
void glutInit(int*, char**) { recordImmediate("glutInit", {}); }
void glutInitWindowSize(int w, int h) { recordImmediate("glutInitWindowSize", {double(w), double(h)}); }
void glutInitDisplayMode(unsigned int mode) { recordImmediate("glutInitDisplayMode", {double(mode)}); }
int glutCreateWindow(const char* title) {
    recordImmediate("glutCreateWindow", {}, title);
    return 1;
}
void glutMainLoop() { recordImmediate("glutMainLoop", {}); }
void glutDisplayFunc(void (*f)()) {
    state().callbacks.display = f;
    recordImmediate("glutDisplayFunc", {}, reinterpret_cast<const void*>(f));
}
void glutReshapeFunc(void (*f)(int, int)) {
    state().callbacks.reshape = f;
    recordImmediate("glutReshapeFunc", {}, reinterpret_cast<const void*>(f));
}
void glutIdleFunc(void (*f)()) {
    state().callbacks.idle = f;
    recordImmediate("glutIdleFunc", {}, reinterpret_cast<const void*>(f));
}
void glutVisibilityFunc(void (*f)(int)) {
    state().callbacks.visibility = f;
    recordImmediate("glutVisibilityFunc", {}, reinterpret_cast<const void*>(f));
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) {
    state().callbacks.keyboard = f;
    recordImmediate("glutKeyboardFunc", {}, reinterpret_cast<const void*>(f));
}
void glutSpecialFunc(void (*f)(int, int, int)) {
    state().callbacks.special = f;
    recordImmediate("glutSpecialFunc", {}, reinterpret_cast<const void*>(f));
}
void glutMouseFunc(void (*f)(int, int, int, int)) {
    state().callbacks.mouse = f;
    recordImmediate("glutMouseFunc", {}, reinterpret_cast<const void*>(f));
}
void glutMotionFunc(void (*f)(int, int)) {
    state().callbacks.motion = f;
    recordImmediate("glutMotionFunc", {}, reinterpret_cast<const void*>(f));
}
void glutPostRedisplay() { recordImmediate("glutPostRedisplay", {}); }
void glutTimerFunc(unsigned int milliseconds, void (*)(int), int value) {
    recordImmediate("glutTimerFunc", {double(milliseconds), double(value)});
}
void glutSwapBuffers() { recordImmediate("glutSwapBuffers", {}); }
void glutReshapeWindow(int w, int h) { recordImmediate("glutReshapeWindow", {double(w), double(h)}); }
void glutSolidSphere(double radius, GLint slices, GLint stacks) {
    record("glutSolidSphere", {radius, double(slices), double(stacks)});
}

}  // extern "C"
