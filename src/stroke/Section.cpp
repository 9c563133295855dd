#include <algorithm>
#include <cmath>

#include "stroke/SectionProfile.h"
#include "stroke/Stroke.h"
#include "stroke/Tessellation.h"
#include "text/StrokeCharacter.h"

bool IsFacetedShape(int sectionShape) {
    return sectionShape == 1 || sectionShape == 2 || sectionShape == 3 || sectionShape == 4 || sectionShape == 8;
}

int CurveSteps(double length, double step) { return std::max(0, BoundedCount(length / step)); }

Vector3 UnitNormal(const Vector3& m, const Vector3& p, const Vector3& fallback) {
    Vector3 n = m;
    if (n.Normalize() == 0) return n;
    n = p;
    if (n.Normalize() == 0) return n;
    return fallback;
}

void AppendFaceNormals(const ProfileFrame& f, const std::vector<Vector3>& unscaled, Section& out) {
    for (size_t i = 0; i + 1 < unscaled.size(); ++i) {
        const Vector3& a = unscaled[i];
        const Vector3& b = unscaled[i + 1];
        out.normals.push_back(UnitNormal(Cross(b - a, f.d), 0.5f * (a + b), f.up));
    }
    if (!out.normals.empty()) out.normals.push_back(out.normals.front());
}

namespace {

// U, S and the unit direction at a section facing d, rolled by roll radians.
// False when d has no direction.
bool MakeFrame(const Vector3& d, float roll, ProfileFrame& f) {
    f.d = d;
    if (f.d.Normalize() != 0) return false;
    f.up = Cross(Cross(f.d, UnitZ), f.d);
    if (IsNearZero(Length(f.up))) f.up = UnitX;
    if (roll != 0.0f) f.up.RotateAbout(f.d, roll);
    f.up.Normalize();
    f.side = Cross(f.d, f.up);
    return f.side.Normalize() == 0;
}

void BuildProfile(int shape, const ProfileFrame& f, Section& out) {
    switch (shape) {
        case 0: EllipseProfile(f, out); break;
        case 1: InscribedPolygonProfile(f, out); break;
        case 2: StarProfile(f, out); break;
        case 3: HProfile(f, out); break;
        case 4: LProfile(f, out); break;
        case 5: PointedOvalProfile(f, out); break;
        case 6: LensProfile(f, out); break;
        case 7: CrescentProfile(f, out); break;
        case 8: ChamferedPolygonProfile(f, out); break;
        case 9: RoundedPolygonProfile(f, out); break;
        default: break;
    }
}

// The depth stretch along Z: points scale by ratio, normals by its inverse.
// The normal is renormalised in double precision so that an extreme ratio
// still gives a unit normal.
Vector3 StretchedNormal(const Vector3& m, float ratio) {
    const double x = m.x, y = m.y, z = static_cast<double>(m.z) / ratio;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0.0) || !std::isfinite(length)) return m;
    return Vector3(static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length));
}


void PlaceInWorld(Section& ring, const Vector3& P, float ratio) {
    for (Vector3& p : ring.points) p = P + Vector3(p.x, p.y, p.z * ratio);
    for (Vector3& m : ring.normals) m = StretchedNormal(m, ratio);
}

bool AllFinite(const Section& ring) {
    return std::all_of(ring.points.begin(), ring.points.end(), IsFinite) &&
           std::all_of(ring.normals.begin(), ring.normals.end(), IsFinite);
}

}  // namespace

unsigned Stroke::MakeSection(Section& ring, const Vector3& P, const Vector3& d, const float& k) const {
    ring.Clear();
    if (owner == nullptr) return 0;
    const float w = owner->StrokeWidth();
    if (IsNearZero(w)) return 0;
    const float ratio = owner->StrokeHeight() / w;
    if (IsNearZero(ratio)) return 0;
    ProfileFrame frame;
    if (!MakeFrame(d, owner->SectionTwist(), frame)) return 0;
    frame.w = w;
    frame.k = k;
    frame.q = owner->SectionParameter();
    frame.n = BoundedCount(owner->SectionSegments());
    frame.s = owner->FacetLength();
    frame.effectiveWidth = owner->EffectiveWidth();
    BuildProfile(owner->SectionShape(), frame, ring);
    PlaceInWorld(ring, P, ratio);
    // Values from a font file can overflow the float range; such a ring is
    // dropped rather than handed to GL.
    if (!AllFinite(ring) || ring.normals.size() != ring.points.size()) ring.Clear();
    return ring.Count();
}
