// The settings a program makes through GL that draw nothing themselves:
// lights, light model, fog, hints and the fixed state, kept as OpenGL keeps
// them, with OpenGL's checks of their values.

#include <algorithm>

#include "capture/CaptureState.h"

namespace capture {
namespace {

void copy(float* to, const float* from, int count) { std::copy(from, from + count, to); }

bool refuseValue() {
    Refuse(&ProblemCounts::invalidValue, GL_INVALID_VALUE);
    return false;
}

bool refuseEnum() {
    Refuse(&ProblemCounts::invalidValue, GL_INVALID_ENUM);
    return false;
}

// Position and spot direction are stored as the model-view matrix of the
// call makes them: the point through the whole matrix, the direction
// through its upper 3x3.
void placeLight(const State& s, LightSettings& light, GLenum pname, const float* v) {
    const float* m = s.stacks[0].back().m;
    if (pname == GL_POSITION) {
        for (int row = 0; row < 4; ++row)
            light.position[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    } else {
        for (int row = 0; row < 3; ++row)
            light.spotDirection[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2];
    }
}

bool setLightNumber(LightSettings& light, GLenum pname, float value) {
    switch (pname) {
        case GL_SPOT_EXPONENT:
            if (value < 0.0f || value > 128.0f) return refuseValue();
            light.spotExponent = value;
            return true;
        case GL_SPOT_CUTOFF:
            if ((value < 0.0f || value > 90.0f) && value != 180.0f) return refuseValue();
            light.spotCutoff = value;
            return true;
        case GL_CONSTANT_ATTENUATION:
        case GL_LINEAR_ATTENUATION:
        case GL_QUADRATIC_ATTENUATION:
            if (value < 0.0f) return refuseValue();
            light.attenuation[pname - GL_CONSTANT_ATTENUATION] = value;
            return true;
        default: return refuseEnum();
    }
}

void setLight(State& s, const Command& c) {
    if (c.a < GL_LIGHT0 || c.a > GL_LIGHT7) return static_cast<void>(refuseEnum());
    LightSettings& light = s.settings.lights[c.a - GL_LIGHT0];
    switch (c.b) {
        case GL_AMBIENT: copy(light.ambient, c.f, 4); break;
        case GL_DIFFUSE: copy(light.diffuse, c.f, 4); break;
        case GL_SPECULAR: copy(light.specular, c.f, 4); break;
        case GL_POSITION:
        case GL_SPOT_DIRECTION: placeLight(s, light, c.b, c.f); break;
        default: setLightNumber(light, c.b, c.f[0]); break;
    }
}

void setLightModel(State& s, const Command& c) {
    switch (c.a) {
        case GL_LIGHT_MODEL_AMBIENT: copy(s.settings.lightModelAmbient, c.f, 4); break;
        case GL_LIGHT_MODEL_LOCAL_VIEWER: s.settings.localViewer = c.f[0] != 0.0f; break;
        case GL_LIGHT_MODEL_TWO_SIDE: s.settings.twoSide = c.f[0] != 0.0f; break;
        default: refuseEnum(); break;
    }
}

void setFog(State& s, const Command& c) {
    FogSettings& fog = s.settings.fog;
    switch (c.a) {
        case GL_FOG_MODE: {
            const GLenum mode = static_cast<GLenum>(c.f[0]);
            if (mode != GL_LINEAR && mode != GL_EXP && mode != GL_EXP2) return static_cast<void>(refuseEnum());
            fog.mode = mode;
            break;
        }
        case GL_FOG_DENSITY:
            if (c.f[0] < 0.0f) return static_cast<void>(refuseValue());
            fog.density = c.f[0];
            break;
        case GL_FOG_START: fog.start = c.f[0]; break;
        case GL_FOG_END: fog.end = c.f[0]; break;
        case GL_FOG_COLOR: copy(fog.colour, c.f, 4); break;
        default: refuseEnum(); break;
    }
}

void setPolygonMode(State& s, GLenum face, GLenum mode) {
    if (mode != GL_POINT && mode != GL_LINE && mode != GL_FILL) return static_cast<void>(refuseEnum());
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) return static_cast<void>(refuseEnum());
    if (face != GL_BACK) s.settings.polygonMode[0] = mode;
    if (face != GL_FRONT) s.settings.polygonMode[1] = mode;
}

void setViewport(State& s, const float* v) {
    for (int i = 0; i < 4; ++i) s.settings.viewport[i] = static_cast<int>(v[i]);
}

}  // namespace

void ApplySetting(State& s, const Command& c) {
    GLState& g = s.settings;
    switch (c.op) {
        case Op::kLight: setLight(s, c); break;
        case Op::kLightModel: setLightModel(s, c); break;
        case Op::kFog: setFog(s, c); break;
        case Op::kHint: g.hints[c.a] = c.b; break;
        case Op::kDepthFunc: g.depthFunc = c.a; break;
        case Op::kCullFace: g.cullFace = c.a; break;
        case Op::kPolygonMode: setPolygonMode(s, c.a, c.b); break;
        case Op::kBlendFunc:
            g.blendSource = c.a;
            g.blendDestination = c.b;
            break;
        case Op::kShadeModel: g.shadeModel = c.a; break;
        case Op::kClearColour: copy(g.clearColour, c.f, 4); break;
        case Op::kClearAccum: copy(g.clearAccum, c.f, 4); break;
        case Op::kViewport: setViewport(s, c.f); break;
        default: break;
    }
}

GLState::GLState() {
    const float white[4] = {1, 1, 1, 1};
    copy(lights[0].diffuse, white, 4);
    copy(lights[0].specular, white, 4);
}

GLenum GLState::Hint(GLenum target) const {
    auto found = hints.find(target);
    return found == hints.end() ? static_cast<GLenum>(GL_DONT_CARE) : found->second;
}

GLState Current() {
    const State& s = TheState();
    GLState now = s.settings;
    now.colourMaterialFace = s.colourMaterialFace;
    now.colourMaterialMode = s.front.colourMaterialMode;
    const GLenum modes[3] = {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE};
    now.matrixMode = modes[s.matrixMode];
    copy(now.modelview, s.stacks[0].back().m, 16);
    copy(now.projection, s.stacks[1].back().m, 16);
    copy(now.colour, s.colour, 4);
    copy(now.normal, s.normal, 3);
    return now;
}

const GlutState& Glut() { return TheState().glut; }

}  // namespace capture
