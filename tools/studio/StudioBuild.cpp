#include "StudioBuild.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstring>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ExportScene.h"
#include "GltfWriter.h"
#include "HtmlWriter.h"
#include "LogoCapture.h"
#include "ObjWriter.h"
#include "PageConfig.h"
#include "PrintSolid.h"
#include "solid/DistanceVolume.h"
#include "scene/Environment.h"
#include "text/FileCheck.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

// The logo's text on one line, for a page's title (as the exporter names it).
std::string titleOf(const LogoString& logo) {
    std::string title;
    for (char c : logo.text) title += c == LogoString::kLineSeparator ? ' ' : c;
    const std::size_t first = title.find_first_not_of(' '), last = title.find_last_not_of(' ');
    return first == std::string::npos ? "logo3d" : title.substr(first, last - first + 1);
}

bool validUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += length;
    }
    return true;
}

// A title the page's JSON can hold: UTF-8 as it is, anything else read as
// Latin-1, as the studio reads files.
std::string pageTitle(const std::string& title) {
    if (validUtf8(title)) return title;
    std::string out;
    for (char c : title) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x80) out += c;
        else {
            out += static_cast<char>(0xc0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3f));
        }
    }
    return out;
}

// The checker's report that also keeps where each value stands.
class ValueReport : public FindingList {
public:
    ValueReport(std::vector<StudioValue>& values_, int file_) : values(values_), file(file_) { wantsValues = true; }

protected:
    void RecordValue(const ValueSpan& span) override { values.push_back({file, span}); }

private:
    std::vector<StudioValue>& values;
    int file;
};

void addFindings(StudioResult& result, const char* file, const std::vector<Finding>& findings) {
    for (const Finding& f : findings) result.findings.push_back({file, f});
}

// Grid points across the print's widest side at the most: the union runs in
// the page, so its grid is coarser than the exporter's for a large print.
constexpr float kPrintCells = 320.0f;

// STL and 3MF: the drawn solid laid out for a printer as the exporter lays
// it out (sheets given the strokes' depth, the back on the bed, the plate),
// each part closed through a signed distance on a grid, for the page to
// unite and cut flat at the bed (manifold-3d). Each part is one file of the
// bytes: its vertices' floats (x, y, z), then its triangles' indices.
void printVolumes(StudioResult& result, const CapturedLogo& captured, const std::vector<std::string>& names,
                  const StrokeFontCharacterSet& font, const StudioOptions& options) {
    PrintLayout layout;
    layout.onBed = true;
    layout.width = options.width;
    layout.millimetresPerUnit = options.millimetresPerUnit;
    layout.base = options.base;
    layout.margin = options.margin;
    layout.perMaterial = options.format == ExportFormat::k3mf;
    const auto isGlyph = [&font](const capture::Triangle& t) {
        for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
            if (c->displayList > 0 && static_cast<unsigned>(c->displayList) == t.innerList) return true;
        return false;
    };
    PrintInput in = PreparePrint(captured, names, isGlyph, font.strokeWidth, layout);
    if (!layout.perMaterial && !in.groups.empty()) {
        std::vector<TriangleCorners> everything;
        for (const std::vector<TriangleCorners>& group : in.groups) everything.insert(everything.end(), group.begin(), group.end());
        in.groups = {std::move(everything)};
        SolidPart united;
        united.name = "logo";
        in.parts = {united};
    }
    const float spacing = std::max(in.voxel, in.span / kPrintCells);
    nlohmann::json parts = nlohmann::json::array();
    for (std::size_t i = 0; i < in.groups.size(); ++i) {
        if (in.groups[i].empty()) continue;
        const SolidMesh mesh = MeshLevelSet(SignedDistanceVolume(in.groups[i], spacing));
        if (mesh.triangles.empty()) continue;
        const std::size_t vertexBytes = mesh.vertices.size() * sizeof(Point3);
        const std::size_t size = vertexBytes + mesh.triangles.size() * sizeof(mesh.triangles[0]);
        const std::size_t at = result.bytes.size();
        result.bytes.resize(at + size);
        std::memcpy(&result.bytes[at], mesh.vertices.data(), vertexBytes);
        std::memcpy(&result.bytes[at + vertexBytes], mesh.triangles.data(), size - vertexBytes);
        result.files.push_back({in.parts[i].name, size});
        const SolidPart& part = in.parts[i];
        parts.push_back({{"name", Printable(part.name)},
                         {"colour", {part.colour[0], part.colour[1], part.colour[2], part.colour[3]}},
                         {"vertices", mesh.vertices.size()},
                         {"triangles", mesh.triangles.size()}});
    }
    result.print = {{"parts", parts},
                    {"warnings", in.warnings},
                    {"millimetresPerUnit", in.millimetresPerUnit},
                    {"spacing", spacing},
                    {"baseTop", std::isnan(in.baseTop) ? nlohmann::json(nullptr) : nlohmann::json(in.baseTop)}};
}

// The page's colour behind the logo: the environment's clear colour, or
// none when its alpha is 0.
std::string pageBackground(const Environment& environment) {
    if (PageIsTransparent(environment, PageOptions{})) return "transparent";
    const Color& c = environment.clearColor;
    const auto byte = [](float v) { return static_cast<int>(std::lround(std::min(1.0f, std::max(0.0f, v)) * 255.0f)); };
    return "rgb(" + std::to_string(byte(c.red)) + ", " + std::to_string(byte(c.green)) + ", " + std::to_string(byte(c.blue)) + ")";
}

WriteResult write(const StudioOptions& options, const ExportScene& scene, const std::string& pageConfig,
                  const std::string& title, const std::string& background, std::string& bytes,
                  std::vector<StudioFile>& files) {
    if (options.forPage) {
        bytes = GlbBytes(scene);
        return {};
    }
    switch (options.format) {
        case ExportFormat::kGlb: bytes = GlbBytes(scene); return {};
        case ExportFormat::kGltf:
            // The buffer inside the file: a page hands out one file.
            bytes = GltfFiles(scene, "logo.gltf", false, true).back().bytes;
            return {};
        case ExportFormat::kObj:
            // The .obj and the .mtl its mtllib names, one after the other.
            for (FileToWrite& file : ObjFiles(scene, "logo.obj")) {
                files.push_back({file.path, file.bytes.size()});
                bytes += file.bytes;
            }
            return {};
        case ExportFormat::kHtml:
            // No still picture: the page draws the logo itself.
            bytes = HtmlBytes(HtmlPage{scene, pageConfig, title, background, std::string(), std::string()});
            return {};
        case ExportFormat::kStl:
        case ExportFormat::k3mf: break;  // solids: printVolumes
    }
    return "unknown format";
}

void countFigures(StudioResult& result, const ExportScene& scene, const CleanUpReport& report,
                  const capture::ProblemCounts& problems) {
    StudioFigures& f = result.figures;
    f.drawn = report.drawn;
    f.degenerate = report.degenerate;
    f.rewound = report.rewound;
    f.written = scene.solid.TriangleCount() + (scene.withShadow ? scene.shadow.TriangleCount() : 0);
    f.motionFrames = scene.motion.size();
    f.refusedCalls = problems.Total();
    const Bounds b = scene.solid.PositionBounds();
    for (int i = 0; i < 3; ++i) f.sizeMillimetres[i] = (b.max[i] - b.min[i]) * scene.millimetresPerUnit;
}

}  // namespace

StudioResult BuildStudio(const std::string& fontText, const std::string& envText, const std::string& stringText,
                         const StudioOptions& options) {
    StudioResult result;
    // The checker's reads are the loaders' reads with a report: the font and
    // the logo they fill are the ones the exporter would draw.
    // (what CheckFont and CheckEnvironment do, with a report that also
    // keeps the values' places).
    StrokeFontCharacterSet font;
    {
        ValueReport report(result.values, 0);
        std::istringstream in(fontText);
        font.Load(in, report);
        addFindings(result, "font.src", InLineOrder(report.Findings()));
    }
    Environment environment;
    int environmentFailures = 0;
    {
        ValueReport report(result.values, 1);
        std::istringstream in(envText);
        environmentFailures = environment.Read(in, report);
        addFindings(result, "env.src", InLineOrder(report.Findings()));
    }
    const std::vector<Finding> stringFindings = CheckStringFile(stringText, &font);
    addFindings(result, "string.src", stringFindings);

    if (environmentFailures != 0) {
        result.problem = "error occurs while loading environment file : env.src";
        return result;
    }
    LogoString logo;
    {
        ValueReport report(result.values, 2);
        std::istringstream in(stringText);
        if (logo.Read(in, report) != 0) {
            const Finding* first = FirstError(stringFindings);
            result.problem = "error occurs while loading string file : " +
                             (first != nullptr ? FindingPlace("string.src", first->line) + ": " + Printable(first->field)
                                               : std::string("string.src"));
            return result;
        }
    }

    const bool page = options.forPage || options.format == ExportFormat::kHtml;
    const bool gltf = page || options.format == ExportFormat::kGlb || options.format == ExportFormat::kGltf;
    const CapturedLogo captured =
        CaptureLogo(logo, font, options.frame, options.shadow && options.format != ExportFormat::kStl);

    ExportScene scene;
    scene.millimetresPerUnit = options.millimetresPerUnit;
    scene.surfaces = captured.surfaces;
    scene.surfaceNames = SurfaceNames(captured.surfaces, logo);
    CleanUpReport report;
    scene.solid = BuildMeshPart(captured.drawing, captured.solid, options.weld, report);
    scene.withShadow = options.shadow && !page && options.format != ExportFormat::kStl;
    if (gltf && options.frame < 0) scene.motion = LogoMotion(logo);
    scene.loopSeconds = options.loopSeconds;
    if (page && options.shadow && !captured.shadow.empty()) {
        scene.pageShadow.on = true;
        std::copy(captured.shadowMatrix, captured.shadowMatrix + 16, scene.pageShadow.matrix.begin());
        scene.pageShadow.colour = ShadowColour(captured, environment);
    }
    if (scene.withShadow) scene.shadow = BuildMeshPart(captured.drawing, captured.shadow, options.weld, report);
    countFigures(result, scene, report, captured.problems);
    if (scene.solid.TriangleCount() == 0) {
        result.problem = "nothing to export: the logo of string.src draws no triangles";
        return result;
    }
    result.title = pageTitle(titleOf(logo));
    if (options.format == ExportFormat::kStl || options.format == ExportFormat::k3mf) {
        printVolumes(result, captured, scene.surfaceNames, font, options);
        if (result.files.empty()) {
            result.problem = "nothing to export: the logo of string.src draws no triangles";
            return result;
        }
        result.built = true;
        return result;
    }
    if (page)
        result.pageConfig =
            PageConfigJson(environment, scene, result.title, PageOptions{}, options.windowSize, options.windowSize);
    const WriteResult problem = write(options, scene, result.pageConfig, result.title, pageBackground(environment), result.bytes,
                                    result.files);
    if (!problem.empty()) {
        result.problem = problem;
        return result;
    }
    result.built = true;
    return result;
}

std::string StudioResultJson(const StudioResult& result) {
    using nlohmann::json;
    json out;
    out["built"] = result.built;
    out["problem"] = result.problem;
    out["title"] = result.title;
    out["pageConfig"] = result.pageConfig.empty() ? json(nullptr) : json::parse(result.pageConfig);
    json findings = json::array();
    for (const StudioFinding& f : result.findings)
        findings.push_back({{"file", f.file},
                            {"line", f.finding.line},
                            {"severity", f.finding.severity == Finding::Severity::Error ? "error" : "warning"},
                            {"field", Printable(f.finding.field)},
                            {"message", Printable(f.finding.message)},
                            {"text", FormatFinding(f.file, f.finding)}});
    out["findings"] = findings;
    json files = json::array();
    for (const StudioFile& f : result.files) files.push_back({{"name", f.name}, {"size", f.size}});
    out["files"] = files;
    out["print"] = result.print;
    // Field and value names repeat: each is said once.
    std::map<std::string, int> index;
    json names = json::array(), spans = json::array();
    const auto named = [&](const std::string& name) {
        const auto found = index.find(name);
        if (found != index.end()) return found->second;
        names.push_back(Printable(name));
        return index[name] = static_cast<int>(names.size() - 1);
    };
    for (const StudioValue& v : result.values)
        for (int x : {v.file, v.span.line, v.span.from, v.span.to, named(v.span.field), named(v.span.name)})
            spans.push_back(x);
    out["values"] = {{"names", names}, {"spans", spans}};
    const StudioFigures& g = result.figures;
    out["figures"] = {{"drawn", g.drawn},
                      {"degenerate", g.degenerate},
                      {"rewound", g.rewound},
                      {"written", g.written},
                      {"motionFrames", g.motionFrames},
                      {"refusedCalls", g.refusedCalls},
                      {"sizeMillimetres", {g.sizeMillimetres[0], g.sizeMillimetres[1], g.sizeMillimetres[2]}}};
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}
