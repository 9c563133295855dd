#include "PrintSolid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "LogoMesh.h"
#include "solid/BasePlate.h"
#include "solid/SheetThickening.h"

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

}  // namespace

std::string PrintWarning(const char* format, double a, double b) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

PrintInput PreparePrint(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                        const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth,
                        const PrintLayout& layout) {
    PrintInput out;
    // The drawn triangles by material, and the depth of the glyphs' strokes.
    std::map<std::string, MaterialTriangles> byMaterial;
    std::vector<std::string> order;
    std::vector<TriangleCorners> all;
    std::vector<std::string> materialOf;
    Extent glyphs, whole;
    for (std::uint32_t index : captured.solid) {
        const capture::Triangle& t = captured.drawing.triangles[index];
        // A triangle without area bounds nothing (and costs the volume as much as any).
        const auto position = [&](int c) { return captured.drawing.vertices[t.vertices[c]].position; };
        if (!HasArea(position(0), position(1), position(2))) continue;
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
            out.warnings.push_back(PrintWarning("the width %.4g mm leaves no room for the logo inside the margins", layout.width));
        else s = room / logoWidth;
    }
    out.millimetresPerUnit = s;
    if (2.0f * strokeWidth * s < 0.4f)
        out.warnings.push_back(PrintWarning("strokes are %.3g mm thin at this size, thinner than a 0.4 mm nozzle prints",
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
        const RoundedSlab slab{whole.min[0] * s - m, whole.min[1] * s - m, whole.max[0] * s + m, whole.max[1] * s + m,
                               m, out.baseTop - layout.base, out.baseTop};
        const std::vector<TriangleCorners> plate = RoundedPlate(slab);
        out.plateShape = slab;
        auto& target = byMaterial[*found].triangles;
        target.insert(target.end(), plate.begin(), plate.end());
        out.plate = plate;
        out.plateGroup = static_cast<std::size_t>(found - order.begin());
    }

    // The voxel: fine enough for 0.05 mm, coarse enough for a large print.
    const float span = std::max({whole.max[0] - whole.min[0], whole.max[1] - whole.min[1]}) * s +
                       (withBase ? 2.0f * layout.margin : 0.0f);
    out.voxel = layout.voxel > 0.0f ? layout.voxel : std::max(0.08f, span / 1500.0f);
    out.span = span;
    for (const std::string& name : order) out.groups.push_back(std::move(byMaterial[name].triangles));
    out.parts = std::move(parts);
    return out;
}
