#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "geometry/Vector3.h"
#include "scene/Diagnostics.h"
#include "stroke/Section.h"

class FieldLine;
class StrokeCharacter;

// One pen movement of a glyph. The strokes of a character form a doubly linked
// chain; each keeps its nominal geometry, the trimmed part that is swept as a
// solid body, its two cap styles and its owner character, which supplies the
// drawing style. Everything lies in the XY plane; thickness in Z comes from
// the cross-section.
//
// Cap values: 0 = joined to the neighbour, 1 = open end, anything else = the
// cap style drawn by DrawCap.
class Stroke {
public:
    Stroke(char kind, StrokeCharacter* owner);
    virtual ~Stroke() = default;
    Stroke(const Stroke&) = delete;
    Stroke& operator=(const Stroke&) = delete;

    virtual Vector3 StartDirection() const = 0;
    virtual Vector3 EndDirection() const = 0;
    virtual Vector3 BodyStartDirection() const = 0;
    virtual Vector3 BodyEndDirection() const = 0;
    virtual void SetStart(const Vector3& p) = 0;
    virtual void SetEnd(const Vector3& p) = 0;
    // Translates the stroke so that centre lands on p; joined neighbours follow.
    virtual void MoveTo(const Vector3& p);
    // Fits the body to the neighbours, emits its geometry, then draws next.
    virtual void Draw() = 0;
    virtual void GetBounds(float& minX, float& maxX, float& minY, float& maxY) const;
    // Reads the kind's own parameters; returns the number of failed reads.
    // field names the stroke in findings ("glyph 'A' arc 2").
    virtual int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {}) = 0;
    // Writes the stroke record; returns the number of failed writes.
    virtual int Write(std::ostream& out) const = 0;

    void SetPrev(Stroke* p);
    void SetNext(Stroke* p);

    // Sweeping, shared by every kind; all read the owner's style.
    // Builds the owner's cross-section at P facing d, scaled by k; returns the
    // point count (0 for an empty section).
    unsigned MakeSection(Section& ring, const Vector3& P, const Vector3& d, const float& k) const;
    // The surface between two consecutive rings.
    void DrawBand(const Section& a, const Section& b, const Vector3& dir, const unsigned& count) const;
    // Fills the corner between the previous stroke's body end and this body start.
    void DrawJoint() const;
    // The end cap of style at body end P, U pointing away from the body, V the body direction.
    void DrawCap(const int& style, const Vector3& P, const Vector3& U, const Vector3& V) const;
    // Closes a ring with a flat disc facing N.
    void DrawSectionDisc(const Section& ring, const Vector3& N, const Vector3& V, unsigned count) const;

    // Writes the optional start marker with the start point: " f x y" or " e x y".
    int WriteStartMarker(std::ostream& out) const;
    // Writes the optional end marker: " f" or " e".
    int WriteEndMarker(std::ostream& out) const;

    char kind;
    int startCap = 0;
    int endCap = 0;
    Vector3 start = Origin;
    Vector3 end = Origin;
    Vector3 centre = Origin;
    Vector3 bodyStart = Origin;
    Vector3 bodyEnd = Origin;
    Stroke* prev = nullptr;
    Stroke* next = nullptr;
    StrokeCharacter* owner;
    Vector3 direction = UnitX;
};

// Reads one coordinate of a stroke record; counts 1 when the read fails.
// Magnitudes are kept within kMaxCoordinate so that lengths and products of
// coordinates can never overflow a float.
int ReadCoordinate(std::istream& in, float& value);
// The same as the next value of line, which warns when the value is kept.
int ReadCoordinate(FieldLine& line, float& value);
constexpr float kMaxCoordinate = 1.0e6f;

// |signed angle from incoming to outgoing about +Z|, in [0, pi].
float JointAngle(const Vector3& incoming, const Vector3& outgoing);

// How far a body end is pulled back from a joint with a neighbour of the given
// kind at joint angle theta, for stroke radius r.
struct JointTrim {
    enum Kind { Distance, WholeStroke, None } kind;
    float distance;  // valid for Distance
};
JointTrim TrimAtJoint(float theta, char neighbourKind, float r);

// Above this joint angle (0.99 pi) a stroke turning back on a line, stiff or
// circle stroke collapses its body.
constexpr double kTurnBackAngle = 3.1101768136024477;
// pi / 2 as a float, the limit of the pivot corner rules.
constexpr double kHalfPi = 1.5707963705062866;
// One step per 0.314 radian of turn at least.
constexpr double kStepsPerRadian = 3.1847133757961785;
// 2 pi as a float.
constexpr double kTwoPi = 6.2831854820251465;
