// The portable grid: every volume a dense array of values over the whole
// frame, unions and differences as minimum and maximum point by point.

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "DenseDistance.h"
#include "DenseField.h"
#include "SolidGrid.h"

namespace {

struct DenseVolume : SolidVolume {
    std::vector<float> values;
};

std::vector<float>& valuesOf(SolidVolume& v) { return static_cast<DenseVolume&>(v).values; }
const std::vector<float>& valuesOf(const SolidVolume& v) { return static_cast<const DenseVolume&>(v).values; }

// The grid's points: the frame's region with two voxels more on each side,
// a point on the frame's origin.
DenseField shapeOf(const GridFrame& frame, float fill) {
    DenseField field;
    const float h = frame.voxel;
    field.spacing = h;
    double count = 1.0;
    for (int k = 0; k < 3; ++k) {
        const double first = std::floor((frame.low[k] - frame.origin[k]) / h) - 2.0;
        const double last = std::ceil((frame.high[k] - frame.origin[k]) / h) + 2.0;
        field.origin[k] = float(frame.origin[k] + first * h);
        field.size[k] = static_cast<int>(std::max(2.0, last - first + 1.0));
        count *= field.size[k];
    }
    // Past this the grid is no use anyway: a print this fine wants the sparse grid.
    if (count > 1.5e9) throw std::length_error("the print's grid would hold too many points: choose a coarser voxel");
    field.values.assign(field.Count(), fill);
    return field;
}

class DenseGrid : public SolidGrid {
public:
    explicit DenseGrid(const GridFrame& frame) : SolidGrid(frame), shape_(shapeOf(frame, 0.0f)) {}

    // Outside is what the outside reaches through points more than 0.9
    // voxels from every triangle (neighbouring points lie one voxel apart:
    // a surface between two of them is within half a voxel of one, so no
    // flood passes a drawn surface), and one layer on, before the front.
    Volume Direct(const std::vector<TriangleCorners>& triangles) const override {
        const float h = shape_.spacing, band = 1.5f * h;
        const NearestTriangles near = MeasureDistances(filled(band), triangles, band);
        const std::vector<bool> outside = OutsideReached(near, triangles, 0.9f * h, true);
        auto volume = std::make_unique<DenseVolume>();
        volume->values = near.distance.values;
        // A point on a drawn surface that the outside did not reach is
        // inside: a hair below 0, which the mesher would take for outside.
        const float hair = 1e-4f * h;
        for (std::size_t i = 0; i < volume->values.size(); ++i)
            volume->values[i] = outside[i] ? volume->values[i] : -std::max(volume->values[i], hair);
        return volume;
    }

    Volume Closed(const std::vector<TriangleCorners>& triangles, float radius) const override;
    Volume Slab(const RoundedSlab& slab) const override;

    Volume Copy(const SolidVolume& volume) const override {
        auto copy = std::make_unique<DenseVolume>();
        copy->values = valuesOf(volume);
        return copy;
    }

    float Sample(const SolidVolume& volume, const Point3& p) const override;

    void Unite(SolidVolume& into, Volume other) const override {
        std::vector<float>& a = valuesOf(into);
        const std::vector<float>& b = valuesOf(*other);
        for (std::size_t i = 0; i < a.size(); ++i) a[i] = std::min(a[i], b[i]);
    }

    void Subtract(SolidVolume& from, Volume other) const override {
        std::vector<float>& a = valuesOf(from);
        const std::vector<float>& b = valuesOf(*other);
        for (std::size_t i = 0; i < a.size(); ++i) a[i] = std::max(a[i], -b[i]);
    }

    SolidMesh Surface(const SolidVolume& volume, float) const override {
        DenseField field = shape_;
        field.values = valuesOf(volume);
        return MeshZeroLevel(field);
    }

    const char* Name() const override { return "dense"; }

private:
    DenseField shape_;  // the points, without values

    DenseField filled(float value) const {
        DenseField field = shape_;
        field.values.assign(shape_.Count(), value);
        return field;
    }

    std::vector<float> closedValues(const NearestTriangles& near, const std::vector<bool>& outside, float radius) const;
};

// The closing: the outside reaches through points more than the radius from
// every triangle; the rest is the solid grown by the radius (what a surface
// encloses included), and the solid is what lies more than the radius inside
// that: its value the radius less the distance to the outside's edge, which
// is measured to where the distance crosses the radius between an outside
// point and its neighbour.
SolidGrid::Volume DenseGrid::Closed(const std::vector<TriangleCorners>& triangles, float radius) const {
    const float h = shape_.spacing, reach = radius + 2.0f * h;
    const NearestTriangles near = MeasureDistances(filled(reach), triangles, reach);
    const std::vector<bool> outside = OutsideReached(near, triangles, radius, false);
    auto volume = std::make_unique<DenseVolume>();
    volume->values = closedValues(near, outside, radius);
    return volume;
}

std::vector<float> DenseGrid::closedValues(const NearestTriangles& near, const std::vector<bool>& outside,
                                           float radius) const {
    const DenseField& d = near.distance;
    const float h = d.spacing, reach = radius + 2.0f * h;
    std::vector<float> values(d.Count());
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = outside[i] ? d.values[i] : radius - reach;
    const int cells = static_cast<int>(std::ceil(reach / h));
    const int steps[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int z = 0; z < d.size[2]; ++z)
        for (int y = 0; y < d.size[1]; ++y)
            for (int x = 0; x < d.size[0]; ++x) {
                const std::size_t i = d.Index(x, y, z);
                if (!outside[i]) continue;
                for (const auto& s : steps) {
                    const int nx = x + s[0], ny = y + s[1], nz = z + s[2];
                    if (nx < 0 || ny < 0 || nz < 0 || nx >= d.size[0] || ny >= d.size[1] || nz >= d.size[2]) continue;
                    const std::size_t n = d.Index(nx, ny, nz);
                    if (outside[n]) continue;
                    // Where the distance crosses the radius between the two.
                    const float t = std::clamp((d.values[i] - radius) / std::max(d.values[i] - d.values[n], 1e-12f), 0.0f, 1.0f);
                    const Point3 edge{d.origin[0] + h * (x + t * s[0]), d.origin[1] + h * (y + t * s[1]),
                                      d.origin[2] + h * (z + t * s[2])};
                    for (int c = std::max(0, nz - cells); c <= std::min(d.size[2] - 1, nz + cells); ++c)
                        for (int b = std::max(0, ny - cells); b <= std::min(d.size[1] - 1, ny + cells); ++b)
                            for (int a = std::max(0, nx - cells); a <= std::min(d.size[0] - 1, nx + cells); ++a) {
                                const std::size_t j = d.Index(a, b, c);
                                if (outside[j]) continue;
                                const Point3 p = d.At(a, b, c);
                                const float dx = p[0] - edge[0], dy = p[1] - edge[1], dz = p[2] - edge[2];
                                values[j] = std::max(values[j], radius - std::sqrt(dx * dx + dy * dy + dz * dz));
                            }
                }
            }
    return values;
}

// The plate's exact distance near its faces, clamped two voxels away.
SolidGrid::Volume DenseGrid::Slab(const RoundedSlab& slab) const {
    const float band = 2.0f * shape_.spacing;
    DenseField field = filled(band);
    for (int z = 0; z < field.size[2]; ++z)
        for (int y = 0; y < field.size[1]; ++y)
            for (int x = 0; x < field.size[0]; ++x) {
                const Point3 p = field.At(x, y, z);
                if (p[0] < slab.x0 - band || p[0] > slab.x1 + band || p[1] < slab.y0 - band || p[1] > slab.y1 + band ||
                    p[2] < slab.zBottom - band || p[2] > slab.zTop + band)
                    continue;
                field.values[field.Index(x, y, z)] = std::clamp(DistanceToSlab(slab, p[0], p[1], p[2]), -band, band);
            }
    auto volume = std::make_unique<DenseVolume>();
    volume->values = std::move(field.values);
    return volume;
}

// Trilinear between the eight points round p; outside the grid, far outside.
float DenseGrid::Sample(const SolidVolume& volume, const Point3& p) const {
    const std::vector<float>& v = valuesOf(volume);
    float f[3];
    int i[3];
    for (int k = 0; k < 3; ++k) {
        const float u = (p[k] - shape_.origin[k]) / shape_.spacing;
        i[k] = static_cast<int>(std::floor(u));
        f[k] = u - i[k];
        if (i[k] < 0 || i[k] + 1 >= shape_.size[k]) return 2.0f * shape_.spacing;
    }
    float sum = 0.0f;
    for (int c = 0; c < 8; ++c) {
        const int dx = c & 1, dy = (c >> 1) & 1, dz = (c >> 2) & 1;
        const float w = (dx ? f[0] : 1 - f[0]) * (dy ? f[1] : 1 - f[1]) * (dz ? f[2] : 1 - f[2]);
        sum += w * v[shape_.Index(i[0] + dx, i[1] + dy, i[2] + dz)];
    }
    return sum;
}

}  // namespace

std::unique_ptr<SolidGrid> MakeDenseGrid(const GridFrame& frame) { return std::make_unique<DenseGrid>(frame); }
