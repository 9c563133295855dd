#include "stroke/DotStroke.h"

#include <istream>
#include <ostream>

DotStroke::DotStroke(StrokeCharacter* owner) : Stroke('d', owner) { direction = UnitY; }

void DotStroke::SetStart(const Vector3& p) {
    const Vector3 point = p;
    start = end = centre = bodyStart = bodyEnd = point;
}

void DotStroke::SetEnd(const Vector3& p) { SetStart(p); }

void DotStroke::Draw() {
    if (owner == nullptr) return;
    bodyStart = bodyEnd = start;
    direction = Orientation();
    DrawCap(startCap, bodyStart, -direction, direction);
    DrawCap(endCap, bodyEnd, direction, direction);
    if (next != nullptr) next->Draw();
}

Vector3 DotStroke::Orientation() const {
    if (next != nullptr) return next->BodyStartDirection();
    if (prev != nullptr) return prev->BodyEndDirection();
    return UnitY;
}

int DotStroke::Read(std::istream&, Diagnostics&, std::string_view) { return 0; }

namespace {
char dotMarker(int cap) { return (cap == 1 || cap == 32) ? 'f' : 'e'; }
}  // namespace

int DotStroke::Write(std::ostream& out) const {
    out << ' ' << dotMarker(startCap) << ' ' << start.x << ' ' << start.y << ' ' << dotMarker(endCap);
    return out.fail() ? 1 : 0;
}
