// A name plate's print solid is the drawing at the printed size, measured
// both ways on points spread over the faces: the solid's surface lies near
// a drawn triangle or the plate, and every drawn face lies near the solid's
// surface or inside it; and it holds few triangles.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "DrawnText.h"
#include "solid/OpenVdbGrid.h"
#include "solid/PrintSolid.h"
#include "solid/TriangleGrid.h"

namespace {


// Points spread over triangles (each one's corners, the middles of its
// sides and its centre), each with the share of the area it stands for.
struct Samples {
    std::vector<Point3> points;
    std::vector<double> weights;
};
Samples spreadOver(const std::vector<TriangleCorners>& triangles) {
    static const float kAt[7][3] = {{1, 0, 0},       {0, 1, 0},       {0, 0, 1},          {.5f, .5f, 0},
                                    {0, .5f, .5f},   {.5f, 0, .5f},   {1 / 3.f, 1 / 3.f, 1 / 3.f}};
    Samples out;
    for (const TriangleCorners& t : triangles) {
        const double u[3] = {t[1][0] - t[0][0], t[1][1] - t[0][1], t[1][2] - t[0][2]};
        const double v[3] = {t[2][0] - t[0][0], t[2][1] - t[0][1], t[2][2] - t[0][2]};
        const double area = 0.5 * std::hypot(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]);
        for (const auto& w : kAt) {
            Point3 p;
            for (int i = 0; i < 3; ++i) p[i] = w[0] * t[0][i] + w[1] * t[1][i] + w[2] * t[2][i];
            out.points.push_back(p);
            out.weights.push_back(area / 7.0);
        }
    }
    return out;
}

std::vector<TriangleCorners> cornersOf(const SolidMesh& mesh) {
    std::vector<TriangleCorners> out;
    for (const auto& t : mesh.triangles) out.push_back({mesh.vertices[t[0]], mesh.vertices[t[1]], mesh.vertices[t[2]]});
    return out;
}

// Whether points lie inside a closed mesh: the parity of its faces above
// the point, on a ray straight up nudged off the mesh's edges.
class Inside {
public:
    explicit Inside(std::vector<TriangleCorners> triangles) : triangles_(std::move(triangles)) {
        for (std::size_t i = 0; i < triangles_.size(); ++i) {
            const TriangleCorners& t = triangles_[i];
            const auto [x0, x1] = std::minmax({t[0][0], t[1][0], t[2][0]});
            const auto [y0, y1] = std::minmax({t[0][1], t[1][1], t[2][1]});
            for (long x = cell(x0); x <= cell(x1); ++x)
                for (long y = cell(y0); y <= cell(y1); ++y) columns_[key(x, y)].push_back(i);
        }
    }
    bool operator()(Point3 p) const {
        p[0] += 1.234567e-5f;
        p[1] += 2.345678e-5f;
        const auto column = columns_.find(key(cell(p[0]), cell(p[1])));
        if (column == columns_.end()) return false;
        int crossings = 0;
        for (std::size_t i : column->second) crossings += crossesAbove(triangles_[i], p) ? 1 : 0;
        return crossings % 2 == 1;
    }

private:
    static long cell(double x) { return static_cast<long>(std::floor(x)); }
    static unsigned long long key(long x, long y) { return (static_cast<unsigned long long>(x) << 32) ^ static_cast<unsigned>(y); }
    static bool crossesAbove(const TriangleCorners& t, const Point3& p) {
        const double ax = t[0][0] - p[0], ay = t[0][1] - p[1], bx = t[1][0] - p[0], by = t[1][1] - p[1];
        const double cx = t[2][0] - p[0], cy = t[2][1] - p[1];
        const double wa = bx * cy - by * cx, wb = cx * ay - cy * ax, wc = ax * by - ay * bx;
        const bool all = (wa > 0 && wb > 0 && wc > 0) || (wa < 0 && wb < 0 && wc < 0);
        if (!all) return false;
        const double z = (wa * t[0][2] + wb * t[1][2] + wc * t[2][2]) / (wa + wb + wc);
        return z > p[2];
    }
    std::vector<TriangleCorners> triangles_;
    std::unordered_map<unsigned long long, std::vector<std::size_t>> columns_;
};

// The share of the samples' area farther than `limit` from the triangles
// (and, if given, not inside the solid), and the farthest sample.
struct Beyond {
    double share = 0.0, farthest = 0.0;
};
Beyond beyond(const Samples& samples, const std::vector<TriangleCorners>& to, double limit, const Inside* inside) {
    const TriangleGrid grid(to, 1.0, 1.0);
    double out = 0.0, all = 0.0;
    Beyond b;
    for (std::size_t i = 0; i < samples.points.size(); ++i) {
        all += samples.weights[i];
        const double d = grid.Nearest(samples.points[i]);
        if (d <= limit || (inside != nullptr && (*inside)(samples.points[i]))) continue;
        out += samples.weights[i];
        b.farthest = std::max(b.farthest, d);
    }
    b.share = out / all;
    return b;
}

struct NamePlate {
    const char* text;
    std::size_t mostTriangles;
};

// The solid keeps to the drawing within 0.05 mm but where it bridges the
// drawing's open seams (a part in two hundred of the area, at the joints
// and caps of the strokes, in seams up to 0.2 mm wide), nowhere more than
// 0.1 mm; flat and gently curved regions are merged into few triangles.
TEST(NamePlateSurface, KeepsToTheDrawingBothWaysInFewTriangles) {
    const NamePlate plates[] = {{"Garden", 40000}, {"ANNA|B&e4", 80000}};
    for (const NamePlate& plate : plates) {
        SCOPED_TRACE(plate.text);
        const DrawnLogo drawn = DrawnText(std::string(LOGO3D_SOURCE_DIR) + "/data/font.src", SweepStyle{}, plate.text);
        PrintLayout layout;
        layout.onBed = true;
        layout.width = 80.0f;
        layout.base = 2.0f;
        const PrintInput in = PreparePrint(drawn, layout);
        std::vector<TriangleCorners> drawing;
        for (const auto& group : in.groups) drawing.insert(drawing.end(), group.begin(), group.end());
        std::vector<TriangleCorners> drawingAndPlate = drawing;
        const std::vector<TriangleCorners> plateFaces = RoundedPlate(in.plateShape);
        drawingAndPlate.insert(drawingAndPlate.end(), plateFaces.begin(), plateFaces.end());

        const PrintSolid solid = MakePrintSolid(drawn, layout, MakeOpenVdbGrid);
        ASSERT_EQ(solid.parts.size(), 1u);
        const SolidMesh& mesh = solid.parts.front().mesh;
        EXPECT_LE(mesh.triangles.size(), plate.mostTriangles);
        const std::vector<TriangleCorners> faces = cornersOf(mesh);

        const Beyond fromSolid = beyond(spreadOver(faces), drawingAndPlate, 0.05, nullptr);
        EXPECT_LE(fromSolid.share, 5e-3);
        EXPECT_LE(fromSolid.farthest, 0.1);
        const Inside inside(faces);
        const Beyond fromDrawing = beyond(spreadOver(drawing), faces, 0.05, &inside);
        EXPECT_LE(fromDrawing.share, 5e-3);
        EXPECT_LE(fromDrawing.farthest, 0.1);
        std::printf("%s: %zu triangles; beyond 0.05 mm: solid %.4f%% (at most %.3f mm), drawing %.4f%% (at most %.3f mm)\n",
                    plate.text, mesh.triangles.size(), 100 * fromSolid.share, fromSolid.farthest,
                    100 * fromDrawing.share, fromDrawing.farthest);
    }
}

}  // namespace
