#include "object/BasicObject.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>

#include "Captured.h"
#include "text/LogoString.h"

namespace {

// A primitive whose shape is one small triangle with its first corner at
// its position.
class PointObject : public BasicObject {
public:
    using BasicObject::BasicObject;
    void DrawShape() override {
        glBegin(GL_TRIANGLES);
        glVertex3f(position.x, position.y, position.z);
        glVertex3f(position.x + 1, position.y, position.z);
        glVertex3f(position.x, position.y + 1, position.z);
        glEnd();
    }
};

int readAfterKind(BasicObject& object, const std::string& line) {
    std::istringstream in(line);
    int kind = 0;
    in >> kind;
    return object.Read(in);
}

TEST(BasicObject, ReadCountsTheValuesMissingFromTheLine) {
    const struct {
        const char* line;
        int failures;
    } cases[] = {
        {"5 1 2 3 4 5 6 7 8 9 10 11", 0},
        {"5 1 2 3 4 5 6 7 8 9", 2},  // both indexes missing
        {"5", 11},                   // only the kind
        {"5 1 2 x 4 5 6 7 8 9 10 11", 9},
    };
    for (const auto& c : cases) {
        PointObject object(nullptr);
        EXPECT_EQ(readAfterKind(object, c.line), c.failures) << c.line;
    }
}

TEST(BasicObject, WriteAfterReadReproducesTheLine) {
    PointObject object(nullptr);
    ASSERT_EQ(readAfterKind(object, "9 1.5 -2 0 40 8.25 3 0 90 -45 2 -1"), 0);
    std::ostringstream out;
    EXPECT_EQ(object.Write(out), 0);
    EXPECT_EQ(out.str(), " 1.5 -2 0 40 8.25 3 0 90 -45 2 -1\n");
}

// Where the object's position is drawn, and as what.
captured::Face drawnFace(BasicObject& object) {
    captured::Restart();
    object.Draw();
    EXPECT_TRUE(captured::SoundGL());
    const std::vector<captured::Face> faces = captured::Faces();
    EXPECT_EQ(faces.size(), 1u);
    return faces.at(0);
}

Vector3 drawnVertex(BasicObject& object) { return captured::Position(drawnFace(object).corners[0]); }

TEST(BasicObject, DrawTurnsTheShapeAboutTheOrigin) {
    PointObject object(nullptr);
    object.position = Vector3(10, 0, 2);
    Vector3 p = drawnVertex(object);
    EXPECT_NEAR(p.x, 10, 1e-9);
    EXPECT_NEAR(p.y, 0, 1e-9);
    EXPECT_NEAR(p.z, 2, 1e-9);

    object.angleZ = 90;
    p = drawnVertex(object);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.y, 10, 1e-5);
    EXPECT_NEAR(p.z, 2, 1e-5);
}

TEST(BasicObject, RotationsApplyZThenYThenX) {
    PointObject object(nullptr);
    object.position = Vector3(0, 10, 0);
    // The point turns about X first, then Y, then Z:
    // (0, 10, 0) -> (0, 0, 10) -> (10, 0, 0) -> (0, 10, 0).
    // The opposite order would end at (0, -10, 0).
    object.angleX = 90;
    object.angleY = 90;
    object.angleZ = 90;
    const Vector3 p = drawnVertex(object);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.y, 10, 1e-5);
    EXPECT_NEAR(p.z, 0, 1e-5);
}

std::vector<float> diffuseOf(const Material& m) {
    return {m.diffuse.red, m.diffuse.green, m.diffuse.blue, m.diffuse.alpha};
}

std::vector<float> diffuseOf(const captured::Face& face) {
    const float* d = capture::Surfaces().at(face.triangle.surface).diffuse;
    return {d[0], d[1], d[2], d[3]};
}

std::vector<float> colourOf(const captured::Face& face) {
    const float* c = face.corners[0].colour;
    return {c[0], c[1], c[2], c[3]};
}

TEST(BasicObject, DrawUsesTheOwnersTablesWithTheirFallbacks) {
    LogoString owner;
    Material red;
    red.diffuse = Color(1, 0, 0, 1);
    owner.materials = {red};
    owner.colours = {Color(0, 0.5f, 0, 1)};
    const struct {
        int material, colour;
        std::vector<float> diffuse, rgba;
    } cases[] = {
        {0, 0, diffuseOf(red), {0, 0.5f, 0, 1}},
        {-1, -1, diffuseOf(DefaultMaterial), {1, 1, 1, 1}},
        {1, 7, diffuseOf(DefaultMaterial), {1, 1, 1, 1}},
        {-2147483647 - 1, 2147483647, diffuseOf(DefaultMaterial), {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        PointObject object(&owner);
        object.materialIndex = c.material;
        object.colourIndex = c.colour;
        const captured::Face face = drawnFace(object);
        EXPECT_EQ(diffuseOf(face), c.diffuse) << c.material;
        EXPECT_EQ(colourOf(face), c.rgba) << c.colour;
    }
}

TEST(BasicObject, WithoutOwnerTheCurrentMaterialAndColourStay) {
    PointObject object(nullptr);
    captured::Restart();
    const GLfloat green[4] = {0, 0.75f, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, green);
    glColor4f(0.25f, 0.5f, 0.75f, 1);
    object.Draw();
    const std::vector<captured::Face> faces = captured::Faces();
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(diffuseOf(faces[0]), (std::vector<float>{0, 0.75f, 0, 1}));
    EXPECT_EQ(colourOf(faces[0]), (std::vector<float>{0.25f, 0.5f, 0.75f, 1}));
}

TEST(BasicObject, KindsOutsideOneToNineGiveNoObject) {
    LogoString owner;
    for (int kind : {-1, 0, 10, 1000}) EXPECT_EQ(CreateBasicObject(kind, &owner), nullptr) << kind;
}

}  // namespace
