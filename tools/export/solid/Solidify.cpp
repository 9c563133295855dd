#include "Solidify.h"

#include <openvdb/openvdb.h>
#include <openvdb/tools/ChangeBackground.h>
#include <openvdb/tools/Composite.h>
#include <openvdb/tools/Interpolation.h>
#include <openvdb/tools/MeshToVolume.h>
#include <openvdb/tools/SignedFloodFill.h>
#include <openvdb/tools/ValueTransformer.h>
#include <openvdb/tools/VolumeToMesh.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

namespace {

using openvdb::FloatGrid;
using openvdb::Vec3I;
using openvdb::Vec3s;
using openvdb::Vec4I;

// LOGO3D_SOLID_TIMES=1 prints how long each step takes (for the benchmark).
void lap(const char* step) {
    static const bool on = std::getenv("LOGO3D_SOLID_TIMES") != nullptr;
    static auto last = std::chrono::steady_clock::now();
    const auto now = std::chrono::steady_clock::now();
    if (on) std::fprintf(stderr, "%s: %.3f s\n", step, std::chrono::duration<double>(now - last).count());
    last = now;
}

void initializeOpenVdb() {
    static std::once_flag once;
    std::call_once(once, [] { openvdb::initialize(); });
}

struct Polygons {
    std::vector<Vec3s> points;
    std::vector<Vec3I> triangles;
    std::vector<Vec4I> quads;
};

Polygons polygonsOf(const std::vector<TriangleCorners>& soup) {
    Polygons out;
    out.points.reserve(soup.size() * 3);
    out.triangles.reserve(soup.size());
    for (const TriangleCorners& t : soup) {
        const auto first = static_cast<openvdb::Index32>(out.points.size());
        for (const Point3& p : t) out.points.emplace_back(p[0], p[1], p[2]);
        out.triangles.emplace_back(first, first + 1, first + 2);
    }
    return out;
}

Polygons polygonsOf(const SolidMesh& mesh) {
    Polygons out;
    for (const Point3& p : mesh.vertices) out.points.emplace_back(p[0], p[1], p[2]);
    for (const auto& t : mesh.triangles) out.triangles.emplace_back(t[0], t[1], t[2]);
    return out;
}

// The surface where the volume has the value iso, as triangles facing the
// higher values (outward, for a level set that is negative inside).
SolidMesh isosurface(const FloatGrid& grid, double iso, double adaptivity) {
    Polygons p;
    openvdb::tools::volumeToMesh(grid, p.points, p.triangles, p.quads, iso, adaptivity);
    SolidMesh mesh;
    mesh.vertices.reserve(p.points.size());
    for (const Vec3s& v : p.points) mesh.vertices.push_back({v[0], v[1], v[2]});
    // OpenVDB winds its polygons clockwise seen from the higher values.
    for (const Vec3I& t : p.triangles) mesh.triangles.push_back({t[0], t[2], t[1]});
    for (const Vec4I& q : p.quads) {
        mesh.triangles.push_back({q[0], q[2], q[1]});
        mesh.triangles.push_back({q[0], q[3], q[2]});
    }
    return mesh;
}

// A level set (negative inside) whose inside, eroded by the closing radius,
// is the solid: the triangles' unsigned distance field is cut at that radius,
// which makes walls around every triangle; the walls' outer shells bound the
// solid, their inner shells (around what a closed surface encloses) are
// dropped, so that what they enclose is filled.
FloatGrid::Ptr dilatedSolid(const std::vector<TriangleCorners>& soup, const SolidifyOptions& options,
                            const openvdb::math::Transform& xform) {
    const float h = options.voxelSize, r = options.closingRadius;
    // The bands reach just past the level that is meshed from each volume.
    const float bandVoxels = r / h + 1.5f;
    const Polygons input = polygonsOf(soup);
    lap("start");
    const FloatGrid::Ptr distance =
        openvdb::tools::meshToUnsignedDistanceField<FloatGrid>(xform, input.points, input.triangles, input.quads,
                                                               bandVoxels);
    lap("distance");
    // Adaptive: the walls only carry the solid to the next step.
    const SolidMesh walls = isosurface(*distance, r, 0.5);
    lap("walls");
    // The largest shell is an outer one (it holds its cavities), and every
    // outer shell turns the same way as it, every inner one the other way.
    const std::vector<SolidMesh> shells = SplitShells(walls);
    std::vector<double> volumes;
    double largest = 0.0;
    for (const SolidMesh& shell : shells) {
        volumes.push_back(CheckSolid(shell).volume);
        if (std::fabs(volumes.back()) > std::fabs(largest)) largest = volumes.back();
    }
    SolidMesh outer;
    for (std::size_t i = 0; i < shells.size(); ++i)
        if ((volumes[i] > 0.0) == (largest > 0.0)) outer.Append(shells[i]);
    const Polygons outerPolygons = polygonsOf(outer);
    lap("shells");
    return openvdb::tools::meshToSignedDistanceField<FloatGrid>(xform, outerPolygons.points, outerPolygons.triangles,
                                                                outerPolygons.quads, 1.5f, bandVoxels);
}

// The closing's solid as a level set whose zero is its surface.
FloatGrid::Ptr closedLevelSet(const std::vector<TriangleCorners>& soup, const SolidifyOptions& options,
                              const openvdb::math::Transform& xform) {
    const FloatGrid::Ptr dilated = dilatedSolid(soup, options, xform);
    const float h = options.voxelSize, r = options.closingRadius;
    openvdb::tools::foreach(dilated->beginValueAll(), [r](const FloatGrid::ValueAllIter& v) { v.setValue(*v + r); });
    const float outside = 1.5f * h + r, inside = r - (r / h + 1.5f) * h;
    openvdb::tools::changeAsymmetricLevelSetBackground(dilated->tree(), outside, inside);
    lap("closed");
    return dilated;
}

// Whether a level set shows the faces of the triangles it was made from:
// just behind a face it is inside, or just in front of it, inside another
// part (one body overlapping another). Where the outside leaked in through
// a seam, or a part was thinner than a voxel, both sides are outside.
// Details finer than a voxel are lost anywhere; a leak loses a whole
// part, so the drawn area is looked at by columns 32 voxels wide, and a
// column that loses more than a third of it fails.
bool showsEveryFace(const FloatGrid& solid, const std::vector<TriangleCorners>& soup, float voxelSize) {
    openvdb::tools::GridSampler<FloatGrid, openvdb::tools::BoxSampler> sample(solid);
    const double step = 0.5 * voxelSize, column = 32.0 * voxelSize;
    struct Areas {
        double drawn = 0.0, lost = 0.0;
    };
    std::map<std::pair<long, long>, Areas> columns;
    for (const TriangleCorners& t : soup) {
        const openvdb::Vec3d a(t[0][0], t[0][1], t[0][2]), b(t[1][0], t[1][1], t[1][2]), c(t[2][0], t[2][1], t[2][2]);
        openvdb::Vec3d normal = (b - a).cross(c - a);
        const double area = 0.5 * normal.length();
        if (!(area > 0.0)) continue;
        normal /= 2.0 * area;
        const openvdb::Vec3d centre = (a + b + c) / 3.0;
        Areas& here = columns[{std::lround(std::floor(centre.x() / column)), std::lround(std::floor(centre.y() / column))}];
        here.drawn += area;
        if (sample.wsSample(centre - step * normal) > 0.0 && sample.wsSample(centre + step * normal) > 0.0)
            here.lost += area;
    }
    double worst = 0.0;
    for (const auto& entry : columns) worst = std::max(worst, entry.second.lost / entry.second.drawn);
    if (std::getenv("LOGO3D_SOLID_TIMES")) std::fprintf(stderr, "lost: at most %.3f of a column's drawn area\n", worst);
    return worst <= 1.0 / 3.0;
}

// The triangles' solid as a level set whose zero is its surface: their own
// signed distance when it shows them, else the closing's. Parts less than
// three voxels across seldom show in their own, so they go straight to
// the closing.
FloatGrid::Ptr solidLevelSet(const std::vector<TriangleCorners>& soup, const SolidifyOptions& options,
                             const openvdb::math::Transform& xform) {
    if (options.thinnest > 0.0f && options.thinnest < 3.0f * options.voxelSize)
        return closedLevelSet(soup, options, xform);
    const Polygons polygons = polygonsOf(soup);
    lap("start");
    FloatGrid::Ptr direct =
        openvdb::tools::meshToLevelSet<FloatGrid>(xform, polygons.points, polygons.triangles, polygons.quads, 2.0f);
    lap("direct");
    const bool shown = showsEveryFace(*direct, soup, options.voxelSize);
    lap("checked");
    return shown ? direct : closedLevelSet(soup, options, xform);
}

// The plate's level set, from its shape: its distances where they are
// within the band, the inside behind them filled.
FloatGrid::Ptr slabLevelSet(const RoundedSlab& slab, const openvdb::math::Transform& xform, float outside,
                            float inside) {
    FloatGrid::Ptr grid = FloatGrid::create(outside);
    grid->setTransform(xform.copy());
    grid->setGridClass(openvdb::GRID_LEVEL_SET);
    const double h = xform.voxelSize()[0];
    const float band = std::min(outside, -inside), middle = 0.5f * (slab.zBottom + slab.zTop);
    const float halfThickness = 0.5f * (slab.zTop - slab.zBottom);
    const openvdb::Coord lo =
        xform.worldToIndexCellCentered(openvdb::Vec3d(slab.x0 - band, slab.y0 - band, slab.zBottom - band));
    const openvdb::Coord hi =
        xform.worldToIndexCellCentered(openvdb::Vec3d(slab.x1 + band, slab.y1 + band, slab.zTop + band));
    auto values = grid->getAccessor();
    for (int i = lo.x(); i <= hi.x(); ++i)
        for (int j = lo.y(); j <= hi.y(); ++j) {
            const openvdb::Vec3d column = xform.indexToWorld(openvdb::Coord(i, j, 0));
            const float x = float(column.x()), y = float(column.y());
            // Away from the sides, only the voxels near the top and the bottom.
            const bool nearSide = DistanceToSlab(slab, x, y, middle) > -halfThickness - band;
            for (int k = lo.z(); k <= hi.z(); ++k) {
                const float z = float(column.z() + k * h);
                if (!nearSide && z > slab.zBottom + band && z < slab.zTop - band) continue;
                const float d = DistanceToSlab(slab, x, y, z);
                if (d < band && d > -band) values.setValue(openvdb::Coord(i, j, k), d);
            }
        }
    openvdb::tools::signedFloodFillWithValues(grid->tree(), outside, inside);
    return grid;
}

// The grid of voxels of the given size, a centre at the given origin.
openvdb::math::Transform::Ptr gridTransform(const SolidifyOptions& options) {
    auto xform = openvdb::math::Transform::createLinearTransform(options.voxelSize);
    const Point3& o = options.gridOrigin;
    xform->postTranslate(openvdb::Vec3d(o[0], o[1], o[2]));
    return xform;
}

// A difference leaves slivers of a voxel or so where two surfaces nearly
// coincide, and meshing leaves specks of less than a voxel where the volume
// only grazes its level: they are noise, not material. `voxels` is the
// least volume kept, in voxels.
SolidMesh withoutSlivers(const SolidMesh& mesh, float voxelSize, double voxels = 8.0) {
    const double least = voxels * double(voxelSize) * voxelSize * voxelSize;
    SolidMesh out;
    for (const SolidMesh& shell : SplitShells(mesh))
        if (CheckSolid(shell).volume > least) out.Append(shell);
    return out;
}

}  // namespace

SolidMesh Solidify(const std::vector<TriangleCorners>& triangles, const SolidifyOptions& options,
                   const std::vector<RoundedSlab>& plates) {
    if (triangles.empty() && plates.empty()) return {};
    initializeOpenVdb();
    const auto xform = gridTransform(options);
    FloatGrid::Ptr solid = triangles.empty() ? nullptr : solidLevelSet(triangles, options, *xform);
    const float outside = solid ? solid->background() : 2.0f * options.voxelSize, inside = -outside;
    if (solid) openvdb::tools::changeAsymmetricLevelSetBackground(solid->tree(), outside, inside);
    for (const RoundedSlab& slab : plates) {
        const FloatGrid::Ptr plate = slabLevelSet(slab, *xform, outside, inside);
        if (solid) openvdb::tools::csgUnion(*solid, *plate);
        else solid = plate;
    }
    lap("plates");
    const SolidMesh surface = isosurface(*solid, 0.0, options.adaptivity);
    lap("surface");
    SolidMesh out = withoutSlivers(surface, options.voxelSize, 1.0);
    lap("specks");
    return out;
}

std::vector<SolidMesh> SolidifyGroups(const std::vector<std::vector<TriangleCorners>>& groups,
                                      const SolidifyOptions& options) {
    initializeOpenVdb();
    const auto xform = gridTransform(options);
    std::vector<SolidMesh> out;
    FloatGrid::Ptr before;  // the union of the groups so far
    for (const auto& group : groups) {
        if (group.empty()) {
            out.emplace_back();
            continue;
        }
        FloatGrid::Ptr solid = solidLevelSet(group, options, *xform);
        if (before) {
            const float b = before->background();
            openvdb::tools::changeAsymmetricLevelSetBackground(solid->tree(), b, -b);
        }
        FloatGrid::Ptr own = solid->deepCopy();
        if (before) openvdb::tools::csgDifference(*own, *before->deepCopy());
        out.push_back(withoutSlivers(isosurface(*own, 0.0, options.adaptivity), options.voxelSize));
        if (before) openvdb::tools::csgUnion(*before, *solid);
        else before = solid;
    }
    return out;
}

Point3 GridOriginAwayFrom(const RoundedSlab& slab, float voxelSize) {
    // Two faces a distance d apart (in voxels, its fraction f) sit at
    // 0.5 - f/2 and 0.5 + f/2 of a voxel: both at least a quarter from a centre.
    auto origin = [voxelSize](float low, float high) {
        const double span = (double(high) - low) / voxelSize;
        const double fraction = span - std::floor(span);
        return float(low - (0.5 - fraction / 2) * voxelSize);
    };
    return {origin(slab.x0, slab.x1), origin(slab.y0, slab.y1), origin(slab.zBottom, slab.zTop)};
}
