#include "scene/Environment.h"

#include <sstream>

#include "scene/DataLine.h"
#include "scene/EnvironmentWarnings.h"
#include "scene/FieldLine.h"

namespace {
const char* const kLightModelNames[] = {"local viewer", "two-sided", nullptr};
const char* const kProjectionNames[] = {"type", "width", "height", "near", "far", nullptr};
const char* const kFogNames[] = {"mode", "density", "start", "end", nullptr};
const char* const kPositionNames[] = {"x", "y", "z", "w", nullptr};
const char* const kDirectionNames[] = {"x", "y", "z", nullptr};
const char* const kSpotNames[] = {"spot exponent",      "spot cutoff",           "constant attenuation",
                                  "linear attenuation", "quadratic attenuation", nullptr};

void colorArray(const Color& c, GLfloat out[4]) {
    out[0] = c.red;
    out[1] = c.green;
    out[2] = c.blue;
    out[3] = c.alpha;
}
}  // namespace

int LightModel::Read(std::istream& in, Diagnostics& report) {
    int failures = readColor(ambient, in, report, "ambient light");
    FieldLine line(in, report, "light model", kLightModelNames);
    return failures + line.Read(localViewer, twoSide);
}

int Projection::Read(std::istream& in, Diagnostics& report) {
    FieldLine line(in, report, "projection", kProjectionNames);
    const int failures = line.Read(type, width, height, near, far);
    if (line.Reporting() && failures == 0) WarnAboutProjection(*this, line);
    return failures;
}

int Fog::Read(std::istream& in, Diagnostics& report) {
    int failures = 0;
    {
        FieldLine line(in, report, "fog", kFogNames);
        failures = line.Read(mode, density, start, end);
        if (line.Reporting() && failures == 0) WarnAboutFog(*this, line);
    }
    return failures + readColor(color, in, report, "fog colour");
}

int Light::Read(std::istream& in, Diagnostics& report) {
    const unsigned index = lightId - GL_LIGHT0;
    int failures = readColor(ambient, in, report, FieldName(report, "light ", index, " ambient")) +
                   readColor(diffuse, in, report, FieldName(report, "light ", index, " diffuse")) +
                   readColor(specular, in, report, FieldName(report, "light ", index, " specular"));
    FieldLine positionLine(in, report, FieldName(report, "light ", index, " position"), kPositionNames);
    failures += positionLine.Read(position.x, position.y, position.z, positionW);
    FieldLine directionLine(in, report, FieldName(report, "light ", index, " spot direction"), kDirectionNames);
    failures += directionLine.Read(spotDirection.x, spotDirection.y, spotDirection.z);
    FieldLine spotLine(in, report, FieldName(report, "light ", index, " spot"), kSpotNames);
    failures += spotLine.Read(spotExponent, spotCutoff, constantAttenuation, linearAttenuation, quadraticAttenuation);
    if (failures == 0) spotDirection.Normalize();
    if (spotLine.Reporting() && failures == 0) WarnAboutSpot(*this, spotLine);
    return failures;
}

Environment::Environment() {
    for (int k = 0; k < kLightCount; ++k) lights[k].lightId = GL_LIGHT0 + k;
}

namespace {
// A light that failed is used as read when the file goes on after it, and
// ends the list; one that the file ends inside is dropped, and without a
// first light nothing loads. A light of which the file holds no line at all
// is just where the list ends.
void releaseLightFailures(HeldFailures& held, int k, bool used, bool present) {
    if (held.Empty()) return;
    if (!present && k > 0) return held.Drop();
    if (!present) return held.Release(Finding::Severity::Error, "; a first light is needed");
    const std::string light = "light " + std::to_string(k);
    const bool last = k + 1 == Environment::kLightCount;
    if (used)
        held.Release(Finding::Severity::Warning,
                     "; " + light + " is used as read" + (last ? "" : ", and no later light is read"));
    else if (k > 0)
        held.Release(Finding::Severity::Warning, "; the file ends inside " + light + ", which is not used");
    else
        held.Release(Finding::Severity::Error, "; the file ends inside light 0, and a first light is needed");
}
}  // namespace

int Environment::Read(std::istream& in, Diagnostics& report) {
    int failures = readColor(clearColor, in, report, "background colour");
    failures += lightModel.Read(in, report);
    failures += projection.Read(in, report);
    failures += fog.Read(in, report);

    for (Light& light : lights) light.enabled = 0;
    int previousFailures = 0;
    int k = 0;
    for (; k < kLightCount && !in.eof() && previousFailures == 0; ++k) {
        HeldFailures held(report);
        const int linesBefore = report.SignificantLines();
        previousFailures = lights[k].Read(in, report);
        // A light whose lines all parsed counts even when the file ends right
        // after its last line without a line end.
        if (!in.eof() || previousFailures == 0) lights[k].enabled = 1;
        if (report.Active())
            releaseLightFailures(held, k, lights[k].enabled != 0, report.SignificantLines() > linesBefore);
    }
    if (!lights[0].enabled) {
        if (k == 0 && report.FirstEndOfFile())
            report.Error(report.Line(), "light 0",
                         "expected the six lines of a first light, found the end of the file");
        return 1;
    }
    if (k == kLightCount && previousFailures == 0)
        reportUnreadLines(in, report, "after light 7", "a file holds at most eight lights");
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
