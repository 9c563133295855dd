#include "CoincidentCorners.h"

#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

struct PlaceHash {
    std::size_t operator()(const Point3& p) const {
        std::uint32_t bits[3];
        std::memcpy(bits, p.data(), sizeof bits);
        return (std::size_t(bits[0]) * 73856093u) ^ (std::size_t(bits[1]) * 19349663u) ^ (std::size_t(bits[2]) * 83492791u);
    }
};

using Vector = std::array<double, 3>;

// Each vertex's normal (the sum of its triangles' area vectors) and the sum
// of its neighbours' places, with their count.
struct Surroundings {
    std::vector<Vector> normal, neighbours;
    std::vector<int> count;
};

Surroundings surroundingsOf(const SolidMesh& mesh) {
    Surroundings s{std::vector<Vector>(mesh.vertices.size(), {0, 0, 0}), std::vector<Vector>(mesh.vertices.size(), {0, 0, 0}),
                   std::vector<int>(mesh.vertices.size(), 0)};
    for (const auto& t : mesh.triangles) {
        const Point3 &a = mesh.vertices[t[0]], &b = mesh.vertices[t[1]], &c = mesh.vertices[t[2]];
        const Vector u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const Vector n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 3; ++i) s.normal[t[k]][i] += n[i];
            for (int other : {(k + 1) % 3, (k + 2) % 3}) {
                for (int i = 0; i < 3; ++i) s.neighbours[t[k]][i] += mesh.vertices[t[other]][i];
                s.count[t[k]] += 1;
            }
        }
    }
    return s;
}

}  // namespace

std::size_t SeparateCoincidentCorners(SolidMesh& mesh, float hair) {
    // How many vertices stood at each place before this one: the k-th
    // moves k + 1 hairs, so that two that would move alike still part.
    std::unordered_map<Point3, std::pair<std::uint32_t, std::uint32_t>, PlaceHash> seen;  // first vertex, count
    std::vector<std::uint32_t> rank(mesh.vertices.size(), 0);
    std::vector<bool> shared(mesh.vertices.size(), false);
    for (std::uint32_t v = 0; v < mesh.vertices.size(); ++v) {
        auto& place = seen.emplace(mesh.vertices[v], std::make_pair(v, 0u)).first->second;
        rank[v] = place.second++;
        if (rank[v] > 0) shared[v] = shared[place.first] = true;
    }
    const Surroundings s = surroundingsOf(mesh);
    std::size_t moved = 0;
    for (std::uint32_t v = 0; v < mesh.vertices.size(); ++v) {
        if (!shared[v] || s.count[v] == 0) continue;
        Point3& p = mesh.vertices[v];
        const Vector centre{s.neighbours[v][0] / s.count[v] - p[0], s.neighbours[v][1] / s.count[v] - p[1],
                            s.neighbours[v][2] / s.count[v] - p[2]};
        Vector n = s.normal[v];
        double towards = 0.0;
        for (int i = 0; i < 3; ++i) towards += centre[i] * n[i];
        // Without a normal (its triangles cancel out), straight towards its neighbours.
        if (!(n[0] * n[0] + n[1] * n[1] + n[2] * n[2] > 0.0)) n = centre, towards = 1.0;
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(length > 0.0)) continue;
        const double step = (towards > 0.0 ? 1.0 : -1.0) * hair * (1 + rank[v]) / length;
        for (int i = 0; i < 3; ++i) p[i] = float(p[i] + step * n[i]);
        ++moved;
    }
    return moved;
}
