#include "text/LogoDecorations.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "LogoTestSupport.h"
#include "Captured.h"
#include "stroke/Stroke.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"

namespace {

using logo_test::StringFile;

const char* kThreeColours = "1 0 0 1\n0 1 0 1\n0 0 1 1";
const char* kThreeMaterials =
    "0.1 0.1 0.1 1\n0.9 0 0 1\n0 0 0 1\n0\n0 0 0 1\n"
    "0.1 0.1 0.1 1\n0 0.9 0 1\n0 0 0 1\n0\n0 0 0 1\n"
    "0.1 0.1 0.1 1\n0 0 0.9 1\n0 0 0 1\n0\n0 0 0 1";

class LogoDecorations : public ::testing::Test {
protected:
    // Text AB (C on a second line when asked) with three materials and colours.
    void Load(StringFile file) {
        file.tables = "0 4 3 3";
        file.materials = kThreeMaterials;
        file.colours = kThreeColours;
        ASSERT_EQ(logo_test::ReadString(logo, file.Text()), 0);
        font = logo_test::LoadTestFont();
        logo.Prepare(font.get());
        captured::Restart();
    }

    static std::string Decorations(const char* band, const char* under, const char* over, const char* middle) {
        return std::string(band) + "\n" + under + "\n" + over + "\n" + middle;
    }

    // The colours set with glColor4f, in the order set.
    static std::vector<std::vector<double>> Colours() {
        std::vector<std::vector<double>> out;
        for (const capture::Call& c : captured::Calls("glColor4f")) out.push_back(c.args);
        return out;
    }

    static std::vector<double> ColourOf(const capture::Vertex& v) {
        return {v.colour[0], v.colour[1], v.colour[2], v.colour[3]};
    }

    std::unique_ptr<StrokeFontCharacterSet> font;
    LogoString logo;
};

const std::vector<double> kRed{1, 0, 0, 1}, kGreen{0, 1, 0, 1}, kBlue{0, 0, 1, 1};

TEST_F(LogoDecorations, RuleStationsRunAlongTheLineAndBlendTheColours) {
    StringFile file;
    file.decorations = Decorations("0 0 0 0 0 1", "1 0 0 0 1 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
    Load(file);
    // Width 10 with facet length 1: 6 steps, 7 stations.
    const auto stations = LineRuleStations(logo, 10, -18);
    ASSERT_EQ(stations.size(), 7u);
    for (std::size_t i = 0; i < stations.size(); ++i) {
        EXPECT_NEAR(stations[i].point.x, i * 10.0 / 6, 1e-5);
        EXPECT_NEAR(stations[i].point.y, -18, 1e-5);
        EXPECT_NEAR(stations[i].direction.x, 1, 1e-6);
        const double b = 0.5 * (1 - std::cos(M_PI * i / 6));
        EXPECT_NEAR(stations[i].colour.red, 1 - b, 1e-5);
        EXPECT_NEAR(stations[i].colour.green, b, 1e-5);
    }
}

TEST_F(LogoDecorations, RuleStationsFollowTheBentPathInPathModeOne) {
    StringFile file;
    file.layout = "1 0";
    file.characterMotion = "0 0 0\n0 10 0\n" + StringFile::ZeroLines(14);
    Load(file);
    const auto stations = LineRuleStations(logo, 10, 18);
    const Vector3 tangent = Normalized(Vector3(10, 10, 0));
    for (const auto& s : stations) {
        EXPECT_NEAR(s.direction.x, tangent.x, 1e-6);
        EXPECT_NEAR(s.direction.y, tangent.y, 1e-6);
    }
    // Station 3 of 6: x 5, offset 5 in y; the rule stands 18 across the path.
    EXPECT_NEAR(stations[3].point.x, 5 - 18 * tangent.y, 1e-4);
    EXPECT_NEAR(stations[3].point.y, 5 + 18 * tangent.x, 1e-4);
}

TEST_F(LogoDecorations, ALineRuleSetsItsMaterialOnceAndAColourPerStation) {
    StringFile file;
    file.decorations = Decorations("0 0 0 0 0 1", "0 0 0 0 0 1", "1 0 2 1 2 1", "0 0 0 0 0 1");
    Load(file);
    DrawLineRule(logo, 10, 18);
    EXPECT_EQ(captured::Calls("glMaterialfv").size(), 8u);
    EXPECT_EQ(captured::Calls("glMaterialf").size(), 2u);
    const auto colours = Colours();
    ASSERT_EQ(colours.size(), 7u);
    EXPECT_EQ(colours.front(), kGreen);
    EXPECT_EQ(colours.back(), kBlue);
    // The rod's first station is green and its last blue, caps included.
    const auto faces = captured::Faces();
    ASSERT_FALSE(faces.empty());
    EXPECT_EQ(ColourOf(faces.front().corners[0]), kGreen);
    EXPECT_EQ(ColourOf(faces.back().corners[0]), kBlue);
}

TEST_F(LogoDecorations, ACharacterRuleIsOneCappedStrokeInColourA) {
    StringFile file;
    file.decorations = Decorations("0 0 0 0 0 1", "1 0 1 2 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
    Load(file);
    const auto rod = MakeStraightRod(*font, -5, 5, -3);
    ASSERT_NE(rod->firstStroke, nullptr);
    EXPECT_EQ(rod->firstStroke, rod->lastStroke);
    EXPECT_EQ(rod->owner, font.get());
    EXPECT_EQ(rod->firstStroke->kind, 'l');
    EXPECT_FLOAT_EQ(rod->firstStroke->start.x, -5);
    EXPECT_FLOAT_EQ(rod->firstStroke->end.x, 5);
    EXPECT_FLOAT_EQ(rod->firstStroke->end.y, -3);
    EXPECT_EQ(rod->firstStroke->startCap, font->capStyle);
    EXPECT_EQ(rod->firstStroke->endCap, font->capStyle);

    DrawCharacterRule(logo, 10, -3);
    const auto faces = captured::Faces();
    ASSERT_FALSE(faces.empty());
    for (const captured::Face& face : faces)
        for (const capture::Vertex& corner : face.corners) ASSERT_EQ(ColourOf(corner), kBlue);
}

TEST_F(LogoDecorations, BandAndPlateColoursFollowTheColourMode) {
    const struct {
        int mode;
        std::vector<std::vector<double>> plate;  // corners from bottom left, anticlockwise
    } cases[] = {
        {0, {kRed, kGreen, kGreen, kRed}},
        {1, {kRed, kRed, kGreen, kGreen}},
        {2, {kRed, kGreen, kGreen, kGreen}},
    };
    for (const auto& c : cases) {
        StringFile file;
        const std::string band = std::to_string(c.mode) + " 0 0 1 1";
        file.decorations = Decorations(("1 " + band).c_str(), "0 0 0 0 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
        Load(file);
        DrawCharacterPlate(logo, 10, 20);
        const auto plates = captured::Primitives();
        ASSERT_EQ(plates.size(), 1u);
        EXPECT_EQ(plates[0].mode, unsigned(GL_POLYGON));
        // The corners from the bottom left, anticlockwise, 10 wide and 20 high.
        const Vector3 corners[4] = {{-5, -10, -1}, {5, -10, -1}, {5, 10, -1}, {-5, 10, -1}};
        ASSERT_EQ(plates[0].vertices.size(), 4u);
        for (int k = 0; k < 4; ++k) {
            const capture::Vertex& v = plates[0].vertices[k];
            EXPECT_LT(Length(captured::Position(v) - corners[k]), 1e-5f) << k;
            EXPECT_EQ(ColourOf(v), c.plate[k]) << c.mode << " corner " << k;
            EXPECT_LT(Length(captured::Normal(v) - UnitZ), 1e-6f);
        }

        captured::Restart();
        DrawLineBand(logo, 10, 20);
        const auto bands = captured::Primitives();
        ASSERT_EQ(bands.size(), 1u);
        std::vector<std::vector<double>> colours;
        for (const capture::Vertex& v : bands[0].vertices) colours.push_back(ColourOf(v));
        ASSERT_EQ(colours.size(), 14u) << c.mode;  // two vertices at each of 7 stations
        for (std::size_t i = 0; i < colours.size(); i += 2) {
            const double b = 0.5 * (1 - std::cos(M_PI * (i / 2) / 6));
            const std::vector<double> blend{1 - b, b, 0, 1};
            if (c.mode == 0) {
                for (int k = 0; k < 4; ++k) EXPECT_NEAR(colours[i][k], blend[k], 1e-6) << i;
                EXPECT_EQ(colours[i + 1], colours[i]);
            } else {
                EXPECT_EQ(colours[i], kRed);
                EXPECT_EQ(colours[i + 1], c.mode == 1 ? kGreen : kRed);
            }
        }
    }
}

TEST_F(LogoDecorations, TheBandStandsBehindTheLettersAndItsFirstEdgeOnTop) {
    StringFile file;
    file.decorations = Decorations("1 2 0 0 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
    Load(file);
    DrawLineBand(logo, 10, 20);
    const auto& vertices = capture::Vertices();
    ASSERT_EQ(vertices.size(), 14u);
    EXPECT_EQ(std::vector<float>(vertices[0].position, vertices[0].position + 3), (std::vector<float>{0, 10, -1}));
    EXPECT_EQ(std::vector<float>(vertices[1].position, vertices[1].position + 3), (std::vector<float>{0, -10, -1}));
    EXPECT_NEAR(vertices[13].position[0], 10, 1e-5);
    // Its front faces the viewer, as its normals do.
    for (const captured::Face& face : captured::Faces()) EXPECT_GT(face.Winding().z, 0.0f);
}

TEST_F(LogoDecorations, APathThatTurnsBackDoesNotFoldTheBand) {
    StringFile file;
    file.layout = "1 0";
    // A steep wave: the inner edge would run backwards at its crests.
    file.characterMotion = StringFile::ZeroLines(4) + "\n30 2 0\n" + StringFile::ZeroLines(11);
    file.decorations = Decorations("1 2 0 0 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
    Load(file);
    DrawLineBand(logo, 40, 36);
    const auto& vertices = capture::Vertices();
    const auto normals = captured::Calls("glNormal3f");
    ASSERT_EQ(vertices.size(), 2 * normals.size());
    for (std::size_t i = 2; i < vertices.size(); ++i) {
        // Each edge's step never points against that station's direction.
        const float* now = vertices[i].position;
        const float* before = vertices[i - 2].position;
        const float u = static_cast<float>(i / 2) / static_cast<float>(normals.size() - 1);
        const Vector3 t = Normalized(Vector3(40, logo.offset[1].Derivative(u), 0));
        EXPECT_GE((now[0] - before[0]) * t.x + (now[1] - before[1]) * t.y, -1e-4) << i;
    }
}

TEST_F(LogoDecorations, CharactersCarryTheDecorationsInPathModeZeroAndLinesOtherwise) {
    for (const char* layout : {"0 0", "1 0"}) {
        StringFile file;
        file.textBlock = "AB\n11\n00\n00\nC\n1\n0\n0\n\\";
        file.layout = layout;
        file.decorations = Decorations("1 0 0 0 1 1", "1 0 0 0 1 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
        Load(file);
        logo.Draw();
        // The primitives the logo list holds itself, beside its glyphs' lists.
        int plates = 0, bands = 0;
        for (const capture::Call& c : capture::CallLog()) {
            if (c.name != "glBegin" || c.compiling != static_cast<unsigned>(logo.logoList)) continue;
            plates += c.args[0] == GL_POLYGON;
            bands += c.args[0] == GL_QUAD_STRIP;
        }
        const bool flat = layout[0] == '0';
        EXPECT_EQ(plates, flat ? 3 : 0) << layout;
        EXPECT_EQ(bands, flat ? 0 : 2) << layout;
        EXPECT_TRUE(captured::SoundGL());
    }
}

TEST_F(LogoDecorations, TheShadowListUsesOnlyTheShadowsMaterialAndColour) {
    StringFile file;
    file.textBlock = "AB\n11\n01\n01\n\\";
    file.shadow = "1 2 2\n0 -40 0\n0 1 0\n0 -1 0";
    file.decorations = Decorations("1 0 0 0 1 1", "1 0 1 1 0 1", "0 0 0 0 0 1", "0 0 0 0 0 1");
    Load(file);
    logo.Draw();
    ASSERT_GT(logo.shadowList, 0);
    int shadowTriangles = 0;
    bool redInTheLogo = false;
    for (const captured::Face& face : captured::Faces()) {
        const capture::Surface& surface = capture::Surfaces().at(face.triangle.surface);
        if (face.triangle.list == static_cast<unsigned>(logo.logoList)) {
            for (const capture::Vertex& corner : face.corners) redInTheLogo |= ColourOf(corner) == kRed;
            continue;
        }
        ASSERT_EQ(face.triangle.list, static_cast<unsigned>(logo.shadowList));
        ++shadowTriangles;
        for (const capture::Vertex& corner : face.corners) ASSERT_EQ(ColourOf(corner), kBlue);
        ASSERT_FALSE(surface.colourMaterial);
        ASSERT_EQ(std::vector<float>(surface.diffuse, surface.diffuse + 4), (std::vector<float>{0, 0, 0.9f, 1}));
    }
    EXPECT_GT(shadowTriangles, 0);
    // The logo list keeps its own colours, and lookups afterwards their own indexes.
    EXPECT_TRUE(redInTheLogo);
    EXPECT_FALSE(ShadowPass);
    EXPECT_EQ(&logo.ColourAt(0), &logo.colours[0]);
}

// A primitive that marks where it is drawn and how wide it was asked to be:
// a triangle from its origin to its width along x.
class Marker : public BasicObject {
public:
    using BasicObject::BasicObject;
    void DrawShape() override {
        glBegin(GL_TRIANGLES);
        glVertex3f(0, 0, 0);
        glVertex3f(width, 0, 0);
        glVertex3f(0, 1, 0);
        glEnd();
    }
};

TEST_F(LogoDecorations, LineObjectsSitAtLineCentresAndCharacterObjectsOnCharacters) {
    StringFile file;
    file.textBlock = "AB\n11\n00\n00\nC\n1\n0\n0\n\\";
    file.layout = "0 1";
    Load(file);
    logo.lineObject = std::make_unique<Marker>(&logo);
    logo.characterObject = std::make_unique<Marker>(&logo);
    logo.lineObject->width = 1000;
    logo.Draw();
    // The logo list's own triangles, not those of the glyph lists it calls.
    std::vector<captured::Face> marks;
    for (const captured::Face& face : captured::Faces())
        if (face.triangle.innerList == static_cast<unsigned>(logo.logoList)) marks.push_back(face);
    // Line 1, A, B, line 2, C. Line 1 is 24 wide and centred; line 2 (6 wide)
    // starts at its left edge.
    const float expectedX[] = {0, -6, 8, -9, -9};
    const float widths[] = {1000, 16, 12, 1000, 10};
    ASSERT_EQ(marks.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(marks[i].corners[0].position[0], expectedX[i], 1e-5) << i;
        EXPECT_NEAR(marks[i].corners[1].position[0] - marks[i].corners[0].position[0], widths[i], 1e-4) << i;
    }
}

TEST_F(LogoDecorations, DegenerateLinesDrawNoNaN) {
    const char* header = "1 1 8 1 2 1 0 1 0 ";
    const struct {
        const char* what;
        std::string spacing;  // space, line height, letter gap, line gap
        const char* layout;
        std::string sizes;
    } cases[] = {
        {"line of no width", "20 30 -24 6", "1 1", "1 1 1 1 1 1 1 1 1 1"},
        {"line of no width, sheared", "20 30 -24 6", "2 1", "1 1 1 1 1 1 1 1 1 1"},
        {"no line height, sheared", "20 0 4 0", "2 1", "1 1 1 1 1 1 1 1 1 1"},
        {"size zero", "20 30 4 6", "2 0", "0 0 0 0 0 0 0 0 0 0"},
        {"no space, fixed", "0 30 4 6", "1 0", "1 1 1 1 1 1 1 1 1 1"},
    };
    for (const auto& c : cases) {
        StringFile file;
        file.textBlock = "AA\n11\n00\n00\nA A\n111\n000\n000\n\\";
        file.layout = c.layout;
        file.sizes = c.sizes;
        file.decorations = Decorations("1 0 0 0 1 1", "1 0 0 0 1 1", "1 0 0 0 1 1", "1 0 0 0 1 1");
        file.characterMotion = "0 0 0\n0 10 3\n0 2 0\n0 0 0\n5 2 30\n" + StringFile::ZeroLines(11);
        file.animation = "3 0.5 0.5";
        Load(file);
        auto fontWithSpacing = std::make_unique<StrokeFontCharacterSet>();
        std::istringstream in(header + c.spacing + "\nA f 0 0 l 10 0 f");
        fontWithSpacing->Load(in);
        font = std::move(fontWithSpacing);
        logo.Prepare(font.get());
        capture::Reset();
        logo.Draw();
        logo.frameCount = 0;
        logo.DrawFrame(0);
        logo.DrawFrame(2);
        EXPECT_TRUE(captured::SoundGL()) << c.what;
    }
}

}  // namespace

namespace {

TEST(DefaultLogo, ReadsAndDrawsCleanlyInTheDefaultFont) {
    std::ifstream in(std::string(LOGO3D_SOURCE_DIR) + "/data/string.src");
    ASSERT_TRUE(in.good());
    LogoString logo;
    ASSERT_EQ(logo.Read(in), 0);
    EXPECT_TRUE(logo.DroppedLines().empty());
    EXPECT_EQ(logo.lineCount, 2u);
    EXPECT_EQ(logo.shadow.enabled, 1);
    std::ifstream fontIn(std::string(LOGO3D_SOURCE_DIR) + "/data/font.src");
    StrokeFontCharacterSet font;
    font.Load(fontIn);
    logo.Prepare(&font);
    capture::Reset();
    logo.Draw();
    // Every character but spaces and line ends has a glyph, in the logo and its shadow.
    std::size_t glyphs = 0;
    for (char c : logo.text) glyphs += (c != ' ' && c != '\r') ? 1 : 0;
    EXPECT_EQ(logo_test::PlacedGlyphs(font).size(), 2 * glyphs);
    for (unsigned frame = 0; frame < logo.frameCount; ++frame) logo.DrawFrame(frame);
    EXPECT_TRUE(captured::SoundGL());
}

}  // namespace
