#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "PrimitiveTest.h"
#include "object/RoundButton.h"
#include "object/SquareButton.h"

namespace {

class Buttons : public PrimitiveTest {};

void expectPoint(const capture::Vertex& v, double x, double y, double z) {
    EXPECT_NEAR(v.position[0], x, 1e-5);
    EXPECT_NEAR(v.position[1], y, 1e-5);
    EXPECT_NEAR(v.position[2], z, 1e-5);
}

bool near(const Vector3& a, const Vector3& b) { return Length(a - b) < 1e-5f; }

// A flat quad of the button: its corners and the normal given with them.
struct Quad {
    Vector3 normal;
    std::vector<Vector3> corners;
};

// The two triangles carrying the quad's normal cover exactly its corners,
// with its area, counter-clockwise seen from the side the normal points to.
void expectQuad(const std::vector<captured::Face>& faces, const Quad& quad) {
    std::vector<Vector3> covered;
    float area = 0.0f;
    int triangles = 0;
    for (const captured::Face& face : faces) {
        if (!near(captured::Normal(face.corners[0]), quad.normal)) continue;
        ++triangles;
        for (const capture::Vertex& corner : face.corners) {
            EXPECT_TRUE(near(captured::Normal(corner), quad.normal));
            covered.push_back(captured::Position(corner));
        }
        area += 0.5f * Length(face.Winding());
        EXPECT_GT(Dot(face.Winding(), quad.normal), 0.0f);
    }
    ASSERT_EQ(triangles, 2);
    for (const Vector3& p : covered)
        EXPECT_TRUE(std::any_of(quad.corners.begin(), quad.corners.end(), [&](const Vector3& c) { return near(c, p); }))
            << "(" << p.x << ", " << p.y << ", " << p.z << ") is no corner";
    for (const Vector3& c : quad.corners)
        EXPECT_TRUE(std::any_of(covered.begin(), covered.end(), [&](const Vector3& p) { return near(c, p); }))
            << "corner (" << c.x << ", " << c.y << ", " << c.z << ") is not covered";
    const Vector3 a = quad.corners[0], b = quad.corners[1], c = quad.corners[2], d = quad.corners[3];
    EXPECT_NEAR(area, 0.5f * (Length(Cross(b - a, c - a)) + Length(Cross(c - a, d - a))), 1e-4f);
}

TEST_F(Buttons, SquareButtonIsFiveFlatQuadsFacingOutwards) {
    SquareButton button(nullptr);
    Place(button, Vector3(1, 2, 3), 10, 6, 1);
    button.DrawShape();

    const float c = std::sqrt(0.5f);
    // Face corners x 5 / -3, y 4 / 0 at z 3; base corners x 6 / -4, y 5 / -1 at z 2.
    const Quad quads[] = {
        {{0, 0, 1}, {{5, 4, 3}, {-3, 4, 3}, {-3, 0, 3}, {5, 0, 3}}},    // face
        {{0, c, c}, {{6, 5, 2}, {-4, 5, 2}, {-3, 4, 3}, {5, 4, 3}}},    // +Y side
        {{-c, 0, c}, {{-4, 5, 2}, {-4, -1, 2}, {-3, 0, 3}, {-3, 4, 3}}},  // -X side
        {{0, -c, c}, {{-4, -1, 2}, {6, -1, 2}, {5, 0, 3}, {-3, 0, 3}}},   // -Y side
        {{c, 0, c}, {{6, -1, 2}, {6, 5, 2}, {5, 4, 3}, {5, 0, 3}}},     // +X side
    };
    const std::vector<captured::Face> faces = captured::Faces();
    ASSERT_EQ(faces.size(), 10u);
    for (const captured::Face& face : faces) EXPECT_EQ(face.triangle.source, unsigned(GL_QUADS));
    for (const Quad& quad : quads) {
        SCOPED_TRACE(testing::Message() << "normal " << quad.normal.x << " " << quad.normal.y << " " << quad.normal.z);
        expectQuad(faces, quad);
    }
    EXPECT_TRUE(captured::SoundGL());
}

TEST_F(Buttons, SquareButtonKeepsItsDepthAndStillDrawsFiveQuads) {
    for (float depth : {0.0f, 5.0f}) {
        captured::Restart();
        SquareButton button(nullptr);
        Place(button, Origin, 4, 2, depth);
        button.DrawShape();
        EXPECT_EQ(button.depth, depth);
        const auto sizes = PrimitiveSizes();
        ASSERT_EQ(sizes.size(), 1u);
        EXPECT_EQ(sizes[0].mode, unsigned(GL_QUADS));
        EXPECT_EQ(sizes[0].vertices, 20u);
        EXPECT_EQ(captured::Calls("glNormal3f").size(), 5u);
    }
}

struct CountCase {
    float width, height, step;
    int segments;
};

TEST_F(Buttons, RoundButtonHasOneSegmentPerStepAroundItsLargerAxis) {
    const CountCase cases[] = {
        {4, 1.5f, 1.0f, 26}, {4, 1.5f, 0.5f, 51}, {1.5f, 4, 1.0f, 26}, {0, 0, 1.0f, 1}, {0, 0, 0.01f, 1}};
    for (const CountCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " step " << c.step);
        captured::Restart();
        FacetLengthGlobal = c.step;
        RoundButton button(nullptr);
        Place(button, Vector3(1, 2, 3), c.width, c.height, 0.5f);
        button.DrawShape();
        const auto sizes = PrimitiveSizes();
        ASSERT_EQ(sizes.size(), 2u);
        EXPECT_EQ(sizes[0].mode, unsigned(GL_TRIANGLE_FAN));
        EXPECT_EQ(sizes[0].vertices, std::size_t(c.segments + 2));  // the centre, then a closed ring
        EXPECT_EQ(sizes[1].mode, unsigned(GL_QUAD_STRIP));
        EXPECT_EQ(sizes[1].vertices, std::size_t(2 * (c.segments + 1)));
        EXPECT_TRUE(captured::SoundGL());
    }
}

TEST_F(Buttons, RoundButtonDepthIsClampedIntoTheRecordAndMakesACone) {
    RoundButton button(nullptr);
    Place(button, Vector3(1, 2, 3), 1, 1, 2);
    button.DrawShape();
    EXPECT_EQ(button.depth, 1.0f);

    const auto& vertices = capture::Vertices();
    const int n = RoundButtonSegments(1, 1, 1);
    ASSERT_EQ(vertices.size(), std::size_t(n + 2 + 2 * (n + 1)));
    // The face shrinks to the centre; the rim runs from it to the base circle.
    for (int i = 0; i <= n; ++i) {
        const double t = i * 2 * M_PI / n;
        expectPoint(vertices[1 + i], 1, 2, 3);
        expectPoint(vertices[n + 2 + 2 * i], 1, 2, 3);
        expectPoint(vertices[n + 3 + 2 * i], 1 + 0.5 * std::cos(t), 2 + 0.5 * std::sin(t), 2);
    }
}

TEST_F(Buttons, RoundButtonOfNoSizeIsDegenerateButComplete) {
    RoundButton button(nullptr);
    Place(button, Vector3(1, 2, 3), 0, 0, 0.5f);
    button.DrawShape();
    EXPECT_EQ(button.depth, 0.0f);
    const auto& vertices = capture::Vertices();
    ASSERT_EQ(vertices.size(), 3u + 4u);
    for (const capture::Vertex& v : vertices) {
        expectPoint(v, 1, 2, 3);
        EXPECT_TRUE(near(captured::Normal(v), UnitZ));
    }
}

// Every face that can be seen from outside must be counter-clockwise from
// there: its winding points the way of the normals it was given.
void expectOutwardWinding(const char* what) {
    SCOPED_TRACE(what);
    int checked = 0;
    for (const captured::Face& face : captured::Faces()) {
        const Vector3 winding = face.Winding();
        if (Length(winding) < 1e-9f) continue;  // no area
        const Vector3 given = captured::Normal(face.corners[0]) + captured::Normal(face.corners[1]) +
                              captured::Normal(face.corners[2]);
        EXPECT_GT(Dot(winding, given), 0.0f);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(Buttons, EveryPolygonIsCounterClockwiseSeenFromOutside) {
    struct Shape {
        const char* what;
        bool round;
        float w, h, d;
    };
    const Shape shapes[] = {{"square", false, 10, 6, 1},         {"square, thin", false, 1, 8, 0.25f},
                            {"round", true, 4, 1.5f, 0.5f},      {"round, tall", true, 3, 5, 0.7f},
                            {"round cone", true, 1, 1, 2},       {"round, negative sizes", true, -4, -1.5f, -0.5f},
                            {"round, one negative", true, -3, 2, 0.5f}};
    for (const Shape& s : shapes) {
        captured::Restart();
        if (s.round) {
            RoundButton button(nullptr);
            Place(button, Vector3(-2, 1, 4), s.w, s.h, s.d);
            button.DrawShape();
        } else {
            SquareButton button(nullptr);
            Place(button, Vector3(-2, 1, 4), s.w, s.h, s.d);
            button.DrawShape();
        }
        expectOutwardWinding(s.what);
    }
}

std::vector<float> pointAndNormal(const capture::Vertex& v) {
    return {v.position[0], v.position[1], v.position[2], v.normal[0], v.normal[1], v.normal[2]};
}

TEST_F(Buttons, RoundButtonTakesNegativeSizesAsTheirMagnitudes) {
    RoundButton positive(nullptr);
    Place(positive, Vector3(1, 2, 3), 4, 1.5f, 0.5f);
    positive.DrawShape();
    const std::vector<captured::Face> expected = captured::Faces();

    for (Vector3 signs : {Vector3(-1, -1, -1), Vector3(-1, 1, 1), Vector3(1, 1, -1)}) {
        captured::Restart();
        RoundButton negative(nullptr);
        Place(negative, Vector3(1, 2, 3), 4 * signs.x, 1.5f * signs.y, 0.5f * signs.z);
        negative.DrawShape();
        EXPECT_EQ(negative.depth, 0.5f);
        const std::vector<captured::Face> faces = captured::Faces();
        ASSERT_EQ(faces.size(), expected.size());
        for (std::size_t i = 0; i < faces.size(); ++i)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(pointAndNormal(faces[i].corners[c]), pointAndNormal(expected[i].corners[c])) << i;
    }
}

TEST_F(Buttons, RoundButtonNeedsAUsableStepAndABoundedCount) {
    struct Case {
        float step, size;
        int segments;
    };
    const float huge = 1e30f;
    const Case cases[] = {{0.0f, 4, 252},  // the font's finest step, 0.1
                          {-1.0f, 4, 252},
                          {std::numeric_limits<float>::quiet_NaN(), 4, 252},
                          {0.0f, 0, 1},
                          {1e-30f, 4, 4096},
                          {1.0f, huge, 4096}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " size " << c.size);
        captured::Restart();
        FacetLengthGlobal = c.step;
        RoundButton button(nullptr);
        Place(button, Origin, c.size, c.size, 0.5f);
        button.DrawShape();
        const auto sizes = PrimitiveSizes();
        ASSERT_EQ(sizes.size(), 2u);
        EXPECT_EQ(sizes[0].vertices, std::size_t(c.segments + 2));
        EXPECT_TRUE(captured::SoundGL());
    }
}

}  // namespace
