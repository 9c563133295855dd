#pragma once

#include <memory>
#include <vector>

#include "geometry/Vector3.h"
#include "scene/Color.h"

class StrokeCharacter;
class StrokeFontCharacterSet;

// A solid rod drawn in the font's stroke style: the rules of the logo.

// One cross-section of a rod: where it stands, which way the rod runs there
// and the colour of the surface that reaches it.
struct RodStation {
    Vector3 point = Origin;
    Vector3 direction = UnitX;
    Color colour;
};

// The blend from a to b that a rule or band shows at station i of steps:
// a at the start, swinging towards b frequency half-waves along the line.
Color BlendedColour(const Color& a, const Color& b, float frequency, unsigned station, unsigned steps);

// Sweeps the font's cross-section through the stations and caps both ends
// with the font's cap style. Each station sets its colour first.
void DrawRod(StrokeFontCharacterSet& font, const std::vector<RodStation>& stations);

// A character of the font holding one straight stroke from (x0, y, 0) to
// (x1, y, 0) capped at both ends with the font's cap style.
std::unique_ptr<StrokeCharacter> MakeStraightRod(StrokeFontCharacterSet& font, float x0, float x1, float y);
