#pragma once

#include <optional>

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
    // Reads like a line; until a draw swings it, the body lies along the axis.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {}) override;

    Vector3 bodyDirection = UnitX;

protected:
    // One joint of the stroke: the signed turn there (0 when straight or not
    // joined) and the inner corner where the edges of the two strokes meet,
    // when it can be found.
    struct Joint {
        float angle = 0.0f;
        std::optional<Vector3> corner;
        bool IsPivoted() const { return angle != 0.0f && corner.has_value(); }
    };
    Joint StartJoint(float r) const;
    Joint EndJoint(float r) const;

    // The body fitted to the pivoted joints; unpivoted ends stay on the axis.
    void FitUnpivoted();
    void SwingAboutStart(const Vector3& endCorner, float endAngle, float r);
    void SwingAboutEnd(const Vector3& startCorner, float startAngle, float r);
    void PlaceBetweenCorners(const Joint& first, const Joint& last, float r);
};
