#include "PrintSolid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "PartsInTheAir.h"
#include "Solidify.h"

namespace {

// The region every volume of the print stays within: the parts and the
// plate, with room for the closing and the grid's own margin.
GridFrame frameOf(const PrintInput& in, float voxel, const Point3& origin, float reach) {
    GridFrame frame;
    frame.voxel = voxel;
    frame.origin = origin;
    bool first = true;
    const auto add = [&](const Point3& p) {
        for (int k = 0; k < 3; ++k) {
            frame.low[k] = first ? p[k] : std::min(frame.low[k], p[k]);
            frame.high[k] = first ? p[k] : std::max(frame.high[k], p[k]);
        }
        first = false;
    };
    for (const auto& group : in.groups)
        for (const TriangleCorners& t : group)
            for (const Point3& p : t) add(p);
    if (in.withPlate) {
        add({in.plateShape.x0, in.plateShape.y0, in.plateShape.zBottom});
        add({in.plateShape.x1, in.plateShape.y1, in.plateShape.zTop});
    }
    for (int k = 0; k < 3; ++k) frame.low[k] -= reach, frame.high[k] += reach;
    return frame;
}

// One solid per material (3MF), each without what the ones before hold;
// the plate as triangles in its material's group.
std::vector<SolidPart> solidParts(PrintInput& in, const SolidGrid& grid, const SolidifyOptions& options) {
    if (in.withPlate) {
        const std::vector<TriangleCorners> plate = RoundedPlate(in.plateShape);
        auto& group = in.groups[in.plateGroup];
        group.insert(group.end(), plate.begin(), plate.end());
    }
    std::vector<SolidMesh> meshes = SolidifyGroups(grid, in.groups, options);
    std::vector<SolidPart> parts = std::move(in.parts);
    for (std::size_t i = 0; i < parts.size(); ++i) parts[i].mesh = std::move(meshes[i]);
    parts.erase(std::remove_if(parts.begin(), parts.end(), [](const SolidPart& p) { return p.mesh.triangles.empty(); }),
                parts.end());
    return parts;
}

// One solid for everything (STL); the plate joins the volume from its
// shape, not its triangles.
SolidPart unitedPart(const PrintInput& in, const SolidGrid& grid, const SolidifyOptions& options) {
    std::vector<TriangleCorners> everything;
    for (const auto& group : in.groups) everything.insert(everything.end(), group.begin(), group.end());
    std::vector<RoundedSlab> plates;
    if (in.withPlate) plates.push_back(in.plateShape);
    SolidPart united;
    united.name = "logo";
    united.mesh = Solidify(grid, everything, options, plates);
    return united;
}

// Without a plate, the solid's lowest point goes onto the bed (thin drawn
// parts behind the logo that the closing drops would otherwise leave it
// floating); with one, meshing leaves the plate's bottom a hair (a fraction
// of a voxel) below the bed, and it is pressed flat onto it.
void pressOntoBed(std::vector<SolidPart>& parts, bool withBase) {
    float lowest = 0.0f;
    bool first = true;
    for (const SolidPart& p : parts) {
        const SolidBounds b = BoundsOf(p.mesh);
        if (!b.empty && (first || b.min[2] < lowest)) lowest = b.min[2], first = false;
    }
    for (SolidPart& p : parts)
        for (Point3& v : p.mesh.vertices) v[2] = withBase ? std::max(0.0f, v[2]) : v[2] - lowest;
}

// Parts that would print in the air: above the plate's top, or above the
// bed without a plate. Within a voxel of it is touching it (a part of its
// own material in 3MF stands on the plate's top exactly); parts that touch
// are named once, by the lowest of them.
void warnOfPartsInTheAir(PrintSolid& out, bool withBase) {
    const float floor = withBase ? out.baseTop : 0.0f;
    const std::string what = withBase ? "base" : "bed";
    SolidMesh merged;
    for (const SolidPart& p : out.parts) merged.Append(p.mesh);
    for (const SolidBounds& b : PartsInTheAir(SplitShells(merged), floor, 2.0f * out.voxel))
        out.floating.push_back(PrintWarning(("a part at x = %.1f mm does not reach the " + what +
                                             " (it floats %.2f mm above it)").c_str(),
                                            0.5 * (b.min[0] + b.max[0]), b.min[2] - floor));
}

}  // namespace

PrintSolid MakePrintSolid(const DrawnLogo& drawn, const PrintLayout& layout, const SolidGridMaker& makeGrid) {
    PrintInput in = PreparePrint(drawn, layout);
    PrintSolid out;
    out.millimetresPerUnit = in.millimetresPerUnit;
    out.baseTop = in.baseTop;
    out.warnings = in.warnings;
    if (in.groups.empty()) return out;
    SolidifyOptions options;
    out.voxel = in.voxel;
    options.closingRadius = 2.0f * in.voxel;
    options.thinnest = 2.0f * drawn.strokeWidth * in.millimetresPerUnit;
    // Lean: each plane the meshed surface had may be left by at most 0.6 of
    // a voxel (0.048 mm at the usual voxel). The quadric sums the squared
    // distances to every plane merged, so the surface moves far less: the
    // name plates stay within 0.05 mm of the drawing on all but a few
    // hundredths of a percent of their area.
    options.simplifyError = 0.6f * in.voxel;
    const Point3 origin = in.withPlate ? GridOriginAwayFrom(in.plateShape, in.voxel) : Point3{0, 0, 0};
    const auto grid = makeGrid(frameOf(in, in.voxel, origin, options.closingRadius + 3.0f * in.voxel));
    out.parts = layout.perMaterial ? solidParts(in, *grid, options)
                                   : std::vector<SolidPart>{unitedPart(in, *grid, options)};
    const bool withBase = layout.base > 0.0f;
    if (layout.onBed) pressOntoBed(out.parts, withBase);
    if (withBase || layout.onBed) warnOfPartsInTheAir(out, withBase);
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
