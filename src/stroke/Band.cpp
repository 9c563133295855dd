#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "geometry/VectorGL.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"

namespace {


// The second ring with every point that lies behind the first ring along dir
// pulled back onto it, so that a band never turns inside out along the stroke.
std::vector<Vector3> PulledBack(const Section& a, const Section& b, const Vector3& dir, unsigned count) {
    std::vector<Vector3> out(b.points.begin(), b.points.begin() + count);
    for (unsigned j = 0; j < count; ++j)
        if (Dot(out[j] - a.points[j], dir) < 0.0f) out[j] = a.points[j];
    return out;
}

// One strip with a normal per point; negated width walks the rings backwards
// with flipped normals, which turns the surface inside out.
void SmoothBand(const Section& a, const std::vector<Vector3>& b, const Section& bRing, unsigned count, bool negated) {
    const float sign = negated ? -1.0f : 1.0f;
    glBegin(GL_TRIANGLE_STRIP);
    for (unsigned step = 0; step < count; ++step) {
        const unsigned i = negated ? count - 1 - step : step;
        EmitNormal(bRing.normals[i], sign);
        EmitVertex(b[i]);
        EmitNormal(a.normals[i], sign);
        EmitVertex(a.points[i]);
    }
    glEnd();
}

// One quad per face; each ring lends its face normal to its own edge.
void FacetedBand(const Section& a, const std::vector<Vector3>& b, const Section& bRing, unsigned count, bool negated) {
    glBegin(GL_QUADS);
    for (unsigned i = 0; i + 1 < count; ++i) {
        if (!negated) {
            EmitNormal(a.normals[i], 1.0f);
            EmitVertex(a.points[i]);
            EmitVertex(a.points[i + 1]);
            EmitNormal(bRing.normals[i], 1.0f);
            EmitVertex(b[i + 1]);
            EmitVertex(b[i]);
        } else {
            EmitNormal(a.normals[i], -1.0f);
            EmitVertex(a.points[i + 1]);
            EmitVertex(a.points[i]);
            EmitNormal(bRing.normals[i], -1.0f);
            EmitVertex(b[i]);
            EmitVertex(b[i + 1]);
        }
    }
    glEnd();
}

}  // namespace

void Stroke::DrawBand(const Section& a, const Section& b, const Vector3& dir, const unsigned& count) const {
    if (owner == nullptr) return;
    // Never read past either ring, whatever count the caller passes.
    const unsigned n = std::min({count, a.Count(), b.Count(), static_cast<unsigned>(a.normals.size()),
                                 static_cast<unsigned>(b.normals.size())});
    if (n < 2) return;
    const std::vector<Vector3> behind = PulledBack(a, b, dir, n);
    const bool negated = owner->WidthNegated() != 0;
    if (IsFacetedShape(owner->SectionShape())) FacetedBand(a, behind, b, n, negated);
    else SmoothBand(a, behind, b, n, negated);
}
