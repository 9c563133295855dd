#include "stroke/PivotStroke.h"

#include <algorithm>
#include <cmath>

#include "text/StrokeCharacter.h"

PivotStroke::PivotStroke(StrokeCharacter* owner) : LineStroke('p', owner) {}

PivotStroke::PivotStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b)
    : LineStroke('p', owner, a, b), bodyDirection(direction) {}

int PivotStroke::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    const int errors = LineStroke::Read(in, report, field);
    // A dot in front of the stroke is drawn first and faces along this body.
    bodyDirection = direction;
    return errors;
}

namespace {
// v turned a quarter turn towards the inside of a turn of the given sign:
// left of v for a left turn.
Vector3 InsideOf(const Vector3& v, float turn) { return turn > 0.0f ? Cross(UnitZ, v) : Cross(v, UnitZ); }

// v turned a quarter turn away from the inside of the turn.
Vector3 OutsideOf(const Vector3& v, float turn) { return turn > 0.0f ? Cross(v, UnitZ) : Cross(UnitZ, v); }

// A unit vector along v; fallback when v is too short to have a direction.
Vector3 UnitOr(const Vector3& v, const Vector3& fallback) {
    return IsNearZero(Length(v)) ? fallback : Normalized(v);
}

// The corner of a joint with a turn below a right angle: on the bisector of
// the inner edges, r / cos(half the turn) from the joint point.
Vector3 MitreCorner(const Vector3& joint, const Vector3& incoming, const Vector3& outgoing, float angle, float r) {
    return joint + (r / std::cos(std::fabs(angle) * 0.5f)) * Normalized(outgoing - incoming);
}

// asin(x) for x in [0, 1], kept finite for an x a rounding step outside.
float ClampedAsin(float x) {
    const float clamped = std::min(std::max(x, 0.0f), 1.0f);
    return std::atan2(clamped, std::sqrt(std::max(0.0f, 1.0f - clamped * clamped)));
}

bool IsLineLike(char kind) { return kind == 'c' || kind == 'l' || kind == 's'; }
}  // namespace

PivotStroke::Joint PivotStroke::StartJoint(float r) const {
    Joint joint;
    if (prev == nullptr || startCap != 0) return joint;
    const Vector3 u = prev->EndDirection();
    joint.angle = SignedAngle(u, direction, UnitZ);
    if (IsNearZero(joint.angle)) joint.angle = 0.0f;
    if (std::fabs(joint.angle) < kHalfPi) {
        joint.corner = MitreCorner(start, u, direction, joint.angle, r);
    } else if (IsLineLike(prev->kind)) {
        joint.corner = start + r * (-u + InsideOf(u, joint.angle));
    } else if (prev->kind == 'p') {
        joint.corner = start + r * Normalized(direction - u);
    }
    // Against a dot or another kind the corner of a sharp turn is unknown:
    // the joint is then left unpivoted.
    return joint;
}

PivotStroke::Joint PivotStroke::EndJoint(float r) const {
    Joint joint;
    if (next == nullptr || endCap != 0) return joint;
    const Vector3 v = next->StartDirection();
    joint.angle = SignedAngle(direction, v, UnitZ);
    if (IsNearZero(joint.angle)) {
        joint.angle = 0.0f;
        joint.corner = end;
    } else if (std::fabs(joint.angle) < kHalfPi) {
        joint.corner = MitreCorner(end, direction, v, joint.angle, r);
    } else if (IsLineLike(next->kind)) {
        joint.corner = end + r * (v + InsideOf(v, joint.angle));
    } else if (next->kind == 'p') {
        joint.corner = end + r * Normalized(v - direction);
    }
    return joint;
}

void PivotStroke::Draw() {
    if (owner == nullptr) return;
    const float r = owner->StrokeWidth();
    const Joint first = StartJoint(r);
    const Joint last = EndJoint(r);
    if (first.IsPivoted() && last.IsPivoted()) {
        PlaceBetweenCorners(first, last, r);
    } else if (last.IsPivoted()) {
        SwingAboutStart(*last.corner, last.angle, r);
    } else if (first.IsPivoted()) {
        SwingAboutEnd(*first.corner, first.angle, r);
    } else {
        FitUnpivoted();
    }
    DrawBody(bodyDirection);
    if (next != nullptr) next->Draw();
}

void PivotStroke::FitUnpivoted() {
    // With nothing to swing about the stroke is drawn like a plain line along
    // its own axis, whatever an earlier fitting left behind.
    bodyStart = start;
    bodyEnd = end;
    bodyDirection = direction;
}

void PivotStroke::SwingAboutStart(const Vector3& endCorner, float endAngle, float r) {
    const Vector3 d = endCorner - start;
    const float length = Length(d);
    if (IsNearZero(length)) {
        bodyStart = bodyEnd = endCorner + r * Normalized(OutsideOf(direction, endAngle));
        bodyDirection = direction;
    } else if (length < r) {
        bodyStart = bodyEnd = start;
        bodyDirection = Normalized(OutsideOf(Normalized(d), endAngle));
    } else {
        const float alpha = ClampedAsin(r / length);
        const Vector3 swung = Normalized(Rotated(d, UnitZ, endAngle > 0.0f ? -alpha : alpha));
        bodyStart = start;
        bodyEnd = start + (length * std::cos(alpha)) * swung;
        bodyDirection = UnitOr(bodyEnd - bodyStart, swung);
    }
}

void PivotStroke::SwingAboutEnd(const Vector3& startCorner, float startAngle, float r) {
    const Vector3 d = startCorner - end;
    const float length = Length(d);
    if (IsNearZero(length)) {
        bodyStart = bodyEnd = startCorner + r * Normalized(OutsideOf(direction, startAngle));
        bodyDirection = direction;
    } else if (length < r) {
        bodyStart = bodyEnd = end;
        bodyDirection = Normalized(OutsideOf(Normalized(d), startAngle));
    } else {
        const float alpha = ClampedAsin(r / length);
        const Vector3 swung = Normalized(Rotated(d, UnitZ, startAngle > 0.0f ? alpha : -alpha));
        bodyStart = end + (length * std::cos(alpha)) * swung;
        bodyEnd = end;
        bodyDirection = UnitOr(bodyEnd - bodyStart, -swung);
    }
}

void PivotStroke::PlaceBetweenCorners(const Joint& first, const Joint& last, float r) {
    const Vector3 ks = *first.corner;
    const Vector3 d = *last.corner - ks;
    const float length = Length(d);
    const bool leftFirst = first.angle > 0.0f;
    if (IsNearZero(length)) {
        bodyDirection = prev->BodyEndDirection();
        bodyStart = bodyEnd = prev->bodyEnd;
    } else if (first.angle * last.angle > 0.0f) {
        // Both turns the same way: the body's side runs through both corners.
        const Vector3 side = Normalized(OutsideOf(d, first.angle));
        bodyStart = ks + r * side;
        bodyEnd = *last.corner + r * side;
        bodyDirection = Normalized(bodyEnd - bodyStart);
    } else if (length < 2.0f * r) {
        bodyStart = bodyEnd = ks + 0.5f * d;
        bodyDirection = Normalized(InsideOf(d, first.angle));
    } else {
        // An S-bend: the inner tangent of the circles of radius r about the corners.
        const float beta = static_cast<float>(kHalfPi) - ClampedAsin(2.0f * r / length);
        const Vector3 m = Normalized(Rotated(d, UnitZ, leftFirst ? -beta : beta));
        bodyStart = ks + r * m;
        bodyEnd = *last.corner - r * m;
        bodyDirection = UnitOr(bodyEnd - bodyStart, Normalized(d));
    }
}
