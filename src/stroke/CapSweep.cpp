#include "stroke/CapSweep.h"

#include "stroke/SweepBudget.h"

#include <cmath>

namespace {
}  // namespace

CapSweep::CapSweep(const Stroke& stroke, const Vector3& U, const Vector3& V)
    : stroke_(stroke), U_(U), V_(V), reversed_(Dot(U, V) < 0.0f) {}

Section CapSweep::Ring(float t, float scale) const { return RingAt(t * U_, scale); }

Section CapSweep::RingAt(const Vector3& point, float scale) const {
    Section ring;
    stroke_.MakeSection(ring, point, V_, scale);
    return ring;
}

void CapSweep::TiltNormals(Section& ring, float a, float b) const {
    for (Vector3& n : ring.normals) {
        Vector3 tilted = a * U_ + b * n;
        if (tilted.Normalize() == 0 && IsFinite(tilted)) n = tilted;
    }
}

void CapSweep::FaceCurrentOutward() {
    for (Vector3& n : current_.normals) n = U_;
}

void CapSweep::BandTo(Section next) {
    if (reversed_) stroke_.DrawBand(next, current_, -U_, current_.Count());
    else stroke_.DrawBand(current_, next, U_, next.Count());
    current_ = std::move(next);
}

void CapSweep::Disc(const Vector3& N) const { stroke_.DrawSectionDisc(current_, N, V_, current_.Count()); }

int CapSweep::MaxRings() const { return ::MaxRings(current_.Count()); }
