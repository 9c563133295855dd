#pragma once

// A text laid out in a font and drawn through the capture layer, as the
// exporter draws it, ready for the print path.

#include <string>

#include "export/DrawnLogo.h"

struct SweepStyle {
    int shape = -1, cap = -1;  // -1: the font's own
};

DrawnLogo DrawnText(const std::string& fontFile, const SweepStyle& style, const std::string& text);
