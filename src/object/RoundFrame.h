#pragma once

#include "object/BasicObject.h"

// An elliptical ring in the XY plane around the position, width by height on
// its outer edge, swept from the owner's font cross-section so that it matches
// the letters. depth is not used. Draws nothing without a font or without room
// for the stroke inside the ellipse.
class RoundFrame : public BasicObject {
public:
    explicit RoundFrame(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
