#include "OpenVdbGrid.h"

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
#include <mutex>

#include "SolidTimes.h"

namespace {

using openvdb::FloatGrid;
using openvdb::Vec3I;
using openvdb::Vec3s;
using openvdb::Vec4I;

struct VdbVolume : SolidVolume {
    explicit VdbVolume(FloatGrid::Ptr g) : grid(std::move(g)) {}
    FloatGrid::Ptr grid;
};

FloatGrid& gridOf(SolidVolume& v) { return *static_cast<VdbVolume&>(v).grid; }
const FloatGrid& gridOf(const SolidVolume& v) { return *static_cast<const VdbVolume&>(v).grid; }

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

// The outer shells of a mesh: the largest shell is an outer one (it holds
// its cavities), and every outer shell turns the same way as it, every
// inner one the other way.
SolidMesh outerShells(const SolidMesh& walls) {
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
    return outer;
}

class OpenVdbGrid : public SolidGrid {
public:
    explicit OpenVdbGrid(const GridFrame& frame) : SolidGrid(frame) {
        initializeOpenVdb();
        xform_ = openvdb::math::Transform::createLinearTransform(frame.voxel);
        xform_->postTranslate(openvdb::Vec3d(frame.origin[0], frame.origin[1], frame.origin[2]));
    }

    Volume Direct(const std::vector<TriangleCorners>& triangles) const override {
        const Polygons p = polygonsOf(triangles);
        return wrap(openvdb::tools::meshToLevelSet<FloatGrid>(*xform_, p.points, p.triangles, p.quads, 2.0f));
    }

    // The triangles' unsigned distance cut at the radius makes walls around
    // every triangle; the walls' outer shells bound the dilated solid (their
    // inner shells, round what a closed surface encloses, are dropped, so
    // that it is filled), which is then eroded by the radius.
    Volume Closed(const std::vector<TriangleCorners>& triangles, float r) const override {
        const float h = Frame().voxel;
        const float bandVoxels = r / h + 1.5f;
        const Polygons input = polygonsOf(triangles);
        const FloatGrid::Ptr distance = openvdb::tools::meshToUnsignedDistanceField<FloatGrid>(
            *xform_, input.points, input.triangles, input.quads, bandVoxels);
        SolidLap("distance");
        // Adaptive: the walls only carry the solid to the next step.
        const Polygons outer = polygonsOf(outerShells(isosurface(*distance, r, 0.5)));
        SolidLap("walls");
        const FloatGrid::Ptr dilated = openvdb::tools::meshToSignedDistanceField<FloatGrid>(
            *xform_, outer.points, outer.triangles, outer.quads, 1.5f, bandVoxels);
        openvdb::tools::foreach(dilated->beginValueAll(), [r](const FloatGrid::ValueAllIter& v) { v.setValue(*v + r); });
        openvdb::tools::changeAsymmetricLevelSetBackground(dilated->tree(), 1.5f * h + r, r - (r / h + 1.5f) * h);
        SolidLap("closed");
        return wrap(dilated);
    }

    Volume Slab(const RoundedSlab& slab) const override;

    Volume Copy(const SolidVolume& volume) const override { return wrap(gridOf(volume).deepCopy()); }

    float Sample(const SolidVolume& volume, const Point3& p) const override {
        const openvdb::tools::GridSampler<FloatGrid, openvdb::tools::BoxSampler> sampler(gridOf(volume));
        return sampler.wsSample(openvdb::Vec3d(p[0], p[1], p[2]));
    }

    void Unite(SolidVolume& into, Volume other) const override {
        alignBackgrounds(gridOf(into), gridOf(*other));
        openvdb::tools::csgUnion(gridOf(into), gridOf(*other));
    }

    void Subtract(SolidVolume& from, Volume other) const override {
        alignBackgrounds(gridOf(from), gridOf(*other));
        openvdb::tools::csgDifference(gridOf(from), gridOf(*other));
    }

    SolidMesh Surface(const SolidVolume& volume, float adaptivity) const override {
        return isosurface(gridOf(volume), 0.0, adaptivity);
    }

    const char* Name() const override { return "OpenVDB"; }

private:
    openvdb::math::Transform::Ptr xform_;

    static Volume wrap(FloatGrid::Ptr grid) { return std::make_unique<VdbVolume>(std::move(grid)); }

    // The two volumes' far values made alike (the wider of the two), as
    // OpenVDB's set operations expect.
    static void alignBackgrounds(FloatGrid& a, FloatGrid& b) {
        const float outside = std::max(a.background(), b.background());
        for (FloatGrid* g : {&a, &b})
            if (g->background() != outside)
                openvdb::tools::changeAsymmetricLevelSetBackground(g->tree(), outside, -outside);
    }
};

// The plate's level set, from its shape: its distances within the band,
// the inside behind them filled.
SolidGrid::Volume OpenVdbGrid::Slab(const RoundedSlab& slab) const {
    const float h = Frame().voxel, band = 2.0f * h;
    FloatGrid::Ptr grid = FloatGrid::create(band);
    grid->setTransform(xform_->copy());
    grid->setGridClass(openvdb::GRID_LEVEL_SET);
    const float middle = 0.5f * (slab.zBottom + slab.zTop), halfThickness = 0.5f * (slab.zTop - slab.zBottom);
    const openvdb::Coord lo =
        xform_->worldToIndexCellCentered(openvdb::Vec3d(slab.x0 - band, slab.y0 - band, slab.zBottom - band));
    const openvdb::Coord hi =
        xform_->worldToIndexCellCentered(openvdb::Vec3d(slab.x1 + band, slab.y1 + band, slab.zTop + band));
    auto values = grid->getAccessor();
    for (int i = lo.x(); i <= hi.x(); ++i)
        for (int j = lo.y(); j <= hi.y(); ++j) {
            const openvdb::Vec3d column = xform_->indexToWorld(openvdb::Coord(i, j, 0));
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
    openvdb::tools::signedFloodFillWithValues(grid->tree(), band, -band);
    return wrap(grid);
}

}  // namespace

std::unique_ptr<SolidGrid> MakeOpenVdbGrid(const GridFrame& frame) { return std::make_unique<OpenVdbGrid>(frame); }
