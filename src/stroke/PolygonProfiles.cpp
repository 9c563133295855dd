// The sections built around a circle: the ellipse, the polygons inscribed in
// it and the rounded polygon.
#include <algorithm>
#include <cmath>
#include <vector>

#include "stroke/SectionProfile.h"
#include "stroke/Tessellation.h"

namespace {

// A polygon whose vertex i lies at angle[i] on a circle (radius[i] times the
// scaled half width); face normals come from the unscaled vertices, so that
// a ring shrunk to a point keeps the body's facets.
void CirclePolygon(const ProfileFrame& f, const std::vector<double>& angle, const std::vector<float>& radius,
                   Section& out) {
    std::vector<Vector3> unscaled;
    unscaled.reserve(angle.size());
    for (size_t i = 0; i < angle.size(); ++i) {
        unscaled.push_back(radius[i] * f.Dir(angle[i]));
        out.points.push_back((f.w * f.k) * unscaled.back());
    }
    AppendFaceNormals(f, unscaled, out);
}

}  // namespace

void EllipseProfile(const ProfileFrame& f, Section& out) {
    const int count = CurveSteps(kFullTurn * f.w, f.s) + 2;
    const double step = kFullTurn / (count - 1);
    const float r = f.w * f.k;
    for (int i = 0; i < count; ++i) {
        const double a = i * step;
        const float sa = static_cast<float>(std::sin(a)), ca = static_cast<float>(std::cos(a));
        const Vector3 p = r * (sa * f.side + f.q * ca * f.up);
        out.points.push_back(p);
        out.normals.push_back(UnitNormal(ca * f.up + f.q * sa * f.side, p, f.up));
    }
}

void InscribedPolygonProfile(const ProfileFrame& f, Section& out) {
    if (f.n < 1) return;
    std::vector<Vector3> unscaled;
    for (int i = 0; i <= f.n; ++i) {
        const double a = i * kFullTurn / f.n;
        unscaled.push_back(static_cast<float>(std::sin(a)) * f.side + f.q * static_cast<float>(std::cos(a)) * f.up);
        out.points.push_back((f.w * f.k) * unscaled.back());
    }
    AppendFaceNormals(f, unscaled, out);
}

void StarProfile(const ProfileFrame& f, Section& out) {
    if (f.n < 1) return;
    std::vector<double> angle;
    std::vector<float> radius;
    for (int i = 0; i <= 2 * f.n; ++i) {
        angle.push_back(i * M_PI / f.n);
        radius.push_back(i % 2 == 0 ? 1.0f : f.q);
    }
    CirclePolygon(f, angle, radius, out);
}

void ChamferedPolygonProfile(const ProfileFrame& f, Section& out) {
    if (f.n < 1) return;
    const double q = std::min(f.q, 1.99f);
    const double sigma = M_PI / f.n;
    std::vector<double> angle;
    for (int i = 0; i <= 2 * f.n; ++i) angle.push_back(2 * (i / 2) * sigma + (i % 2 == 1 ? q * sigma : 0.0));
    CirclePolygon(f, angle, std::vector<float>(angle.size(), 1.0f), out);
}

// Each corner of a regular n-gon is replaced by an arc that turns the full
// corner angle, so the straight edges lie on chords of the circle of radius w.
void RoundedPolygonProfile(const ProfileFrame& f, Section& out) {
    // One or no corner has no polygon to round (and would divide by sin(pi)).
    if (f.n < 2) return;
    const double rho = f.q / (f.q + 1.0);
    const int perCorner = CurveSteps(rho * kFullTurn * f.w, f.s) / f.n + 1;
    const double sigma = kFullTurn / f.n;
    const float r = f.w * f.k;
    const float cornerRadius = static_cast<float>(r * std::sin(rho * sigma / 2) / std::sin(sigma / 2));
    for (int j = 0; j < f.n; ++j) {
        const Vector3 v = r * f.Dir(j * sigma - rho * sigma / 2);
        const double b = j * sigma - sigma / 2;
        const Vector3 centre = v - cornerRadius * f.Dir(b);
        for (int i = 0; i <= perCorner; ++i) {
            const Vector3 normal = f.Dir(b + i * sigma / perCorner);
            out.points.push_back(centre + cornerRadius * normal);
            out.normals.push_back(normal);
        }
    }
    out.points.push_back(out.points.front());
    out.normals.push_back(out.normals.front());
}
