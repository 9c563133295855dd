#include "LogoMesh.h"

#include <cmath>
#include <unordered_map>

namespace {

using EdgeVector = std::array<double, 3>;

EdgeVector difference(const float* a, const float* b) { return {double(a[0]) - b[0], double(a[1]) - b[1], double(a[2]) - b[2]}; }
EdgeVector cross(const EdgeVector& a, const EdgeVector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const EdgeVector& a, const EdgeVector& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double length(const EdgeVector& a) { return std::sqrt(dot(a, a)); }

// Vertices that agree to within these steps are the same vertex when welding.
constexpr double kPositionStep = kDegenerateHeight;
constexpr double kNormalStep = 1e-3;
constexpr double kColourStep = 1.0 / 1024;

struct WeldKey {
    long long k[10];
    bool operator==(const WeldKey& o) const {
        for (int i = 0; i < 10; ++i)
            if (k[i] != o.k[i]) return false;
        return true;
    }
};

struct WeldHash {
    std::size_t operator()(const WeldKey& key) const {
        std::size_t h = 1469598103934665603ull;
        for (long long v : key.k) h = (h ^ static_cast<std::size_t>(v)) * 1099511628211ull;
        return h;
    }
};

WeldKey weldKey(const capture::Vertex& v) {
    WeldKey key;
    for (int i = 0; i < 3; ++i) key.k[i] = std::llround(v.position[i] / kPositionStep);
    for (int i = 0; i < 3; ++i) key.k[3 + i] = std::llround(v.normal[i] / kNormalStep);
    for (int i = 0; i < 4; ++i) key.k[6 + i] = std::llround(v.colour[i] / kColourStep);
    return key;
}

MeshVertex meshVertex(const capture::Vertex& v) {
    MeshVertex out;
    for (int i = 0; i < 3; ++i) out.position[i] = v.position[i];
    for (int i = 0; i < 3; ++i) out.normal[i] = v.normal[i];
    for (int i = 0; i < 4; ++i) out.colour[i] = v.colour[i];
    return out;
}

constexpr std::uint32_t kUnused = 0xffffffffu;

}  // namespace

bool HasArea(const float* a, const float* b, const float* c) {
    for (const float* corner : {a, b, c})
        for (int i = 0; i < 3; ++i)
            if (!std::isfinite(corner[i])) return false;
    const EdgeVector ab = difference(b, a), bc = difference(c, b), ca = difference(a, c);
    const double longestSquared = std::max({dot(ab, ab), dot(bc, bc), dot(ca, ca)});
    const double twiceArea = length(cross(ab, difference(c, a)));
    // Its height over the longest side: no area when below the threshold.
    return longestSquared > 0.0 && twiceArea * twiceArea >= kDegenerateHeight * kDegenerateHeight * longestSquared;
}

void Bounds::Add(const float* p) {
    for (int i = 0; i < 3; ++i) {
        if (empty || p[i] < min[i]) min[i] = p[i];
        if (empty || p[i] > max[i]) max[i] = p[i];
    }
    empty = false;
}

std::size_t MeshPart::TriangleCount() const {
    std::size_t n = 0;
    for (const MeshGroup& g : groups) n += g.indices.size() / 3;
    return n;
}

Bounds MeshPart::PositionBounds() const {
    Bounds b;
    for (const MeshGroup& g : groups)
        for (std::uint32_t i : g.indices) b.Add(vertices[i].position);
    return b;
}

CleanUpReport& CleanUpReport::operator+=(const CleanUpReport& o) {
    drawn += o.drawn;
    degenerate += o.degenerate;
    rewound += o.rewound;
    rewoundArea += o.rewoundArea;
    drawnArea += o.drawnArea;
    for (const auto& entry : o.rewoundBySource) rewoundBySource[entry.first] += entry.second;
    return *this;
}

namespace {

// The mesh of picked triangles, one at a time: vertices taken over once
// (welded when asked), each triangle turned to face its normals, grouped by
// surface.
class MeshBuilder {
public:
    MeshBuilder(const capture::Drawing& drawing, std::size_t picked, bool weld, CleanUpReport& report,
                const SourceName& sourceName)
        : drawing_(drawing), picked_(picked), weld_(weld), report_(report), sourceName_(sourceName),
          meshIndex_(drawing.vertices.size(), kUnused) {
        part_.vertices.reserve(std::min(drawing.vertices.size(), picked * 3));
    }

    void Add(const capture::Triangle& t) {
        ++report_.drawn;
        const capture::Vertex* const corners[3] = {&drawing_.vertices[t.vertices[0]], &drawing_.vertices[t.vertices[1]],
                                                   &drawing_.vertices[t.vertices[2]]};
        const float* a = corners[0]->position;
        const float* b = corners[1]->position;
        const float* c = corners[2]->position;
        if (!HasArea(a, b, c)) {
            ++report_.degenerate;
            return;
        }
        const EdgeVector winding = cross(difference(b, a), difference(c, a));
        // The face must point where its vertex normals point.
        EdgeVector normals{0, 0, 0};
        for (const capture::Vertex* v : corners)
            for (int i = 0; i < 3; ++i) normals[i] += v->normal[i];
        const bool turnOver = dot(winding, normals) < 0.0;
        const int order[3] = {0, turnOver ? 2 : 1, turnOver ? 1 : 2};
        std::uint32_t index[3];
        for (int i = 0; i < 3; ++i) index[i] = indexOf(t.vertices[order[i]]);
        if (index[0] == index[1] || index[1] == index[2] || index[2] == index[0]) {
            ++report_.degenerate;
            return;
        }
        count(t, 0.5 * length(winding), turnOver);
        std::vector<std::uint32_t>& indices = groupOf(t.surface).indices;
        indices.insert(indices.end(), index, index + 3);
    }

    MeshPart Take() { return std::move(part_); }

private:
    const capture::Drawing& drawing_;
    std::size_t picked_;
    bool weld_;
    CleanUpReport& report_;
    const SourceName& sourceName_;
    MeshPart part_;
    std::unordered_map<std::uint32_t, std::size_t> groupOfSurface_;
    std::unordered_map<WeldKey, std::uint32_t, WeldHash> welded_;
    std::vector<std::uint32_t> meshIndex_;
    std::uint32_t lastSurface_ = kUnused;
    std::size_t lastGroup_ = 0;

    std::uint32_t indexOf(std::uint32_t drawn) {
        std::uint32_t& index = meshIndex_[drawn];
        if (index != kUnused) return index;
        const capture::Vertex& v = drawing_.vertices[drawn];
        if (weld_) {
            auto found = welded_.emplace(weldKey(v), static_cast<std::uint32_t>(part_.vertices.size()));
            if (!found.second) return index = found.first->second;
        }
        part_.vertices.push_back(meshVertex(v));
        return index = static_cast<std::uint32_t>(part_.vertices.size() - 1);
    }

    void count(const capture::Triangle& t, double area, bool turnOver) {
        report_.drawnArea += area;
        if (!turnOver) return;
        ++report_.rewound;
        report_.rewoundArea += area;
        if (sourceName_) ++report_.rewoundBySource[sourceName_(t)];
    }

    // Runs of one surface are long: the group is looked up only when it changes.
    MeshGroup& groupOf(std::uint32_t surface) {
        if (surface != lastSurface_) {
            auto group = groupOfSurface_.emplace(surface, part_.groups.size());
            if (group.second) {
                // Room for every picked triangle: unused room costs only
                // address space, and the indices never move as they grow.
                part_.groups.push_back(MeshGroup{surface, {}});
                part_.groups.back().indices.reserve(picked_ * 3);
            }
            lastSurface_ = surface;
            lastGroup_ = group.first->second;
        }
        return part_.groups[lastGroup_];
    }
};

}  // namespace

MeshPart BuildMeshPart(const capture::Drawing& drawing, const std::vector<std::uint32_t>& picked, bool weld,
                       CleanUpReport& report, const SourceName& sourceName) {
    MeshBuilder builder(drawing, picked.size(), weld, report, sourceName);
    for (std::uint32_t picking : picked) builder.Add(drawing.triangles[picking]);
    return builder.Take();
}
