#pragma once

#include "stroke/Stroke.h"

// A circular arc ("c") from start about centre through a signed sweep
// (positive counter-clockwise about +Z), fitted to its neighbours like a line
// and drawn as a chain of short bands.
class CircleStroke : public Stroke {
public:
    explicit CircleStroke(StrokeCharacter* owner);
    // sweepAngle in radians.
    CircleStroke(StrokeCharacter* owner, const Vector3& c, const Vector3& s, float sweepAngle);

    Vector3 StartDirection() const override { return direction; }
    Vector3 EndDirection() const override { return endDirection; }
    Vector3 BodyStartDirection() const override { return bodyStartDirection; }
    Vector3 BodyEndDirection() const override { return bodyEndDirection; }
    void SetStart(const Vector3& p) override;
    void SetEnd(const Vector3& p) override;
    void Draw() override;
    void GetBounds(float& minX, float& maxX, float& minY, float& maxY) const override;
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {}) override;
    int Write(std::ostream& out) const override;

    // Tangent of travel at a point of the arc, by the sign of the sweep.
    Vector3 TangentAt(const Vector3& point) const;

    Vector3 endDirection = UnitX;
    Vector3 bodyStartDirection = UnitX;
    Vector3 bodyEndDirection = UnitX;
    float radius = 0.0f;
    float sweep = 0.0f;

protected:
    // radius, end and the body ends from start, centre and sweep.
    void PlaceEndBySweep();
    // The tangents of both ends, copied to the body ends.
    void UpdateTangents();
    // The sweep that keeps its sign (and a closed circle closed) once the ends
    // have moved so that they lie measuredAngle apart.
    float FollowedSweep(float measuredAngle) const;
    // Would moving one end to p carry it across the line through the centre
    // and the other end (other) for a short arc? Then the sweep turns round.
    bool CrossesOver(const Vector3& other, const Vector3& moved, const Vector3& p) const;
    // How far along the arc a joined end is pulled back from its joint.
    float StartTrim(float r, float arcLength) const;
    float EndTrim(float r, float arcLength) const;
    // Places the body ends the given arc lengths inside the nominal ends and
    // returns the sweep left between them.
    float FitBody(float startTrim, float endTrim);
    // The chain of bands from bodyStart to bodyEnd through the sweep left.
    void SweepArc(float bodySweep, float facetLength);
    // Does the arc reach the extreme of the circle in direction axis?
    bool Reaches(const Vector3& axis) const;
};

// Is there an arc to sweep between the body ends, bodySweep radians apart?
bool ArcHasBody(const Vector3& bodyStart, const Vector3& bodyEnd, float bodySweep);

// The number of bands of an arc: one per facetLength of arc length plus one,
// and at least one per 0.314 radian of turn; always at least 1 and never more
// than the tessellation limit.
int ArcSegmentCount(float radius, float sweep, float facetLength);

// Arcs whose ends meet within this angle (radians) and whose sweep is this
// close to a full turn are closed circles.
constexpr float kClosedArcTolerance = 1.0e-4f;
