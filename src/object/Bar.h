#pragma once

#include "geometry/Vector3.h"
#include "object/BarStyle.h"

class BasicObject;
class StrokeCharacter;
class StrokeCharacterSet;

// The bars are straight strokes along X centred on the primitive's position,
// drawn with a private style built for the call: width is the length from cap
// to cap, height the thickness across Y and depth the thickness along Z.

struct BarEnds {
    Vector3 start;
    Vector3 end;
};

// The stroke body from centre - L X to centre + L X, L = width / 2 less
// bodyCoefficient times the thickness |height|, never negative. A bar too
// short for a body is drawn from the centre as a body of length 1 along X,
// as a line stroke treats two coincident ends.
BarEnds BarStrokeEnds(const Vector3& centre, float width, float height, float bodyCoefficient);

// Gives set the bar's style (thickness through the setters, so that no bar is
// thinner than the thinnest stroke) and appends the bar's capped stroke to
// character, which must be a character over set.
void BuildBar(const BarStyle& style, const BasicObject& bar, StrokeCharacterSet& set, StrokeCharacter& character);

// Builds the bar in a set and character of its own and lets the stroke draw
// itself with its caps; nothing outlives the call.
void DrawBar(const BarStyle& style, const BasicObject& bar);
