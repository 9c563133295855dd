#include "PrintSolid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "solid/Solidify.h"
#include "solid/PartsInTheAir.h"


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
    options.thinnest = 2.0f * strokeWidth * in.millimetresPerUnit;
    if (!in.plate.empty()) options.gridOrigin = GridOriginAwayFrom(in.plateShape, options.voxelSize);
    out.voxel = options.voxelSize;
    if (layout.perMaterial) {
        std::vector<SolidMesh> meshes = SolidifyGroups(in.groups, options);
        for (std::size_t i = 0; i < parts.size(); ++i) parts[i].mesh = std::move(meshes[i]);
        parts.erase(std::remove_if(parts.begin(), parts.end(), [](const SolidPart& p) { return p.mesh.triangles.empty(); }),
                    parts.end());
        out.parts = std::move(parts);
    } else {
        // The plate joins the volume from its shape, not its triangles.
        std::vector<RoundedSlab> plates;
        if (!in.plate.empty()) {
            std::vector<TriangleCorners>& plateGroup = in.groups[in.plateGroup];
            plateGroup.resize(plateGroup.size() - in.plate.size());
            plates.push_back(in.plateShape);
        }
        std::vector<TriangleCorners> everything;
        for (const std::vector<TriangleCorners>& t : in.groups) everything.insert(everything.end(), t.begin(), t.end());
        SolidPart united;
        united.name = "logo";
        united.mesh = Solidify(everything, options, plates);
        out.parts.push_back(std::move(united));
    }
    // Without a plate, the solid's lowest point goes onto the bed (thin
    // drawn parts behind the logo that the closing drops would otherwise
    // leave it floating); with one, meshing leaves the plate's bottom a hair
    // (a fraction of a voxel) below the bed, and it is pressed flat onto it.
    if (layout.onBed) {
        float lowest = 0.0f;
        bool first = true;
        for (const SolidPart& p : out.parts) {
            const SolidBounds b = BoundsOf(p.mesh);
            if (!b.empty && (first || b.min[2] < lowest)) lowest = b.min[2], first = false;
        }
        for (SolidPart& p : out.parts)
            for (Point3& v : p.mesh.vertices) v[2] = withBase ? std::max(0.0f, v[2]) : v[2] - lowest;
    }
    // Parts that would print in the air: above the plate's top, or above
    // the bed without a plate. Within a voxel of it is touching it (a part
    // of its own material in 3MF stands on the plate's top exactly); parts
    // that touch are named once, by the lowest of them.
    if (withBase || layout.onBed) {
        const float floor = withBase ? out.baseTop : 0.0f;
        const std::string what = withBase ? "base" : "bed";
        SolidMesh merged;
        for (const SolidPart& p : out.parts) merged.Append(p.mesh);
        for (const SolidBounds& b : PartsInTheAir(SplitShells(merged), floor, options.voxelSize))
            out.warnings.push_back(PrintWarning(("a part at x = %.1f mm does not reach the " + what +
                                                 " (it floats %.2f mm above it)").c_str(),
                                                0.5 * (b.min[0] + b.max[0]), b.min[2] - floor));
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
