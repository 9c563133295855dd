#pragma once

#include <vector>

#include "capture/Capture.h"

class LogoString;
class StrokeFontCharacterSet;

// What the viewer's drawing code draws for a logo, split into the solid
// logo and its flat shadow.
struct CapturedLogo {
    std::vector<capture::Triangle> solid;
    std::vector<capture::Triangle> shadow;  // empty when the shadow is off
    std::vector<capture::Surface> surfaces;
    capture::ProblemCounts problems;
};

// Runs the viewer's own drawing (Prepare, then Draw, or DrawFrame of frame
// when it is not negative) through the capture layer, in logo space.
CapturedLogo CaptureLogo(LogoString& logo, StrokeFontCharacterSet& font, int frame);
