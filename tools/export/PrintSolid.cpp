#include "PrintSolid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "solid/Solidify.h"

PrintSolid MakePrintSolid(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                          const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth,
                          const PrintLayout& layout) {
    PrintInput in = PreparePrint(captured, surfaceNames, isGlyph, strokeWidth, layout);
    PrintSolid out;
    out.millimetresPerUnit = in.millimetresPerUnit;
    out.baseTop = in.baseTop;
    out.warnings = in.warnings;
    if (in.groups.empty()) return out;
    const bool withBase = layout.base > 0.0f;
    std::vector<SolidPart> parts = std::move(in.parts);
    SolidifyOptions options;
    options.voxelSize = in.voxel;
    options.closingRadius = 2.0f * options.voxelSize;
    out.voxel = options.voxelSize;
    if (layout.perMaterial) {
        std::vector<SolidMesh> meshes = SolidifyGroups(in.groups, options);
        for (std::size_t i = 0; i < parts.size(); ++i) parts[i].mesh = std::move(meshes[i]);
        parts.erase(std::remove_if(parts.begin(), parts.end(), [](const SolidPart& p) { return p.mesh.triangles.empty(); }),
                    parts.end());
        out.parts = std::move(parts);
    } else {
        std::vector<TriangleCorners> everything;
        for (const std::vector<TriangleCorners>& t : in.groups) everything.insert(everything.end(), t.begin(), t.end());
        SolidPart united;
        united.name = "logo";
        united.mesh = Solidify(everything, options);
        out.parts.push_back(std::move(united));
    }
    // Meshing leaves the bottom a hair (a fraction of a voxel) below the bed:
    // it is pressed flat onto it.
    if (layout.onBed)
        for (SolidPart& p : out.parts)
            for (Point3& v : p.mesh.vertices) v[2] = std::max(0.0f, v[2]);
    if (withBase) {
        SolidMesh merged;
        for (const SolidPart& p : out.parts) merged.Append(p.mesh);
        const std::vector<SolidMesh> shells = SplitShells(merged);
        for (const SolidMesh& shell : shells) {
            const SolidBounds b = BoundsOf(shell);
            if (b.min[2] > out.baseTop + 1e-3f && !layout.perMaterial)
                out.warnings.push_back(PrintWarning("a part at x = %.1f mm does not reach the base (it floats %.2f mm above it)",
                                            0.5 * (b.min[0] + b.max[0]), b.min[2] - out.baseTop));
        }
    }
    return out;
}

std::string SolidSummary(const PrintSolid& solid, std::string& warning) {
    SolidCheck total;
    for (const SolidPart& part : solid.parts) {
        const SolidCheck c = CheckSolid(part.mesh);
        total.shells += c.shells;
        total.openEdges += c.openEdges;
        total.overusedEdges += c.overusedEdges;
        total.misturnedEdges += c.misturnedEdges;
        total.volume += c.volume;
    }
    warning.clear();
    if (!total.Closed() || total.volume <= 0.0)
        warning = "the solid is not closed: " + std::to_string(total.openEdges) + " open edges, " +
                  std::to_string(total.overusedEdges) + " edges of more than two triangles, " +
                  std::to_string(total.misturnedEdges) + " edges turned the same way twice";
    char line[256];
    if (std::isnan(solid.baseTop))
        std::snprintf(line, sizeof line, "solid: %zu closed shells, %zu open edges, volume %.1f mm³, no base",
                      total.shells, total.openEdges, total.volume);
    else
        std::snprintf(line, sizeof line, "solid: %zu closed shells, %zu open edges, volume %.1f mm³, base top at %.2f mm",
                      total.shells, total.openEdges, total.volume, solid.baseTop);
    return line;
}
