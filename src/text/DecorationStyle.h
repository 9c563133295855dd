#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "scene/Diagnostics.h"

// How one decoration of the logo looks: the band behind a line or one of the
// three rules under, over and through it.
struct DecorationStyle {
    int enabled = 0;  // non-zero draws the decoration
    int colourMode = 0;
    int materialIndex = 0;
    int colourIndexA = 0;
    int colourIndexB = 0;
    float frequency = 1.0f;  // of the colour blend from A to B along a line
    // The band's margins in font units: at both ends of a line, and above
    // and below it.
    float endMargin = 0.0f;
    float sideMargin = 0.0f;

    // Five integers and a float on one significant line, then optionally the
    // two margins; field names it in findings ("band").
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {});
};
