#include "SweepRecording.h"

#include <GL/gl.h>

#include "Captured.h"

StyledStroke::StyledStroke(const Vector3& a, const Vector3& b) {
    stroke = new LineStroke(&character, a, b);
    character.AppendStroke(stroke);
}

LineStroke* StyledStroke::Append(const Vector3& a, const Vector3& b) {
    auto* added = new LineStroke(&character, a, b);
    character.AppendStroke(added);
    return added;
}

std::vector<RecordedPrimitive> RecordedPrimitives() {
    std::vector<RecordedPrimitive> out;
    for (const captured::Primitive& p : captured::Primitives()) {
        RecordedPrimitive recorded{p.mode, {}, p.triangles};
        for (const capture::Vertex& v : p.vertices)
            recorded.vertices.push_back({captured::Position(v), captured::Normal(v)});
        out.push_back(std::move(recorded));
    }
    return out;
}

std::vector<Triangle> Triangles(const RecordedPrimitive& p) {
    std::vector<Triangle> out;
    for (const auto& t : p.triangles) out.push_back({p.vertices[t[0]], p.vertices[t[1]], p.vertices[t[2]]});
    return out;
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
