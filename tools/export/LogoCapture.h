#pragma once

#include <array>
#include <vector>

#include "capture/Capture.h"

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
    // The picked triangles, each with its own three corners.
    std::vector<std::array<capture::Vertex, 3>> Corners(const std::vector<std::uint32_t>& which) const;
};

// Runs the viewer's own drawing (Prepare, then Draw, or DrawFrame of frame
// when it is not negative) through the capture layer, in logo space.
CapturedLogo CaptureLogo(LogoString& logo, StrokeFontCharacterSet& font, int frame);
