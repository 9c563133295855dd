#include "SolidMesh.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace {

std::uint64_t edgeKey(std::uint32_t a, std::uint32_t b) {
    return (static_cast<std::uint64_t>(std::min(a, b)) << 32) | std::max(a, b);
}

struct DisjointSets {
    std::vector<std::uint32_t> parent;
    explicit DisjointSets(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0u); }
    std::uint32_t Find(std::uint32_t x) {
        while (parent[x] != x) x = parent[x] = parent[parent[x]];
        return x;
    }
    void Join(std::uint32_t a, std::uint32_t b) { parent[Find(a)] = Find(b); }
};

// Vertices joined by triangles share a root.
DisjointSets connectVertices(const SolidMesh& mesh) {
    DisjointSets sets(mesh.vertices.size());
    for (const auto& t : mesh.triangles) {
        sets.Join(t[0], t[1]);
        sets.Join(t[1], t[2]);
    }
    return sets;
}

}  // namespace

void SolidMesh::Append(const SolidMesh& other) {
    const std::uint32_t offset = static_cast<std::uint32_t>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (const auto& t : other.triangles) triangles.push_back({t[0] + offset, t[1] + offset, t[2] + offset});
}

SolidCheck CheckSolid(const SolidMesh& mesh) {
    SolidCheck check;
    // Per undirected edge: how often it runs from its lower to its higher
    // vertex, and how often back.
    std::unordered_map<std::uint64_t, std::array<std::uint32_t, 2>> edges;
    edges.reserve(mesh.triangles.size() * 2);
    for (const auto& t : mesh.triangles)
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t a = t[i], b = t[(i + 1) % 3];
            ++edges[edgeKey(a, b)][a < b ? 0 : 1];
        }
    for (const auto& entry : edges) {
        const std::uint32_t forward = entry.second[0], backward = entry.second[1];
        if (forward + backward == 1) ++check.openEdges;
        else if (forward + backward > 2) ++check.overusedEdges;
        else if (forward != 1) ++check.misturnedEdges;
    }
    double volume = 0.0;
    for (const auto& t : mesh.triangles) {
        const Point3& a = mesh.vertices[t[0]];
        const Point3& b = mesh.vertices[t[1]];
        const Point3& c = mesh.vertices[t[2]];
        volume += (double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) +
                   double(a[1]) * (double(b[2]) * c[0] - double(b[0]) * c[2]) +
                   double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0])) / 6.0;
    }
    check.volume = volume;
    DisjointSets sets = connectVertices(mesh);
    std::vector<char> root(mesh.vertices.size(), 0);
    for (const auto& t : mesh.triangles) root[sets.Find(t[0])] = 1;
    check.shells = static_cast<std::size_t>(std::count(root.begin(), root.end(), 1));
    return check;
}

SolidBounds BoundsOf(const SolidMesh& mesh) {
    SolidBounds bounds;
    for (const auto& t : mesh.triangles)
        for (std::uint32_t v : t)
            for (int k = 0; k < 3; ++k) {
                const float x = mesh.vertices[v][k];
                if (bounds.empty || x < bounds.min[k]) bounds.min[k] = x;
                if (bounds.empty || x > bounds.max[k]) bounds.max[k] = x;
                if (k == 2) bounds.empty = false;
            }
    return bounds;
}

std::vector<SolidMesh> SplitShells(const SolidMesh& mesh) {
    DisjointSets sets = connectVertices(mesh);
    std::unordered_map<std::uint32_t, std::size_t> shellOfRoot;
    std::vector<SolidMesh> shells;
    std::vector<std::uint32_t> newIndex(mesh.vertices.size(), UINT32_MAX);
    for (const auto& t : mesh.triangles) {
        const auto found = shellOfRoot.emplace(sets.Find(t[0]), shells.size());
        if (found.second) shells.emplace_back();
        SolidMesh& shell = shells[found.first->second];
        std::array<std::uint32_t, 3> out;
        for (int i = 0; i < 3; ++i) {
            if (newIndex[t[i]] == UINT32_MAX) {
                newIndex[t[i]] = static_cast<std::uint32_t>(shell.vertices.size());
                shell.vertices.push_back(mesh.vertices[t[i]]);
            }
            out[i] = newIndex[t[i]];
        }
        shell.triangles.push_back(out);
    }
    return shells;
}
