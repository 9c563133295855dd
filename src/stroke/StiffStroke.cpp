#include "stroke/StiffStroke.h"

StiffStroke::StiffStroke(StrokeCharacter* owner) : LineStroke('s', owner) {}

StiffStroke::StiffStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b) : LineStroke('s', owner, a, b) {}

void StiffStroke::Draw() {
    if (owner == nullptr) return;
    // The body runs right through both joints; the neighbours trim against it.
    bodyStart = start;
    bodyEnd = end;
    DrawBody(direction);
    if (next != nullptr) next->Draw();
}
