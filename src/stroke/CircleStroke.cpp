#include "stroke/CircleStroke.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>
#include <utility>

#include "scene/DataLine.h"
#include "scene/FieldLine.h"
#include "stroke/SweepBudget.h"
#include "stroke/Tessellation.h"
#include "text/StrokeCharacter.h"

namespace {
constexpr double kArcDegreesToRadians = 3.1415927410125732 * 0.005555555555555556;
constexpr double kArcRadiansToDegrees = 57.29577791868205;
}  // namespace

CircleStroke::CircleStroke(StrokeCharacter* owner) : Stroke('c', owner) {}

CircleStroke::CircleStroke(StrokeCharacter* owner, const Vector3& c, const Vector3& s, float sweepAngle)
    : Stroke('c', owner) {
    start = s;
    centre = IsNearZero(Length(s - c)) ? s + 1.0f * UnitX : c;
    sweep = sweepAngle;
    PlaceEndBySweep();
    UpdateTangents();
}

Vector3 CircleStroke::TangentAt(const Vector3& point) const {
    const Vector3 radial = point - centre;
    return Normalized(sweep > 0.0f ? Cross(UnitZ, radial) : Cross(radial, UnitZ));
}

void CircleStroke::PlaceEndBySweep() {
    bodyStart = start;
    radius = Length(start - centre);
    end = bodyEnd = centre + radius * Normalized(Rotated(start - centre, UnitZ, sweep));
}

void CircleStroke::UpdateTangents() {
    direction = bodyStartDirection = TangentAt(start);
    endDirection = bodyEndDirection = TangentAt(end);
}

float CircleStroke::FollowedSweep(float measuredAngle) const {
    // A full turn puts both ends on the same point, where the measured angle
    // is rounding noise of either sign: keep the circle closed.
    if (std::fabs(measuredAngle) < kClosedArcTolerance && std::fabs(sweep) > kTwoPi - kClosedArcTolerance)
        return std::copysign(static_cast<float>(kTwoPi), sweep);
    if (sweep * measuredAngle > 0.0f) return measuredAngle;
    if (sweep > 0.0f && measuredAngle < 0.0f) return measuredAngle + static_cast<float>(kTwoPi);
    if (sweep < 0.0f && measuredAngle > 0.0f) return measuredAngle - static_cast<float>(kTwoPi);
    return 0.0f;
}

bool CircleStroke::CrossesOver(const Vector3& other, const Vector3& moved, const Vector3& p) const {
    const Vector3 before = Cross(other - centre, moved - centre);
    const Vector3 after = Cross(other - centre, p - centre);
    return Dot(after, before) < 0.0f;
}

void CircleStroke::SetStart(const Vector3& p) {
    const Vector3 point = p;  // p may be a neighbour's field that the push below moves
    const Vector3 towardsEnd = Normalized(end - centre);
    if (IsNearZero(Length(point - centre))) {
        centre = point - 1.0f * Normalized(start - centre);
    } else if (std::fabs(sweep) < kHalfPi && CrossesOver(end, start, point)) {
        sweep = -sweep;
    }
    start = bodyStart = point;
    radius = Length(point - centre);
    end = centre + radius * towardsEnd;
    sweep = FollowedSweep(SignedAngle(point - centre, end - centre, UnitZ));
    UpdateTangents();
    if (next != nullptr && endCap == 0) {
        const Vector3 joint = end;
        next->SetStart(joint);
    }
}

void CircleStroke::SetEnd(const Vector3& p) {
    const Vector3 point = p;
    const Vector3 towardsStart = Normalized(start - centre);
    if (IsNearZero(Length(point - centre))) {
        centre = point - 1.0f * Normalized(end - centre);
    } else if (std::fabs(sweep) < kHalfPi && CrossesOver(start, end, point)) {
        sweep = -sweep;
    }
    end = bodyEnd = point;
    radius = Length(point - centre);
    start = centre + radius * towardsStart;
    sweep = FollowedSweep(SignedAngle(start - centre, point - centre, UnitZ));
    UpdateTangents();
    if (prev != nullptr && startCap == 0) {
        const Vector3 joint = start;
        prev->SetEnd(joint);
    }
}

namespace {
const char* const kArcNames[] = {"centre x", "centre y", "sweep", nullptr};

void warnAboutSweep(FieldLine& values, float degrees, bool outside) {
    if (outside)
        values.Replaced("sweep " + ShownValue(degrees) +
                        " is outside -360..360 degrees and becomes 0: a zero-length arc");
    else if (degrees == 0.0f)
        values.Replaced("a sweep of 0 degrees makes a zero-length arc");
}
}  // namespace

int CircleStroke::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    float x = 0.0f, y = 0.0f, degrees = 0.0f;
    FieldLine values(FieldLine::Continuing{}, in, report, field, kArcNames);
    int errors = ReadCoordinate(values, x);
    errors += ReadCoordinate(values, y);
    errors += values.Read(degrees);
    double radians = degrees * kArcDegreesToRadians;
    const bool outside = radians < -kTwoPi || radians > kTwoPi;
    if (errors == 0 && values.Reporting()) warnAboutSweep(values, degrees, outside);
    if (outside) radians = 0.0;
    Vector3 c(x, y, 0.0f);
    if (IsNearZero(Length(start - c))) {
        if (errors == 0 && values.Reporting())
            values.Replaced("its start " + ShownPoint(start.x, start.y) + " lies on its centre: the centre moves to " +
                            ShownPoint(start.x - 1.0f, start.y));
        c = start - 1.0f * UnitX;
    }
    centre = c;
    sweep = static_cast<float>(radians);
    PlaceEndBySweep();
    UpdateTangents();
    const Vector3 placedEnd = end;
    SetEnd(placedEnd);
    return errors;
}

int CircleStroke::Write(std::ostream& out) const {
    int errors = WriteStartMarker(out);
    out << ' ' << kind << ' ' << centre.x << ' ' << centre.y << ' ' << sweep * kArcRadiansToDegrees;
    errors += out.fail() ? 1 : 0;
    return errors + WriteEndMarker(out);
}

bool CircleStroke::Reaches(const Vector3& axis) const {
    float phi = SignedAngle(start - centre, axis, UnitZ);
    if (sweep > 0.0f && phi < 0.0f) phi += static_cast<float>(kTwoPi);
    else if (sweep < 0.0f && phi > 0.0f) phi -= static_cast<float>(kTwoPi);
    return std::fabs(sweep) > std::fabs(phi);
}

void CircleStroke::GetBounds(float& minX, float& maxX, float& minY, float& maxY) const {
    Stroke::GetBounds(minX, maxX, minY, maxY);
    if (Reaches(-UnitX)) minX = centre.x - radius;
    if (Reaches(UnitX)) maxX = centre.x + radius;
    if (Reaches(-UnitY)) minY = centre.y - radius;
    if (Reaches(UnitY)) maxY = centre.y + radius;
}

namespace {
// The trim of a joined arc end at joint angle theta, never more than the arc.
float ArcTrim(float theta, char neighbourKind, float r, float arcLength) {
    const JointTrim trim = TrimAtJoint(theta, neighbourKind, r);
    float length = 0.0f;
    if (trim.kind == JointTrim::WholeStroke) length = arcLength;
    if (trim.kind == JointTrim::Distance) length = trim.distance;
    return std::min(length, arcLength);
}
}  // namespace

float CircleStroke::StartTrim(float r, float arcLength) const {
    if (prev == nullptr || startCap != 0) return 0.0f;
    return ArcTrim(JointAngle(prev->EndDirection(), direction), prev->kind, r, arcLength);
}

float CircleStroke::EndTrim(float r, float arcLength) const {
    if (next == nullptr || endCap != 0) return 0.0f;
    return ArcTrim(JointAngle(endDirection, next->StartDirection()), next->kind, r, arcLength);
}

float CircleStroke::FitBody(float startTrim, float endTrim) {
    // An arc of no radius has no length to trim along.
    const float startTurn = IsNearZero(radius) ? 0.0f : startTrim / radius;
    const float endTurn = IsNearZero(radius) ? 0.0f : endTrim / radius;
    const float sign = sweep > 0.0f ? 1.0f : -1.0f;
    const Vector3 startRadial = Normalized(Rotated(start - centre, UnitZ, sign * startTurn));
    const Vector3 endRadial = Normalized(Rotated(end - centre, UnitZ, -sign * endTurn));
    bodyStart = centre + radius * startRadial;
    bodyEnd = centre + radius * endRadial;
    bodyStartDirection = TangentAt(bodyStart);
    bodyEndDirection = TangentAt(bodyEnd);
    return sweep - sign * (startTurn + endTurn);
}

void CircleStroke::Draw() {
    if (owner == nullptr) return;
    const float r = owner->StrokeWidth();
    const float arcLength = radius * std::fabs(sweep);
    float startTrim = StartTrim(r, arcLength);
    float endTrim = EndTrim(r, arcLength);
    // Trims that use up the whole arc leave no body, wherever the rounded
    // body ends happen to fall.
    const bool trimmedAway = arcLength <= startTrim + endTrim;
    if (arcLength < startTrim + endTrim) {
        // The trims overlap: each gives up half of the excess, so that the body
        // ends meet on the arc instead of passing each other.
        const float excess = startTrim + endTrim - arcLength;
        startTrim -= excess * 0.5f;
        endTrim -= excess * 0.5f;
    }
    const float bodySweep = FitBody(startTrim, endTrim);
    if (!trimmedAway && ArcHasBody(bodyStart, bodyEnd, bodySweep)) SweepArc(bodySweep, owner->FacetLength());
    DrawCap(startCap, bodyStart, -bodyStartDirection, bodyStartDirection);
    DrawCap(endCap, bodyEnd, bodyEndDirection, bodyEndDirection);
    DrawJoint();
    if (next != nullptr) next->Draw();
}

void CircleStroke::SweepArc(float bodySweep, float facetLength) {
    Section ringA, ringB;
    const unsigned pointsPerRing = MakeSection(ringA, bodyStart, bodyStartDirection, 1.0f);
    // A wide section along a long arc would multiply two large counts.
    const int count = std::min(ArcSegmentCount(radius, bodySweep, facetLength), MaxRings(pointsPerRing));
    const float step = bodySweep / static_cast<float>(count);
    const Vector3 startRadial = bodyStart - centre;
    for (int i = 0; i <= count; ++i) {
        Vector3 point = bodyEnd;
        Vector3 tangent = bodyEndDirection;
        if (i < count) {
            const float angle = static_cast<float>(i + 1) * step;
            point = centre + radius * Normalized(Rotated(startRadial, UnitZ, angle));
            tangent = Normalized(Rotated(bodyStartDirection, UnitZ, angle));
        }
        const unsigned pointCount = MakeSection(ringB, point, tangent, 1.0f);
        DrawBand(ringA, ringB, tangent, pointCount);
        std::swap(ringA, ringB);
    }
}

bool ArcHasBody(const Vector3& bodyStart, const Vector3& bodyEnd, float bodySweep) {
    // Coinciding body ends leave nothing to sweep, unless the arc closes on
    // itself as a full circle.
    return !IsNearZero(Length(bodyStart - bodyEnd)) || std::fabs(bodySweep) > M_PI;
}

int ArcSegmentCount(float radius, float sweep, float facetLength) {
    const double turn = std::fabs(static_cast<double>(sweep));
    int count = BoundedCount(std::fabs(static_cast<double>(radius)) * turn / facetLength + 1.0);
    const int atLeast = BoundedCount(turn * kStepsPerRadian);
    if (count < atLeast) count = atLeast;
    return std::max(count, 1);
}
