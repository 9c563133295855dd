#include "SolidSimplify.h"
#include "PointMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "SolidTimes.h"

namespace {

// The sum of squared distances to a set of planes, as a symmetric 4 x 4
// matrix: xx xy xz xw yy yz yw zz zw ww.
struct Quadric {
    double q[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    void AddPlane(double a, double b, double c, double d) {
        const double p[4] = {a, b, c, d};
        int k = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i; j < 4; ++j) q[k++] += p[i] * p[j];
    }
    void Add(const Quadric& o) {
        for (int k = 0; k < 10; ++k) q[k] += o.q[k];
    }
    double At(const Point3& p) const {
        const double x = p[0], y = p[1], z = p[2];
        return q[0] * x * x + 2 * q[1] * x * y + 2 * q[2] * x * z + 2 * q[3] * x + q[4] * y * y + 2 * q[5] * y * z +
               2 * q[6] * y + q[7] * z * z + 2 * q[8] * z + q[9];
    }
};

struct Candidate {
    float cost;
    std::uint32_t from, to;  // from goes into to
    Point3 position;
};

std::array<double, 3> areaVector(const Point3& a, const Point3& b) {
    return {double(a[1]) * b[2] - double(a[2]) * b[1], double(a[2]) * b[0] - double(a[0]) * b[2],
            double(a[0]) * b[1] - double(a[1]) * b[0]};
}

// A vertex keeps at most this many neighbours: wide fans cost every later
// collapse round them, and make needles.
constexpr std::size_t kMostNeighbours = 24;
// Room for the neighbours of a vertex as it comes from the mesher.
constexpr std::size_t kMostTriangles = 64;

// Each vertex's live triangles, in a fixed number of slots (round a closed
// surface, as many as its neighbours).
class TriangleFans {
public:
    static constexpr std::size_t kSlots = 32;
    explicit TriangleFans(std::size_t vertices) : slots_(vertices * kSlots), counts_(vertices, 0) {}
    const std::uint32_t* begin(std::uint32_t v) const { return &slots_[v * kSlots]; }
    const std::uint32_t* end(std::uint32_t v) const { return begin(v) + counts_[v]; }
    std::size_t Size(std::uint32_t v) const { return counts_[v]; }
    bool Add(std::uint32_t v, std::uint32_t t) {
        if (counts_[v] == kSlots) return false;
        slots_[v * kSlots + counts_[v]++] = t;
        return true;
    }
    template <class Removed>
    void Prune(std::uint32_t v, const Removed& removed) {
        std::uint32_t* first = &slots_[v * kSlots];
        counts_[v] = static_cast<std::uint8_t>(std::remove_if(first, first + counts_[v], removed) - first);
    }
    void Clear(std::uint32_t v) { counts_[v] = 0; }

private:
    std::vector<std::uint32_t> slots_;
    std::vector<std::uint8_t> counts_;
};

// A vertex's triangles, for range-for.
struct Fan {
    const TriangleFans& fans;
    std::uint32_t v;
    const std::uint32_t* begin() const { return fans.begin(v); }
    const std::uint32_t* end() const { return fans.end(v); }
};

class EdgeCollapse {
public:
    EdgeCollapse(const SolidMesh& mesh, float error)
        : positions_(mesh.vertices), triangles_(mesh.triangles), limit_(double(error) * error),
          quadrics_(mesh.vertices.size()), fans_(mesh.vertices.size()), removed_(mesh.triangles.size(), false) {
        for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
            live_.push_back(t);
            addPlane(t);
            for (std::uint32_t v : triangles_[t]) usable_ = fans_.Add(v, t) && usable_;
        }
    }

    // In passes: every edge that may go, cheapest first, each collapse
    // keeping its two ends out of the rest of its pass (their costs have
    // changed; the checks of later collapses see the surface as it is
    // now), until a pass collapses nothing.
    SolidMesh Run() {
        if (!usable_) return result();
        std::vector<Candidate> candidates;
        std::vector<bool> busy(positions_.size(), false);
        for (std::size_t collapsed = 1; collapsed > 0;) {
            candidates.clear();
            for (std::uint32_t t : live_)
                for (int k = 0; k < 3; ++k) {
                    const std::uint32_t a = triangles_[t][k], b = triangles_[t][(k + 1) % 3];
                    if (a < b) offer(a, b, candidates);
                }
            std::sort(candidates.begin(), candidates.end(),
                      [](const Candidate& x, const Candidate& y) { return x.cost < y.cost; });
            std::fill(busy.begin(), busy.end(), false);
            collapsed = 0;
            for (const Candidate& c : candidates) {
                if (busy[c.from] || busy[c.to] || !allowed(c.from, c.to, c.position)) continue;
                collapse(c.from, c.to, c.position, busy);
                ++collapsed;
            }
            live_.erase(std::remove_if(live_.begin(), live_.end(), [&](std::uint32_t t) { return removed_[t]; }),
                        live_.end());
        }
        return result();
    }

private:
    std::vector<Point3> positions_;
    std::vector<std::array<std::uint32_t, 3>> triangles_;
    double limit_;
    std::vector<Quadric> quadrics_;
    TriangleFans fans_;
    bool usable_ = true;  // false: a vertex has more triangles than its slots hold
    std::vector<std::uint32_t> live_;                 // the triangles not yet removed
    std::vector<bool> removed_;

    void addPlane(std::uint32_t t) {
        const auto& v = triangles_[t];
        std::array<double, 3> n = areaVector(Minus(positions_[v[1]], positions_[v[0]]), Minus(positions_[v[2]], positions_[v[0]]));
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(length > 0.0)) return;
        for (double& x : n) x /= length;
        const Point3& p = positions_[v[0]];
        const double d = -(n[0] * p[0] + n[1] * p[1] + n[2] * p[2]);
        for (std::uint32_t corner : v) quadrics_[corner].AddPlane(n[0], n[1], n[2], d);
    }

    // The cheapest way to join a and b within the error, if any: one into
    // the other, or both to their middle.
    void offer(std::uint32_t a, std::uint32_t b, std::vector<Candidate>& out) const {
        Quadric q = quadrics_[a];
        q.Add(quadrics_[b]);
        const Point3& pa = positions_[a];
        const Point3& pb = positions_[b];
        const Point3 middle{0.5f * (pa[0] + pb[0]), 0.5f * (pa[1] + pb[1]), 0.5f * (pa[2] + pb[2])};
        const double costs[3] = {q.At(pb), q.At(pa), q.At(middle)};
        const int best = int(std::min_element(costs, costs + 3) - costs);
        if (!(costs[best] <= limit_)) return;
        const std::uint32_t from = best == 1 ? b : a, to = best == 1 ? a : b;
        out.push_back({float(costs[best]), from, to, best == 2 ? middle : positions_[to]});
    }

    // A vertex's neighbours, each once (round a closed surface, as many as
    // its triangles).
    struct Neighbours {
        std::uint32_t at[kMostTriangles];
        std::size_t count = 0;
        bool Has(std::uint32_t w) const { return std::find(at, at + count, w) != at + count; }
    };
    bool neighbours(std::uint32_t v, Neighbours& out) const {
        out.count = 0;
        for (std::uint32_t t : Fan{fans_, v})
            for (std::uint32_t w : triangles_[t])
                if (w != v && !out.Has(w)) {
                    if (out.count == kMostTriangles) return false;
                    out.at[out.count++] = w;
                }
        return true;
    }

    // The edge's ends share only the two vertices across from it (else the
    // collapse would join two edges into one), neither end is the tip of a
    // tetrahedron, and no triangle round them turns over or flattens.
    bool allowed(std::uint32_t a, std::uint32_t b, const Point3& p) {
        if (fans_.Size(a) <= 3 && fans_.Size(b) <= 3) return false;
        Neighbours na, nb;
        if (!neighbours(a, na) || !neighbours(b, nb) || na.count + nb.count - 4 > kMostNeighbours) return false;
        std::size_t shared = 0;
        for (std::size_t i = 0; i < na.count; ++i) shared += nb.Has(na.at[i]) ? 1 : 0;
        if (shared != 2) return false;
        return keepsFacing(a, b, p) && keepsFacing(b, a, p);
    }

    // v's triangles that do not hold `other`, with v moved to p, face as before.
    bool keepsFacing(std::uint32_t v, std::uint32_t other, const Point3& p) const {
        for (std::uint32_t t : Fan{fans_, v}) {
            const auto& c = triangles_[t];
            if (c[0] == other || c[1] == other || c[2] == other) continue;
            Point3 moved[3];
            for (int k = 0; k < 3; ++k) moved[k] = c[k] == v ? p : positions_[c[k]];
            const auto before = areaVector(Minus(positions_[c[1]], positions_[c[0]]), Minus(positions_[c[2]], positions_[c[0]]));
            const auto after = areaVector(Minus(moved[1], moved[0]), Minus(moved[2], moved[0]));
            const double dot = before[0] * after[0] + before[1] * after[1] + before[2] * after[2];
            const double lengths = std::sqrt((before[0] * before[0] + before[1] * before[1] + before[2] * before[2]) *
                                             (after[0] * after[0] + after[1] * after[1] + after[2] * after[2]));
            const double area = before[0] * before[0] + before[1] * before[1] + before[2] * before[2];
            // A triangle that had no area can only gain; one turned by more
            // than 60 degrees, or left without area, refuses the collapse.
            if (area > 0.0 && (!(lengths > 0.0) || dot < 0.5 * lengths)) return false;
        }
        return true;
    }

    // a goes into b at p: the two triangles on the edge go, a's others become b's.
    void collapse(std::uint32_t a, std::uint32_t b, const Point3& p, std::vector<bool>& busy) {
        std::vector<std::uint32_t> touched{b};
        for (std::uint32_t t : Fan{fans_, a}) {
            auto& c = triangles_[t];
            if (c[0] == b || c[1] == b || c[2] == b) {
                removed_[t] = true;
                touched.insert(touched.end(), c.begin(), c.end());
                continue;
            }
            for (std::uint32_t& v : c)
                if (v == a) v = b;
            fans_.Add(b, t);
        }
        for (std::uint32_t w : touched) fans_.Prune(w, [&](std::uint32_t t) { return removed_[t]; });
        fans_.Clear(a);
        positions_[b] = p;
        quadrics_[b].Add(quadrics_[a]);
        busy[a] = busy[b] = true;
    }

    SolidMesh result() const {
        SolidMesh out;
        std::vector<std::uint32_t> renumbered(positions_.size(), UINT32_MAX);
        for (std::uint32_t t = 0; t < triangles_.size(); ++t) {
            if (removed_[t]) continue;
            std::array<std::uint32_t, 3> corners;
            for (int k = 0; k < 3; ++k) {
                std::uint32_t& n = renumbered[triangles_[t][k]];
                if (n == UINT32_MAX) {
                    n = static_cast<std::uint32_t>(out.vertices.size());
                    out.vertices.push_back(positions_[triangles_[t][k]]);
                }
                corners[k] = n;
            }
            out.triangles.push_back(corners);
        }
        return out;
    }
};

}  // namespace

SolidMesh Simplified(const SolidMesh& mesh, float error) {
    if (mesh.triangles.empty() || !(error > 0.0f)) return mesh;
    SolidMesh out = EdgeCollapse(mesh, error).Run();
    SolidNote("simplified: triangles before", double(mesh.triangles.size()));
    SolidNote("simplified: triangles after", double(out.triangles.size()));
    return out;
}
