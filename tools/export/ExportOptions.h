#pragma once

#include <string>

#include "../common/NumberOptions.h"
#include "PageConfig.h"

enum class ExportFormat { kGlb, kGltf, kObj, kStl, kHtml };

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
    float loopSeconds = 3.0f;  // one loop of the whole-logo motion in glTF and on the page
    PageOptions page;          // .html: how the page presents the logo
    bool ready = false;        // false: nothing to export (help shown or bad options)
    int exitCode = 0;
};

// What the numeric options accept (the README's table of ranges).
constexpr NumberRange kScaleRange = AboveRange(0, 1e6);
constexpr NumberRange kSecondsRange = ClosedRange(0.01, 86400);
constexpr NumberRange kFrameRange = WholeRange(0, 1e6);

// The format an output name asks for; false when its extension is none we write.
bool FormatOfName(const std::string& name, ExportFormat& format);

ExportOptions ParseExportOptions(int argc, char** argv);
