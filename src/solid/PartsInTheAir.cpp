#include "PartsInTheAir.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "TriangleGrid.h"

namespace {

// Each shell's group of shells that touch one another (3MF's letters on a
// band, the band on the plate); only the vertices of the shells not known
// to stand are looked at.
std::vector<std::size_t> touchingGroups(const std::vector<SolidMesh>& shells, const std::vector<bool>& standing,
                                        float reach) {
    TriangleGrid surfaces({}, reach, 1.0);
    std::vector<std::size_t> shellOf;
    for (std::size_t i = 0; i < shells.size(); ++i)
        for (const auto& t : shells[i].triangles) {
            surfaces.Add({shells[i].vertices[t[0]], shells[i].vertices[t[1]], shells[i].vertices[t[2]]});
            shellOf.push_back(i);
        }
    std::vector<std::size_t> group(shells.size());
    for (std::size_t i = 0; i < group.size(); ++i) group[i] = i;
    const std::function<std::size_t(std::size_t)> find = [&](std::size_t i) {
        return group[i] == i ? i : group[i] = find(group[i]);
    };
    for (std::size_t i = 0; i < shells.size(); ++i) {
        if (standing[i]) continue;
        for (const Point3& v : shells[i].vertices) {
            long nearest = -1;
            // Another shell's surface within reach: the nearest of all would
            // be the shell's own, on which the vertex lies.
            surfaces.Nearest(v, &nearest, [&](std::size_t t) { return shellOf[t] == i; });
            if (nearest < 0) continue;
            const std::size_t other = shellOf[static_cast<std::size_t>(nearest)];
            if (other != i) group[find(i)] = find(other);
        }
    }
    for (std::size_t i = 0; i < group.size(); ++i) group[i] = find(i);
    return group;
}

}  // namespace

std::vector<SolidBounds> PartsInTheAir(const std::vector<SolidMesh>& shells, float floor, float reach) {
    std::vector<SolidBounds> bounds;
    std::vector<bool> standing;
    for (const SolidMesh& shell : shells) {
        bounds.push_back(BoundsOf(shell));
        standing.push_back(!bounds.back().empty && bounds.back().min[2] <= floor + reach);
    }
    if (std::all_of(standing.begin(), standing.end(), [](bool s) { return s; })) return {};
    const std::vector<std::size_t> group = touchingGroups(shells, standing, reach);
    std::set<std::size_t> reaching;
    std::map<std::size_t, std::size_t> lowest;  // group: its lowest shell
    for (std::size_t i = 0; i < shells.size(); ++i) {
        if (bounds[i].empty) continue;
        if (standing[i]) reaching.insert(group[i]);
        const auto found = lowest.find(group[i]);
        if (found == lowest.end() || bounds[i].min[2] < bounds[found->second].min[2]) lowest[group[i]] = i;
    }
    std::vector<SolidBounds> out;
    for (const auto& entry : lowest)
        if (!reaching.count(entry.first)) out.push_back(bounds[entry.second]);
    return out;
}
