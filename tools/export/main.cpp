// logo3d-export: writes a logo, as the viewer draws it, into a mesh file.
// The viewer's own drawing code runs against the capture layer, which turns
// what it issues into triangles; no window and no display are needed.

#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "ExportOptions.h"
#include "ExportMemory.h"
#include "ExportScene.h"
#include "GltfWriter.h"
#include "HtmlWriter.h"
#include "LogoCapture.h"
#include "ObjWriter.h"
#include "PageConfig.h"
#include "PrintSolid.h"
#include "SceneFiles.h"
#include "StillPicture.h"
#include "StlWriter.h"
#include "ThreeMfWriter.h"
#include "scene/Environment.h"
#include "scene/GuardedMain.h"
#include "text/DataFileLoading.h"
#include "text/DataFileWarnings.h"
#include "text/GlyphCodes.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {

// True when the file written is the standard output itself (-o /dev/stdout):
// the report then goes to the standard error stream, off the data.
bool isStandardOutput(const std::string& path) {
    struct stat file, output;
    return stat(path.c_str(), &file) == 0 && fstat(STDOUT_FILENO, &output) == 0 && file.st_dev == output.st_dev &&
           file.st_ino == output.st_ino;
}

// The exporter's own records, read as the viewer reads its own.
StrokeFontCharacterSet font;
Environment environment;
LogoString logoString;
// The page opens at the size the viewer's window opens at.
constexpr int kViewerWindowSize = 400;

const char* modeName(std::uint32_t source) {
    switch (source) {
        case GL_TRIANGLES: return "triangles";
        case GL_TRIANGLE_STRIP: return "triangle strip";
        case GL_TRIANGLE_FAN: return "triangle fan";
        case GL_QUADS: return "quads";
        case GL_QUAD_STRIP: return "quad strip";
        case GL_POLYGON: return "polygon";
        case capture::kSphere: return "sphere";
        default: return "other";
    }
}

// "glyph 'S', quad strip" or "logo list, polygon": enough to find the code
// that drew a triangle.
std::string sourceName(const capture::Triangle& t) {
    std::string where = "logo list";
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->displayList > 0 && static_cast<unsigned>(c->displayList) == t.innerList)
            where = GlyphName(c->code);
    return where + ", " + modeName(t.source);
}

void printReport(std::FILE* out, const ExportOptions& options, const ExportScene& scene, const CleanUpReport& report) {
    const std::size_t written = scene.solid.TriangleCount() + (scene.withShadow ? scene.shadow.TriangleCount() : 0);
    std::fprintf(out, "wrote %s\n", options.output.c_str());
    if (scene.motion.size() > 1) std::fprintf(out, "motion: %zu frames in %.3g s\n", scene.motion.size() - 1, scene.loopSeconds);
    std::fprintf(out, "triangles: %zu drawn, %zu without area dropped, %zu turned to face their normals "
                "(%.3f%% of the area), %zu written\n",
                report.drawn, report.degenerate, report.rewound,
                report.drawnArea > 0 ? 100.0 * report.rewoundArea / report.drawnArea : 0.0, written);
    const Bounds b = scene.solid.PositionBounds();
    const float s = scene.millimetresPerUnit;
    std::fprintf(out, "size: %.1f x %.1f x %.1f mm\n", (b.max[0] - b.min[0]) * s, (b.max[1] - b.min[1]) * s,
                (b.max[2] - b.min[2]) * s);
    if (options.report)
        for (const auto& entry : report.rewoundBySource)
            std::fprintf(out, "turned over: %zu from %s\n", entry.second, entry.first.c_str());
}

// The logo's text on one line, for the page's title: each line trimmed,
// the lines that hold anything joined by a space.
std::string titleOf(const LogoString& logo) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::string title;
    std::istringstream lines(logo.text);
    std::string line;
    while (std::getline(lines, line, LogoString::kLineSeparator)) {
        const auto first = std::find_if_not(line.begin(), line.end(), blank);
        const auto last = std::find_if_not(line.rbegin(), line.rend(), blank).base();
        if (first >= last) continue;
        if (!title.empty()) title += ' ';
        title.append(first, last);
    }
    return title.empty() ? "logo3d" : title;
}

int colourByte(float value) { return static_cast<int>(255.0f * std::min(std::max(value, 0.0f), 1.0f) + 0.5f); }

WriteResult write(const ExportOptions& options, const ExportScene& scene) {
    switch (options.format) {
        case ExportFormat::kHtml: {
            const std::string title = options.title.empty() ? titleOf(logoString) : options.title;
            const bool transparent = PageIsTransparent(environment, options.page);
            const Color& c = environment.clearColor;
            char background[32];
            std::snprintf(background, sizeof background, "rgb(%d, %d, %d)", colourByte(c.red), colourByte(c.green),
                          colourByte(c.blue));
            const HtmlPage page{scene,
                                PageConfigJson(environment, scene, title, options.page, kViewerWindowSize, kViewerWindowSize),
                                title,
                                transparent ? "transparent" : background,
                                StillPicturePng(scene, environment, kViewerWindowSize, transparent),
                                options.page.lite ? options.page.threeUrl : std::string()};
            return WriteHtml(page, options.output);
        }
        case ExportFormat::kGlb: return WriteGltf(scene, options.output, true, false);
        case ExportFormat::kGltf: return WriteGltf(scene, options.output, false, options.embedBuffer);
        case ExportFormat::kObj: return WriteObj(scene, options.output);
        case ExportFormat::kStl:
        case ExportFormat::k3mf: break;  // solids: writeSolid
    }
    return "unknown format";
}

bool isGlyph(const capture::Triangle& t) {
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->displayList > 0 && static_cast<unsigned>(c->displayList) == t.innerList) return true;
    return false;
}

// STL and 3MF: what was drawn, made into closed solids and laid out.
int writeSolid(const ExportOptions& options, const CapturedLogo& captured, const std::vector<std::string>& names) {
    PrintLayout layout;
    layout.onBed = options.print;
    layout.width = options.width;
    layout.millimetresPerUnit = options.millimetresPerUnit;
    layout.base = options.base;
    layout.margin = options.margin;
    layout.baseMaterial = options.baseMaterial;
    layout.voxel = options.voxel;
    layout.perMaterial = options.format == ExportFormat::k3mf;
    const PrintSolid solid = MakePrintSolid(captured, names, isGlyph, font.strokeWidth, layout);
    for (const std::string& warning : solid.warnings) std::cerr << "warning: " << warning << std::endl;
    if (solid.parts.empty()) {
        std::cerr << "nothing to export: the logo of " << options.stringFile << " draws no triangles" << std::endl;
        return 1;
    }
    const WriteResult problem = options.format == ExportFormat::k3mf ? Write3mf(solid.parts, options.output)
                                                                      : WriteStl(solid.parts.front().mesh, options.output);
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    std::string notClosed;
    const std::string summary = SolidSummary(solid, notClosed);
    std::printf("wrote %s\n", options.output.c_str());
    SolidMesh merged;
    for (const SolidPart& part : solid.parts) merged.Append(part.mesh);
    std::printf("triangles: %zu drawn, %zu written\n", captured.solid.size(), merged.triangles.size());
    const SolidBounds b = BoundsOf(merged);
    std::printf("size: %.1f x %.1f x %.1f mm (%.4g mm per font unit, voxel %.3g mm)\n", b.max[0] - b.min[0],
                b.max[1] - b.min[1], b.max[2] - b.min[2], solid.millimetresPerUnit, solid.voxel);
    if (options.format == ExportFormat::k3mf)
        for (const SolidPart& part : solid.parts) std::printf("part: %s\n", part.name.c_str());
    std::printf("%s\n", summary.c_str());
    if (!notClosed.empty()) std::cerr << "warning: " << notClosed << std::endl;
    return 0;
}

bool loadLogo(const ExportOptions& options) {
    if (options.text.empty()) return LoadLogoString(options.stringFile, logoString, std::cerr);
    std::istringstream in(StringFileForText(options.text));
    if (logoString.Read(in) == 0) return true;
    std::cerr << "cannot lay out the text: " << options.text << std::endl;
    return false;
}

// A frame beyond the motion's end is its end, as DrawFrame takes it (frame
// count / frame count of the loop).
void clampFrame(ExportOptions& options) {
    const int end = static_cast<int>(std::max(logoString.frameCount, 1u));
    if (options.frame <= end) return;
    std::cerr << "note: --frame " << options.frame << " is past the motion's end; exporting its end, frame " << end
              << std::endl;
    options.frame = end;
}

int run(int argc, char** argv) {
    ExportOptions options = ParseExportOptions(argc, argv);
    if (!options.ready) return options.exitCode;
    if (!options.quiet)
        PrintWarnings(CheckerWarnings(ReadDataFileTexts(options.fontFile, options.envFile, options.stringFile)),
                      std::cerr);
    // The viewer's loaders, in the viewer's order, with its messages.
    if (!LoadFont(options.fontFile, font, std::cerr) || !LoadEnvironment(options.envFile, environment, std::cerr) ||
        !loadLogo(options))
        return 1;
    clampFrame(options);

    const bool solidFormat = options.format == ExportFormat::kStl || options.format == ExportFormat::k3mf;
    const CapturedLogo captured = CaptureLogo(logoString, font, options.frame, options.shadow && !solidFormat);
    if (captured.problems.Total() != 0)
        std::cerr << "warning: the drawing made " << captured.problems.Total()
                  << " calls that OpenGL would refuse; the export may differ from the picture" << std::endl;

    if (solidFormat) return writeSolid(options, captured, SurfaceNames(captured.surfaces, logoString));

    ExportScene scene;
    scene.millimetresPerUnit = options.millimetresPerUnit;
    scene.surfaces = captured.surfaces;
    scene.surfaceNames = SurfaceNames(captured.surfaces, logoString);
    CleanUpReport report;
    scene.solid = BuildMeshPart(captured.drawing, captured.solid, options.weld, report, sourceName);
    // STL holds the solid alone; a page draws the shadow itself.
    scene.withShadow = options.shadow && options.format != ExportFormat::kStl && options.format != ExportFormat::kHtml;
    const bool gltf = options.format == ExportFormat::kGlb || options.format == ExportFormat::kGltf ||
                      options.format == ExportFormat::kHtml;
    // A frame of its own has no motion; the still logo carries it as an animation.
    if (gltf && options.frame < 0) scene.motion = LogoMotion(logoString);
    scene.loopSeconds = options.loopSeconds;
    if (options.format == ExportFormat::kHtml && options.shadow && !captured.shadow.empty()) {
        scene.pageShadow.on = true;
        std::copy(captured.shadowMatrix, captured.shadowMatrix + 16, scene.pageShadow.matrix.begin());
        scene.pageShadow.colour = ShadowColour(captured, environment);
    }
    if (scene.withShadow) scene.shadow = BuildMeshPart(captured.drawing, captured.shadow, options.weld, report, sourceName);
    if (scene.solid.TriangleCount() == 0) {
        std::cerr << "nothing to export: the logo of " << options.stringFile << " draws no triangles" << std::endl;
        return 1;
    }
    const WriteResult problem = write(options, scene);
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    printReport(isStandardOutput(options.output) ? stderr : stdout, options, scene, report);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    KeepFreedMemory();
    return RunGuarded("logo3d-export", [&] { return run(argc, argv); });
}
