#pragma once

#include "object/BasicObject.h"

// A rectangular outline in the XY plane around the position, width by height
// on its outer edge, drawn as a closed loop of five strokes in the owner's
// font style so that it matches the letters. depth is not used: the thickness
// along Z is the font's. Draws nothing without a font or without room for the
// stroke inside the rectangle.
class SquareFrame : public BasicObject {
public:
    explicit SquareFrame(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
