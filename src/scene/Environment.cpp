#include "scene/Environment.h"

#include <sstream>

#include "scene/DataLine.h"

namespace {
std::istringstream nextLine(std::istream& in) { return std::istringstream(readSignificantLine(in)); }

int readFloats(std::istringstream& line, std::initializer_list<float*> values) {
    int failures = 0;
    for (float* value : values) failures += readValue(line, *value);
    return failures;
}

void colorArray(const Color& c, GLfloat out[4]) {
    out[0] = c.red;
    out[1] = c.green;
    out[2] = c.blue;
    out[3] = c.alpha;
}
}  // namespace

int LightModel::Read(std::istream& in) {
    int failures = readColor(ambient, in);
    std::istringstream line = nextLine(in);
    failures += readValue(line, localViewer);
    failures += readValue(line, twoSide);
    return failures;
}

int Projection::Read(std::istream& in) {
    std::istringstream line = nextLine(in);
    int failures = readValue(line, type);
    return failures + readFloats(line, {&width, &height, &near, &far});
}

int Fog::Read(std::istream& in) {
    std::istringstream line = nextLine(in);
    int failures = readValue(line, mode);
    failures += readFloats(line, {&density, &start, &end});
    return failures + readColor(color, in);
}

int Light::Read(std::istream& in) {
    int failures = readColor(ambient, in) + readColor(diffuse, in) + readColor(specular, in);
    std::istringstream positionLine = nextLine(in);
    failures += readFloats(positionLine, {&position.x, &position.y, &position.z, &positionW});
    std::istringstream directionLine = nextLine(in);
    failures += readFloats(directionLine, {&spotDirection.x, &spotDirection.y, &spotDirection.z});
    std::istringstream spotLine = nextLine(in);
    failures += readFloats(spotLine, {&spotExponent, &spotCutoff, &constantAttenuation, &linearAttenuation,
                                      &quadraticAttenuation});
    if (failures == 0) spotDirection.Normalize();
    return failures;
}

Environment::Environment() {
    for (int k = 0; k < kLightCount; ++k) lights[k].lightId = GL_LIGHT0 + k;
}

int Environment::Read(std::istream& in) {
    int failures = readColor(clearColor, in);
    failures += lightModel.Read(in);
    failures += projection.Read(in);
    failures += fog.Read(in);

    for (Light& light : lights) light.enabled = 0;
    int previousFailures = 0;
    for (int k = 0; k < kLightCount && !in.eof() && previousFailures == 0; ++k) {
        previousFailures = lights[k].Read(in);
        // A light whose lines all parsed counts even when the file ends right
        // after its last line without a line end.
        if (!in.eof() || previousFailures == 0) lights[k].enabled = 1;
    }
    if (!lights[0].enabled) return 1;
    return failures;
}

void Environment::ApplyClearColors() const {
    glClearColor(clearColor.red, clearColor.green, clearColor.blue, clearColor.alpha);
    glClearAccum(0.0f, 0.0f, 0.0f, 0.0f);
}

void Light::Apply() const {
    GLfloat values[4];
    colorArray(ambient, values);
    glLightfv(lightId, GL_AMBIENT, values);
    colorArray(diffuse, values);
    glLightfv(lightId, GL_DIFFUSE, values);
    colorArray(specular, values);
    glLightfv(lightId, GL_SPECULAR, values);
    const GLfloat positionValues[4] = {position.x, position.y, position.z, positionW};
    glLightfv(lightId, GL_POSITION, positionValues);
    const GLfloat direction[3] = {spotDirection.x, spotDirection.y, spotDirection.z};
    glLightfv(lightId, GL_SPOT_DIRECTION, direction);
    glLightf(lightId, GL_SPOT_EXPONENT, spotExponent);
    glLightf(lightId, GL_SPOT_CUTOFF, spotCutoff);
    glLightf(lightId, GL_CONSTANT_ATTENUATION, constantAttenuation);
    glLightf(lightId, GL_LINEAR_ATTENUATION, linearAttenuation);
    glLightf(lightId, GL_QUADRATIC_ATTENUATION, quadraticAttenuation);
    glEnable(lightId);
}

void Fog::Apply() const {
    glEnable(GL_FOG);
    switch (mode) {
        case 1: glFogi(GL_FOG_MODE, GL_LINEAR); break;
        case 2: glFogi(GL_FOG_MODE, GL_EXP); break;
        case 3: glFogi(GL_FOG_MODE, GL_EXP2); break;
        default: glDisable(GL_FOG); return;
    }
    glFogf(GL_FOG_DENSITY, density);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    GLfloat values[4];
    colorArray(color, values);
    glFogfv(GL_FOG_COLOR, values);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
}

void Environment::ApplyLighting() const {
    glDisable(GL_LIGHTING);
    for (int k = 0; k < kLightCount; ++k) glDisable(GL_LIGHT0 + k);
    GLfloat ambient[4];
    colorArray(lightModel.ambient, ambient);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, lightModel.localViewer != 0 ? 1 : 0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, lightModel.twoSide != 0 ? 1 : 0);
    glEnable(GL_LIGHTING);
    for (const Light& light : lights) {
        if (light.enabled != 0) light.Apply();
    }
    fog.Apply();
}

void Environment::SetViewport(int x, int y, int w, int h) {
    glViewport(x, y, w, h);
    projection.width = static_cast<float>(w);
    projection.height = static_cast<float>(h);
}

void Projection::Apply() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double w = width, h = height;
    if (type == 0) {
        glOrtho(-0.5 * w, 0.5 * w, -0.5 * h, 0.5 * h, near, far);
    } else if (type == 1 && !IsNearZero(0.5f * (near + far))) {
        // (A near plane opposite the far one would put the middle depth at the
        // eye and divide by zero; such a file gets no volume, like an unknown type.)
        const float ratio = near / (0.5f * (near + far));
        glFrustum(-0.5 * ratio * w, 0.5 * ratio * w, -0.5 * ratio * h, 0.5 * ratio * h, near, far);
    }
    glTranslatef(-0.5f * width, -0.5f * height, -near);
    glMatrixMode(GL_MODELVIEW);
}
