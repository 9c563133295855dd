#include "PrintSolid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "solid/BasePlate.h"
#include "solid/SheetThickening.h"
#include "solid/Solidify.h"

namespace {

// Grouped by material: triangles (font units) and where their colour comes from.
struct MaterialTriangles {
    std::vector<TriangleCorners> triangles;
    std::array<double, 4> colourSum{{0, 0, 0, 0}};
    double colourCount = 0;
};

struct Extent {
    Point3 min{{0, 0, 0}}, max{{0, 0, 0}};
    bool empty = true;
    void Add(const Point3& p) {
        for (int k = 0; k < 3; ++k) {
            if (empty || p[k] < min[k]) min[k] = p[k];
            if (empty || p[k] > max[k]) max[k] = p[k];
        }
        empty = false;
    }
};

std::string text(const char* format, double a, double b = 0) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

}  // namespace

PrintSolid MakePrintSolid(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                          const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth,
                          const PrintLayout& layout) {
    PrintSolid out;
    // The drawn triangles by material, and the depth of the glyphs' strokes.
    std::map<std::string, MaterialTriangles> byMaterial;
    std::vector<std::string> order;
    std::vector<TriangleCorners> all;
    std::vector<std::string> materialOf;
    Extent glyphs, whole;
    for (std::uint32_t index : captured.solid) {
        const capture::Triangle& t = captured.drawing.triangles[index];
        TriangleCorners corners;
        const capture::Surface& surface = captured.surfaces[t.surface];
        const std::string& name = surfaceNames[t.surface];
        if (!byMaterial.count(name)) order.push_back(name);
        MaterialTriangles& group = byMaterial[name];
        for (int c = 0; c < 3; ++c) {
            const capture::Vertex& v = captured.drawing.vertices[t.vertices[c]];
            corners[c] = {v.position[0], v.position[1], v.position[2]};
            const float* colour = surface.ColourIsDiffuse() ? v.colour : surface.diffuse;
            for (int k = 0; k < 4; ++k) group.colourSum[k] += colour[k];
            group.colourCount += 1;
            whole.Add(corners[c]);
            if (isGlyph(t)) glyphs.Add(corners[c]);
        }
        all.push_back(corners);
        materialOf.push_back(name);
    }
    if (all.empty()) return out;
    const float depth = glyphs.empty ? std::max(whole.max[2] - whole.min[2], 1e-3f) : glyphs.max[2] - glyphs.min[2];

    // Sheets become thin solids, swept back by the strokes' depth.
    const std::vector<bool> sheet = FindSheets(all, depth);
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::vector<TriangleCorners>& target = byMaterial[materialOf[i]].triangles;
        if (!sheet[i]) {
            target.push_back(all[i]);
            continue;
        }
        for (const TriangleCorners& p : SweptBack(all[i], depth)) {
            target.push_back(p);
            whole.Add(p[0]);
            whole.Add(p[1]);
            whole.Add(p[2]);
        }
    }

    // Millimetres per font unit: given, or what makes the print as wide as asked.
    const bool withBase = layout.base > 0.0f;
    const float logoWidth = whole.max[0] - whole.min[0];
    float s = layout.millimetresPerUnit;
    if (layout.width > 0.0f) {
        const float room = layout.width - (withBase ? 2.0f * layout.margin : 0.0f);
        if (room <= 0.0f || logoWidth <= 0.0f)
            out.warnings.push_back(text("the width %.4g mm leaves no room for the logo inside the margins", layout.width));
        else s = room / logoWidth;
    }
    out.millimetresPerUnit = s;
    if (2.0f * strokeWidth * s < 0.4f)
        out.warnings.push_back(text("strokes are %.3g mm thin at this size, thinner than a 0.4 mm nozzle prints",
                                    2.0 * strokeWidth * s));

    // Laid down: the back on the bed, or the base's bottom on it.
    const float logoBack = whole.min[2] * s;
    float lift = 0.0f;
    if (layout.onBed) lift = -logoBack;
    if (withBase) {
        const float top = logoBack + 0.5f;
        lift = -(top - layout.base);
        out.baseTop = top + lift;
    }
    for (auto& entry : byMaterial)
        for (TriangleCorners& t : entry.second.triangles)
            for (Point3& p : t) p = {p[0] * s, p[1] * s, p[2] * s + lift};

    std::vector<SolidPart> parts;
    for (const std::string& name : order) {
        const MaterialTriangles& group = byMaterial[name];
        SolidPart part;
        part.name = name;
        for (int k = 0; k < 4; ++k) part.colour[k] = static_cast<float>(group.colourSum[k] / std::max(1.0, group.colourCount));
        parts.push_back(part);
    }
    std::vector<TriangleCorners> closedBodies;
    if (withBase) {
        const std::string baseName = "material " + std::to_string(layout.baseMaterial);
        auto found = std::find(order.begin(), order.end(), baseName);
        if (found == order.end()) {
            order.push_back(baseName);
            SolidPart part;
            part.name = baseName;
            parts.push_back(part);
            found = order.end() - 1;
        }
        const float m = layout.margin;
        const std::vector<TriangleCorners> plate =
            RoundedPlate(whole.min[0] * s - m, whole.min[1] * s - m, whole.max[0] * s + m, whole.max[1] * s + m, m,
                         out.baseTop - layout.base, out.baseTop);
        // One solid for all (STL): the plate is closed already and joins
        // the volume as it is.
        if (layout.perMaterial) {
            auto& target = byMaterial[*found].triangles;
            target.insert(target.end(), plate.begin(), plate.end());
        } else {
            closedBodies = plate;
        }
    }

    // The voxel: fine enough for 0.05 mm, coarse enough for a large print.
    const float span = std::max({whole.max[0] - whole.min[0], whole.max[1] - whole.min[1]}) * s +
                       (withBase ? 2.0f * layout.margin : 0.0f);
    SolidifyOptions options;
    options.voxelSize = layout.voxel > 0.0f ? layout.voxel : std::max(0.08f, span / 1500.0f);
    options.closingRadius = 2.0f * options.voxelSize;
    out.voxel = options.voxelSize;
    if (layout.perMaterial) {
        std::vector<std::vector<TriangleCorners>> groups;
        for (const std::string& name : order) groups.push_back(byMaterial[name].triangles);
        std::vector<SolidMesh> meshes = SolidifyGroups(groups, options);
        for (std::size_t i = 0; i < parts.size(); ++i) parts[i].mesh = std::move(meshes[i]);
        parts.erase(std::remove_if(parts.begin(), parts.end(), [](const SolidPart& p) { return p.mesh.triangles.empty(); }),
                    parts.end());
        out.parts = std::move(parts);
    } else {
        std::vector<TriangleCorners> everything;
        for (const std::string& name : order) {
            const auto& t = byMaterial[name].triangles;
            everything.insert(everything.end(), t.begin(), t.end());
        }
        SolidPart united;
        united.name = "logo";
        united.mesh = Solidify(everything, options, closedBodies);
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
    // of its own material in 3MF stands on the plate's top exactly).
    if (withBase || layout.onBed) {
        const float floor = withBase ? out.baseTop : 0.0f;
        const char* what = withBase ? "base" : "bed";
        SolidMesh merged;
        for (const SolidPart& p : out.parts) merged.Append(p.mesh);
        for (const SolidMesh& shell : SplitShells(merged)) {
            const SolidBounds b = BoundsOf(shell);
            if (b.min[2] > floor + options.voxelSize)
                out.warnings.push_back(text("a part at x = %.1f mm does not reach the ", 0.5 * (b.min[0] + b.max[0])) +
                                       what + text(" (it floats %.2f mm above it)", b.min[2] - floor));
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
