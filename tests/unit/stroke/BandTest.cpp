#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingGL.h"
#include "SweepRecording.h"

namespace {

// Two hand-made rings of three points, so that every emitted value names
// where it came from: points A_i = (0, i, 0), B_i = (5, i, 0); normals
// (i, 0, 1) for A and (i, 0, 2) for B.
Section HandRing(float x, float normalZ) {
    Section ring;
    for (int i = 0; i < 3; ++i) {
        ring.points.push_back(Vector3(x, static_cast<float>(i), 0));
        ring.normals.push_back(Vector3(static_cast<float>(i), 0, normalZ));
    }
    return ring;
}

// The emitted normals and vertices as "n<x><z>" and "A<i>"/"B<i>" tokens.
std::string Emitted() {
    std::string out;
    for (const gl_record::Call& call : gl_record::Effective()) {
        if (call.name == "glNormal3f") {
            out += std::string(" n") + std::to_string(static_cast<int>(call.args[0])) +
                   std::to_string(static_cast<int>(call.args[2]));
        } else if (call.name == "glVertex3f") {
            out += std::string(" ") + (call.args[0] == 0 ? "A" : "B") + std::to_string(static_cast<int>(call.args[1]));
        } else if (call.name == "glBegin") {
            out += call.args[0] == GL_QUADS ? "quads:" : "strip:";
        }
    }
    return out;
}

struct BandCase {
    int shape;
    int negated;
    const char* expected;
};

TEST(DrawBand, EmitsNormalsAndVerticesInRingOrder) {
    const BandCase cases[] = {
        {0, 0, "strip: n02 B0 n01 A0 n12 B1 n11 A1 n22 B2 n21 A2"},
        {0, 1, "strip: n-2-2 B2 n-2-1 A2 n-1-2 B1 n-1-1 A1 n0-2 B0 n0-1 A0"},
        {1, 0, "quads: n01 A0 A1 n02 B1 B0 n11 A1 A2 n12 B2 B1"},
        {1, 1, "quads: n0-1 A1 A0 n0-2 B0 B1 n-1-1 A2 A1 n-1-2 B1 B2"},
    };
    for (const BandCase& c : cases) {
        StyledStroke styled;
        styled.set.sectionShape = c.shape;
        styled.set.widthNegated = c.negated;
        gl_record::Reset();
        styled.stroke->DrawBand(HandRing(0, 1), HandRing(5, 2), UnitX, 3);
        EXPECT_EQ(Emitted(), c.expected) << "shape " << c.shape << " negated " << c.negated;
    }
}

TEST(DrawBand, PointsBehindTheFirstRingArePulledBackOntoIt) {
    StyledStroke styled;
    Section b = HandRing(5, 2);
    b.points[1].x = -1.0f;  // behind A_1 along +X
    gl_record::Reset();
    styled.stroke->DrawBand(HandRing(0, 1), b, UnitX, 3);
    EXPECT_EQ(Emitted(), "strip: n02 B0 n01 A0 n12 A1 n11 A1 n22 B2 n21 A2");
    // Along -X the same point lies ahead and stays.
    gl_record::Reset();
    styled.stroke->DrawBand(HandRing(0, 1), b, -UnitX, 3);
    EXPECT_EQ(gl_record::EffectiveNamed("glVertex3f")[2].args[0], -1.0);
}

TEST(DrawBand, NeverReadsPastEitherRing) {
    StyledStroke styled;
    Section shorter = HandRing(5, 2);
    shorter.points.pop_back();
    shorter.normals.pop_back();
    gl_record::Reset();
    styled.stroke->DrawBand(HandRing(0, 1), shorter, UnitX, 1000);
    EXPECT_EQ(gl_record::EffectiveNamed("glVertex3f").size(), 4u);
    gl_record::Reset();
    styled.stroke->DrawBand(Section(), shorter, UnitX, 2);
    EXPECT_TRUE(gl_record::Calls().empty()) << "an empty ring gives no band";
}

}  // namespace
