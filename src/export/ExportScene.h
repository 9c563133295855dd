#pragma once

#include <array>
#include <string>
#include <vector>

#include "LogoMesh.h"
#include "capture/Capture.h"

class LogoString;

// Everything a writer needs: the cleaned solid and shadow, the surfaces
// their groups refer to with a name for each, and the size of a font unit.
struct ExportScene {
    MeshPart solid;
    MeshPart shadow;
    bool withShadow = false;
    std::vector<capture::Surface> surfaces;
    std::vector<std::string> surfaceNames;  // one per surface
    float millimetresPerUnit = 1.0f;
    // The whole-logo motion: where DrawFrame puts the logo at each animation
    // frame (column-major, font units), played once per loopSeconds. Fewer
    // than two different frames: no animation.
    std::vector<std::array<float, 16>> motion;
    float loopSeconds = 3.0f;
    // A web page draws the flat shadow itself, so that it follows the motion:
    // the flattening matrix (column-major, font units) and the colour it shows.
    struct PageShadow {
        bool on = false;
        std::array<float, 16> matrix{};
        std::array<float, 4> colour{};
    } pageShadow;
};

// Names each surface after the string file's material it is ("material 2"),
// or "surface N" when it matches none.
std::vector<std::string> SurfaceNames(const std::vector<capture::Surface>& surfaces, const LogoString& logo);
