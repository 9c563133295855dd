#include "DenseField.h"
#include "PointMath.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace {

// The cube's corners by bit: 1 along x, 2 along y, 4 along z; each
// tetrahedron goes from corner 0 to corner 7 along the three axes in one order.
constexpr int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7}, {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};

class LevelSetMesher {
public:
    explicit LevelSetMesher(const DenseField& v) : volume(v) {}

    SolidMesh Run() {
        const int nx = volume.size[0], ny = volume.size[1], nz = volume.size[2];
        for (int z = 0; z + 1 < nz; ++z)
            for (int y = 0; y + 1 < ny; ++y)
                for (int x = 0; x + 1 < nx; ++x) {
                    std::size_t corner[8];
                    bool anyInside = false, anyOutside = false;
                    for (int c = 0; c < 8; ++c) {
                        corner[c] = volume.Index(x + (c & 1), y + ((c >> 1) & 1), z + ((c >> 2) & 1));
                        (value(corner[c]) < 0.0f ? anyInside : anyOutside) = true;
                    }
                    if (!anyInside || !anyOutside) continue;
                    for (const auto& t : kTetrahedra)
                        tetrahedron({corner[t[0]], corner[t[1]], corner[t[2]], corner[t[3]]});
                }
        return std::move(mesh);
    }

private:
    const DenseField& volume;
    SolidMesh mesh;
    std::unordered_map<std::uint64_t, std::uint32_t> crossings;
    // Each crossing's grid edge's middle: the triangles' turn is taken from
    // these, which never coincide, where crossings near a grid point may.
    std::vector<Point3> middles;

    // Values are kept a thousandth of a voxel from 0: a crossing nearer to
    // a grid point than that would round to the point itself in floats,
    // and the crossings of several edges round it would meet there.
    float value(std::size_t i) const {
        const float f = volume.values[i], least = 1e-3f * volume.spacing;
        return std::fabs(f) >= least ? f : f < 0.0f ? -least : least;
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
        const Point3 n = Cross(Minus(middles[b], middles[a]), Minus(middles[c], middles[a]));
        if (Dot(n, towardsInside) > 0.0f) std::swap(b, c);
        mesh.triangles.push_back({a, b, c});
    }

    void tetrahedron(const std::array<std::size_t, 4>& corner) {
        std::size_t inside[4], outside[4];
        int in = 0, out = 0;
        Point3 inSum{{0, 0, 0}}, outSum{{0, 0, 0}};
        for (std::size_t c : corner) {
            const Point3 p = position(c);
            if (value(c) < 0.0f) {
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

SolidMesh MeshZeroLevel(const DenseField& field) { return LevelSetMesher(field).Run(); }
