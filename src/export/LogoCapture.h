#pragma once

#include <array>
#include <vector>

#include "capture/Capture.h"

struct Environment;
class LogoString;
class StrokeFontCharacterSet;

// What the viewer's drawing code draws for a logo, told apart into the
// solid logo and its flat shadow (indexes into triangles).
struct CapturedLogo {
    capture::Drawing drawing;
    std::vector<std::uint32_t> solid;
    std::vector<std::uint32_t> shadow;  // empty when the shadow is off
    std::vector<capture::Surface> surfaces;
    capture::ProblemCounts problems;
    // The model-view matrix the shadow list was called under (the flattening
    // matrix, times the motion for a frame); identity without a shadow.
    float shadowMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // The picked triangles, each with its own three corners.
    std::vector<std::array<capture::Vertex, 3>> Corners(const std::vector<std::uint32_t>& which) const;
};

// Runs the viewer's own drawing (Prepare, then Draw, or DrawFrame of frame
// when it is not negative) through the capture layer, in logo space; the
// logo's shadow only when withShadow.
CapturedLogo CaptureLogo(LogoString& logo, StrokeFontCharacterSet& font, int frame, bool withShadow = true);

// Where DrawFrame puts the logo list at animation frame k = 0 .. frame
// count, the last one the end of the motion (t = 1): one model-view matrix
// (column-major) per frame, taken from the drawing code without drawing. The logo must have been captured first.
std::vector<std::array<float, 16>> LogoMotion(LogoString& logo);

// The shadow's surface as it shows: its glow, and the environment's ambient
// light on its colour (the lamps light little of a shadow's material); black
// without a shadow.
std::array<float, 4> ShadowColour(const CapturedLogo& captured, const Environment& environment);
