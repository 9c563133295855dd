#include "Captured.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace captured {

void Restart() {
    capture::Reset();
    capture::RecordCalls(true);
}

std::vector<capture::Call> Calls() {
    std::vector<capture::Call> out;
    for (const capture::Call& call : capture::CallLog())
        if (call.compiling == 0) out.push_back(call);
    return out;
}

std::vector<capture::Call> Calls(const std::string& name) {
    std::vector<capture::Call> out;
    for (const capture::Call& call : capture::CallLog())
        if (call.compiling == 0 && call.name == name) out.push_back(call);
    return out;
}

std::vector<std::string> Names(const std::vector<capture::Call>& calls) {
    std::vector<std::string> names;
    for (const capture::Call& call : calls) names.push_back(call.name);
    return names;
}

std::string Describe(const capture::Call& call) {
    std::string text = call.name;
    for (double arg : call.args) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, " %g", arg);
        text += buffer;
    }
    return text;
}

::testing::AssertionResult SoundGL() {
    const capture::ProblemCounts p = capture::Problems();
    if (p.Total() == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "unsound GL: " << p.nonFinite << " non-finite, " << p.beginInsideBegin << " begin in begin, "
           << p.endWithoutBegin << " end without begin, " << p.notAllowedInsideBegin << " not allowed in begin, "
           << p.stackOverflow << " overflows, " << p.stackUnderflow << " underflows, " << p.newListInsideList
           << " lists in lists, " << p.endListWithoutList << " list ends without list, " << p.nestingTooDeep
           << " too deep; open: " << p.openPrimitives << " primitives, " << p.pushedMatrices << " matrices, "
           << p.openLists << " lists";
}

Vector3 Transformed(const float* m, const Vector3& p) {
    float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    if (w == 0.0f) w = 1.0f;
    return Vector3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                   m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]) /
           w;
}

Vector3 Face::Winding() const {
    return Cross(Position(corners[1]) - Position(corners[0]), Position(corners[2]) - Position(corners[0]));
}

std::vector<Face> Faces() {
    const std::vector<capture::Vertex>& vertices = capture::Vertices();
    std::vector<Face> out;
    for (const capture::Triangle& t : capture::Triangles())
        out.push_back({{vertices[t.vertices[0]], vertices[t.vertices[1]], vertices[t.vertices[2]]}, t});
    return out;
}

namespace {

// Where each primitive's vertices start in the capture's store, from the
// log: points and lines leave none, GLUT's sphere leaves its own.
struct Span {
    unsigned mode;
    std::size_t first, count;
};

std::size_t sphereVertices(const capture::Call& call) {
    const int slices = static_cast<int>(call.args[1]), stacks = static_cast<int>(call.args[2]);
    return slices < 2 || stacks < 2 ? 0 : static_cast<std::size_t>(slices) * static_cast<std::size_t>(stacks + 1);
}

bool keepsVertices(unsigned mode) { return mode >= GL_TRIANGLES && mode <= GL_POLYGON; }

std::vector<Span> spans() {
    std::vector<Span> out;
    std::size_t stored = 0;
    bool open = false;
    for (const capture::Call& call : Calls()) {
        if (call.name == "glBegin" && !open) {
            out.push_back({static_cast<unsigned>(call.args[0]), stored, 0});
            open = true;
        } else if (call.name == "glVertex3f" && open) {
            ++out.back().count;
        } else if (call.name == "glEnd" && open) {
            if (keepsVertices(out.back().mode)) stored += out.back().count;
            open = false;
        } else if (call.name == "glutSolidSphere") {
            stored += sphereVertices(call);
        } else if (call.name == "glCallList") {
            ADD_FAILURE() << "Primitives() reads drawing made without display lists";
        }
    }
    return out;
}

}  // namespace

std::vector<Primitive> Primitives() {
    const std::vector<capture::Vertex>& vertices = capture::Vertices();
    const std::vector<capture::Triangle>& triangles = capture::Triangles();
    std::vector<Primitive> out;
    std::size_t t = 0;
    for (const Span& span : spans()) {
        out.push_back({span.mode, {}, {}});
        Primitive& p = out.back();
        if (!keepsVertices(span.mode) || span.first + span.count > vertices.size()) continue;
        p.vertices.assign(vertices.begin() + static_cast<std::ptrdiff_t>(span.first),
                          vertices.begin() + static_cast<std::ptrdiff_t>(span.first + span.count));
        // Triangles come in the order drawn: skip those before (a sphere's).
        while (t < triangles.size() && triangles[t].vertices[0] < span.first) ++t;
        for (; t < triangles.size() && triangles[t].vertices[0] < span.first + span.count; ++t) {
            const std::uint32_t* v = triangles[t].vertices;
            p.triangles.push_back({v[0] - span.first, v[1] - span.first, v[2] - span.first});
        }
    }
    return out;
}

std::string FirstWindingFault(const std::vector<Face>& faces, float minCosine) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const Face& f = faces[i];
        const Vector3 a = Position(f.corners[0]);
        const Vector3 e1 = Position(f.corners[1]) - a, e2 = Position(f.corners[2]) - a;
        const Vector3 g = Cross(e1, e2);
        // Slivers (pulled-back points, rings shrunk to a point) have no
        // reliable facing.
        if (Length(g) <= 1e-3f * Length(e1) * Length(e2) || Length(g) < 1e-9f) continue;
        const Vector3 given = Normal(f.corners[0]) + Normal(f.corners[1]) + Normal(f.corners[2]);
        if (Dot(Normalized(g), Normalized(given)) >= minCosine) continue;
        std::ostringstream out;
        out << "triangle " << i << " (mode " << f.triangle.source << ") at (" << a.x << ", " << a.y << ", " << a.z
            << ") faces (" << Normalized(g).x << ", " << Normalized(g).y << ", " << Normalized(g).z
            << ") against normals summing to (" << given.x << ", " << given.y << ", " << given.z << ")";
        return out.str();
    }
    return "";
}

}  // namespace captured
