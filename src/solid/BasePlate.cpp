#include "BasePlate.h"

#include <algorithm>
#include <cmath>

namespace {

float clampedRadius(const RoundedSlab& s) {
    return std::max(0.0f, std::min({s.radius, (s.x1 - s.x0) / 2, (s.y1 - s.y0) / 2}));
}

}  // namespace

std::vector<TriangleCorners> RoundedPlate(const RoundedSlab& slab) {
    const float x0 = slab.x0, y0 = slab.y0, x1 = slab.x1, y1 = slab.y1;
    const float zBottom = slab.zBottom, zTop = slab.zTop, radius = clampedRadius(slab);
    // The outline, counter-clockwise seen from above: a quarter circle of
    // 16 steps at each corner (one point where there is no rounding).
    const int steps = radius > 0.0f ? 16 : 0;
    const float centres[4][2] = {{x1 - radius, y0 + radius}, {x1 - radius, y1 - radius},
                                 {x0 + radius, y1 - radius}, {x0 + radius, y0 + radius}};
    std::vector<std::array<float, 2>> outline;
    const float pi = 3.14159265358979f;
    for (int corner = 0; corner < 4; ++corner)
        for (int k = 0; k <= steps; ++k) {
            const float angle = -pi / 2 + corner * pi / 2 + (steps ? k * (pi / 2) / steps : 0.0f);
            outline.push_back({centres[corner][0] + radius * std::cos(angle),
                               centres[corner][1] + radius * std::sin(angle)});
        }
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    std::vector<TriangleCorners> out;
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& a = outline[i];
        const auto& b = outline[(i + 1) % n];
        out.push_back({Point3{cx, cy, zTop}, Point3{a[0], a[1], zTop}, Point3{b[0], b[1], zTop}});
        out.push_back({Point3{cx, cy, zBottom}, Point3{b[0], b[1], zBottom}, Point3{a[0], a[1], zBottom}});
        out.push_back({Point3{a[0], a[1], zBottom}, Point3{b[0], b[1], zBottom}, Point3{b[0], b[1], zTop}});
        out.push_back({Point3{a[0], a[1], zBottom}, Point3{b[0], b[1], zTop}, Point3{a[0], a[1], zTop}});
    }
    return out;
}

float DistanceToSlab(const RoundedSlab& slab, float x, float y, float z) {
    // The rounded rectangle's distance in the plane, then the slab's.
    const float radius = clampedRadius(slab);
    const float qx = std::fabs(x - (slab.x0 + slab.x1) / 2) - ((slab.x1 - slab.x0) / 2 - radius);
    const float qy = std::fabs(y - (slab.y0 + slab.y1) / 2) - ((slab.y1 - slab.y0) / 2 - radius);
    const float inPlane = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
    const float across = std::fabs(z - (slab.zBottom + slab.zTop) / 2) - (slab.zTop - slab.zBottom) / 2;
    return std::hypot(std::max(inPlane, 0.0f), std::max(across, 0.0f)) + std::min(std::max(inPlane, across), 0.0f);
}
