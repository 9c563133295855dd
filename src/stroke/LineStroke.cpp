#include "stroke/LineStroke.h"

#include <istream>
#include <ostream>

#include "scene/FieldLine.h"
#include "text/StrokeCharacter.h"

LineStroke::LineStroke(StrokeCharacter* owner) : LineStroke('l', owner) {}

LineStroke::LineStroke(StrokeCharacter* owner, const Vector3& a, const Vector3& b) : LineStroke('l', owner, a, b) {}

LineStroke::LineStroke(char kind, StrokeCharacter* owner) : Stroke(kind, owner) {}

LineStroke::LineStroke(char kind, StrokeCharacter* owner, const Vector3& a, const Vector3& b)
    : Stroke(kind, owner) {
    start = bodyStart = a;
    end = IsNearZero(Length(a - b)) ? a + 1.0f * UnitX : b;
    bodyEnd = end;
    UpdateCentreAndDirection();
}

void LineStroke::UpdateCentreAndDirection() {
    centre = (start + end) * 0.5f;
    direction = Normalized(end - start);
}

void LineStroke::SetStart(const Vector3& p) {
    const Vector3 point = p;  // p may be a neighbour's field that the pushes below move
    start = bodyStart = point;
    if (IsNearZero(Length(point - end))) {
        // A stroke of zero length has no direction: keep the old one.
        end = bodyEnd = start + 1.0f * direction;
        if (next != nullptr && endCap == 0) {
            const Vector3 joint = end;
            next->SetStart(joint);
        }
    }
    UpdateCentreAndDirection();
}

void LineStroke::SetEnd(const Vector3& p) {
    const Vector3 point = p;
    end = bodyEnd = point;
    if (IsNearZero(Length(point - start))) {
        start = bodyStart = end - 1.0f * direction;
        if (prev != nullptr && startCap == 0) {
            const Vector3 joint = start;
            prev->SetEnd(joint);
        }
    }
    UpdateCentreAndDirection();
}

namespace {
const char* const kEndNames[] = {"end x", "end y", nullptr};
}  // namespace

int LineStroke::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    float x = 0.0f, y = 0.0f;
    FieldLine values(FieldLine::Continuing{}, in, report, field, kEndNames);
    int errors = ReadCoordinate(values, x);
    errors += ReadCoordinate(values, y);
    Vector3 point(x, y, 0.0f);
    if (IsNearZero(Length(start - point))) {
        if (errors == 0 && values.Reporting())
            values.Replaced("its end " + ShownPoint(x, y) + " is its start: a zero-length stroke, whose end moves to " +
                            ShownPoint(start.x + 1.0f, start.y));
        point = start + 1.0f * UnitX;
    }
    end = bodyEnd = point;
    UpdateCentreAndDirection();
    SetEnd(point);
    return errors;
}

int LineStroke::Write(std::ostream& out) const {
    int errors = WriteStartMarker(out);
    out << ' ' << kind << ' ' << end.x << ' ' << end.y;
    errors += out.fail() ? 1 : 0;
    return errors + WriteEndMarker(out);
}

void LineStroke::Draw() {
    if (owner == nullptr) return;
    const float r = owner->StrokeWidth();
    FitBodyStart(r);
    FitBodyEnd(r);
    DrawBody(direction);
    if (next != nullptr) next->Draw();
}

void LineStroke::FitBodyStart(float r) {
    if (prev == nullptr || startCap != 0) {
        bodyStart = start;
        return;
    }
    const JointTrim trim = TrimAtJoint(JointAngle(prev->EndDirection(), direction), prev->kind, r);
    switch (trim.kind) {
        case JointTrim::WholeStroke: bodyStart = end; break;
        case JointTrim::Distance: bodyStart = start + trim.distance * direction; break;
        // No mitre against a dot: the body reaches the nominal point (not a
        // value left over from before the stroke was moved).
        case JointTrim::None: bodyStart = start; break;
    }
    if (Dot(end - bodyStart, direction) < 0.0f) bodyStart = end;
}

void LineStroke::FitBodyEnd(float r) {
    if (next == nullptr || endCap != 0) {
        bodyEnd = end;
        return;
    }
    const JointTrim trim = TrimAtJoint(JointAngle(direction, next->StartDirection()), next->kind, r);
    switch (trim.kind) {
        case JointTrim::WholeStroke: bodyEnd = start; break;
        case JointTrim::Distance: bodyEnd = end - trim.distance * direction; break;
        case JointTrim::None: bodyEnd = end; break;
    }
    if (Dot(bodyEnd - start, direction) < 0.0f) bodyEnd = start;
}

void LineStroke::DrawBody(const Vector3& dir) {
    if (Dot(bodyEnd - bodyStart, dir) < 0.0f) {
        // The trims of both ends overlap: nothing is left to sweep.
        bodyStart = bodyEnd = (bodyStart + bodyEnd) * 0.5f;
    } else {
        Section ringA, ringB;
        MakeSection(ringA, bodyStart, dir, 1.0f);
        const unsigned count = MakeSection(ringB, bodyEnd, dir, 1.0f);
        DrawBand(ringA, ringB, dir, count);
    }
    DrawCap(startCap, bodyStart, -dir, dir);
    DrawCap(endCap, bodyEnd, dir, dir);
    DrawJoint();
}
