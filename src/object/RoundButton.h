#pragma once

#include "object/BasicObject.h"

// An elliptical plate in the XY plane facing +Z with a sloped rim: a flat face
// whose semi-axes are inset by half the depth, and a rim down to the base
// ellipse one depth behind it. No back face is drawn.
//
// Drawing clamps depth to the width and then to the height and keeps the
// clamped value in the record. The sizes are magnitudes: negative values are
// drawn as their absolute values, so that the plate never turns inside out.
class RoundButton : public BasicObject {
public:
    explicit RoundButton(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};

// Segments around the rim: one per step of the larger ellipse axis times 2 pi,
// plus one, kept within the tessellation bound and never below 1.
int RoundButtonSegments(float width, float height, float step);
