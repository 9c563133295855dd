#pragma once

#include <string>

#include "../common/NumberOptions.h"
#include "export/ExportLogo.h"

// What to export and how, as the command line gives it: the data files
// (named as for the viewer) and the export's settings.
struct ExportOptions {
    std::string fontFile = "font.src";
    std::string envFile = "env.src";
    std::string stringFile = "string.src";
    ExportSettings settings;
    std::string grid = "openvdb";  // STL and 3MF: or "dense", as the studio makes them
    bool quiet = false;        // no warnings about the data files
    bool ready = false;        // false: nothing to export (help shown or bad options)
    int exitCode = 0;
};

// What the numeric options accept (the ranges listed in docs/reliability.md).
constexpr NumberRange kScaleRange = AboveRange(0, 1e6);
constexpr NumberRange kSecondsRange = ClosedRange(0.01, 86400);
constexpr NumberRange kFrameRange = WholeRange(0, 1e6);
constexpr NumberRange kPrintSizeRange = AboveRange(0, 1e4);
constexpr NumberRange kMarginRange = ClosedRange(0, 1e3);
constexpr NumberRange kMaterialRange = WholeRange(0, 1e6);
constexpr NumberRange kVoxelRange = AboveRange(0.001, 100);

ExportOptions ParseExportOptions(int argc, char** argv);
