#include "SheetThickening.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

float normalZ(const TriangleCorners& t) {
    const float ux = t[1][0] - t[0][0], uy = t[1][1] - t[0][1], uz = t[1][2] - t[0][2];
    const float vx = t[2][0] - t[0][0], vy = t[2][1] - t[0][1], vz = t[2][2] - t[0][2];
    const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    return length > 0.0f ? nz / length : 0.0f;
}

// The height of the triangle's plane over (x, y), when (x, y) lies inside
// its outline seen along z.
bool heightAt(const TriangleCorners& t, float x, float y, float& z) {
    const float d = (t[1][1] - t[2][1]) * (t[0][0] - t[2][0]) + (t[2][0] - t[1][0]) * (t[0][1] - t[2][1]);
    if (std::fabs(d) < 1e-12f) return false;
    const float a = ((t[1][1] - t[2][1]) * (x - t[2][0]) + (t[2][0] - t[1][0]) * (y - t[2][1])) / d;
    const float b = ((t[2][1] - t[0][1]) * (x - t[2][0]) + (t[0][0] - t[2][0]) * (y - t[2][1])) / d;
    const float c = 1.0f - a - b;
    const float slack = -1e-4f;
    if (a < slack || b < slack || c < slack) return false;
    z = a * t[0][2] + b * t[1][2] + c * t[2][2];
    return true;
}

// The faces that are not edge-on to the viewer, bucketed by the cells of a
// square grid in x and y that their outlines touch.
struct FacesSeenAlongZ {
    float cell;
    std::unordered_map<long long, std::vector<std::size_t>> buckets;
    static long long key(long long i, long long j) { return i * 1000003LL + j; }
    long long index(float v) const { return static_cast<long long>(std::floor(v / cell)); }
    const std::vector<std::size_t>* At(float x, float y) const {
        const auto found = buckets.find(key(index(x), index(y)));
        return found == buckets.end() ? nullptr : &found->second;
    }
};

FacesSeenAlongZ facesSeenAlongZ(const std::vector<TriangleCorners>& triangles, float cell) {
    FacesSeenAlongZ faces{cell, {}};
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const TriangleCorners& t = triangles[i];
        if (std::fabs(normalZ(t)) < 0.05f) continue;
        const float x0 = std::min({t[0][0], t[1][0], t[2][0]}), x1 = std::max({t[0][0], t[1][0], t[2][0]});
        const float y0 = std::min({t[0][1], t[1][1], t[2][1]}), y1 = std::max({t[0][1], t[1][1], t[2][1]});
        for (long long a = faces.index(x0); a <= faces.index(x1); ++a)
            for (long long b = faces.index(y0); b <= faces.index(y1); ++b)
                faces.buckets[FacesSeenAlongZ::key(a, b)].push_back(i);
    }
    return faces;
}

// Seen from a point on a face turned to the viewer: whether a face turned
// away lies behind it within `reach` (then the point is the front of a
// body), and whether the nearest face in front of it is turned to the
// viewer too (then the point is inside a body: a face of a joint or a cap
// that the strokes enclose, not a surface of its own).
struct AlongZ {
    bool backed = false, enclosed = false;
};
AlongZ lookAlongZ(const std::vector<TriangleCorners>& triangles, const std::vector<bool>& glyph,
                  const FacesSeenAlongZ& faces, std::size_t self, const Point3& p, float reach) {
    AlongZ out;
    const std::vector<std::size_t>* near = faces.At(p[0], p[1]);
    if (near == nullptr) return out;
    const float above = 1e-4f * reach;
    float nearestInFront = std::numeric_limits<float>::infinity();
    for (std::size_t j : *near) {
        float z;
        if (j == self || !heightAt(triangles[j], p[0], p[1], z)) continue;
        const bool facesViewer = normalZ(triangles[j]) > 0.0f;
        if (!facesViewer && z < p[2] && z > p[2] - reach) out.backed = true;
        if (z > p[2] + above && z < nearestInFront) {
            nearestInFront = z;
            out.enclosed = facesViewer && glyph[j];
        }
    }
    return out;
}

}  // namespace

std::vector<bool> FindSheets(const std::vector<TriangleCorners>& triangles, const std::vector<bool>& glyph,
                             float depth) {
    const FacesSeenAlongZ faces = facesSeenAlongZ(triangles, std::max(depth, 1e-3f));
    std::vector<bool> sheet(triangles.size(), false);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const TriangleCorners& t = triangles[i];
        if (normalZ(t) < 0.25f) continue;
        const Point3 centre{(t[0][0] + t[1][0] + t[2][0]) / 3, (t[0][1] + t[1][1] + t[2][1]) / 3,
                            (t[0][2] + t[1][2] + t[2][2]) / 3};
        const AlongZ seen = lookAlongZ(triangles, glyph, faces, i, centre, 1.5f * depth);
        sheet[i] = !seen.backed && !(glyph[i] && seen.enclosed);
    }
    return sheet;
}

std::vector<TriangleCorners> SweptBack(const TriangleCorners& t, float depth) {
    TriangleCorners b = t;
    for (Point3& p : b) p[2] -= depth;
    std::vector<TriangleCorners> out{t, {b[0], b[2], b[1]}};
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        out.push_back({t[i], b[i], b[j]});
        out.push_back({t[i], b[j], t[j]});
    }
    return out;
}
