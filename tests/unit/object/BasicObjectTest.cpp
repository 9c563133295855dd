#include "object/BasicObject.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>

#include "MatrixTracker.h"
#include "RecordingGL.h"
#include "text/LogoString.h"

namespace {

// A primitive whose shape is one vertex at its position.
class PointObject : public BasicObject {
public:
    using BasicObject::BasicObject;
    void DrawShape() override { glVertex3f(position.x, position.y, position.z); }
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

std::array<double, 3> drawnVertex(BasicObject& object) {
    gl_record::Reset();
    object.Draw();
    const auto placed = gl_record::PlaceCalls(gl_record::Effective(), "glVertex3f");
    EXPECT_EQ(placed.size(), 1u);
    const auto& a = placed.at(0).call.args;
    return gl_record::TransformPoint(placed.at(0).modelview, a[0], a[1], a[2]);
}

TEST(BasicObject, DrawTurnsTheShapeAboutTheOrigin) {
    PointObject object(nullptr);
    object.position = Vector3(10, 0, 2);
    auto p = drawnVertex(object);
    EXPECT_NEAR(p[0], 10, 1e-9);
    EXPECT_NEAR(p[1], 0, 1e-9);
    EXPECT_NEAR(p[2], 2, 1e-9);

    object.angleZ = 90;
    p = drawnVertex(object);
    EXPECT_NEAR(p[0], 0, 1e-5);
    EXPECT_NEAR(p[1], 10, 1e-5);
    EXPECT_NEAR(p[2], 2, 1e-5);
    EXPECT_EQ(gl_record::Errors(), 0);
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
    const auto p = drawnVertex(object);
    EXPECT_NEAR(p[0], 0, 1e-5);
    EXPECT_NEAR(p[1], 10, 1e-5);
    EXPECT_NEAR(p[2], 0, 1e-5);
}

std::vector<double> diffuseOf(const Material& m) {
    return {m.diffuse.red, m.diffuse.green, m.diffuse.blue, m.diffuse.alpha};
}

TEST(BasicObject, DrawUsesTheOwnersTablesWithTheirFallbacks) {
    LogoString owner;
    Material red;
    red.diffuse = Color(1, 0, 0, 1);
    owner.materials = {red};
    owner.colours = {Color(0, 0.5f, 0, 1)};
    const struct {
        int material, colour;
        std::vector<double> diffuse, rgba;
    } cases[] = {
        {0, 0, diffuseOf(red), {0, 0.5, 0, 1}},
        {-1, -1, diffuseOf(DefaultMaterial), {1, 1, 1, 1}},
        {1, 7, diffuseOf(DefaultMaterial), {1, 1, 1, 1}},
        {-2147483647 - 1, 2147483647, diffuseOf(DefaultMaterial), {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        PointObject object(&owner);
        object.materialIndex = c.material;
        object.colourIndex = c.colour;
        gl_record::Reset();
        object.Draw();
        std::vector<double> diffuse;
        for (const auto& call : gl_record::EffectiveNamed("glMaterialfv"))
            if (call.args[0] == GL_FRONT && call.args[1] == GL_DIFFUSE)
                diffuse.assign(call.args.begin() + 2, call.args.end());
        EXPECT_EQ(diffuse, c.diffuse) << c.material;
        const auto colours = gl_record::EffectiveNamed("glColor4f");
        ASSERT_EQ(colours.size(), 1u);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(colours[0].args[i], c.rgba[i]) << c.colour;
    }
}

TEST(BasicObject, WithoutOwnerTheCurrentMaterialAndColourStay) {
    PointObject object(nullptr);
    gl_record::Reset();
    object.Draw();
    EXPECT_TRUE(gl_record::EffectiveNamed("glMaterialfv").empty());
    EXPECT_TRUE(gl_record::EffectiveNamed("glColor4f").empty());
}

TEST(BasicObject, KindsOutsideOneToNineGiveNoObject) {
    LogoString owner;
    for (int kind : {-1, 0, 10, 1000}) EXPECT_EQ(CreateBasicObject(kind, &owner), nullptr) << kind;
}

}  // namespace
