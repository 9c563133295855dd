#pragma once

#include <string>

#include "../common/NumberOptions.h"
#include "PageConfig.h"

enum class ExportFormat { kGlb, kGltf, kObj, kStl, kHtml, k3mf };

// What to export and how. The data files are named as for the viewer.
struct ExportOptions {
    std::string fontFile = "font.src";
    std::string envFile = "env.src";
    std::string stringFile = "string.src";
    std::string output;
    ExportFormat format = ExportFormat::kGlb;
    float millimetresPerUnit = 1.0f;
    int frame = -1;  // animation frame of the whole-logo motion; -1: the still logo
    bool shadow = false;
    bool weld = false;
    bool embedBuffer = false;  // .gltf: buffer as a data URI instead of a .bin beside it
    bool report = false;       // print where the turned-over triangles came from
    bool quiet = false;        // no warnings about the data files
    std::string title;         // the web page's title; empty: the logo's text
    float loopSeconds = 3.0f;  // one loop of the whole-logo motion in glTF and on the page
    std::string text;          // lines separated by '|' instead of the string file's text
    // Printing: the back on the bed, a width, a plate under the logo.
    bool print = false;
    float width = 0.0f;        // millimetres; 0: --scale holds
    float base = 0.0f;         // plate thickness in millimetres; 0: none
    float margin = 3.0f;
    int baseMaterial = 0;
    float voxel = 0.0f;        // millimetres; 0: chosen from the size
    PageOptions page;          // .html: how the page presents the logo
    bool ready = false;        // false: nothing to export (help shown or bad options)
    int exitCode = 0;
};

// What the numeric options accept (the README's table of ranges).
constexpr NumberRange kScaleRange = AboveRange(0, 1e6);
constexpr NumberRange kSecondsRange = ClosedRange(0.01, 86400);
constexpr NumberRange kFrameRange = WholeRange(0, 1e6);
constexpr NumberRange kPrintSizeRange = AboveRange(0, 1e4);
constexpr NumberRange kMarginRange = ClosedRange(0, 1e3);
constexpr NumberRange kMaterialRange = WholeRange(0, 1e6);
constexpr NumberRange kVoxelRange = AboveRange(0.001, 100);

// The format an output name asks for; false when its extension is none we write.
bool FormatOfName(const std::string& name, ExportFormat& format);

ExportOptions ParseExportOptions(int argc, char** argv);
