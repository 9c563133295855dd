#include <GL/gl.h>

#include <algorithm>

#include "geometry/VectorGL.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"

namespace {


bool IsFlatShape(int shape) { return shape == 3 || shape == 4 || shape == 7; }

// The centre of a ring: the mean of its distinct points (the last point
// repeats the first), summed in double so that huge rings cannot overflow.
Vector3 RingCentre(const Section& ring, unsigned count) {
    unsigned distinct = count;
    if (count > 1 && Length(ring.points[count - 1] - ring.points[0]) <= 1e-6f * (1.0f + Length(ring.points[0])))
        distinct = count - 1;
    double x = 0, y = 0, z = 0;
    for (unsigned i = 0; i < distinct; ++i) {
        x += ring.points[i].x;
        y += ring.points[i].y;
        z += ring.points[i].z;
    }
    return Vector3(static_cast<float>(x / distinct), static_cast<float>(y / distinct), static_cast<float>(z / distinct));
}

// Flat, non-convex sections: a strip that zigzags between the two halves of
// the ring, vertex c - 1 - k against vertex k.
void ZigzagDisc(const Section& ring, unsigned c, bool reverse, float sign) {
    auto pair = [&](unsigned k) {
        EmitNormal(ring.normals[c - 1 - k], sign);
        EmitVertex(ring.points[c - 1 - k]);
        EmitNormal(ring.normals[k], sign);
        EmitVertex(ring.points[k]);
    };
    if (!reverse) {
        for (unsigned k = 0; k <= c / 2; ++k) pair(k);
    } else {
        for (unsigned k = (c - 1) / 2 + 1; k-- > 0;) pair(k);
    }
}

// Convex and star-shaped sections: a fan about the ring's centre.
void FanDisc(const Section& ring, unsigned c, bool reverse, float sign) {
    EmitVertex(RingCentre(ring, c));
    for (unsigned step = 0; step < c; ++step) {
        const unsigned i = reverse ? c - 1 - step : step;
        EmitNormal(ring.normals[i], sign);
        EmitVertex(ring.points[i]);
    }
}

}  // namespace

void Stroke::DrawSectionDisc(const Section& ring, const Vector3& N, const Vector3& V, unsigned count) const {
    if (owner == nullptr) return;
    const unsigned c = std::min({count, ring.Count(), static_cast<unsigned>(ring.normals.size())});
    if (c < 3) return;
    const int shape = owner->SectionShape();
    if (shape < 0 || shape > 9) return;
    const bool negated = owner->WidthNegated() != 0;
    bool reverse = negated;
    if (Dot(N, V) < 0.0f) reverse = !reverse;
    // A negated width turns the bands inside out; the disc turns with them,
    // normals included, so that it is lit from the side it faces.
    const float sign = negated ? -1.0f : 1.0f;
    const bool flat = IsFlatShape(shape);
    glBegin(flat ? GL_TRIANGLE_STRIP : GL_TRIANGLE_FAN);
    EmitNormal(N, sign);
    if (flat) ZigzagDisc(ring, c, reverse, sign);
    else FanDisc(ring, c, reverse, sign);
    glEnd();
}
