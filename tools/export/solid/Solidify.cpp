#include "Solidify.h"

#include <openvdb/openvdb.h>
#include <openvdb/tools/ChangeBackground.h>
#include <openvdb/tools/Composite.h>
#include <openvdb/tools/MeshToVolume.h>
#include <openvdb/tools/ValueTransformer.h>
#include <openvdb/tools/VolumeToMesh.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The closed solid as a level set whose zero is its surface.
FloatGrid::Ptr solidLevelSet(const std::vector<TriangleCorners>& soup, const SolidifyOptions& options,
                             const openvdb::math::Transform& xform) {
    const FloatGrid::Ptr dilated = dilatedSolid(soup, options, xform);
    const SolidMesh eroded = isosurface(*dilated, -options.closingRadius, 0.0);
    const Polygons polygons = polygonsOf(eroded);
    return openvdb::tools::meshToLevelSet<FloatGrid>(xform, polygons.points, polygons.triangles, 3.0f);
}

// The level set of triangles that already bound closed, outward solids.
FloatGrid::Ptr solidOfClosed(const std::vector<TriangleCorners>& soup, const openvdb::math::Transform& xform) {
    const Polygons polygons = polygonsOf(soup);
    return openvdb::tools::meshToLevelSet<FloatGrid>(xform, polygons.points, polygons.triangles, 2.0f);
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
                   const std::vector<TriangleCorners>& closedBodies) {
    if (triangles.empty() && closedBodies.empty()) return {};
    initializeOpenVdb();
    const auto xform = openvdb::math::Transform::createLinearTransform(options.voxelSize);
    if (triangles.empty())
        return withoutSlivers(isosurface(*solidOfClosed(closedBodies, *xform), 0.0, options.adaptivity),
                              options.voxelSize, 1.0);
    const FloatGrid::Ptr dilated = dilatedSolid(triangles, options, *xform);
    lap("filled");
    if (closedBodies.empty()) {
        SolidMesh out = withoutSlivers(isosurface(*dilated, -options.closingRadius, options.adaptivity),
                                       options.voxelSize, 1.0);
        lap("surface");
        return out;
    }
    // The closed solid as a level set (its surface at zero), and the closed
    // bodies' level set with the same background, united.
    const float r = options.closingRadius, outside = dilated->background() + r;
    openvdb::tools::foreach(dilated->beginValueAll(), [r](const FloatGrid::ValueAllIter& v) { v.setValue(*v + r); });
    const float inside = r - (r / options.voxelSize + 1.5f) * options.voxelSize;
    openvdb::tools::changeAsymmetricLevelSetBackground(dilated->tree(), outside, inside);
    const FloatGrid::Ptr bodies = solidOfClosed(closedBodies, *xform);
    openvdb::tools::changeAsymmetricLevelSetBackground(bodies->tree(), outside, inside);
    openvdb::tools::csgUnion(*dilated, *bodies);
    lap("bodies");
    SolidMesh out = withoutSlivers(isosurface(*dilated, 0.0, options.adaptivity), options.voxelSize, 1.0);
    lap("surface");
    return out;
}

std::vector<SolidMesh> SolidifyGroups(const std::vector<std::vector<TriangleCorners>>& groups,
                                      const SolidifyOptions& options) {
    initializeOpenVdb();
    const auto xform = openvdb::math::Transform::createLinearTransform(options.voxelSize);
    std::vector<SolidMesh> out;
    FloatGrid::Ptr before;  // the union of the groups so far
    for (const auto& group : groups) {
        if (group.empty()) {
            out.emplace_back();
            continue;
        }
        FloatGrid::Ptr solid = solidLevelSet(group, options, *xform);
        FloatGrid::Ptr own = solid->deepCopy();
        if (before) openvdb::tools::csgDifference(*own, *before->deepCopy());
        out.push_back(withoutSlivers(isosurface(*own, 0.0, options.adaptivity), options.voxelSize));
        if (before) openvdb::tools::csgUnion(*before, *solid);
        else before = solid;
    }
    return out;
}
