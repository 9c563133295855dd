#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Captured.h"
#include "SweepRecording.h"

namespace {

// Two hand-made rings of three points, so that every corner names where it
// came from: points A_i = (0, i, 0), B_i = (5, i, 0); normals (i, 0, 1)
// for A and (i, 1, 2) for B, no two of them along the same direction.
Vector3 RingNormal(char ring, int i) { return ring == 'A' ? Vector3(i, 0, 1) : Vector3(i, 1, 2); }

Section HandRing(char ring) {
    Section out;
    for (int i = 0; i < 3; ++i) {
        out.points.push_back(Vector3(ring == 'A' ? 0.0f : 5.0f, static_cast<float>(i), 0));
        out.normals.push_back(RingNormal(ring, i));
    }
    return out;
}

// A corner as "A1(B0)": the ring point at its place, and the ring point
// whose normal it carries ("-B0" for the opposite one).
std::string CornerText(const capture::Vertex& v) {
    const Vector3 p = captured::Position(v), n = captured::Normal(v);
    std::string out = p.x == 0 ? "A" : p.x == 5 ? "B" : "?";
    out += std::to_string(static_cast<int>(p.y)) + "(";
    for (char ring : {'A', 'B'})
        for (int i = 0; i < 3; ++i)
            for (float sign : {1.0f, -1.0f})
                if (Length(n - sign * Normalized(RingNormal(ring, i))) < 1e-5f)
                    return out + (sign < 0 ? "-" : "") + ring + std::to_string(i) + ")";
    return out + "?)";
}

// The band's triangles, corner by corner in GL's winding, one "|" apart.
std::string DrawnTriangles() {
    std::string out;
    for (const captured::Face& face : captured::Faces()) {
        if (!out.empty()) out += " | ";
        for (int c = 0; c < 3; ++c) out += (c ? " " : "") + CornerText(face.corners[c]);
    }
    return out;
}

struct BandCase {
    int shape;
    int negated;
    unsigned mode;
    const char* triangles;
};

TEST(DrawBand, JoinsTheRingsWithTrianglesFacingTheirNormals) {
    const BandCase cases[] = {
        {0, 0, GL_TRIANGLE_STRIP,
         "B0(B0) A0(A0) B1(B1) | B1(B1) A0(A0) A1(A1) | B1(B1) A1(A1) B2(B2) | B2(B2) A1(A1) A2(A2)"},
        {0, 1, GL_TRIANGLE_STRIP,
         "B2(-B2) A2(-A2) B1(-B1) | B1(-B1) A2(-A2) A1(-A1) | B1(-B1) A1(-A1) B0(-B0) | B0(-B0) A1(-A1) A0(-A0)"},
        // Faceted: each quad takes the normals of its first points.
        {1, 0, GL_QUADS, "A0(A0) A1(A0) B1(B0) | A0(A0) B1(B0) B0(B0) | A1(A1) A2(A1) B2(B1) | A1(A1) B2(B1) B1(B1)"},
        {1, 1, GL_QUADS,
         "A1(-A0) A0(-A0) B0(-B0) | A1(-A0) B0(-B0) B1(-B0) | A2(-A1) A1(-A1) B1(-B1) | A2(-A1) B1(-B1) B2(-B1)"},
    };
    for (const BandCase& c : cases) {
        StyledStroke styled;
        styled.set.sectionShape = c.shape;
        styled.set.widthNegated = c.negated;
        captured::Restart();
        styled.stroke->DrawBand(HandRing('A'), HandRing('B'), UnitX, 3);
        EXPECT_EQ(DrawnTriangles(), c.triangles) << "shape " << c.shape << " negated " << c.negated;
        for (const capture::Triangle& t : capture::Triangles()) EXPECT_EQ(t.source, c.mode);
    }
}

TEST(DrawBand, PointsBehindTheFirstRingArePulledBackOntoIt) {
    StyledStroke styled;
    Section b = HandRing('B');
    b.points[1].x = -1.0f;  // behind A_1 along +X
    captured::Restart();
    styled.stroke->DrawBand(HandRing('A'), b, UnitX, 3);
    EXPECT_EQ(DrawnTriangles(),
              "B0(B0) A0(A0) A1(B1) | A1(B1) A0(A0) A1(A1) | A1(B1) A1(A1) B2(B2) | B2(B2) A1(A1) A2(A2)");
    // Along -X the same point lies ahead and stays.
    captured::Restart();
    styled.stroke->DrawBand(HandRing('A'), b, -UnitX, 3);
    EXPECT_EQ(capture::Vertices().at(2).position[0], -1.0f);
}

TEST(DrawBand, NeverReadsPastEitherRing) {
    StyledStroke styled;
    Section shorter = HandRing('B');
    shorter.points.pop_back();
    shorter.normals.pop_back();
    captured::Restart();
    styled.stroke->DrawBand(HandRing('A'), shorter, UnitX, 1000);
    EXPECT_EQ(capture::Vertices().size(), 4u);
    captured::Restart();
    styled.stroke->DrawBand(Section(), shorter, UnitX, 2);
    EXPECT_TRUE(capture::CallLog().empty()) << "an empty ring gives no band";
}

}  // namespace
