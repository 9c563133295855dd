// The sections made of circular arcs: the pointed oval, the lens and the
// crescent. Rotating U about the direction of travel by an angle a gives
// Dir(a), since S = d x U; the arcs are written with Dir.
#include <algorithm>
#include <cmath>

#include "stroke/SectionProfile.h"

namespace {

void Add(Section& out, const Vector3& point, const Vector3& normal) {
    out.points.push_back(point);
    out.normals.push_back(normal);
}

}  // namespace

// A point on top with two flat flanks, then two half circles round the
// bottom.
void PointedOvalProfile(const ProfileFrame& f, Section& out) {
    const int count = CurveSteps(kFullTurn * f.w, f.s) + 6;
    double gamma = std::fabs(f.q * M_PI / 4);
    if (gamma > 1.413716733455658) gamma = 0.6283185482025146;
    const float r = f.w * f.k;
    const float R = r * static_cast<float>(std::cos(gamma));
    const int half = count / 2;
    const Vector3 T = f.Dir(gamma);
    Add(out, r * f.up, T);
    const Vector3 rightCentre = R * T - r * f.up;
    for (int i = 1; i < half; ++i) {
        const Vector3 normal = f.Dir(gamma + (i - 1) * M_PI / (half - 2));
        Add(out, rightCentre + R * normal, normal);
    }
    // The mirror image of the right arc about U, from the bottom up.
    const double mirrorStart = M_PI - gamma;
    const Vector3 leftCentre = -r * f.up - R * f.Dir(mirrorStart);
    for (int i = half; i <= count - 2; ++i) {
        const Vector3 normal = f.Dir(mirrorStart + (i - half) * M_PI / (count - 2 - half));
        Add(out, leftCentre + R * normal, normal);
    }
    Add(out, r * f.up, -f.Dir(mirrorStart));
}

// Two circular arcs of radius R whose centres lie off the axis by R - w, so
// that each bulges to w at the side and both meet on the U axis.
void LensProfile(const ProfileFrame& f, Section& out) {
    const int count = CurveSteps(kFullTurn * f.w, f.s) + 5;
    const float q = std::max(f.q, 1.0f);
    const float r = f.w * f.k;
    const float R = r * (1.0f + q * q / 2);
    const float offset = R - r;
    const double beta = IsNearZero(R) ? M_PI / 2 : M_PI / 2 - std::asin(std::clamp(offset / R, -1.0f, 1.0f));
    const int half = count / 2;
    for (int i = 0; i < half; ++i) {
        const Vector3 normal = f.Dir(M_PI / 2 - beta + i * 2 * beta / (half - 1));
        Add(out, -offset * f.side + R * normal, normal);
    }
    for (int i = half; i < count; ++i) {
        const Vector3 normal = -f.Dir(M_PI / 2 - beta + (i - half) * 2 * beta / (count - half - 1));
        Add(out, offset * f.side + R * normal, normal);
    }
}

// A bowl-shaped section: an outer arc about Q3 and, back along it, an inner
// arc about Q2 whose normals face the hollow (the inner side is concave, so
// its outward normals point towards Q2).
void CrescentProfile(const ProfileFrame& f, Section& out) {
    int count = CurveSteps(kFullTurn * f.w, f.s) + 6;
    if (count % 2 != 0) ++count;
    float gamma = std::fabs(f.q * static_cast<float>(M_PI) / 2);
    if (gamma > 2.35619455575943f) gamma = 2.356194496154785f;
    const float ew = f.effectiveWidth;
    gamma += ew * (1.0f - f.k) / f.w;
    const Vector3 q1 = (0.25f * f.w) * f.up + (f.w - 0.5f * ew) * f.Dir(gamma);
    const Vector3 q2 = (f.w * (f.k + 1) * 0.25f) * f.up;
    const Vector3 q3 = (f.w * (1 - f.k) * 0.25f) * f.up;
    const float outerRadius = Length(q1 - q3);
    const float innerRadius = Length(q1 - q2);
    const double alpha = std::fabs(SignedAngle(f.up, q1 - q3, f.d));
    const int half = count / 2;
    for (int i = 0; i < half; ++i) {
        const Vector3 normal = f.Dir(alpha + i * 2 * (M_PI - alpha) / (half - 1));
        Add(out, q3 + outerRadius * normal, normal);
    }
    for (int i = half; i < count; ++i) {
        const Vector3 outer = out.points[count - 1 - i];
        const Vector3 m = UnitNormal(outer - q2, outer, f.up);
        Add(out, q2 + innerRadius * m, -m);
    }
}
