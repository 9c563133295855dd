// Turns the vertices of one glBegin/glEnd pair into triangles, in the order
// OpenGL forms them, so that a triangle's counter-clockwise side is the
// side OpenGL takes as its front.

#include <algorithm>
#include <cmath>

#include "capture/CaptureState.h"

namespace capture {
namespace {

// Appends the vertex as the current matrix, normal and colour make it.
PendingVertex addTransformed(State& s, const float point[3], const float normal[3]) {
    const float* m = s.stacks[0].back().m;
    const float x = point[0], y = point[1], z = point[2];
    s.vertices.emplace_back();
    Vertex& out = s.vertices.back();
    float* p = out.position;
    p[0] = m[0] * x + m[4] * y + m[8] * z + m[12];
    p[1] = m[1] * x + m[5] * y + m[9] * z + m[13];
    p[2] = m[2] * x + m[6] * y + m[10] * z + m[14];
    const float w = m[3] * x + m[7] * y + m[11] * z + m[15];
    PendingVertex info{CurrentSurface(), w > 0.0f};
    if (w != 1.0f && info.visible)
        for (int i = 0; i < 3; ++i) p[i] /= w;

    if (s.normalMatrixStale) {
        s.normalMatrix = NormalMatrix(s.stacks[0].back());
        s.normalMatrixStale = false;
    }
    const float* k = s.normalMatrix.m;
    float* n = out.normal;
    n[0] = k[0] * normal[0] + k[3] * normal[1] + k[6] * normal[2];
    n[1] = k[1] * normal[0] + k[4] * normal[1] + k[7] * normal[2];
    n[2] = k[2] * normal[0] + k[5] * normal[1] + k[8] * normal[2];
    // The viewer renormalises (GL_NORMALIZE), so the captured normal is unit too.
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0.0f)
        for (int i = 0; i < 3; ++i) n[i] /= length;
    std::copy(s.colour, s.colour + 4, out.colour);
    return info;
}

// Vertex a, b and c of the open primitive (or of the sphere) as a triangle.
void emit(State& s, std::size_t a, std::size_t b, std::size_t c, std::uint32_t source) {
    const std::vector<PendingVertex>& info = s.pending;
    // A point behind the eye plane (w <= 0) is clipped away by OpenGL.
    if (!info[a].visible || !info[b].visible || !info[c].visible) return;
    const std::uint32_t first = static_cast<std::uint32_t>(s.firstPending);
    Triangle t;
    t.vertices[0] = first + static_cast<std::uint32_t>(a);
    t.vertices[1] = first + static_cast<std::uint32_t>(b);
    t.vertices[2] = first + static_cast<std::uint32_t>(c);
    t.surface = info[std::max({a, b, c})].surface;
    t.list = s.calling.empty() ? 0 : s.calling.front();
    t.innerList = s.calling.empty() ? 0 : s.calling.back();
    t.source = source;
    s.triangles.push_back(t);
}

}  // namespace

std::uint32_t CurrentSurface() {
    State& s = TheState();
    if (!s.surfaceStale) return s.surfaceIndex;
    auto found = std::find(s.surfaces.begin(), s.surfaces.end(), s.front);
    if (found == s.surfaces.end()) found = s.surfaces.insert(s.surfaces.end(), s.front);
    s.surfaceIndex = static_cast<std::uint32_t>(found - s.surfaces.begin());
    s.surfaceStale = false;
    return s.surfaceIndex;
}

void StartPrimitive() {
    State& s = TheState();
    s.firstPending = s.vertices.size();
    s.pending.clear();
}

void AddVertex(float x, float y, float z) {
    State& s = TheState();
    const float point[3] = {x, y, z};
    s.pending.push_back(addTransformed(s, point, s.normal));
}

void FinishPrimitive() {
    State& s = TheState();
    const std::size_t n = s.pending.size();
    const std::uint32_t mode = s.primitiveMode;
    switch (mode) {
        case GL_TRIANGLES:
            for (std::size_t i = 0; i + 2 < n; i += 3) emit(s, i, i + 1, i + 2, mode);
            break;
        case GL_TRIANGLE_STRIP:
            // Every second triangle of a strip is taken in swapped order, so
            // that all of them keep the first one's winding.
            for (std::size_t i = 0; i + 2 < n; ++i)
                if (i % 2 == 0) emit(s, i, i + 1, i + 2, mode);
                else emit(s, i + 1, i, i + 2, mode);
            break;
        case GL_TRIANGLE_FAN:
        case GL_POLYGON:
            // OpenGL's polygons are convex: a fan from the first vertex covers one.
            for (std::size_t i = 1; i + 1 < n; ++i) emit(s, 0, i, i + 1, mode);
            break;
        case GL_QUADS:
            for (std::size_t i = 0; i + 3 < n; i += 4) {
                emit(s, i, i + 1, i + 2, mode);
                emit(s, i, i + 2, i + 3, mode);
            }
            break;
        case GL_QUAD_STRIP:
            // Quad i has the corners 2i, 2i + 1, 2i + 3, 2i + 2 in that order.
            for (std::size_t i = 0; i + 3 < n; i += 2) {
                emit(s, i, i + 1, i + 3, mode);
                emit(s, i, i + 3, i + 2, mode);
            }
            break;
        default:
            // Points and lines cover no area: their vertices are not kept.
            s.vertices.resize(s.firstPending);
            break;
    }
    s.pending.clear();
}

void EmitSphere(const std::vector<float>& unitPoints, const std::vector<std::uint32_t>& corners, float radius) {
    State& s = TheState();
    StartPrimitive();
    for (std::size_t i = 0; i + 2 < unitPoints.size(); i += 3) {
        const float* unit = &unitPoints[i];
        const float point[3] = {radius * unit[0], radius * unit[1], radius * unit[2]};
        s.pending.push_back(addTransformed(s, point, unit));
    }
    for (std::size_t i = 0; i + 2 < corners.size(); i += 3) emit(s, corners[i], corners[i + 1], corners[i + 2], kSphere);
    s.pending.clear();
}

}  // namespace capture
