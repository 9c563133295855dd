#pragma once

// What the viewer drew, as a print's solid starts from it: the captured
// triangles with area, each with its material and the colour it shows.

#include <functional>
#include <string>
#include <vector>

#include "LogoCapture.h"
#include "solid/PrintPreparation.h"

// isGlyph tells the triangles a glyph's own list drew; surfaceNames names
// each surface's material; strokeWidth is the font's half stroke width.
DrawnLogo DrawnLogoOf(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                      const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth);
