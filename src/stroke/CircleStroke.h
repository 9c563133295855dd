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
    int Read(std::istream& in) override;
    int Write(std::ostream& out) const override;

    // Tangent of travel at a point of the arc, by the sign of the sweep.
    Vector3 TangentAt(const Vector3& point) const;

    Vector3 endDirection = UnitX;
    Vector3 bodyStartDirection = UnitX;
    Vector3 bodyEndDirection = UnitX;
    float radius = 0.0f;
    float sweep = 0.0f;
};
