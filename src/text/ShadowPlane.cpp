#include "text/ShadowPlane.h"

#include <sstream>

#include "scene/DataLine.h"

namespace {
int readVector(std::istream& in, Vector3& v) {
    std::istringstream line(readSignificantLine(in));
    return readValue(line, v.x) + readValue(line, v.y) + readValue(line, v.z);
}
}  // namespace

int ShadowPlane::Read(std::istream& in) {
    std::istringstream flags(readSignificantLine(in));
    int errors = readValue(flags, enabled) + readValue(flags, materialIndex) + readValue(flags, colourIndex);
    errors += readVector(in, point) + readVector(in, normal) + readVector(in, light);
    normal.Normalize();
    light.Normalize();
    ComputeMatrix();
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
