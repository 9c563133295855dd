#pragma once

// What the viewer draws, made printable: laid out for the printer
// (PreparePrint), made into closed shells on a grid (Solidify), pressed onto
// the bed, with warnings for parts that would print in the air.

#include <limits>
#include <string>
#include <vector>

#include "PrintPreparation.h"
#include "SolidGrid.h"

struct PrintSolid {
    std::vector<SolidPart> parts;
    float millimetresPerUnit = 1.0f;
    float voxel = 0.0f;
    float baseTop = std::numeric_limits<float>::quiet_NaN();  // NaN without a plate
    std::vector<std::string> warnings;
    // Parts that print in the air, each as "a part at x = ... floats ... mm
    // above the base": such a print is not written unless allowed.
    std::vector<std::string> floating;
};

// The solid on the grid the maker makes (OpenVDB natively, the dense grid
// in a web page).
PrintSolid MakePrintSolid(const DrawnLogo& drawn, const PrintLayout& layout, const SolidGridMaker& makeGrid);

// Not a closed, outward solid: the warning to give; empty when it is one.
// Returns the one-line summary ("solid: 1 closed shells, ...").
std::string SolidSummary(const PrintSolid& solid, std::string& warning);
