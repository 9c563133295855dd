#include "text/ShadowPlane.h"

#include <sstream>

#include "scene/FieldLine.h"
#include "text/TableUses.h"

namespace {
const char* const kFlagNames[] = {"enabled", "material", "colour", nullptr};
const char* const kCoordinateNames[] = {"x", "y", "z", nullptr};

// needsDirection: a zero vector leaves the shadow nowhere to fall.
int readVector(std::istream& in, Vector3& v, Diagnostics& report, const char* field, bool needsDirection) {
    FieldLine line(in, report, field, kCoordinateNames);
    const int errors = line.Read(v.x, v.y, v.z);
    if (needsDirection && errors == 0 && IsNearZero(Length(v)))
        line.Replaced("(0, 0, 0) has no direction: no shadow is cast");
    return errors;
}

int readFlags(std::istream& in, ShadowPlane& shadow, Diagnostics& report, TableUses* uses) {
    FieldLine flags(in, report, "shadow", kFlagNames);
    const int errors = flags.Read(shadow.enabled, shadow.materialIndex, shadow.colourIndex);
    if (uses != nullptr && errors == 0 && shadow.enabled != 0) {
        uses->Material(flags.Number(), "shadow", "material", shadow.materialIndex);
        uses->Colour(flags.Number(), "shadow", "colour", shadow.colourIndex);
    }
    return errors;
}
}  // namespace

int ShadowPlane::Read(std::istream& in, Diagnostics& report, TableUses* uses) {
    int errors = readFlags(in, *this, report, uses);
    const bool on = enabled != 0;
    errors += readVector(in, point, report, "shadow plane point", false) +
              readVector(in, normal, report, "shadow plane normal", on) +
              readVector(in, light, report, "shadow light direction", on);
    normal.Normalize();
    light.Normalize();
    ComputeMatrix();
    if (report.Active() && on && errors == 0 && !IsNearZero(Length(normal)) && !IsNearZero(Length(light)) &&
        IsNearZero(Dot(normal, light)))
        report.Warning(report.Line(), "shadow light direction",
                       "runs along the shadow plane: the shadow falls at infinity and is not seen");
    return errors;
}

// Maps x to k x - u (d.x) - s u with w = k, where d is the normal, u the light,
// s = -(p.d) and k = d.u: dividing by w moves x along u onto the plane.
void ShadowPlane::ComputeMatrix() {
    const Vector3& d = normal;
    const Vector3& u = light;
    const float s = -Dot(point, d);
    const float k = Dot(d, u);
    const GLfloat m[16] = {
        k - d.x * u.x, -u.y * d.x,    -u.z * d.x,    0.0f,  // column 0
        -u.x * d.y,    k - d.y * u.y, -u.z * d.y,    0.0f,  // column 1
        -u.x * d.z,    -u.y * d.z,    k - d.z * u.z, 0.0f,  // column 2
        -s * u.x,      -s * u.y,      -s * u.z,      k,     // column 3
    };
    // A light travelling towards the plane's front makes k, and with it every
    // projected w, negative, and OpenGL clips all points of negative w: the
    // shadow would vanish. The negated matrix is the same projection with a
    // positive w, so either sense of the light direction casts the shadow.
    const float sign = k < 0.0f ? -1.0f : 1.0f;
    for (int i = 0; i < 16; ++i) matrix[i] = sign * m[i];
}
