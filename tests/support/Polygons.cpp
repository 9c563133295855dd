#include "Polygons.h"

#include <GL/gl.h>

namespace gl_record {

namespace {

std::array<double, 3> triple(const Call& call) {
    return {call.args.size() > 0 ? call.args[0] : 0.0, call.args.size() > 1 ? call.args[1] : 0.0,
            call.args.size() > 2 ? call.args[2] : 0.0};
}

}  // namespace

std::vector<std::vector<std::size_t>> PolygonOrders(unsigned mode, std::size_t n) {
    std::vector<std::vector<std::size_t>> out;
    switch (mode) {
        case GL_TRIANGLES:
            for (std::size_t i = 0; i + 2 < n; i += 3) out.push_back({i, i + 1, i + 2});
            break;
        case GL_TRIANGLE_STRIP:
            for (std::size_t i = 0; i + 2 < n; ++i)
                out.push_back(i % 2 == 0 ? std::vector<std::size_t>{i, i + 1, i + 2}
                                         : std::vector<std::size_t>{i + 1, i, i + 2});
            break;
        case GL_TRIANGLE_FAN:
            for (std::size_t i = 1; i + 1 < n; ++i) out.push_back({0, i, i + 1});
            break;
        case GL_QUADS:
            for (std::size_t i = 0; i + 3 < n; i += 4) out.push_back({i, i + 1, i + 2, i + 3});
            break;
        case GL_QUAD_STRIP:
            for (std::size_t i = 0; i + 3 < n; i += 2) out.push_back({i, i + 1, i + 3, i + 2});
            break;
        case GL_POLYGON:
            if (n >= 3) {
                out.emplace_back();
                for (std::size_t i = 0; i < n; ++i) out.back().push_back(i);
            }
            break;
        default: break;
    }
    return out;
}

std::vector<Polygon> AssemblePolygons(const std::vector<Call>& calls) {
    std::vector<Polygon> out;
    std::array<double, 3> normal{0.0, 0.0, 1.0};
    std::vector<PolygonVertex> vertices;
    unsigned mode = 0;
    bool open = false;
    for (const Call& call : calls) {
        if (call.name == "glBegin") {
            open = true;
            mode = call.args.empty() ? 0u : static_cast<unsigned>(call.args[0]);
            vertices.clear();
        } else if (call.name == "glEnd") {
            if (open) {
                for (const std::vector<std::size_t>& order : PolygonOrders(mode, vertices.size())) {
                    Polygon polygon{mode, {}};
                    for (std::size_t i : order) polygon.vertices.push_back(vertices[i]);
                    out.push_back(polygon);
                }
            }
            open = false;
        } else if (call.name == "glNormal3f") {
            normal = triple(call);
        } else if (call.name == "glVertex3f" && open) {
            vertices.push_back({triple(call), normal});
        }
    }
    return out;
}

std::array<double, 3> WindingNormal(const Polygon& polygon) {
    std::array<double, 3> n{0.0, 0.0, 0.0};
    const std::size_t count = polygon.vertices.size();
    for (std::size_t i = 0; i < count; ++i) {
        const auto& a = polygon.vertices[i].point;
        const auto& b = polygon.vertices[(i + 1) % count].point;
        n[0] += (a[1] - b[1]) * (a[2] + b[2]);
        n[1] += (a[2] - b[2]) * (a[0] + b[0]);
        n[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    return n;
}

}  // namespace gl_record
