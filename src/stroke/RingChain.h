#pragma once

#include <utility>

#include "stroke/Stroke.h"

// Sweeps a stroke's cross-section through a sequence of places: each new ring
// is joined to the previous one by a band drawn along the new ring's
// direction.
class RingChain {
public:
    RingChain(const Stroke& stroke, const Vector3& point, const Vector3& direction) : stroke_(stroke) {
        stroke_.MakeSection(ring_, point, direction, kFullSize);
    }

    unsigned PointsPerRing() const { return ring_.Count(); }

    void To(const Vector3& point, const Vector3& direction) {
        Section next;
        const unsigned count = stroke_.MakeSection(next, point, direction, kFullSize);
        stroke_.DrawBand(ring_, next, direction, count);
        ring_ = std::move(next);
    }

private:
    static constexpr float kFullSize = 1.0f;
    const Stroke& stroke_;
    Section ring_;
};
