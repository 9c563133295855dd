#include "Solidify.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "CoincidentCorners.h"
#include "SolidSimplify.h"
#include "SolidTimes.h"

namespace {

using Volume = SolidGrid::Volume;

struct Areas {
    double drawn = 0.0, lost = 0.0;
};

// Whether a volume shows the faces of the triangles it was made from: just
// behind a face it is inside, or just in front of it, inside another part
// (one body overlapping another). Where the outside leaked in through a
// seam, or a part was thinner than a voxel, both sides are outside.
// Details finer than a voxel are lost anywhere; a leak loses a whole part,
// so the drawn area is looked at by columns 32 voxels wide, and a column
// that loses more than a third of it fails.
bool showsEveryFace(const SolidGrid& grid, const SolidVolume& solid, const std::vector<TriangleCorners>& soup) {
    const double voxel = grid.Frame().voxel, step = 0.5 * voxel, column = 32.0 * voxel;
    std::map<std::pair<long, long>, Areas> columns;
    for (const TriangleCorners& t : soup) {
        double normal[3], centre[3];
        const double u[3] = {t[1][0] - t[0][0], t[1][1] - t[0][1], t[1][2] - t[0][2]};
        const double v[3] = {t[2][0] - t[0][0], t[2][1] - t[0][1], t[2][2] - t[0][2]};
        normal[0] = u[1] * v[2] - u[2] * v[1], normal[1] = u[2] * v[0] - u[0] * v[2], normal[2] = u[0] * v[1] - u[1] * v[0];
        const double area = 0.5 * std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        if (!(area > 0.0)) continue;
        for (int k = 0; k < 3; ++k) normal[k] /= 2.0 * area, centre[k] = (t[0][k] + t[1][k] + t[2][k]) / 3.0;
        Areas& here = columns[{std::lround(std::floor(centre[0] / column)), std::lround(std::floor(centre[1] / column))}];
        here.drawn += area;
        const auto at = [&](double s) {
            return Point3{float(centre[0] + s * normal[0]), float(centre[1] + s * normal[1]), float(centre[2] + s * normal[2])};
        };
        if (grid.Sample(solid, at(-step)) > 0.0f && grid.Sample(solid, at(step)) > 0.0f) here.lost += area;
    }
    double worst = 0.0;
    for (const auto& entry : columns) worst = std::max(worst, entry.second.lost / entry.second.drawn);
    SolidNote("lost: at most this share of a column's drawn area", worst);
    return worst <= 1.0 / 3.0;
}

// The triangles' solid: their own signed distance when it shows them, else
// the closing's. Parts less than three voxels across seldom show in their
// own, so they go straight to the closing.
Volume solidVolume(const SolidGrid& grid, const std::vector<TriangleCorners>& soup, const SolidifyOptions& options) {
    if (options.thinnest > 0.0f && options.thinnest < 3.0f * grid.Frame().voxel)
        return grid.Closed(soup, options.closingRadius);
    SolidLap("start");
    Volume direct = grid.Direct(soup);
    SolidLap("direct");
    const bool shown = showsEveryFace(grid, *direct, soup);
    SolidLap("checked");
    return shown ? std::move(direct) : grid.Closed(soup, options.closingRadius);
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

// The surface meshed, made lean, its corners apart where they meet (a
// hundredth of a voxel), its specks and slivers dropped.
SolidMesh finished(const SolidGrid& grid, const SolidVolume& volume, const SolidifyOptions& options, double leastVoxels) {
    const float voxel = grid.Frame().voxel;
    SolidMesh mesh = grid.Surface(volume, options.adaptivity);
    SolidLap("surface");
    mesh = Simplified(mesh, options.simplifyError);
    SolidLap("simplified");
    SolidNote("corners moved apart", double(SeparateCoincidentCorners(mesh, 0.01f * voxel)));
    return withoutSlivers(mesh, voxel, leastVoxels);
}

}  // namespace

SolidMesh Solidify(const SolidGrid& grid, const std::vector<TriangleCorners>& triangles,
                   const SolidifyOptions& options, const std::vector<RoundedSlab>& plates) {
    if (triangles.empty() && plates.empty()) return {};
    Volume solid = triangles.empty() ? nullptr : solidVolume(grid, triangles, options);
    for (const RoundedSlab& slab : plates) {
        Volume plate = grid.Slab(slab);
        if (solid) grid.Unite(*solid, std::move(plate));
        else solid = std::move(plate);
    }
    SolidLap("plates");
    SolidMesh out = finished(grid, *solid, options, 1.0);
    SolidLap("specks");
    return out;
}

std::vector<SolidMesh> SolidifyGroups(const SolidGrid& grid, const std::vector<std::vector<TriangleCorners>>& groups,
                                      const SolidifyOptions& options) {
    std::vector<SolidMesh> out;
    Volume before;  // the union of the groups so far
    for (const auto& group : groups) {
        if (group.empty()) {
            out.emplace_back();
            continue;
        }
        Volume solid = solidVolume(grid, group, options);
        Volume own = grid.Copy(*solid);
        if (before) grid.Subtract(*own, grid.Copy(*before));
        out.push_back(finished(grid, *own, options, 8.0));
        if (before) grid.Unite(*before, std::move(solid));
        else before = std::move(solid);
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
