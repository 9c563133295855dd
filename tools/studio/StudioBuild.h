#pragma once

// The studio's one entry point: the texts of the three data files in, the
// logo out as the exporter would write it, with every finding of the
// checker and a few figures. It reads, lays out, sweeps and captures with
// the program's own core, in memory, and runs natively as well as in
// WebAssembly.

#include <string>

#include <nlohmann/json.hpp>
#include <vector>

#include "ExportOptions.h"
#include "scene/Diagnostics.h"

struct StudioOptions {
    ExportFormat format = ExportFormat::kGlb;
    // For the studio's own picture: the .glb without the shadow, and the
    // page's settings (PageConfigJson) that draw the shadow themselves.
    bool forPage = false;
    bool shadow = false;
    bool weld = false;
    float millimetresPerUnit = 1.0f;
    float loopSeconds = 3.0f;
    int frame = -1;
    // STL and 3MF, as the exporter's print options: millimetres across the
    // whole print (0: millimetresPerUnit holds), the plate's thickness (0:
    // none) and its margin.
    float width = 0.0f;
    float base = 0.0f;
    float margin = 3.0f;
    int windowSize = 400;  // the page's first view, as the viewer's window
};

struct StudioFinding {
    std::string file;  // "font.src", "env.src" or "string.src"
    Finding finding;
};

// Where each value that read stands: the page shows the field a number is
// for, and puts a colour picker beside each colour.
struct StudioValue {
    int file;  // 0 font, 1 environment, 2 string
    ValueSpan span;
};

struct StudioFigures {
    std::size_t drawn = 0, degenerate = 0, rewound = 0, written = 0;
    std::size_t motionFrames = 0;
    float sizeMillimetres[3] = {0, 0, 0};
    std::size_t refusedCalls = 0;  // calls OpenGL would refuse
};

// One of several files that travel in one run of bytes (the .obj and its .mtl).
struct StudioFile {
    std::string name;
    std::size_t size = 0;
};

struct StudioResult {
    bool built = false;
    std::string problem;     // why nothing was built, as the exporter says it
    std::string bytes;       // the file in the asked format
    std::vector<StudioFile> files;  // when the format is several files: their names and sizes, in order
    std::string pageConfig;  // JSON, when forPage or the format is a page
    std::string title;
    // STL and 3MF: the closed parts (JSON: parts [{name, colour, vertices,
    // triangles}] with their counts, warnings, millimetresPerUnit, spacing,
    // baseTop); each part's mesh is one of the files.
    nlohmann::json print;
    std::vector<StudioFinding> findings;  // font, environment, string: each in file order
    std::vector<StudioValue> values;
    StudioFigures figures;
};

StudioResult BuildStudio(const std::string& fontText, const std::string& envText, const std::string& stringText,
                         const StudioOptions& options);

// The result as JSON for the page: built, problem, title, pageConfig,
// findings [{file, line, severity, field, message, text}], files [{name,
// size}], figures, and the
// values as {names: [...], spans: [file, line, from, to, field, name, ...]}
// (field and name index names; the bytes travel apart).
std::string StudioResultJson(const StudioResult& result);
