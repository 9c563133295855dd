#include <GL/gl.h>

#include <cmath>
#include <limits>
#include <vector>

#include "Polygons.h"
#include "PrimitiveTest.h"
#include "object/RoundButton.h"
#include "object/SquareButton.h"

namespace {

using gl_record::Call;

class Buttons : public PrimitiveTest {};

std::vector<Call> named(const std::vector<Call>& calls, const char* name) {
    std::vector<Call> out;
    for (const Call& call : calls)
        if (call.name == name) out.push_back(call);
    return out;
}

void expectPoint(const Call& call, double x, double y, double z) {
    ASSERT_EQ(call.args.size(), 3u);
    EXPECT_NEAR(call.args[0], x, 1e-5);
    EXPECT_NEAR(call.args[1], y, 1e-5);
    EXPECT_NEAR(call.args[2], z, 1e-5);
}

TEST_F(Buttons, SquareButtonIssuesFiveQuadsWithTheirNormalsInOrder) {
    SquareButton button(nullptr);
    Place(button, Vector3(1, 2, 3), 10, 6, 1);
    button.DrawShape();

    const double c = std::sqrt(0.5);
    // Face corners x 5 / -3, y 4 / 0 at z 3; base corners x 6 / -4, y 5 / -1 at z 2.
    const std::vector<std::vector<double>> expected = {
        {0, 0, 1},  {5, 4, 3},  {-3, 4, 3},  {-3, 0, 3},  {5, 0, 3},    // face
        {0, c, c},  {6, 5, 2},  {-4, 5, 2},  {-3, 4, 3},  {5, 4, 3},    // +Y side
        {-c, 0, c}, {-4, 5, 2}, {-4, -1, 2}, {-3, 0, 3},  {-3, 4, 3},   // -X side
        {0, -c, c}, {-4, -1, 2}, {6, -1, 2}, {5, 0, 3},   {-3, 0, 3},   // -Y side
        {c, 0, c},  {6, -1, 2}, {6, 5, 2},   {5, 4, 3},   {5, 0, 3}};   // +X side
    const auto& calls = gl_record::Calls();
    ASSERT_EQ(calls.size(), expected.size() + 2);
    EXPECT_EQ(calls.front().name, "glBegin");
    EXPECT_EQ(calls.front().args[0], GL_QUADS);
    EXPECT_EQ(calls.back().name, "glEnd");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i + 1].name, i % 5 == 0 ? "glNormal3f" : "glVertex3f");
        expectPoint(calls[i + 1], expected[i][0], expected[i][1], expected[i][2]);
    }
    EXPECT_EQ(gl_record::Errors(), 0);
}

TEST_F(Buttons, SquareButtonKeepsItsDepthAndStillDrawsFiveQuads) {
    for (float depth : {0.0f, 5.0f}) {
        gl_record::Reset();
        SquareButton button(nullptr);
        Place(button, Origin, 4, 2, depth);
        button.DrawShape();
        EXPECT_EQ(button.depth, depth);
        const auto sizes = PrimitiveSizes(gl_record::Calls());
        ASSERT_EQ(sizes.size(), 1u);
        EXPECT_EQ(sizes[0].vertices, 20);
        EXPECT_EQ(named(gl_record::Calls(), "glNormal3f").size(), 5u);
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
        gl_record::Reset();
        FacetLengthGlobal = c.step;
        RoundButton button(nullptr);
        Place(button, Vector3(1, 2, 3), c.width, c.height, 0.5f);
        button.DrawShape();
        const auto sizes = PrimitiveSizes(gl_record::Calls());
        ASSERT_EQ(sizes.size(), 2u);
        EXPECT_EQ(sizes[0].mode, unsigned(GL_TRIANGLE_FAN));
        EXPECT_EQ(sizes[0].vertices, c.segments + 2);  // the centre, then a closed ring
        EXPECT_EQ(sizes[1].mode, unsigned(GL_QUAD_STRIP));
        EXPECT_EQ(sizes[1].vertices, 2 * (c.segments + 1));
        EXPECT_FALSE(AnyNaN(gl_record::Calls()));
        EXPECT_EQ(gl_record::Errors(), 0);
    }
}

TEST_F(Buttons, RoundButtonDepthIsClampedIntoTheRecordAndMakesACone) {
    RoundButton button(nullptr);
    Place(button, Vector3(1, 2, 3), 1, 1, 2);
    button.DrawShape();
    EXPECT_EQ(button.depth, 1.0f);

    const auto vertices = named(gl_record::Calls(), "glVertex3f");
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
    const auto vertices = named(gl_record::Calls(), "glVertex3f");
    ASSERT_EQ(vertices.size(), 3u + 4u);
    for (const Call& v : vertices) expectPoint(v, 1, 2, 3);
    for (const Call& n : named(gl_record::Calls(), "glNormal3f")) expectPoint(n, 0, 0, 1);
}

// Every face that can be seen from outside must be counter-clockwise from
// there: its winding normal points the way of the normals it was given.
void expectOutwardWinding(const char* what) {
    SCOPED_TRACE(what);
    const auto polygons = gl_record::AssemblePolygons(gl_record::Calls());
    ASSERT_FALSE(polygons.empty());
    int checked = 0;
    for (const auto& polygon : polygons) {
        const auto winding = gl_record::WindingNormal(polygon);
        if (std::hypot(winding[0], winding[1], winding[2]) < 1e-9) continue;  // no area
        std::array<double, 3> given{0, 0, 0};
        for (const auto& v : polygon.vertices)
            for (int k = 0; k < 3; ++k) given[k] += v.normal[k];
        EXPECT_GT(winding[0] * given[0] + winding[1] * given[1] + winding[2] * given[2], 0.0);
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
        gl_record::Reset();
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

TEST_F(Buttons, RoundButtonTakesNegativeSizesAsTheirMagnitudes) {
    RoundButton positive(nullptr);
    Place(positive, Vector3(1, 2, 3), 4, 1.5f, 0.5f);
    positive.DrawShape();
    const std::vector<Call> expected = gl_record::Calls();

    for (Vector3 signs : {Vector3(-1, -1, -1), Vector3(-1, 1, 1), Vector3(1, 1, -1)}) {
        gl_record::Reset();
        RoundButton negative(nullptr);
        Place(negative, Vector3(1, 2, 3), 4 * signs.x, 1.5f * signs.y, 0.5f * signs.z);
        negative.DrawShape();
        EXPECT_EQ(negative.depth, 0.5f);
        const auto& calls = gl_record::Calls();
        ASSERT_EQ(calls.size(), expected.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].name, expected[i].name);
            EXPECT_EQ(calls[i].args, expected[i].args) << i;
        }
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
        gl_record::Reset();
        FacetLengthGlobal = c.step;
        RoundButton button(nullptr);
        Place(button, Origin, c.size, c.size, 0.5f);
        button.DrawShape();
        const auto sizes = PrimitiveSizes(gl_record::Calls());
        ASSERT_EQ(sizes.size(), 2u);
        EXPECT_EQ(sizes[0].vertices, c.segments + 2);
        EXPECT_FALSE(AnyNaN(gl_record::Calls()));
    }
}

}  // namespace
