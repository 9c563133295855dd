// The studio's core as a WebAssembly module: C functions the page's worker
// calls. The caller puts the three files' bytes into the module's memory,
// calls logo3d_build, then reads the result's JSON and bytes.

#include <emscripten/emscripten.h>

#include <string>

#include "StudioBuild.h"

namespace {

StudioResult last;
std::string lastJson;

bool formatOf(int code, ExportFormat& format) {
    switch (code) {
        case 0: format = ExportFormat::kGlb; return true;
        case 1: format = ExportFormat::kGltf; return true;
        case 2: format = ExportFormat::kObj; return true;
        case 3: format = ExportFormat::kStl; return true;
        case 4: format = ExportFormat::kHtml; return true;
        case 5: format = ExportFormat::k3mf; return true;
        default: return false;
    }
}

}  // namespace

extern "C" {

// format: 0 glb, 1 gltf, 2 obj, 3 stl, 4 html, 5 3mf; flags: 1 page (the
// studio's own picture), 2 shadow, 4 weld; width, base and margin lay out a
// print (STL, 3MF). Returns the result's JSON (valid until the
// next call).
EMSCRIPTEN_KEEPALIVE const char* logo3d_build(const char* font, int fontSize, const char* env, int envSize,
                                              const char* string, int stringSize, int format, int flags,
                                              float millimetresPerUnit, float loopSeconds, int frame, float width,
                                              float base, float margin) {
    StudioOptions options;
    if (!formatOf(format, options.format)) {
        last = StudioResult();
        last.problem = "unknown format";
    } else {
        options.forPage = (flags & 1) != 0;
        options.shadow = (flags & 2) != 0;
        options.weld = (flags & 4) != 0;
        options.millimetresPerUnit = millimetresPerUnit;
        options.loopSeconds = loopSeconds;
        options.frame = frame;
        options.width = width;
        options.base = base;
        options.margin = margin;
        last = BuildStudio(std::string(font, static_cast<std::size_t>(fontSize)),
                           std::string(env, static_cast<std::size_t>(envSize)),
                           std::string(string, static_cast<std::size_t>(stringSize)), options);
    }
    lastJson = StudioResultJson(last);
    return lastJson.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* logo3d_bytes() { return last.bytes.data(); }
EMSCRIPTEN_KEEPALIVE int logo3d_byte_count() { return static_cast<int>(last.bytes.size()); }
// Lets the memory of the last result go.
EMSCRIPTEN_KEEPALIVE void logo3d_release() {
    last = StudioResult();
    lastJson.clear();
    lastJson.shrink_to_fit();
}
}
