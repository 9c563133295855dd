#pragma once

#include "stroke/LineStroke.h"

// A straight stroke ("p") that swings its body so that the side of the body
// runs through the inner corner of each joined neighbour: letters whose
// strokes meet edge to edge.
class PivotStroke : public LineStroke {
public:
    explicit PivotStroke(StrokeCharacter* owner);
    PivotStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b);

    Vector3 BodyStartDirection() const override { return bodyDirection; }
    Vector3 BodyEndDirection() const override { return bodyDirection; }
    void Draw() override;

    Vector3 bodyDirection = UnitX;
};
