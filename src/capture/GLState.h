#pragma once

// The GL and GLUT state the capture layer keeps beside its triangles: what a
// program set (capabilities, lights, fog, clear values, viewport, matrices)
// and what it asked of the window toolkit, as a real GL would hold them at
// this moment. Values a real GL refuses leave the state as it was.

#include <GL/gl.h>

#include <map>
#include <set>
#include <string>

namespace capture {

// One light as OpenGL keeps it; the defaults are OpenGL's for lights 1 to 7
// (light 0 starts with a white diffuse and specular term).
struct LightSettings {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    // In eye coordinates: OpenGL takes the position through the model-view
    // matrix of the glLightfv call, and the spot direction through its upper
    // 3x3, so that they stay where they were put while the matrix changes.
    float position[4] = {0, 0, 1, 0};
    float spotDirection[3] = {0, 0, -1};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float attenuation[3] = {1, 0, 0};  // constant, linear, quadratic
};

struct FogSettings {
    GLenum mode = GL_EXP;
    float density = 1.0f;
    float start = 0.0f;
    float end = 1.0f;
    float colour[4] = {0, 0, 0, 0};
};

struct GLState {
    std::set<GLenum> enabled = {GL_DITHER};
    bool IsEnabled(GLenum capability) const { return enabled.count(capability) != 0; }

    LightSettings lights[8];
    float lightModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    bool localViewer = false;
    bool twoSide = false;
    FogSettings fog;
    std::map<GLenum, GLenum> hints;  // by target; a target never set is GL_DONT_CARE
    GLenum Hint(GLenum target) const;

    float clearColour[4] = {0, 0, 0, 0};
    float clearAccum[4] = {0, 0, 0, 0};
    int viewport[4] = {0, 0, 0, 0};  // x, y, width, height; zero until glViewport
    GLenum depthFunc = GL_LESS;
    GLenum cullFace = GL_BACK;
    GLenum polygonMode[2] = {GL_FILL, GL_FILL};  // front, back
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    GLenum shadeModel = GL_SMOOTH;
    GLenum colourMaterialFace = GL_FRONT_AND_BACK;
    GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;

    // The tops of the stacks, column-major, and the current attributes.
    GLenum matrixMode = GL_MODELVIEW;
    float modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float colour[4] = {1, 1, 1, 1};
    float normal[3] = {0, 0, 1};

    GLState();
};

// The state as it stands now.
GLState Current();

// What was asked of GLUT: the callbacks as last registered (null when none
// or removed), the window, and the requests that have no state of their own.
struct GlutState {
    void (*display)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*idle)() = nullptr;
    void (*visibility)(int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
    int windowWidth = 300;  // GLUT's initial size, then glutInitWindowSize or glutReshapeWindow
    int windowHeight = 300;
    unsigned displayMode = 0;
    std::string title;  // empty until glutCreateWindow
    long redisplays = 0;  // glutPostRedisplay requests
    long swaps = 0;
};

const GlutState& Glut();

}  // namespace capture
