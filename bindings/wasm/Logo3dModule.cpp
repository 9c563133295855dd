// The program's export as a WebAssembly module: C functions the page's
// worker (and node, in the tests) calls. The caller puts the three files'
// bytes and the settings (JSON) into the module's memory and calls
// logo3d_export; the result is JSON, the files' bytes follow one another.
// Everything else is ExportLogo's, as in logo3d-export.

#include <emscripten/emscripten.h>

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "export/ExportLogo.h"
#include "solid/SolidGrid.h"
#include "text/FileCheck.h"

using nlohmann::json;

namespace {

ExportResult last;
std::string lastJson, lastBytes;

// The page's grid for a print's solid: at most this many voxels across, as
// the union runs on the dense grid in the page's memory and time.
constexpr int kPageGridSteps = 320;

template <typename T>
void take(const json& from, const char* key, T& into) {
    if (from.contains(key) && !from[key].is_null()) into = from[key].get<T>();
}

PageOptions pageOptionsOf(const json& j) {
    PageOptions page;
    take(j, "controls", page.controls);
    take(j, "autoplay", page.autoplay);
    take(j, "fit", page.fit);
    take(j, "transparent", page.transparent);
    take(j, "loop", page.loop);
    take(j, "view", page.view);
    return page;
}

PrintLayout printLayoutOf(const json& j) {
    PrintLayout print;
    print.onBed = true;
    print.maxSteps = kPageGridSteps;
    take(j, "width", print.width);
    take(j, "base", print.base);
    take(j, "margin", print.margin);
    take(j, "baseMaterial", print.baseMaterial);
    take(j, "voxel", print.voxel);
    take(j, "allowFloating", print.allowFloating);
    if (j.contains("steps")) take(j, "steps", print.maxSteps);
    return print;
}

// The settings as the exporter's options name them: format (by extension),
// scale, frame, shadow, weld, embed, seconds, text, title, quiet, print
// {width, base, margin, baseMaterial, voxel, steps, allowFloating}, page {...}; picture
// (the studio's own), values (where each value stands).
bool settingsOf(const std::string& text, ExportSettings& s, std::string& problem) {
    const json j = json::parse(text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return problem = "the settings are not a JSON object", false;
    take(j, "output", s.output);
    if (!FormatOfName(s.output, s.format)) return problem = "unknown format: " + s.output, false;
    take(j, "scale", s.millimetresPerUnit);
    take(j, "frame", s.frame);
    take(j, "shadow", s.shadow);
    take(j, "weld", s.weld);
    take(j, "embed", s.embedBuffer);
    take(j, "seconds", s.loopSeconds);
    take(j, "text", s.text);
    take(j, "title", s.title);
    bool quiet = false;
    take(j, "quiet", quiet);
    s.checkFiles = !quiet;
    take(j, "picture", s.studioPicture);
    take(j, "values", s.valuePlaces);
    take(j, "still", s.stillPicture);
    if (j.contains("page")) s.page = pageOptionsOf(j["page"]);
    s.print = printLayoutOf(j.contains("print") ? j["print"] : json::object());
    s.grid = MakeDenseGrid;
    return true;
}

json findingsJson(const std::vector<FileFindings>& files) {
    json out = json::array();
    for (const FileFindings& f : files)
        for (const Finding& finding : f.findings)
            out.push_back({{"file", f.file},
                           {"line", finding.line},
                           {"severity", finding.severity == Finding::Severity::Error ? "error" : "warning"},
                           {"field", Printable(finding.field)},
                           {"message", Printable(finding.message)},
                           {"text", FormatFinding(f.file, finding)}});
    return out;
}

// Field and value names repeat: each is said once.
json valuesJson(const std::vector<ValuePlace>& values) {
    std::map<std::string, int> index;
    json names = json::array(), spans = json::array();
    const auto named = [&](const std::string& name) {
        const auto found = index.find(name);
        if (found != index.end()) return found->second;
        names.push_back(Printable(name));
        return index[name] = static_cast<int>(names.size() - 1);
    };
    for (const ValuePlace& v : values)
        for (int x : {v.file, v.span.line, v.span.from, v.span.to, named(v.span.field), named(v.span.name)})
            spans.push_back(x);
    return {{"names", names}, {"spans", spans}};
}

std::string resultJson(const ExportResult& r) {
    json files = json::array();
    for (const ExportedFile& f : r.files) files.push_back({{"name", f.name}, {"size", f.bytes.size()}});
    const ExportFigures& g = r.figures;
    json out = {{"built", r.status == 0},
                {"problem", r.problem},
                {"title", r.title},
                {"pageConfig", r.pageConfig.empty() ? json(nullptr) : json::parse(r.pageConfig)},
                {"findings", findingsJson(r.findings)},
                {"notes", r.notes},
                {"report", r.report},
                {"files", files},
                {"values", valuesJson(r.values)},
                {"figures",
                 {{"drawn", g.drawn},
                  {"degenerate", g.degenerate},
                  {"rewound", g.rewound},
                  {"written", g.written},
                  {"motionFrames", g.motionFrames},
                  {"refusedCalls", g.refusedCalls},
                  {"sizeMillimetres", g.sizeMillimetres}}}};
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

DataFileText textOf(const char* name, const char* bytes, int size) {
    return DataFileText{name, std::string(bytes, static_cast<std::size_t>(size))};
}

}  // namespace

extern "C" {

// The three files' bytes and the settings' JSON in; the result's JSON out
// (valid until the next call), the files' bytes from logo3d_bytes.
EMSCRIPTEN_KEEPALIVE const char* logo3d_export(const char* font, int fontSize, const char* env, int envSize,
                                               const char* string, int stringSize, const char* settingsJson) {
    ExportSettings settings;
    std::string problem;
    last = ExportResult();
    if (!settingsOf(settingsJson, settings, problem)) {
        last.status = 2;
        last.problem = problem;
    } else {
        LogoTexts texts;
        texts.font = textOf("font.src", font, fontSize);
        texts.environment = textOf("env.src", env, envSize);
        texts.string = textOf("string.src", string, stringSize);
        last = ExportLogo(texts, settings);
    }
    lastBytes.clear();
    for (const ExportedFile& f : last.files) lastBytes += f.bytes;
    lastJson = resultJson(last);
    return lastJson.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* logo3d_bytes() { return lastBytes.data(); }
EMSCRIPTEN_KEEPALIVE int logo3d_byte_count() { return static_cast<int>(lastBytes.size()); }

// Lets the memory of the last result go.
EMSCRIPTEN_KEEPALIVE void logo3d_release() {
    last = ExportResult();
    lastJson.clear();
    lastJson.shrink_to_fit();
    lastBytes.clear();
    lastBytes.shrink_to_fit();
}
}
