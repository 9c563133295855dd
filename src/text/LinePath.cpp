#include "text/LinePath.h"

#include <cmath>

#include "stroke/Tessellation.h"
#include "text/LogoString.h"

namespace {
// The font never steps finer than this, and a line of absurd width must not
// make the decoration loops run for ever.
constexpr float kFinestFacet = 0.1f;
constexpr double kMostSteps = 65536.0;
}  // namespace

Vector3 PathTangent(const LogoString& logo, float width, float u) {
    return Normalized(Vector3(width, logo.offset[1].Derivative(u), logo.offset[2].Derivative(u)));
}

Vector3 PathOffset(const LogoString& logo, float u) {
    return Vector3(logo.offset[0].Value(u), logo.offset[1].Value(u), logo.offset[2].Value(u));
}

unsigned DecorationSteps(float width, float facetLength) {
    const double step = facetLength > kFinestFacet ? facetLength : kFinestFacet;
    const double steps = 0.5 * std::fabs(width) / step;
    // A lowered draw budget lowers this limit in proportion.
    const double most = kMostSteps * CurrentDrawBudget().maxCount / kMaxTessellationCount;
    if (!(steps < most)) return static_cast<unsigned>(most) + 1;
    return static_cast<unsigned>(steps) + 1;
}

PathFrame DecorationFrame(const LogoString& logo, float width, unsigned station, unsigned steps) {
    PathFrame frame;
    // u = x / width, computed so that a line of no width still has a parameter.
    frame.u = static_cast<float>(station) / static_cast<float>(steps);
    const float x = static_cast<float>(station) * width / static_cast<float>(steps);
    frame.point = Vector3(x, 0.0f, 0.0f) + PathOffset(logo, frame.u);
    frame.tangent = logo.pathMode == 1 ? PathTangent(logo, width, frame.u) : UnitX;
    frame.normal = Cross(Cross(frame.tangent, UnitZ), frame.tangent);
    if (IsNearZero(Length(frame.normal))) frame.normal = UnitX;
    else frame.normal.Normalize();
    frame.up = Normalized(Cross(frame.tangent, frame.normal));
    return frame;
}
