#include "object/FrameGeometry.h"

#include <algorithm>
#include <cmath>

#include "stroke/Tessellation.h"

namespace {
constexpr double kHalfTurn = 3.141592653589793;
}

bool FrameHasRoom(float width, float height, float r) { return width - 2.0f * r > 0.0f && height - 2.0f * r > 0.0f; }

std::array<Vector3, 6> SquareFramePath(const Vector3& centre, float width, float height, float r) {
    const float left = centre.x - width * 0.5f + r;
    const float right = centre.x + width * 0.5f - r;
    const float top = centre.y + height * 0.5f - r;
    const float bottom = centre.y - height * 0.5f + r;
    const float z = centre.z;
    return {Vector3(left, centre.y, z), Vector3(left, top, z),      Vector3(right, top, z),
            Vector3(right, bottom, z),  Vector3(left, bottom, z), Vector3(left, centre.y, z)};
}

int RoundFrameSegments(float a, float b, float step) {
    const double larger = std::max(a, b);
    return std::max(1, BoundedCount(kHalfTurn * larger / step) + 1);
}

RingPlacement RoundFrameRing(const Vector3& centre, float a, float b, float t) {
    const float c = std::cos(t);
    const float s = std::sin(t);
    return {centre + (a * 0.5f * c) * UnitX + (b * 0.5f * s) * UnitY, Normalized(-s * UnitX + c * UnitY)};
}
