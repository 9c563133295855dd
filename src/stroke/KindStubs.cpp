// Placeholder bodies of the stroke kinds until they are written.
#include <istream>

#include "stroke/CircleStroke.h"
#include "stroke/DotStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/PivotStroke.h"
#include "stroke/StiffStroke.h"

LineStroke::LineStroke(StrokeCharacter* owner) : Stroke('l', owner) {}
LineStroke::LineStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b) : Stroke('l', owner) {
    start = bodyStart = a;
    end = bodyEnd = b;
}
LineStroke::LineStroke(char kind, StrokeCharacter* owner) : Stroke(kind, owner) {}
LineStroke::LineStroke(char kind, StrokeCharacter* owner, const Vector3& a, const Vector3& b) : Stroke(kind, owner) {
    start = bodyStart = a;
    end = bodyEnd = b;
}
void LineStroke::SetStart(const Vector3& p) { start = p; }
void LineStroke::SetEnd(const Vector3& p) { end = p; }
void LineStroke::Draw() {}
int LineStroke::Read(std::istream& in) {
    float x = 0, y = 0;
    in >> x >> y;
    end = Vector3(x, y, 0);
    return in.fail() ? 1 : 0;
}
int LineStroke::Write(std::ostream&) const { return 0; }
void LineStroke::DrawBody(const Vector3&) {}
void LineStroke::UpdateCentreAndDirection() {}
StiffStroke::StiffStroke(StrokeCharacter* owner) : LineStroke('s', owner) {}
StiffStroke::StiffStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b) : LineStroke('s', owner, a, b) {}
void StiffStroke::Draw() {}
PivotStroke::PivotStroke(StrokeCharacter* owner) : LineStroke('p', owner) {}
PivotStroke::PivotStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b) : LineStroke('p', owner, a, b) {}
void PivotStroke::Draw() {}
CircleStroke::CircleStroke(StrokeCharacter* owner) : Stroke('c', owner) {}
CircleStroke::CircleStroke(StrokeCharacter* owner, const Vector3&, const Vector3&, float) : Stroke('c', owner) {}
void CircleStroke::SetStart(const Vector3& p) { start = p; }
void CircleStroke::SetEnd(const Vector3& p) { end = p; }
void CircleStroke::Draw() {}
void CircleStroke::GetBounds(float& a, float& b, float& c, float& d) const { Stroke::GetBounds(a, b, c, d); }
int CircleStroke::Read(std::istream&) { return 0; }
int CircleStroke::Write(std::ostream&) const { return 0; }
Vector3 CircleStroke::TangentAt(const Vector3&) const { return UnitX; }
DotStroke::DotStroke(StrokeCharacter* owner) : Stroke('d', owner) { direction = UnitY; }
void DotStroke::SetStart(const Vector3& p) { start = end = centre = bodyStart = bodyEnd = p; }
void DotStroke::SetEnd(const Vector3& p) { start = end = centre = bodyStart = bodyEnd = p; }
void DotStroke::Draw() {}
int DotStroke::Read(std::istream&) { return 0; }
int DotStroke::Write(std::ostream&) const { return 0; }
