// STL and 3MF: what was drawn, made into closed solids and laid out for a
// printer, the writers' bytes and the report.

#include <cstdio>

#include "DrawnLogo.h"
#include "ExportSteps.h"
#include "LogoMesh.h"
#include "StlWriter.h"
#include "ThreeMfWriter.h"
#include "solid/PrintSolid.h"

namespace {


std::vector<std::string> reportLines(const ExportSettings& s, const PrintSolid& solid, std::size_t drawn,
                                     const std::string& summary) {
    SolidMesh merged;
    for (const SolidPart& part : solid.parts) merged.Append(part.mesh);
    std::vector<std::string> lines{"wrote " + s.output};
    lines.push_back(ReportLine("triangles: %.0f drawn, %.0f written", double(drawn), double(merged.triangles.size())));
    const SolidBounds b = BoundsOf(merged);
    lines.push_back(ReportLine("size: %.1f x %.1f x %.1f mm ", b.max[0] - b.min[0], b.max[1] - b.min[1], b.max[2] - b.min[2]) +
                    ReportLine("(%.4g mm per font unit, voxel %.3g mm)", solid.millimetresPerUnit, solid.voxel));
    if (s.format == ExportFormat::k3mf)
        for (const SolidPart& part : solid.parts) lines.push_back("part: " + part.name);
    lines.push_back(summary);
    return lines;
}

// A print whose parts do not all stand would fail on the printer: it is
// not written (status 1, one line naming the parts), unless allowed.
bool refuseFloating(const PrintSolid& solid, const PrintLayout& layout, ExportResult& result) {
    if (solid.floating.empty()) return false;
    if (layout.allowFloating) {
        for (const std::string& part : solid.floating) result.notes.push_back("warning: " + part);
        return false;
    }
    std::string parts;
    for (const std::string& part : solid.floating) parts += (parts.empty() ? "" : "; ") + part;
    result.status = 1;
    result.problem = "not written: " + parts + " (--allow-floating writes it anyway)";
    return true;
}

}  // namespace

DrawnLogo DrawnLogoOf(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                      const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth) {
    DrawnLogo out;
    out.materials = surfaceNames;
    out.strokeWidth = strokeWidth;
    for (std::uint32_t index : captured.solid) {
        const capture::Triangle& t = captured.drawing.triangles[index];
        const auto vertex = [&](int c) -> const capture::Vertex& { return captured.drawing.vertices[t.vertices[c]]; };
        if (!HasArea(vertex(0).position, vertex(1).position, vertex(2).position)) continue;
        const capture::Surface& surface = captured.surfaces[t.surface];
        DrawnTriangle triangle;
        triangle.material = t.surface;
        triangle.glyph = isGlyph(t);
        triangle.colour = {0, 0, 0, 0};
        for (int c = 0; c < 3; ++c) {
            const capture::Vertex& v = vertex(c);
            triangle.corners[c] = {v.position[0], v.position[1], v.position[2]};
            const float* colour = surface.ColourIsDiffuse() ? v.colour : surface.diffuse;
            for (int k = 0; k < 4; ++k) triangle.colour[k] += colour[k] / 3.0f;
        }
        out.triangles.push_back(triangle);
    }
    return out;
}

void ExportPrint(const DrawnExport& drawn, const ExportSettings& s, ExportResult& result) {
    PrintLayout layout = s.print;
    layout.millimetresPerUnit = s.millimetresPerUnit;
    layout.perMaterial = s.format == ExportFormat::k3mf;
    const PrintSolid solid =
        MakePrintSolid(DrawnLogoOf(drawn.captured, drawn.surfaceNames, drawn.isGlyph, drawn.files.font.strokeWidth),
                       layout, s.grid);
    for (const std::string& warning : solid.warnings) result.notes.push_back("warning: " + warning);
    if (refuseFloating(solid, layout, result)) return;
    if (solid.parts.empty()) {
        result.status = 1;
        result.problem = "nothing to export: the logo of " + drawn.files.stringName + " draws no triangles";
        return;
    }
    std::string notClosed;
    const std::string summary = SolidSummary(solid, notClosed);
    if (!notClosed.empty()) result.notes.push_back("warning: " + notClosed);
    result.files = {{s.output, s.format == ExportFormat::k3mf ? ThreeMfBytes(solid.parts) : StlBytes(solid.parts.front().mesh)}};
    result.report = reportLines(s, solid, drawn.captured.solid.size(), summary);
}
