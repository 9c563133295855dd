// The cap shapes. Each starts from the ring at the cap's local origin and
// adds rings along U, each joined to the previous one by a band. Normals are
// tilted towards U by the slope of the cap's profile; the rule treats a ring
// of scale 1 as having radius EW.
#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "stroke/CapSweep.h"
#include "stroke/SweepBudget.h"
#include "stroke/Tessellation.h"

namespace {

constexpr float kPiFloat = static_cast<float>(M_PI);
constexpr float kQuarterTurn = kPiFloat / 2;
// One step per 0.314 radian at least.
constexpr float kLargestStep = 0.314f;

// At least minimum, otherwise one ring per facet length of the arc and one
// more; never more than the cap's budget.
int RingCount(const CapSweep& c, int minimum, double arcLength, double facet) {
    return std::min(std::max(minimum, BoundedCount(arcLength / facet) + 1), c.MaxRings());
}

void Round(CapSweep& c, const CapSizes& z) {
    const int m = RingCount(c, 10, z.EW * kQuarterTurn, z.FL);
    for (int k = 1; k < m; ++k) {
        const float phi = k * kQuarterTurn / m;
        Section ring = c.Ring(z.EW * z.SP2 * std::sin(phi), std::cos(phi));
        c.TiltNormals(ring, std::sin(phi), z.SP2 * std::cos(phi));
        c.BandTo(std::move(ring));
    }
    c.Disc(c.U());
}

// A straight band from the current ring to ring, both tilted by (a, b).
void TiltedBand(CapSweep& c, Section ring, float a, float b) {
    c.TiltCurrent(a, b);
    c.TiltNormals(ring, a, b);
    c.BandTo(std::move(ring));
}

void Point(CapSweep& c, const CapSizes& z) { TiltedBand(c, c.Ring(z.EW * z.SP2, 0.0f), 1.0f, z.SP2); }

void Square(CapSweep& c, const CapSizes& z) {
    TiltedBand(c, c.Ring(0.75f * z.EW, z.SP2), 2.0f * (1.0f - z.SP2), 1.0f);
    c.FaceCurrentOutward();
    c.Disc(c.U());
}

void Arrowhead(CapSweep& c, const CapSizes& z) {
    c.Disc(c.U());
    c.StartAt(c.Ring(0.0f, z.SP2));
    c.Disc(-c.U());
    TiltedBand(c, c.Ring(z.EW * z.SP2, 0.0f), 1.0f, 1.0f);
}

void BulbThenPoint(CapSweep& c, const CapSizes& z) {
    const float root2 = std::sqrt(2.0f);
    const int m = RingCount(c, 10, std::cos(kPiFloat / 4) * z.SP2 * z.EW * kQuarterTurn, z.FL);
    for (int k = 0; k <= m; ++k) {
        const float alpha = -kPiFloat / 4 + k * kQuarterTurn / m;
        Section ring = c.Ring(z.EW * z.SP2 * (0.5f + std::sin(alpha) / root2),
                              1.0f + z.SP2 * (std::cos(alpha) / root2 - 0.5f));
        c.TiltNormals(ring, std::sin(alpha), z.SP2 * std::cos(alpha));
        c.BandTo(std::move(ring));
    }
    TiltedBand(c, c.Ring(z.EW * (1.0f + z.SP2), 0.0f), 1.0f, z.SP2);
}

void BulgeWithFlatEnd(CapSweep& c, const CapSizes& z) {
    const int m = RingCount(c, 10, z.EW * z.SP2 * kQuarterTurn, z.FL);
    for (int k = 0; k <= m; ++k) {
        const float theta = k * kPiFloat / m;
        Section ring = c.Ring(z.EW * z.SP2 * (1.0f - std::cos(theta)) / 2, 1.0f + 0.5f * z.SP2 * std::sin(theta));
        c.TiltNormals(ring, -std::cos(theta), z.SP2 * std::sin(theta));
        c.BandTo(std::move(ring));
    }
    c.Disc(c.U());
}

// A tip that narrows and bends sideways like a brush stroke lifting off.
void BrushTip(CapSweep& c, const CapSizes& z) {
    const int count = std::min(std::max(1, BoundedCount(z.EW) + 1), c.MaxRings());
    Vector3 bend = Cross(UnitZ, c.V());
    if (bend.Normalize() != 0) bend = UnitX;
    for (int k = 1; k < count; ++k) {
        const float t = k * z.EW / count;
        const float along = t / z.W;
        Section ring = c.RingAt(t * c.U() + (z.SP2 * z.W * along * along) * bend, std::pow((z.EW - t) / z.EW, 0.2f));
        const float q = 0.2f * 2.0f * z.SP2 * t * std::pow((z.W - t) / z.W, -0.8f) / (z.W * z.W);
        for (Vector3& n : ring.normals) {
            Vector3 bent = n - (Dot(n, bend) * q) * c.U();
            if (bent.Normalize() == 0 && std::isfinite(bent.x + bent.y + bent.z)) n = bent;
        }
        c.BandTo(std::move(ring));
    }
    c.Disc(c.U());
}

void Ball(const CapSizes& z) {
    const int n = std::min(std::max(10, BoundedCount(z.SP2 * kPiFloat * z.W / z.FL) + 1), kMaxSphereDivisions);
    const double radius = static_cast<double>(z.SP2) * z.W;
    if (std::isfinite(radius)) glutSolidSphere(radius, n, n);
}

void RoundedFlatEnd(CapSweep& c, const CapSizes& z) {
    const float r = std::min(0.5f * z.SP2, 2.0f);
    c.BandTo(c.Ring(z.EW * (1.0f - r), 1.0f));
    const int m = RingCount(c, 5, z.EW * r * (kPiFloat / 4), z.FL);
    for (int k = 1; k <= m; ++k) {
        const float phi = k * kQuarterTurn / m;
        Section ring = c.Ring(z.EW - z.EW * r * (1.0f - std::sin(phi)), 1.0f - r * (1.0f - std::cos(phi)));
        c.TiltNormals(ring, std::sin(phi), std::cos(phi));
        c.BandTo(std::move(ring));
    }
    c.Disc(c.U());
}

// A ball of radius R = EW / sin(beta) sitting on the body's end, joined to it
// at the half angle beta.
void BallKnob(CapSweep& c, const CapSizes& z) {
    float beta = (kPiFloat / 4) / (IsNearZero(z.SP2) ? 1.0f : z.SP2);
    if (IsNearZero(std::sin(beta)) || std::sin(beta) < 0) beta = kPiFloat / 4;
    const float sinBeta = std::sin(beta);
    const float R = z.EW / sinBeta;
    const float arc = kPiFloat - beta;
    // A negative arc (a half angle past pi) would give no step, and a
    // division by zero just below.
    int n = std::max(1, BoundedCount(1.0 + 2.0 * R * arc / z.FL));
    if (arc / n > kLargestStep) n = std::max(1, BoundedCount(arc * kStepsPerRadian));
    n = std::min(n, c.MaxRings());
    for (int k = 1; k < n; ++k) {
        const float alpha = beta + k * arc / n;
        // R sin(alpha) / EW, written so that a zero EW cannot divide by zero.
        Section ring = c.Ring(R * std::cos(beta) - R * std::cos(alpha), std::sin(alpha) / sinBeta);
        c.TiltNormals(ring, -std::cos(alpha), std::sin(alpha));
        c.BandTo(std::move(ring));
    }
    c.Disc(c.U());
}

}  // namespace

void DrawCapShape(int style, CapSweep& c, const CapSizes& z) {
    switch (style) {
        case 2: Round(c, z); break;
        case 3: Point(c, z); break;
        case 4: Square(c, z); break;
        case 5: Arrowhead(c, z); break;
        case 6: BulbThenPoint(c, z); break;
        case 7: BulgeWithFlatEnd(c, z); break;
        case 8: BrushTip(c, z); break;
        case 9: Ball(z); break;
        case 10: RoundedFlatEnd(c, z); break;
        case 11: BallKnob(c, z); break;
        default: break;  // no shape: only the extension
    }
}
