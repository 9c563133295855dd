// The capture layer against what OpenGL documents: the triangles of every
// primitive mode in OpenGL's order, the matrix stack and display lists,
// normals through the inverse transpose, GLUT's sphere, and the misuses a
// real GL refuses.

#include <GL/gl.h>
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "capture/Capture.h"

namespace {

using Point = std::array<float, 3>;

Point at(const capture::Vertex& v) { return {v.position[0], v.position[1], v.position[2]}; }

const capture::Vertex& corner(const capture::Triangle& t, int c) { return capture::Vertices()[t.vertices[c]]; }

// Issues the points in one glBegin/glEnd pair and returns the triangles as
// indexes into points.
std::vector<std::array<int, 3>> trianglesOf(GLenum mode, const std::vector<Point>& points) {
    capture::Reset();
    glBegin(mode);
    for (const Point& p : points) glVertex3f(p[0], p[1], p[2]);
    glEnd();
    std::vector<std::array<int, 3>> out;
    for (const capture::Triangle& t : capture::Triangles()) {
        std::array<int, 3> corners{-1, -1, -1};
        for (int c = 0; c < 3; ++c)
            for (std::size_t i = 0; i < points.size(); ++i)
                if (at(corner(t, c)) == points[i]) corners[c] = static_cast<int>(i);
        out.push_back(corners);
    }
    return out;
}

TEST(Capture, EveryPrimitiveModeMakesOpenGLsTrianglesInOpenGLsOrder) {
    // Distinct points, so each corner can be told back to its vertex.
    std::vector<Point> p;
    for (int i = 0; i < 7; ++i) p.push_back({float(i), float(i * i % 5), 0.0f});
    struct Case {
        GLenum mode;
        std::size_t count;
        std::vector<std::array<int, 3>> triangles;
    };
    const Case cases[] = {
        {GL_TRIANGLES, 7, {{0, 1, 2}, {3, 4, 5}}},  // the seventh vertex is incomplete
        {GL_TRIANGLE_STRIP, 5, {{0, 1, 2}, {2, 1, 3}, {2, 3, 4}}},
        {GL_TRIANGLE_FAN, 5, {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}}},
        {GL_QUADS, 7, {{0, 1, 2}, {0, 2, 3}}},
        {GL_QUAD_STRIP, 7, {{0, 1, 3}, {0, 3, 2}, {2, 3, 5}, {2, 5, 4}}},
        {GL_POLYGON, 5, {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}}},
        {GL_LINES, 6, {}},
        {GL_POINTS, 3, {}},
    };
    for (const Case& c : cases) {
        const std::vector<Point> points(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(c.count));
        EXPECT_EQ(trianglesOf(c.mode, points), c.triangles) << "mode " << c.mode;
        for (const capture::Triangle& t : capture::Triangles()) EXPECT_EQ(t.source, c.mode);
    }
    EXPECT_EQ(capture::Problems().Total(), 0);
}

TEST(Capture, ListsReplayInTheMatrixOfTheCallAndTagTheirTriangles) {
    capture::Reset();
    const GLuint inner = glGenLists(2), outer = inner + 1;
    glNewList(inner, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 0, 0);
    glVertex3f(0, 1, 0);
    glEnd();
    glEndList();
    glNewList(outer, GL_COMPILE);
    glPushMatrix();
    glTranslatef(10, 0, 0);
    glCallList(inner);
    glPopMatrix();
    glCallList(inner);
    glEndList();
    EXPECT_TRUE(capture::Triangles().empty()) << "compiling draws nothing";

    glRotatef(90, 0, 0, 1);  // x becomes y
    glCallList(outer);
    const std::vector<capture::Triangle>& drawn = capture::Triangles();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(corner(drawn[0], 1).position[0], 0.0f, 1e-5f);
    EXPECT_NEAR(corner(drawn[0], 1).position[1], 11.0f, 1e-5f);
    EXPECT_NEAR(corner(drawn[1], 1).position[1], 1.0f, 1e-5f);
    for (const capture::Triangle& t : drawn) {
        EXPECT_EQ(t.list, outer);
        EXPECT_EQ(t.innerList, inner);
        EXPECT_NEAR(corner(t, 0).normal[2], 1.0f, 1e-6f);
    }
    // The same list alone, under the identity.
    const capture::Drawing alone = capture::CaptureList(outer);
    ASSERT_EQ(alone.triangles.size(), 2u);
    EXPECT_NEAR(alone.vertices[alone.triangles[0].vertices[1]].position[0], 11.0f, 1e-5f);
    EXPECT_EQ(capture::Triangles().size(), 2u);
    EXPECT_EQ(glIsList(outer), GL_TRUE);
    glDeleteLists(inner, 2);
    EXPECT_EQ(glIsList(outer), GL_FALSE);
    EXPECT_EQ(capture::Problems().Total(), 0);
}

TEST(Capture, NormalsGoThroughTheInverseTransposeAndColoursAndMaterialsStayWithTheirTriangles) {
    capture::Reset();
    glScalef(2, 1, 1);
    const GLfloat shiny[4] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, shiny);
    glColor4f(0.5f, 0.25f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLES);
    // The plane x + y = 0 stretched along x has the normal (1/2, 1, 0), not (2, 1, 0).
    glNormal3f(0.70710678f, 0.70710678f, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 0, 1);
    glVertex3f(1, -1, 0);
    glEnd();
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 3; ++i) glVertex3f(float(i), float(i * i), 1);
    glEnd();
    const std::vector<capture::Triangle>& drawn = capture::Triangles();
    ASSERT_EQ(drawn.size(), 2u);
    const float* n = corner(drawn[0], 0).normal;
    EXPECT_NEAR(n[0], 1.0f / std::sqrt(5.0f), 1e-5f);
    EXPECT_NEAR(n[1], 2.0f / std::sqrt(5.0f), 1e-5f);
    EXPECT_FLOAT_EQ(corner(drawn[0], 2).colour[1], 0.25f);
    const std::vector<capture::Surface>& surfaces = capture::Surfaces();
    ASSERT_EQ(surfaces.size(), 2u);
    EXPECT_NE(drawn[0].surface, drawn[1].surface);
    EXPECT_EQ(surfaces[drawn[0].surface].specular[0], 1.0f);
    EXPECT_FALSE(surfaces[drawn[0].surface].ColourIsDiffuse());
    EXPECT_TRUE(surfaces[drawn[1].surface].ColourIsDiffuse());
    // Switched off, colour material leaves the last colour in the material.
    glDisable(GL_COLOR_MATERIAL);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 3; ++i) glVertex3f(float(i), float(i * i), 2);
    glEnd();
    EXPECT_FLOAT_EQ(surfaces[capture::Triangles().back().surface].diffuse[2], 1.0f);
}

TEST(Capture, TheShadowsFlatteningMatrixFlattensAndKeepsNormalsOnTheFrontSide) {
    capture::Reset();
    // Projection onto z = 0 along -z with w = 2: every point lands on the plane.
    const GLfloat flatten[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    glMultMatrixf(flatten);
    glBegin(GL_TRIANGLES);
    glNormal3f(0, 0.6f, 0.8f);
    glVertex3f(0, 0, 5);
    glVertex3f(4, 0, 5);
    glVertex3f(0, 4, 2);
    glEnd();
    ASSERT_EQ(capture::Triangles().size(), 1u);
    const capture::Triangle& t = capture::Triangles()[0];
    EXPECT_FLOAT_EQ(corner(t, 1).position[0], 4.0f) << "divided by w";
    for (int c = 0; c < 3; ++c) {
        const capture::Vertex& v = corner(t, c);
        EXPECT_FLOAT_EQ(v.position[2], 0.0f);
        EXPECT_NEAR(v.normal[2], 1.0f, 1e-6f);
    }
}

TEST(Capture, TheSphereHasGlutsDivisionsAndFacesOutwards) {
    for (int n : {3, 10, 13}) {
        capture::Reset();
        glTranslatef(5, 0, 0);
        glutSolidSphere(2.0, n, n + 1);
        const std::vector<capture::Triangle>& drawn = capture::Triangles();
        EXPECT_EQ(drawn.size(), static_cast<std::size_t>(2 * n * n));  // slices x (stacks - 1) x 2
        double area = 0.0;
        for (const capture::Triangle& t : drawn) {
            const float* a = corner(t, 0).position;
            const float* b = corner(t, 1).position;
            const float* c = corner(t, 2).position;
            const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const double w[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
            area += 0.5 * std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
            for (int k = 0; k < 3; ++k) {
                const capture::Vertex& x = corner(t, k);
                EXPECT_NEAR(std::hypot(x.position[0] - 5.0f, x.position[1], x.position[2]), 2.0, 1e-5);
                EXPECT_GT(w[0] * x.normal[0] + w[1] * x.normal[1] + w[2] * x.normal[2], 0.0) << "slices " << n;
            }
        }
        if (n == 13) {
            EXPECT_NEAR(area, 4 * M_PI * 4, 0.04 * 4 * M_PI * 4);
        }
    }
}

TEST(Capture, CountsWhatARealGLWouldRefuse) {
    struct Case {
        const char* what;
        void (*calls)();
        long capture::ProblemCounts::*kind;
        long expected;
        bool glError;  // OpenGL itself flags it (it takes non-finite numbers and deep nesting silently)
    };
    const Case cases[] = {
        {"not a number", [] { glTranslatef(NAN, 1, INFINITY); }, &capture::ProblemCounts::nonFinite, 2, false},
        {"sphere of infinite radius", [] { glutSolidSphere(INFINITY, 10, 10); }, &capture::ProblemCounts::nonFinite, 1, false},
        {"begin in begin", [] { glBegin(GL_QUADS); glBegin(GL_QUADS); glEnd(); },
         &capture::ProblemCounts::beginInsideBegin, 1, true},
        {"end alone", [] { glEnd(); }, &capture::ProblemCounts::endWithoutBegin, 1, true},
        {"push in begin", [] { glBegin(GL_QUADS); glPushMatrix(); glEnd(); },
         &capture::ProblemCounts::notAllowedInsideBegin, 1, true},
        {"pop of the last matrix", [] { glPopMatrix(); }, &capture::ProblemCounts::stackUnderflow, 1, true},
        {"32 pushes", [] { for (int i = 0; i < 32; ++i) glPushMatrix(); for (int i = 0; i < 31; ++i) glPopMatrix(); },
         &capture::ProblemCounts::stackOverflow, 1, true},
        {"list in list", [] { glNewList(glGenLists(1), GL_COMPILE); glNewList(glGenLists(1), GL_COMPILE); glEndList(); },
         &capture::ProblemCounts::newListInsideList, 1, true},
        {"end of no list", [] { glEndList(); }, &capture::ProblemCounts::endListWithoutList, 1, true},
        {"list 0", [] { glNewList(0, GL_COMPILE); }, &capture::ProblemCounts::invalidValue, 1, true},
        {"a list that calls itself", [] {
             const GLuint list = glGenLists(1);
             glNewList(list, GL_COMPILE);
             glCallList(list);
             glEndList();
             glCallList(list);
         }, &capture::ProblemCounts::nestingTooDeep, 1, false},
        {"a list that pops what it did not push", [] {
             const GLuint list = glGenLists(1);
             glNewList(list, GL_COMPILE);
             glPopMatrix();  // kept, not run
             glEndList();
             glCallList(list);
         }, &capture::ProblemCounts::stackUnderflow, 1, true},
    };
    for (const Case& c : cases) {
        capture::Reset();
        c.calls();
        const capture::ProblemCounts problems = capture::Problems();
        EXPECT_EQ(problems.*c.kind, c.expected) << c.what;
        // Refused values are the viewer's to pass on: counted, not misuse.
        EXPECT_EQ(problems.Total(), c.kind == &capture::ProblemCounts::invalidValue ? 0 : c.expected) << c.what;
        EXPECT_EQ(glGetError() != GL_NO_ERROR, c.glError) << c.what;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << c.what;
    }
    // What is left open counts too.
    capture::Reset();
    glPushMatrix();
    glBegin(GL_TRIANGLES);
    EXPECT_EQ(capture::Problems().openPrimitives, 1);
    EXPECT_EQ(capture::Problems().pushedMatrices, 1);
}

}  // namespace
