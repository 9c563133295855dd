#pragma once

// The grid a print's solid is made on, behind one small interface: what
// the solid path decides (which distance, the plate, the parts) is written
// once, and only the grid underneath differs: OpenVDB's sparse volumes
// natively, a dense grid of its own where OpenVDB does not build (the web
// page). A volume holds a signed distance in millimetres, negative inside.

#include <functional>
#include <memory>
#include <vector>

#include "BasePlate.h"
#include "SolidMesh.h"

// Where the voxels lie: their size, a voxel's centre, and the region every
// volume of one solid stays within (a dense grid allocates it whole).
struct GridFrame {
    float voxel = 0.1f;
    Point3 origin{{0, 0, 0}};
    Point3 low{{0, 0, 0}}, high{{0, 0, 0}};
};

// A volume of one grid; only that grid reads it.
class SolidVolume {
public:
    virtual ~SolidVolume() = default;
};

class SolidGrid {
public:
    using Volume = std::unique_ptr<SolidVolume>;
    explicit SolidGrid(const GridFrame& frame) : frame_(frame) {}
    virtual ~SolidGrid() = default;
    const GridFrame& Frame() const { return frame_; }

    // The triangles' own signed distance: the outside is what can be
    // reached from far away without crossing a triangle.
    virtual Volume Direct(const std::vector<TriangleCorners>& triangles) const = 0;
    // The triangles closed by `radius`: seams narrower than twice it are
    // bridged and what a surface encloses is filled; the surface stays
    // where the outside reaches it.
    virtual Volume Closed(const std::vector<TriangleCorners>& triangles, float radius) const = 0;
    virtual Volume Slab(const RoundedSlab& slab) const = 0;
    virtual Volume Copy(const SolidVolume& volume) const = 0;

    // The value at a point, interpolated between the voxels.
    virtual float Sample(const SolidVolume& volume, const Point3& point) const = 0;
    // into becomes the union of both, from what other does not hold; other
    // is used up.
    virtual void Unite(SolidVolume& into, Volume other) const = 0;
    virtual void Subtract(SolidVolume& from, Volume other) const = 0;

    // The surface where the value is 0, closed and facing outward; adaptivity
    // from 0 (uniform triangles) towards 1 (fewer where it is flat), where
    // the grid can.
    virtual SolidMesh Surface(const SolidVolume& volume, float adaptivity) const = 0;

    virtual const char* Name() const = 0;

private:
    GridFrame frame_;
};

using SolidGridMaker = std::function<std::unique_ptr<SolidGrid>(const GridFrame&)>;

// The portable grid: builds wherever C++ does.
std::unique_ptr<SolidGrid> MakeDenseGrid(const GridFrame& frame);
