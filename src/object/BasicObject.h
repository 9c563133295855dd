#pragma once

#include <iosfwd>
#include <memory>
#include <string_view>

#include "geometry/Vector3.h"
#include "scene/Diagnostics.h"

class LogoString;

// The common base of the solid primitives that decorate the logo: a parameter
// record (placement, size, rotation, material and colour indexes), the
// material and colour step and the rotation shared by all kinds. Each kind's
// geometry is its DrawShape.
class BasicObject {
public:
    explicit BasicObject(LogoString* owner);
    virtual ~BasicObject() = default;

    // Material and colour from the owner, rotation about the origin, DrawShape.
    virtual void Draw();
    virtual void DrawShape() = 0;
    // Reads the eleven parameters from the rest of the current line; field
    // names the line in findings.
    virtual int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {});
    virtual int Write(std::ostream& out) const;

    Vector3 position;  // (1, 1, 1) until read
    float width = 0.0f;
    float height = 0.0f;
    float depth = 0.0f;
    float angleX = 0.0f;
    float angleY = 0.0f;
    float angleZ = 0.0f;
    int materialIndex = 0;
    int colourIndex = 0;
    LogoString* owner;
};

// Kind numbers of the string file: 1 SquareButton, 2 RoundButton,
// 3 SquareFrame, 4 RoundFrame, 5 SquarePole, 6 RoundPole, 7 SquareEdgeButton,
// 8 RoundEdgeButton, 9 LineStrokeObject. Any other kind gives no object.
std::unique_ptr<BasicObject> CreateBasicObject(const int& kind, LogoString* owner);
