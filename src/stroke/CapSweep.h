#pragma once

#include "stroke/Stroke.h"

// The sizes a cap is built from, read from the owner character.
struct CapSizes {
    float W;    // stroke half width
    float EW;   // effective half width of the section
    float SP2;  // the cap's shape parameter
    float FL;   // facet length
};

// Builds a cap out of cross-section rings in the cap's local frame, whose
// origin lies on the body's axis. Positions along the cap are t * U, U
// pointing away from the body; rings always face the body direction V.
//
// At a start cap U points against V, so rings further out lie behind the
// earlier ones along V; bands are then drawn with their rings swapped and
// along -U, which keeps every face pointing out of the solid.
class CapSweep {
public:
    CapSweep(const Stroke& stroke, const Vector3& U, const Vector3& V);

    // The ring at t * U (plus an optional sideways offset), scaled by scale.
    Section Ring(float t, float scale) const;
    Section RingAt(const Vector3& point, float scale) const;

    // Replaces every normal n of ring by normalise(a * U + b * n); a normal
    // that cannot be normalised keeps its old value.
    void TiltNormals(Section& ring, float a, float b) const;
    void TiltCurrent(float a, float b) { TiltNormals(current_, a, b); }
    // Every normal of the current ring along U.
    void FaceCurrentOutward();

    // The band from the current ring to next, which becomes current.
    void BandTo(Section next);
    // Starts over at ring without drawing a band.
    void StartAt(Section ring) { current_ = std::move(ring); }
    // Closes the current ring with a flat disc facing N.
    void Disc(const Vector3& N) const;

    // The most rings this cap may add, whatever its style asks for.
    int MaxRings() const;

    const Vector3& U() const { return U_; }
    const Vector3& V() const { return V_; }

private:
    const Stroke& stroke_;
    Vector3 U_, V_;
    bool reversed_;
    Section current_;
};

// The shape of each cap style after the extension band, starting from the
// ring at the local origin.
void DrawCapShape(int style, CapSweep& sweep, const CapSizes& size);
