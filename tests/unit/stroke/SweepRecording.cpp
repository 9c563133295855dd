#include "SweepRecording.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "Polygons.h"
#include "RecordingGL.h"

StyledStroke::StyledStroke(const Vector3& a, const Vector3& b) {
    stroke = new LineStroke(&character, a, b);
    character.AppendStroke(stroke);
}

LineStroke* StyledStroke::Append(const Vector3& a, const Vector3& b) {
    auto* added = new LineStroke(&character, a, b);
    character.AppendStroke(added);
    return added;
}

namespace {
Vector3 ArgsVector(const gl_record::Call& call) {
    return Vector3(static_cast<float>(call.args[0]), static_cast<float>(call.args[1]),
                   static_cast<float>(call.args[2]));
}
}  // namespace

std::vector<RecordedPrimitive> RecordedPrimitives() {
    std::vector<RecordedPrimitive> out;
    std::vector<Vector3> stack{Origin};
    Vector3 normal = UnitZ;
    bool open = false;
    for (const gl_record::Call& call : gl_record::Effective()) {
        if (call.name == "glPushMatrix") stack.push_back(stack.back());
        else if (call.name == "glPopMatrix" && stack.size() > 1) stack.pop_back();
        else if (call.name == "glTranslatef") stack.back() = stack.back() + ArgsVector(call);
        else if (call.name == "glRotatef" || call.name == "glScalef" || call.name == "glMultMatrixf")
            ADD_FAILURE() << "the sweep only translates, got " << call.name;
        else if (call.name == "glNormal3f") normal = ArgsVector(call);
        else if (call.name == "glBegin") {
            out.push_back({static_cast<unsigned>(call.args[0]), {}});
            open = true;
        } else if (call.name == "glEnd") open = false;
        else if (call.name == "glVertex3f" && open) out.back().vertices.push_back({stack.back() + ArgsVector(call), normal});
    }
    return out;
}

std::vector<Triangle> Triangles(const RecordedPrimitive& p) {
    // Each polygon fanned from its first vertex keeps OpenGL's winding.
    std::vector<Triangle> out;
    const auto& v = p.vertices;
    for (const std::vector<std::size_t>& order : gl_record::PolygonOrders(p.mode, v.size()))
        for (std::size_t k = 1; k + 1 < order.size(); ++k) out.push_back({v[order[0]], v[order[k]], v[order[k + 1]]});
    return out;
}

std::string FirstWindingFault(const std::vector<RecordedPrimitive>& primitives, float minCosine) {
    for (size_t p = 0; p < primitives.size(); ++p) {
        for (const Triangle& t : Triangles(primitives[p])) {
            const Vector3 e1 = t.b.position - t.a.position, e2 = t.c.position - t.a.position;
            const Vector3 g = Cross(e1, e2);
            // Slivers (pulled-back points, rings shrunk to a point) have no
            // reliable facing.
            if (Length(g) <= 1e-3f * Length(e1) * Length(e2) || Length(g) < 1e-9f) continue;
            const Vector3 given = t.a.normal + t.b.normal + t.c.normal;
            if (Dot(Normalized(g), Normalized(given)) >= minCosine) continue;
            std::ostringstream out;
            out << "primitive " << p << " (mode " << primitives[p].mode << "): triangle at (" << t.a.position.x << ", "
                << t.a.position.y << ", " << t.a.position.z << ") faces (" << Normalized(g).x << ", "
                << Normalized(g).y << ", " << Normalized(g).z << ") against normals summing to (" << given.x << ", "
                << given.y << ", " << given.z << ")";
            return out.str();
        }
    }
    return "";
}

bool AllRecordedValuesFinite() {
    for (const gl_record::Call& call : gl_record::Calls())
        for (double value : call.args)
            if (!std::isfinite(value)) return false;
    return true;
}

Vector3 SecondRingCentre(const RecordedPrimitive& band) {
    std::vector<Vector3> ring;
    const auto& v = band.vertices;
    if (band.mode == GL_TRIANGLE_STRIP) {
        for (size_t i = 0; i < v.size(); i += 2) ring.push_back(v[i].position);
    } else {
        // Quads A_i, A_i+1, B_i+1, B_i: the B ring's points 0 .. N-2 are the
        // fourth corners.
        for (size_t i = 3; i < v.size(); i += 4) ring.push_back(v[i].position);
        ring.push_back(ring.front());
    }
    Vector3 sum = Origin;
    for (size_t i = 0; i + 1 < ring.size(); ++i) sum = sum + ring[i];
    return sum / static_cast<float>(ring.size() - 1);
}
