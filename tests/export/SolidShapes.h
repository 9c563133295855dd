#pragma once

// Shapes with known volumes for the solid path's tests, and the check that
// a mesh is closed, outward and of a given volume.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "solid/SolidGrid.h"
#include "solid/SolidMesh.h"

// The twelve triangles of a box, facing outward; without the faces listed
// in `leaveOut` (0..5: -x +x -y +y -z +z), each face being two triangles.
inline std::vector<TriangleCorners> box(Point3 lo, Point3 hi, std::vector<int> leaveOut = {}) {
    auto corner = [&](int i) { return Point3{i & 1 ? hi[0] : lo[0], i & 2 ? hi[1] : lo[1], i & 4 ? hi[2] : lo[2]}; };
    const int faces[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    std::vector<TriangleCorners> out;
    for (int f = 0; f < 6; ++f) {
        if (std::find(leaveOut.begin(), leaveOut.end(), f) != leaveOut.end()) continue;
        const int* q = faces[f];
        out.push_back({corner(q[0]), corner(q[1]), corner(q[2])});
        out.push_back({corner(q[0]), corner(q[2]), corner(q[3])});
    }
    return out;
}

inline void expectClosed(const SolidMesh& mesh, double volume, double tolerance, std::size_t shells) {
    const SolidCheck check = CheckSolid(mesh);
    EXPECT_EQ(check.openEdges, 0u);
    EXPECT_EQ(check.overusedEdges, 0u);
    EXPECT_EQ(check.misturnedEdges, 0u);
    EXPECT_EQ(check.shells, shells);
    EXPECT_NEAR(check.volume, volume, tolerance);
}


// Triangles that show a solid, and the closed solid they should give.
struct KnownSolid {
    const char* name;
    std::vector<TriangleCorners> triangles;
    double volume;
    std::size_t shells;
};

inline std::vector<TriangleCorners> joined(std::vector<TriangleCorners> a, const std::vector<TriangleCorners>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A box; one whose +x face stops 0.05 short of its edges (a seam all
// round), and one where it stops 0.15 short (wide enough for the outside
// to leak in between voxels); two that overlap; two apart.
inline std::vector<KnownSolid> knownSolids() {
    return {
        {"box", box({0, 0, 0}, {4, 2, 2}), 16.0, 1},
        {"seamed box", joined(box({0, 0, 0}, {4, 2, 2}, {1}), box({4, 0.05f, 0.05f}, {4, 1.95f, 1.95f}, {0, 2, 3, 4, 5})),
         16.0, 1},
        {"widely seamed box", joined(box({0, 0, 0}, {4, 2, 2}, {1}), box({4, 0.15f, 0.15f}, {4, 1.85f, 1.85f}, {0, 2, 3, 4, 5})),
         16.0, 1},
        {"overlapping boxes", joined(box({0, 0, 0}, {4, 2, 2}), box({2, 1, 1}, {6, 3, 3})), 16.0 + 16.0 - 2.0, 1},
        {"boxes apart", joined(box({0, 0, 0}, {2, 2, 2}), box({4, 0, 0}, {6, 2, 2})), 16.0, 2},
    };
}

// A grid of the given voxel round the triangles and plates, with room for
// the closing: the frame a print's solid is made in.
inline GridFrame frameAround(const std::vector<TriangleCorners>& triangles, const std::vector<RoundedSlab>& plates,
                             float voxel, Point3 origin = {0, 0, 0}) {
    GridFrame frame;
    frame.voxel = voxel;
    frame.origin = origin;
    frame.low = {1e9f, 1e9f, 1e9f};
    frame.high = {-1e9f, -1e9f, -1e9f};
    const auto add = [&](const Point3& p) {
        for (int k = 0; k < 3; ++k) frame.low[k] = std::min(frame.low[k], p[k]), frame.high[k] = std::max(frame.high[k], p[k]);
    };
    for (const TriangleCorners& t : triangles)
        for (const Point3& p : t) add(p);
    for (const RoundedSlab& s : plates) add({s.x0, s.y0, s.zBottom}), add({s.x1, s.y1, s.zTop});
    for (int k = 0; k < 3; ++k) frame.low[k] -= 5 * voxel, frame.high[k] += 5 * voxel;
    return frame;
}

