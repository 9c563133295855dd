#include "scene/EnvironmentWarnings.h"

#include "geometry/Vector3.h"
#include "scene/Environment.h"
#include "scene/FieldLine.h"

namespace {
std::string shown(float value) { return ShownValue(value); }

void refusedIfNegative(float value, const char* name, const char* kept, FieldLine& line) {
    if (value < 0.0f)
        line.Replaced(std::string(name) + " " + shown(value) + " is negative: OpenGL refuses it and keeps " + kept);
}
}  // namespace

void WarnAboutProjection(const Projection& p, FieldLine& line) {
    if (p.type > 1) {
        line.Replaced("type " + std::to_string(p.type) +
                      " is neither 0 (orthographic) nor 1 (perspective): no projection volume is set");
    } else if (p.type == 0 && p.near == p.far) {
        line.Replaced("near and far are both " + shown(p.near) + ": OpenGL refuses the volume");
    } else if (p.type == 1 && IsNearZero(0.5f * (p.near + p.far))) {
        line.Replaced("near " + shown(p.near) + " and far " + shown(p.far) +
                      " put the middle of the depth range at the eye: no projection volume is set");
    } else if (p.type == 1 && (p.near <= 0.0f || p.far <= 0.0f || p.near == p.far)) {
        line.Replaced("a perspective needs near and far above 0 and apart, not " + shown(p.near) + " and " +
                      shown(p.far) + ": OpenGL refuses the volume");
    }
}

void WarnAboutFog(const Fog& fog, FieldLine& line) {
    if (fog.mode < 0 || fog.mode > 3) line.Replaced("mode " + std::to_string(fog.mode) + " is not 0..3: no fog");
    else if (fog.mode != 0) refusedIfNegative(fog.density, "density", "1", line);
}

void WarnAboutSpot(const Light& light, FieldLine& line) {
    if (light.spotExponent < 0.0f || light.spotExponent > 128.0f)
        line.Replaced("spot exponent " + shown(light.spotExponent) +
                      " is outside 0..128: OpenGL refuses it and keeps 0");
    if ((light.spotCutoff < 0.0f || light.spotCutoff > 90.0f) && light.spotCutoff != 180.0f)
        line.Replaced("spot cutoff " + shown(light.spotCutoff) +
                      " is neither within 0..90 nor 180: OpenGL refuses it and the light is no spot");
    refusedIfNegative(light.constantAttenuation, "constant attenuation", "1", line);
    refusedIfNegative(light.linearAttenuation, "linear attenuation", "0", line);
    refusedIfNegative(light.quadraticAttenuation, "quadratic attenuation", "0", line);
}
