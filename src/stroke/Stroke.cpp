#include "stroke/Stroke.h"

#include <cmath>
#include <istream>
#include <ostream>

#include "scene/DataLine.h"
#include "scene/FieldLine.h"

Stroke::Stroke(char kind_, StrokeCharacter* owner_) : kind(kind_), owner(owner_) {}

void Stroke::MoveTo(const Vector3& p) {
    start = (start - centre) + p;
    end = (end - centre) + p;
    centre = p;
    if (prev != nullptr && startCap == 0) prev->SetEnd(start);
    if (next != nullptr && endCap == 0) next->SetStart(end);
}

void Stroke::GetBounds(float& minX, float& maxX, float& minY, float& maxY) const {
    minX = (start.x > end.x) ? end.x : start.x;
    maxX = (start.x > end.x) ? start.x : end.x;
    minY = (start.y > end.y) ? end.y : start.y;
    maxY = (start.y > end.y) ? start.y : end.y;
}

void Stroke::SetPrev(Stroke* p) {
    if (p != nullptr && p != prev && prev != nullptr) prev->SetNext(nullptr);
    prev = p;
    if (prev != nullptr && startCap == 0) {
        const Vector3 joint = prev->end;
        SetStart(joint);
    }
}

void Stroke::SetNext(Stroke* p) {
    if (p != nullptr && p != next && next != nullptr) next->SetPrev(nullptr);
    next = p;
    if (next != nullptr && endCap == 0) {
        const Vector3 joint = next->start;
        SetEnd(joint);
    }
}

int Stroke::WriteStartMarker(std::ostream& out) const {
    if (startCap == 0) return 0;
    out << ' ' << (startCap == 1 ? 'f' : 'e') << ' ' << start.x << ' ' << start.y;
    return out.fail() ? 1 : 0;
}

int Stroke::WriteEndMarker(std::ostream& out) const {
    if (endCap == 0) return 0;
    out << ' ' << (endCap == 1 ? 'f' : 'e');
    return out.fail() ? 1 : 0;
}

float JointAngle(const Vector3& incoming, const Vector3& outgoing) {
    return std::fabs(SignedAngle(incoming, outgoing, UnitZ));
}

JointTrim TrimAtJoint(float theta, char neighbourKind, float r) {
    const float mitre = std::tan(theta * 0.5f) * r;
    switch (neighbourKind) {
        case 'c':
        case 'l':
        case 's':
            if (theta > kTurnBackAngle) return {JointTrim::WholeStroke, 0.0f};
            return {JointTrim::Distance, mitre};
        case 'p':
            if (theta < kHalfPi) return {JointTrim::Distance, mitre};
            return {JointTrim::Distance, r};
        default: return {JointTrim::None, 0.0f};
    }
}

int ReadCoordinate(FieldLine& line, float& value) {
    const int index = line.Values();
    const int errors = line.Read(value);
    if (std::isnan(value) || value > kMaxCoordinate || value < -kMaxCoordinate) {
        line.Limit(value, std::isnan(value), 0.0f, index, "is not a number");
        line.Limit(value, value > kMaxCoordinate, kMaxCoordinate, index, "is beyond 1e+06");
        line.Limit(value, value < -kMaxCoordinate, -kMaxCoordinate, index, "is beyond -1e+06");
    }
    return errors;
}

int ReadCoordinate(std::istream& in, float& value) {
    const int errors = readValue(in, value);
    if (std::isnan(value)) value = 0.0f;
    if (value > kMaxCoordinate) value = kMaxCoordinate;
    if (value < -kMaxCoordinate) value = -kMaxCoordinate;
    return errors;
}
