#include "DistanceVolume.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <utility>

namespace {

Point3 minus(const Point3& a, const Point3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
float dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point3 cross(const Point3& a, const Point3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Point3 along(const Point3& a, const Point3& d, float t) { return {a[0] + t * d[0], a[1] + t * d[1], a[2] + t * d[2]}; }

// Grid points are outside, inside (not reached), or wall (near a triangle)
// until the outside has been flooded.
enum : std::uint8_t { kOpen = 0, kWall = 1, kOutside = 2 };

struct Grid {
    DistanceVolume& volume;
    std::vector<std::int32_t> nearestTriangle;
    Point3 At(int x, int y, int z) const {
        const float h = volume.spacing;
        return {volume.origin[0] + h * x, volume.origin[1] + h * y, volume.origin[2] + h * z};
    }
};

// The unsigned distance within `band` of each triangle, and which triangle
// is nearest.
void measureDistances(Grid& grid, const std::vector<TriangleCorners>& triangles, float band) {
    DistanceVolume& v = grid.volume;
    const float h = v.spacing;
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        int from[3], to[3];
        for (int k = 0; k < 3; ++k) {
            const auto [lo, hi] = std::minmax({triangles[t][0][k], triangles[t][1][k], triangles[t][2][k]});
            from[k] = std::max(0, static_cast<int>(std::floor((lo - band - v.origin[k]) / h)));
            to[k] = std::min(v.size[k] - 1, static_cast<int>(std::ceil((hi + band - v.origin[k]) / h)));
        }
        for (int z = from[2]; z <= to[2]; ++z)
            for (int y = from[1]; y <= to[1]; ++y)
                for (int x = from[0]; x <= to[0]; ++x) {
                    Point3 nearest;
                    const float d = DistanceToTriangle(grid.At(x, y, z), triangles[t], nearest);
                    const std::size_t i = v.Index(x, y, z);
                    if (d < v.values[i]) {
                        v.values[i] = d;
                        grid.nearestTriangle[i] = static_cast<std::int32_t>(t);
                    }
                }
    }
}

// Whether a grid point near a triangle lies on its front (outer) side.
bool inFront(const Grid& grid, const std::vector<TriangleCorners>& triangles, int x, int y, int z) {
    const std::int32_t t = grid.nearestTriangle[grid.volume.Index(x, y, z)];
    if (t < 0) return false;
    const TriangleCorners& c = triangles[static_cast<std::size_t>(t)];
    const Point3 p = grid.At(x, y, z);
    Point3 nearest;
    DistanceToTriangle(p, c, nearest);
    return dot(minus(p, nearest), cross(minus(c[1], c[0]), minus(c[2], c[0]))) > 0.0f;
}

// The outside: flooded from the grid's border through points away from every
// triangle, then one layer on into the points near a triangle that lie
// before its front.
std::vector<std::uint8_t> floodOutside(const Grid& grid, const std::vector<TriangleCorners>& triangles, float wall) {
    const DistanceVolume& v = grid.volume;
    const int nx = v.size[0], ny = v.size[1], nz = v.size[2];
    std::vector<std::uint8_t> state(v.values.size(), kOpen);
    for (std::size_t i = 0; i < state.size(); ++i)
        if (v.values[i] <= wall) state[i] = kWall;
    std::deque<std::array<int, 3>> queue;
    const auto reach = [&](int x, int y, int z, bool throughWalls) {
        if (x < 0 || y < 0 || z < 0 || x >= nx || y >= ny || z >= nz) return;
        std::uint8_t& s = state[v.Index(x, y, z)];
        if (s == kOutside) return;
        // The first pass keeps away from the triangles; the second goes only
        // into points near one, before its front.
        if (throughWalls ? (s != kWall || !inFront(grid, triangles, x, y, z)) : s == kWall) return;
        s = kOutside;
        queue.push_back({x, y, z});
    };
    const auto flood = [&] {
        while (!queue.empty()) {
            const auto [x, y, z] = queue.front();
            queue.pop_front();
            reach(x - 1, y, z, false);
            reach(x + 1, y, z, false);
            reach(x, y - 1, z, false);
            reach(x, y + 1, z, false);
            reach(x, y, z - 1, false);
            reach(x, y, z + 1, false);
        }
    };
    for (int z = 0; z < nz; ++z)
        for (int y = 0; y < ny; ++y)
            for (int x = 0; x < nx; ++x)
                if (x == 0 || y == 0 || z == 0 || x == nx - 1 || y == ny - 1 || z == nz - 1) reach(x, y, z, false);
    flood();
    // Second step, one layer deep: the wall points next to the outside that
    // lie before their triangle's front, so that the surface stays where it
    // was drawn. No further: along a surface that runs into another body,
    // the points before its front lie inside that body.
    for (int z = 0; z < nz; ++z)
        for (int y = 0; y < ny; ++y)
            for (int x = 0; x < nx; ++x)
                if (state[v.Index(x, y, z)] == kOutside) queue.push_back({x, y, z});
    const std::size_t layer = queue.size();
    for (std::size_t i = 0; i < layer; ++i) {
        const auto [x, y, z] = queue[i];
        for (const auto& d : {std::array<int, 3>{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}})
            reach(x + d[0], y + d[1], z + d[2], true);
    }
    return state;
}

}  // namespace

float DistanceToTriangle(const Point3& p, const TriangleCorners& t, Point3& nearest) {
    // The nearest point by the region of the triangle's plane p falls in.
    const Point3& a = t[0];
    const Point3& b = t[1];
    const Point3& c = t[2];
    const Point3 ab = minus(b, a), ac = minus(c, a), ap = minus(p, a);
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) nearest = a;
    else {
        const Point3 bp = minus(p, b);
        const float d3 = dot(ab, bp), d4 = dot(ac, bp);
        const Point3 cp = minus(p, c);
        const float d5 = dot(ab, cp), d6 = dot(ac, cp);
        const float vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
        if (d3 >= 0 && d4 <= d3) nearest = b;
        else if (d6 >= 0 && d5 <= d6) nearest = c;
        else if (vc <= 0 && d1 >= 0 && d3 <= 0) nearest = along(a, ab, d1 / (d1 - d3));
        else if (vb <= 0 && d2 >= 0 && d6 <= 0) nearest = along(a, ac, d2 / (d2 - d6));
        else if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
            nearest = along(b, minus(c, b), (d4 - d3) / ((d4 - d3) + (d5 - d6)));
        else {
            const float sum = va + vb + vc;
            if (!(std::fabs(sum) > 0.0f)) nearest = a;  // a triangle without area: its first corner
            else nearest = along(along(a, ab, vb / sum), ac, vc / sum);
        }
    }
    const Point3 d = minus(p, nearest);
    return std::sqrt(dot(d, d));
}

DistanceVolume SignedDistanceVolume(const std::vector<TriangleCorners>& triangles, float spacing) {
    DistanceVolume v;
    v.spacing = spacing;
    if (triangles.empty() || !(spacing > 0.0f)) return v;
    Point3 lo = triangles[0][0], hi = triangles[0][0];
    for (const TriangleCorners& t : triangles)
        for (const Point3& p : t)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], p[k]);
                hi[k] = std::max(hi[k], p[k]);
            }
    const float band = 1.5f * spacing;
    const float pad = 2.0f * spacing;
    for (int k = 0; k < 3; ++k) {
        v.origin[k] = lo[k] - pad;
        v.size[k] = static_cast<int>(std::ceil((hi[k] - lo[k] + 2.0f * pad) / spacing)) + 1;
    }
    v.values.assign(static_cast<std::size_t>(v.size[0]) * v.size[1] * v.size[2], band);
    Grid grid{v, std::vector<std::int32_t>(v.values.size(), -1)};
    measureDistances(grid, triangles, band);
    // Neighbouring grid points lie one spacing apart: a surface between two
    // of them is within 0.5 spacing of one, so a wall of 0.9 spacing lets no
    // flood through a drawn surface, and closes seams of up to 1.8 spacings.
    const std::vector<std::uint8_t> state = floodOutside(grid, triangles, 0.9f * spacing);
    // A point on a drawn surface that the outside did not reach is inside:
    // a hair above 0, which the mesher would take for outside.
    const float hair = 1e-4f * spacing;
    for (std::size_t i = 0; i < v.values.size(); ++i)
        v.values[i] = state[i] == kOutside ? -v.values[i] : std::max(v.values[i], hair);
    return v;
}

namespace {

// The cube's corners by bit: 1 along x, 2 along y, 4 along z; each
// tetrahedron goes from corner 0 to corner 7 along the three axes in one order.
constexpr int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7}, {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};

class LevelSetMesher {
public:
    explicit LevelSetMesher(const DistanceVolume& v) : volume(v) {}

    SolidMesh Run() {
        const int nx = volume.size[0], ny = volume.size[1], nz = volume.size[2];
        for (int z = 0; z + 1 < nz; ++z)
            for (int y = 0; y + 1 < ny; ++y)
                for (int x = 0; x + 1 < nx; ++x) {
                    std::size_t corner[8];
                    bool anyInside = false, anyOutside = false;
                    for (int c = 0; c < 8; ++c) {
                        corner[c] = volume.Index(x + (c & 1), y + ((c >> 1) & 1), z + ((c >> 2) & 1));
                        (value(corner[c]) > 0.0f ? anyInside : anyOutside) = true;
                    }
                    if (!anyInside || !anyOutside) continue;
                    for (const auto& t : kTetrahedra)
                        tetrahedron({corner[t[0]], corner[t[1]], corner[t[2]], corner[t[3]]});
                }
        return std::move(mesh);
    }

private:
    const DistanceVolume& volume;
    SolidMesh mesh;
    std::unordered_map<std::uint64_t, std::uint32_t> crossings;
    // Each crossing's grid edge's middle: the triangles' turn is taken from
    // these, which never coincide, where crossings near a grid point may.
    std::vector<Point3> middles;

    float value(std::size_t i) const {
        const float f = volume.values[i];
        return f == 0.0f ? -1e-6f * volume.spacing : f;
    }

    Point3 position(std::size_t i) const {
        const std::size_t nx = static_cast<std::size_t>(volume.size[0]), ny = static_cast<std::size_t>(volume.size[1]);
        const float h = volume.spacing;
        return {volume.origin[0] + h * static_cast<float>(i % nx), volume.origin[1] + h * static_cast<float>((i / nx) % ny),
                volume.origin[2] + h * static_cast<float>(i / (nx * ny))};
    }

    // The vertex where the value crosses 0 on the grid edge a-b, made once.
    std::uint32_t crossing(std::size_t a, std::size_t b) {
        if (a > b) std::swap(a, b);
        const std::uint64_t key = (static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint64_t>(b);
        const auto found = crossings.find(key);
        if (found != crossings.end()) return found->second;
        const float fa = value(a), fb = value(b);
        const float t = fa / (fa - fb);
        const Point3 pa = position(a), pb = position(b);
        mesh.vertices.push_back({pa[0] + t * (pb[0] - pa[0]), pa[1] + t * (pb[1] - pa[1]), pa[2] + t * (pb[2] - pa[2])});
        middles.push_back({0.5f * (pa[0] + pb[0]), 0.5f * (pa[1] + pb[1]), 0.5f * (pa[2] + pb[2])});
        const std::uint32_t index = static_cast<std::uint32_t>(mesh.vertices.size() - 1);
        crossings.emplace(key, index);
        return index;
    }

    // A triangle facing away from the inside corners.
    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, const Point3& towardsInside) {
        const Point3 n = cross(minus(middles[b], middles[a]), minus(middles[c], middles[a]));
        if (dot(n, towardsInside) > 0.0f) std::swap(b, c);
        mesh.triangles.push_back({a, b, c});
    }

    void tetrahedron(const std::array<std::size_t, 4>& corner) {
        std::size_t inside[4], outside[4];
        int in = 0, out = 0;
        Point3 inSum{{0, 0, 0}}, outSum{{0, 0, 0}};
        for (std::size_t c : corner) {
            const Point3 p = position(c);
            if (value(c) > 0.0f) {
                inside[in++] = c;
                for (int k = 0; k < 3; ++k) inSum[k] += p[k];
            } else {
                outside[out++] = c;
                for (int k = 0; k < 3; ++k) outSum[k] += p[k];
            }
        }
        if (in == 0 || out == 0) return;
        const Point3 towardsInside{inSum[0] / in - outSum[0] / out, inSum[1] / in - outSum[1] / out,
                                   inSum[2] / in - outSum[2] / out};
        if (in == 1 || out == 1) {
            const std::size_t lone = in == 1 ? inside[0] : outside[0];
            const std::size_t* others = in == 1 ? outside : inside;
            triangle(crossing(lone, others[0]), crossing(lone, others[1]), crossing(lone, others[2]), towardsInside);
            return;
        }
        // Two and two: the four crossings go round a quadrilateral.
        const std::uint32_t a = crossing(inside[0], outside[0]), b = crossing(inside[0], outside[1]),
                            c = crossing(inside[1], outside[1]), d = crossing(inside[1], outside[0]);
        triangle(a, b, c, towardsInside);
        triangle(a, c, d, towardsInside);
    }
};

}  // namespace

SolidMesh MeshLevelSet(const DistanceVolume& volume) { return LevelSetMesher(volume).Run(); }
