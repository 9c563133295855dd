#pragma once

#include "stroke/LineStroke.h"

// A straight stroke ("s") whose body always runs from start to end, right
// through its joints; its neighbours still trim themselves against it.
class StiffStroke : public LineStroke {
public:
    explicit StiffStroke(StrokeCharacter* owner);
    StiffStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b);

    void Draw() override;
};
