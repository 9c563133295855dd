#include "PrintPreparation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SheetThickening.h"

namespace {

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
    void Add(const TriangleCorners& t) {
        for (const Point3& p : t) Add(p);
    }
};

// The drawing by material, in the order materials first appear, with each
// material's mean colour.
struct Grouped {
    std::vector<std::uint32_t> order;                      // materials in order of appearance
    std::vector<std::vector<TriangleCorners>> triangles;   // by material
    std::vector<std::array<double, 5>> colourSums;         // r, g, b, a, count
    Extent glyphs, whole;
};

Grouped groupByMaterial(const DrawnLogo& drawn) {
    Grouped g;
    g.triangles.resize(drawn.materials.size());
    g.colourSums.assign(drawn.materials.size(), {0, 0, 0, 0, 0});
    for (const DrawnTriangle& t : drawn.triangles) {
        if (g.colourSums[t.material][4] == 0) g.order.push_back(t.material);
        for (int k = 0; k < 4; ++k) g.colourSums[t.material][k] += t.colour[k];
        g.colourSums[t.material][4] += 1;
        g.whole.Add(t.corners);
        if (t.glyph) g.glyphs.Add(t.corners);
    }
    return g;
}

// How deep the glyphs' strokes are: the depth sheets are swept back by.
float strokeDepth(const Grouped& g) {
    if (g.glyphs.empty) return std::max(g.whole.max[2] - g.whole.min[2], 1e-3f);
    return g.glyphs.max[2] - g.glyphs.min[2];
}

// Sheets become thin solids, swept back by the strokes' depth.
void thickenSheets(const DrawnLogo& drawn, Grouped& g) {
    std::vector<TriangleCorners> all;
    std::vector<bool> glyph;
    for (const DrawnTriangle& t : drawn.triangles) {
        all.push_back(t.corners);
        glyph.push_back(t.glyph);
    }
    const float depth = strokeDepth(g);
    const std::vector<bool> sheet = FindSheets(all, glyph, depth);
    for (auto& group : g.triangles) group.clear();
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::vector<TriangleCorners>& target = g.triangles[drawn.triangles[i].material];
        if (!sheet[i]) {
            target.push_back(all[i]);
            continue;
        }
        for (const TriangleCorners& p : SweptBack(all[i], depth)) {
            target.push_back(p);
            g.whole.Add(p);
        }
    }
}

// Millimetres per font unit: given, or what makes the print as wide as asked.
float printScale(const Grouped& g, const PrintLayout& layout, float strokeWidth, std::vector<std::string>& warnings) {
    const bool withBase = layout.base > 0.0f;
    const float logoWidth = g.whole.max[0] - g.whole.min[0];
    float s = layout.millimetresPerUnit;
    if (layout.width > 0.0f) {
        const float room = layout.width - (withBase ? 2.0f * layout.margin : 0.0f);
        if (room <= 0.0f || logoWidth <= 0.0f)
            warnings.push_back(PrintWarning("the width %.4g mm leaves no room for the logo inside the margins", layout.width));
        else s = room / logoWidth;
    }
    if (2.0f * strokeWidth * s < 0.4f)
        warnings.push_back(PrintWarning("strokes are %.3g mm thin at this size, thinner than a 0.4 mm nozzle prints",
                                        2.0 * strokeWidth * s));
    return s;
}

// Laid down: the back on the bed, or the base's bottom on it; the plate's
// top half a millimetre above the logo's back.
void layDown(Grouped& g, const PrintLayout& layout, float s, PrintInput& out) {
    const float logoBack = g.whole.min[2] * s;
    float lift = layout.onBed ? -logoBack : 0.0f;
    if (layout.base > 0.0f) {
        const float top = logoBack + 0.5f;
        lift = -(top - layout.base);
        out.baseTop = top + lift;
    }
    for (auto& group : g.triangles)
        for (TriangleCorners& t : group)
            for (Point3& p : t) p = {p[0] * s, p[1] * s, p[2] * s + lift};
}

void makeParts(const DrawnLogo& drawn, Grouped& g, PrintInput& out) {
    for (std::uint32_t m : g.order) {
        SolidPart part;
        part.name = drawn.materials[m];
        const auto& sum = g.colourSums[m];
        for (int k = 0; k < 4; ++k) part.colour[k] = static_cast<float>(sum[k] / std::max(1.0, sum[4]));
        out.parts.push_back(part);
        out.groups.push_back(std::move(g.triangles[m]));
    }
}

// The plate under the footprint, in the part of its material (a part of
// its own when no drawn triangle has that material).
void addPlate(const Grouped& g, const PrintLayout& layout, float s, PrintInput& out) {
    const std::string name = "material " + std::to_string(layout.baseMaterial);
    auto found = std::find_if(out.parts.begin(), out.parts.end(), [&](const SolidPart& p) { return p.name == name; });
    if (found == out.parts.end()) {
        SolidPart part;
        part.name = name;
        out.parts.push_back(part);
        out.groups.emplace_back();
        found = out.parts.end() - 1;
    }
    const float m = layout.margin;
    out.plateShape = RoundedSlab{g.whole.min[0] * s - m, g.whole.min[1] * s - m, g.whole.max[0] * s + m,
                                 g.whole.max[1] * s + m, m, out.baseTop - layout.base, out.baseTop};
    out.withPlate = true;
    out.plateGroup = static_cast<std::size_t>(found - out.parts.begin());
}

// The voxel: fine enough for 0.05 mm, coarse enough for a large print, and
// no finer than the grid's steps allow.
void chooseVoxel(const Grouped& g, const PrintLayout& layout, float s, PrintInput& out) {
    const float margins = layout.base > 0.0f ? 2.0f * layout.margin : 0.0f;
    out.span = std::max(g.whole.max[0] - g.whole.min[0], g.whole.max[1] - g.whole.min[1]) * s + margins;
    out.voxel = layout.voxel > 0.0f ? layout.voxel : std::max(0.08f, out.span / 1500.0f);
    if (layout.maxSteps > 0) out.voxel = std::max(out.voxel, out.span / static_cast<float>(layout.maxSteps));
}

}  // namespace

std::string PrintWarning(const char* format, double a, double b) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

PrintInput PreparePrint(const DrawnLogo& drawn, const PrintLayout& layout) {
    PrintInput out;
    if (drawn.triangles.empty()) return out;
    Grouped g = groupByMaterial(drawn);
    thickenSheets(drawn, g);
    const float s = printScale(g, layout, drawn.strokeWidth, out.warnings);
    out.millimetresPerUnit = s;
    layDown(g, layout, s, out);
    makeParts(drawn, g, out);
    if (layout.base > 0.0f) addPlate(g, layout, s, out);
    chooseVoxel(g, layout, s, out);
    return out;
}
