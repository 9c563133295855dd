#include "SheetThickening.h"

#include <algorithm>
#include <cmath>
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

// Triangles facing away from the viewer, bucketed by the cells of a square
// grid in x and y that their outlines touch.
struct BackFaces {
    float cell;
    std::unordered_map<long long, std::vector<std::size_t>> buckets;
    static long long key(long long i, long long j) { return i * 1000003LL + j; }
    long long index(float v) const { return static_cast<long long>(std::floor(v / cell)); }
};

}  // namespace

std::vector<bool> FindSheets(const std::vector<TriangleCorners>& triangles, float depth) {
    BackFaces back{std::max(depth, 1e-3f), {}};
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const TriangleCorners& t = triangles[i];
        if (normalZ(t) > -0.05f) continue;
        const float x0 = std::min({t[0][0], t[1][0], t[2][0]}), x1 = std::max({t[0][0], t[1][0], t[2][0]});
        const float y0 = std::min({t[0][1], t[1][1], t[2][1]}), y1 = std::max({t[0][1], t[1][1], t[2][1]});
        for (long long a = back.index(x0); a <= back.index(x1); ++a)
            for (long long b = back.index(y0); b <= back.index(y1); ++b) back.buckets[BackFaces::key(a, b)].push_back(i);
    }
    std::vector<bool> sheet(triangles.size(), false);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const TriangleCorners& t = triangles[i];
        if (normalZ(t) < 0.25f) continue;
        const float x = (t[0][0] + t[1][0] + t[2][0]) / 3, y = (t[0][1] + t[1][1] + t[2][1]) / 3,
                    z = (t[0][2] + t[1][2] + t[2][2]) / 3;
        bool backed = false;
        const auto found = back.buckets.find(BackFaces::key(back.index(x), back.index(y)));
        if (found != back.buckets.end())
            for (std::size_t j : found->second) {
                float behind;
                if (heightAt(triangles[j], x, y, behind) && behind < z && behind > z - 1.5f * depth) {
                    backed = true;
                    break;
                }
            }
        sheet[i] = !backed;
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
