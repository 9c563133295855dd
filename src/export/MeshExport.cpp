// Mesh files and pages: the captured triangles cleaned into a mesh, the
// writers' bytes, the report of what was made.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ExportSteps.h"
#include "GltfWriter.h"
#include "HtmlWriter.h"
#include "ObjWriter.h"
#include "StillPicture.h"

namespace {

// The page opens at the size the viewer's window opens at.
constexpr int kViewerWindowSize = 400;


int colourByte(float value) { return static_cast<int>(255.0f * std::min(std::max(value, 0.0f), 1.0f) + 0.5f); }

std::string pageBackground(const Environment& environment, const PageOptions& page) {
    if (PageIsTransparent(environment, page)) return "transparent";
    const Color& c = environment.clearColor;
    char background[32];
    std::snprintf(background, sizeof background, "rgb(%d, %d, %d)", colourByte(c.red), colourByte(c.green),
                  colourByte(c.blue));
    return background;
}

bool isGltf(const ExportSettings& s) {
    return s.studioPicture || s.format == ExportFormat::kGlb || s.format == ExportFormat::kGltf ||
           s.format == ExportFormat::kHtml;
}

// The cleaned solid and shadow, the motion, and a page's own shadow.
ExportScene sceneOf(const DrawnExport& drawn, const ExportSettings& s, CleanUpReport& report) {
    const CapturedLogo& captured = drawn.captured;
    const bool page = s.format == ExportFormat::kHtml;
    ExportScene scene;
    scene.millimetresPerUnit = s.millimetresPerUnit;
    scene.surfaces = captured.surfaces;
    scene.surfaceNames = drawn.surfaceNames;
    const SourceName sources = s.sourceReport ? drawn.sourceName : SourceName();
    scene.solid = BuildMeshPart(captured.drawing, captured.solid, s.weld, report, sources);
    // A page (and the studio's picture) draws the shadow itself.
    scene.withShadow = s.shadow && !page && !s.studioPicture;
    // A frame of its own has no motion; the still logo carries it as an animation.
    if (isGltf(s) && s.frame < 0) scene.motion = LogoMotion(drawn.files.logo);
    scene.loopSeconds = s.loopSeconds;
    if ((page || s.studioPicture) && s.shadow && !captured.shadow.empty()) {
        scene.pageShadow.on = true;
        std::copy(captured.shadowMatrix, captured.shadowMatrix + 16, scene.pageShadow.matrix.begin());
        scene.pageShadow.colour = ShadowColour(captured, drawn.files.environment);
    }
    if (scene.withShadow) scene.shadow = BuildMeshPart(captured.drawing, captured.shadow, s.weld, report, sources);
    return scene;
}

ExportedFiles meshFiles(const DrawnExport& drawn, const ExportSettings& s, const ExportScene& scene,
                        ExportResult& result) {
    if (s.studioPicture) return {{s.output, GlbBytes(scene)}};
    switch (s.format) {
        case ExportFormat::kGlb: return GltfFiles(scene, s.output, true, false);
        case ExportFormat::kGltf: return GltfFiles(scene, s.output, false, s.embedBuffer);
        case ExportFormat::kObj: return ObjFiles(scene, s.output);
        case ExportFormat::kHtml: {
            const Environment& environment = drawn.files.environment;
            const bool transparent = PageIsTransparent(environment, s.page);
            const HtmlPage page{scene, result.pageConfig, s.title.empty() ? result.title : s.title,
                                pageBackground(environment, s.page),
                                s.stillPicture ? StillPicturePng(scene, environment, kViewerWindowSize, transparent)
                                               : std::string(),
                                s.page.lite ? s.page.threeUrl : std::string()};
            return {{s.output, HtmlBytes(page)}};
        }
        default: return {};
    }
}

void countFigures(ExportFigures& f, const ExportScene& scene, const CleanUpReport& report, std::size_t refused) {
    f.drawn = report.drawn;
    f.degenerate = report.degenerate;
    f.rewound = report.rewound;
    f.written = scene.solid.TriangleCount() + (scene.withShadow ? scene.shadow.TriangleCount() : 0);
    f.motionFrames = scene.motion.size();
    f.refusedCalls = refused;
    const Bounds b = scene.solid.PositionBounds();
    for (int i = 0; i < 3; ++i) f.sizeMillimetres[i] = (b.max[i] - b.min[i]) * scene.millimetresPerUnit;
}

std::vector<std::string> reportLines(const ExportSettings& s, const ExportScene& scene, const CleanUpReport& report,
                                     const ExportFigures& f) {
    std::vector<std::string> lines{"wrote " + s.output};
    if (scene.motion.size() > 1)
        lines.push_back(ReportLine("motion: %.0f frames in %.3g s", double(scene.motion.size() - 1), scene.loopSeconds));
    lines.push_back(ReportLine("triangles: %.0f drawn, %.0f without area dropped, %.0f turned to face their normals ",
                              double(report.drawn), double(report.degenerate), double(report.rewound)) +
                    ReportLine("(%.3f%% of the area), %.0f written",
                              report.drawnArea > 0 ? 100.0 * report.rewoundArea / report.drawnArea : 0.0,
                              double(f.written)));
    lines.push_back(ReportLine("size: %.1f x %.1f x %.1f mm", f.sizeMillimetres[0], f.sizeMillimetres[1], f.sizeMillimetres[2]));
    if (s.sourceReport)
        for (const auto& entry : report.rewoundBySource)
            lines.push_back("turned over: " + std::to_string(entry.second) + " from " + entry.first);
    return lines;
}

}  // namespace

void ExportMesh(const DrawnExport& drawn, const ExportSettings& s, ExportResult& result) {
    CleanUpReport report;
    const ExportScene scene = sceneOf(drawn, s, report);
    countFigures(result.figures, scene, report, static_cast<std::size_t>(drawn.captured.problems.Total()));
    if (scene.solid.TriangleCount() == 0) {
        result.status = 1;
        result.problem = "nothing to export: the logo of " + drawn.files.stringName + " draws no triangles";
        return;
    }
    if (s.format == ExportFormat::kHtml || s.studioPicture)
        result.pageConfig = PageConfigJson(drawn.files.environment, scene, s.title.empty() ? result.title : s.title,
                                           s.page, kViewerWindowSize, kViewerWindowSize);
    result.files = meshFiles(drawn, s, scene, result);
    result.report = reportLines(s, scene, report, result.figures);
}
