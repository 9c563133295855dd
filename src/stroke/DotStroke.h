#pragma once

#include "stroke/Stroke.h"

// A single point of a glyph ("d"), drawn as its two caps back to back, facing
// along the neighbouring stroke's body or along +Y when it stands alone.
class DotStroke : public Stroke {
public:
    explicit DotStroke(StrokeCharacter* owner);

    Vector3 StartDirection() const override { return direction; }
    Vector3 EndDirection() const override { return direction; }
    Vector3 BodyStartDirection() const override { return direction; }
    Vector3 BodyEndDirection() const override { return direction; }
    void SetStart(const Vector3& p) override;
    void SetEnd(const Vector3& p) override;
    void Draw() override;
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {}) override;
    int Write(std::ostream& out) const override;

protected:
    // The direction of the caps: along the following stroke's body, else the
    // preceding one's, else +Y.
    Vector3 Orientation() const;
};
