#include <algorithm>
#include <cmath>

#include "stroke/RingChain.h"
#include "stroke/SweepBudget.h"
#include "stroke/Stroke.h"
#include "stroke/Tessellation.h"
#include "text/StrokeCharacter.h"

namespace {

// Below this body turn (radians) the two bodies are blended side by side
// instead of being filleted.
constexpr float kParallelTurn = 0.314f;
// Above this body turn a body is extended to meet the other one's line.
constexpr float kExtendTurn = 0.5f;

// The two body ends a joint connects.
struct JointEnds {
    Vector3 Pe, De;  // previous body end and its direction
    Vector3 Ps, Ds;  // this body start and its direction
    float pathTurn;  // signed turn of the nominal path about +Z
    float bodyTurn;  // signed turn of the bodies about +Z
    float step;      // facet length
};

// Count of steps for a length measured in facet lengths, at least one.
int Steps(double length, double step) { return std::max(1, BoundedCount(length / step) + 1); }

// An S-shaped sideways blend between almost parallel bodies.
void DrawParallelBlend(const Stroke& stroke, const JointEnds& j) {
    const float f = Dot(j.Ps - j.Pe, j.De);
    if (!(f > 0.0f)) return;
    const Vector3 n = Normalized(Cross(UnitZ, j.De));
    const float sideways = Dot(j.Ps - j.Pe, n);
    RingChain chain(stroke, j.Pe, j.De);
    const int count = std::min(Steps(f, j.step), MaxRings(chain.PointsPerRing()));
    const float step = f / count;
    for (int i = 0; i < count; ++i) {
        const float shift = static_cast<float>(1.0 - std::cos(i * M_PI / count)) * sideways * 0.5f;
        const Vector3 point = j.Pe + (i * step) * j.De + shift * n;
        chain.To(point, (static_cast<float>(i) * j.Ds + static_cast<float>(count - i) * j.De) / count);
    }
    chain.To(j.Ps, j.Ds);
}

void SweepStraight(const Stroke& stroke, const Vector3& from, const Vector3& to, const Vector3& dir) {
    RingChain chain(stroke, from, dir);
    chain.To(to, dir);
}

// How far each body is extended straight before the fillet turns: the body
// that falls short of the other one's line is lengthened towards it.
void ExtendBodies(const Stroke& stroke, JointEnds& j) {
    float a = Dot(j.Ps - j.Pe, j.De);
    float b = Dot(j.Pe - j.Ps, j.Ds);
    const float cosine = Dot(j.De, j.Ds);
    if (std::fabs(j.bodyTurn) > kExtendTurn) {
        if (a > 0 && b > 0) {
            if (!IsNearZero(cosine)) {
                a = b / std::fabs(cosine);
                a = a + 0.5f * Dot(j.Ps - (j.Pe + a * j.De), j.De);
            }
            b = 0;
        } else if (a < 0 && b < 0) {
            if (!IsNearZero(cosine)) {
                const float reach = -a / std::fabs(cosine);
                b = reach - 0.5f * Dot(j.Pe - (j.Ps - reach * j.Ds), j.Ds);
            }
            a = 0;
        } else {
            a = b = 0;
        }
    } else if (a > 0 && b > 0) {
        b = 0;
    } else if (a < 0 && b < 0) {
        a = 0;
    } else {
        a = b = 0;
    }
    // Bodies that end almost at right angles to each other divide by a tiny
    // cosine above and would reach far out of the glyph; neither end ever
    // needs to travel further than the gap between the two body ends.
    const float gap = Length(j.Ps - j.Pe);
    a = std::min(a, gap);
    b = std::min(b, gap);
    if (a > 0) {
        SweepStraight(stroke, j.Pe, j.Pe + a * j.De, j.De);
        j.Pe = j.Pe + a * j.De;
    }
    if (b > 0) {
        SweepStraight(stroke, j.Ps - b * j.Ds, j.Ps, j.Ds);
        j.Ps = j.Ps - b * j.Ds;
    }
}

// Turns the section about a centre from the previous body's direction to
// this body's, the radius easing from one body end's distance to the other's.
void DrawFillet(const Stroke& stroke, JointEnds j) {
    ExtendBodies(stroke, j);
    const Vector3 n = Normalized(j.pathTurn > 0 ? Cross(j.De, UnitZ) : Cross(UnitZ, j.De));
    const float sine = std::sin(j.bodyTurn);
    float h1, h2;
    Vector3 centre;
    if (IsNearZero(Length(j.Ps - j.Pe))) {
        h1 = h2 = 0.0f;
        centre = j.Pe;
    } else if (IsNearZero(sine)) {
        h1 = h2 = std::fabs(Dot(j.Ps - j.Pe, n)) * 0.5f;
        centre = (j.Pe + j.Ps) * 0.5f;
    } else {
        h1 = std::fabs(Dot(j.Ps - j.Pe, j.Ds) / sine);
        h2 = std::fabs(Dot(j.Pe - j.Ps, j.De) / sine);
        centre = j.Pe - h1 * n;
    }
    // The fillet turns the way the nominal path turns.
    float turn = j.bodyTurn;
    if (j.pathTurn > 0 && j.bodyTurn < 0) turn = j.bodyTurn + static_cast<float>(kTwoPi);
    else if (j.pathTurn < 0 && j.bodyTurn > 0) turn = j.bodyTurn - static_cast<float>(kTwoPi);
    int count = Steps((std::fabs(h1) + std::fabs(h2)) * std::fabs(turn) * 0.5, j.step);
    const int minimum = BoundedCount(std::fabs(turn) * kStepsPerRadian);
    if (count < minimum) count = minimum;
    RingChain chain(stroke, j.Pe, j.De);
    count = std::min(count, MaxRings(chain.PointsPerRing()));
    const float delta = turn / count;
    for (int i = 0; i < count; ++i) {
        const float angle = (i + 1) * delta;
        const Vector3 radial = Normalized(Rotated(n, UnitZ, angle));
        const float radius = h1 + (h2 - h1) * 0.5f * static_cast<float>(1.0 - std::cos(i * M_PI / count));
        chain.To(centre + radius * radial, Normalized(Rotated(j.De, UnitZ, angle)));
    }
    chain.To(j.Ps, j.Ds);
}

}  // namespace

void Stroke::DrawJoint() const {
    if (owner == nullptr || prev == nullptr || startCap != 0) return;
    JointEnds j;
    j.step = owner->FacetLength();
    j.Pe = prev->bodyEnd;
    j.Ps = bodyStart;
    j.De = prev->BodyEndDirection();
    j.Ds = BodyStartDirection();
    j.pathTurn = SignedAngle(prev->EndDirection(), StartDirection(), UnitZ);
    j.bodyTurn = SignedAngle(j.De, j.Ds, UnitZ);
    if (std::fabs(j.bodyTurn) < kParallelTurn) DrawParallelBlend(*this, j);
    else DrawFillet(*this, j);
}
