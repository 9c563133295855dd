#pragma once

#include "stroke/Stroke.h"

// The straight stroke ("l"). At a joint it pulls its body back by the mitre
// distance so that the body and the fillet drawn by DrawJoint meet without
// overlap; free ends are capped. start and end never coincide.
class LineStroke : public Stroke {
public:
    explicit LineStroke(StrokeCharacter* owner);
    LineStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b);

    Vector3 StartDirection() const override { return direction; }
    Vector3 EndDirection() const override { return direction; }
    Vector3 BodyStartDirection() const override { return direction; }
    Vector3 BodyEndDirection() const override { return direction; }
    void SetStart(const Vector3& p) override;
    void SetEnd(const Vector3& p) override;
    void Draw() override;
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {}) override;
    int Write(std::ostream& out) const override;

    // Sweeps the body from bodyStart to bodyEnd along dir, caps it and fills
    // the joint towards the previous stroke.
    virtual void DrawBody(const Vector3& dir);

protected:
    LineStroke(char kind, StrokeCharacter* owner);
    LineStroke(char kind, StrokeCharacter* owner, const Vector3& a, const Vector3& b);
    void UpdateCentreAndDirection();
    // Pulls a joined body end back from its joint by the mitre distance that
    // the neighbour's kind asks for (stroke radius r).
    void FitBodyStart(float r);
    void FitBodyEnd(float r);
};
