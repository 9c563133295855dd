#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <sstream>

#include "LogoTestSupport.h"
#include "Captured.h"
#include "text/LogoString.h"

namespace {

using logo_test::GlyphPlacement;
using logo_test::StringFile;

// The test font: A 12 wide, B 8, C 6, Z without strokes; space 20, line
// height 30, letter gap 4, line gap 6.
class LogoLayout : public ::testing::Test {
protected:
    void Load(const StringFile& file, const std::string& fontText = "") {
        if (fontText.empty()) {
            font = logo_test::LoadTestFont();
        } else {
            font = std::make_unique<StrokeFontCharacterSet>();
            std::istringstream in(fontText);
            font->Load(in);
        }
        ASSERT_EQ(logo_test::ReadString(logo, file.Text()), 0);
        capture::Reset();
        logo.Prepare(font.get());
    }

    std::vector<GlyphPlacement> DrawAndPlace() {
        logo.Draw();
        return logo_test::PlacedGlyphs(*font);
    }

    static StringFile Text(const std::string& block, const char* layout) {
        StringFile file;
        file.textBlock = block + "\n\\";
        file.layout = layout;
        return file;
    }

    std::unique_ptr<StrokeFontCharacterSet> font;
    LogoString logo;
};

struct Expected {
    char code;
    double x, y;
};

void ExpectPlacements(const std::vector<GlyphPlacement>& placed, const std::vector<Expected>& expected,
                      const std::string& what) {
    ASSERT_EQ(placed.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(placed[i].code, expected[i].code) << what << " #" << i;
        EXPECT_NEAR(placed[i].x, expected[i].x, 1e-4) << what << " #" << i;
        EXPECT_NEAR(placed[i].y, expected[i].y, 1e-4) << what << " #" << i;
    }
}

TEST_F(LogoLayout, CharactersAdvanceByTheirSpacingAndShareTheBaseline) {
    const struct {
        const char* what;
        std::string block;
        const char* layout;
        std::vector<Expected> expected;
    } cases[] = {
        // W = 2 B + A = 44: A at -W/2, B at -W/2 + B + A.
        {"fixed", "AB\n11\n00\n00", "0 0", {{'A', -22, -15}, {'B', 2, -15}}},
        // W = 12 + 4 + 8 = 24.
        {"proportional", "AB\n11\n00\n00", "0 1", {{'A', -12, -15}, {'B', 4, -15}}},
        // Size 2 for B: W = 20 + 4 + 40; B stands on the same baseline.
        {"sized", "AB\n12\n00\n00", "0 0", {{'A', -32, -15}, {'B', -8, -15}}},
        // A space advances by B + A; a code beyond the font takes no room.
        {"space and unknown code", "A aB\n1111\n0000\n0000", "0 0", {{'A', -34, -15}, {'B', 14, -15}}},
        // A glyph of no width ends the layout with proportional spacing.
        {"zero width", "AZB\n111\n000\n000", "0 1", {{'A', -(12 + 4 + 8 + 4 + 0) / 2.0, -15}}},
        // Lines after the first start at its left edge, one line lower.
        {"two lines", "AB\n11\n00\n00\nC\n1\n0\n0", "0 0", {{'A', -22, 3}, {'B', 2, 3}, {'C', -22, -33}}},
    };
    for (const auto& c : cases) {
        Load(Text(c.block, c.layout));
        ExpectPlacements(DrawAndPlace(), c.expected, c.what);
        EXPECT_TRUE(captured::SoundGL()) << c.what;
    }
}

TEST_F(LogoLayout, SizedGlyphsAreScaled) {
    Load(Text("AB\n12\n00\n00", "0 0"));
    const auto placed = DrawAndPlace();
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_NEAR(placed[0].modelview[0], 1.0, 1e-9);
    EXPECT_NEAR(placed[1].modelview[0], 2.0, 1e-9);
    EXPECT_NEAR(placed[1].modelview[5], 2.0, 1e-9);
}

// The tilt of a glyph about Z, from its model-view matrix, in degrees.
double TurnAboutZ(const GlyphPlacement& g) { return std::atan2(g.modelview[1], g.modelview[0]) * 180 / M_PI; }

TEST_F(LogoLayout, PathModesTurnCharactersButOnlyModeOneBendsTheBand) {
    for (int mode : {1, 3}) {
        StringFile file = Text("AB\n11\n00\n00", mode == 1 ? "1 0" : "3 0");
        file.decorations = "1 0 0 0 0 1\n0 0 0 0 0 1\n0 0 0 0 0 1\n0 0 0 0 0 1";
        file.characterMotion = "0 0 0\n0 10 0\n" + StringFile::ZeroLines(14);  // y offset 10 u
        Load(file);
        const auto placed = DrawAndPlace();
        ASSERT_EQ(placed.size(), 2u);
        const double turn = std::atan2(10.0, 44.0) * 180 / M_PI;
        for (const auto& g : placed) EXPECT_NEAR(TurnAboutZ(g), turn, 1e-3) << mode;

        // The band's vertices, station by station: those the logo list draws
        // itself, not its glyph lists.
        std::set<std::uint32_t> band;
        for (const capture::Triangle& t : capture::Triangles())
            if (t.innerList == static_cast<unsigned>(logo.logoList)) band.insert(t.vertices, t.vertices + 3);
        const std::vector<std::uint32_t> vertices(band.begin(), band.end());
        ASSERT_GE(vertices.size(), 4u);
        ASSERT_EQ(vertices.size() % 2, 0u);
        for (std::size_t i = 0; i < vertices.size(); i += 2) {
            const capture::Vertex& first = capture::Vertices()[vertices[i]];
            const capture::Vertex& second = capture::Vertices()[vertices[i + 1]];
            EXPECT_NEAR(second.position[1] - first.position[1], mode == 1 ? -36 * 44 / std::hypot(44.0, 10.0) : -36,
                        1e-3);
            if (mode == 1) EXPECT_GT(std::fabs(second.position[0] - first.position[0]), 1.0);
            else EXPECT_NEAR(second.position[0], first.position[0], 1e-5);
            EXPECT_NEAR(first.normal[2], 1.0, 1e-6);
            EXPECT_NEAR(second.normal[2], 1.0, 1e-6);
        }
    }
}

TEST_F(LogoLayout, PathModeTwoShearsInsteadOfTurning) {
    StringFile file = Text("AB\n11\n00\n00", "2 0");
    file.characterMotion = "0 0 0\n0 10 0\n" + StringFile::ZeroLines(14);
    Load(file);
    const auto placed = DrawAndPlace();
    ASSERT_EQ(placed.size(), 2u);
    // y gains (w / (s H)) tan(angle) x, and the glyph's x axis stays unrotated in length.
    const double shear = 20.0 / 30.0 * 10.0 / 44.0;
    for (const auto& g : placed) {
        EXPECT_NEAR(g.modelview[0], 1.0, 1e-6);
        EXPECT_NEAR(g.modelview[1], shear, 1e-5);
    }
}

TEST_F(LogoLayout, DrawFrameClampsTheAnimationTimeToOne) {
    StringFile file = Text("AB\n11\n00\n00", "0 0");
    file.animation = "4 0.5 0.5";
    file.logoMotion = "0 8 0\n" + StringFile::ZeroLines(11);
    Load(file);
    const struct {
        unsigned frame;
        double x;
    } cases[] = {{0, 0}, {2, 4}, {4, 8}, {5, 8}, {400, 8}};
    for (const auto& c : cases) {
        capture::Reset();
        logo.logoList = logo.shadowList = -1;
        logo.DrawFrame(c.frame);
        const auto& calls = capture::ListCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls[0].list, static_cast<unsigned>(logo.logoList));
        EXPECT_NEAR(calls[0].modelview[12], c.x, 1e-5) << c.frame;
    }
}

TEST_F(LogoLayout, DrawFrameTurnsTheShadowWithTheLogo) {
    StringFile file = Text("AB\n11\n00\n00", "0 0");
    file.shadow = "1 0 0\n0 -40 0\n0 1 0\n0 -1 0";
    file.logoMotion = StringFile::ZeroLines(7) + "\n0 90 0\n" + StringFile::ZeroLines(4);  // 90 t about Y
    file.animation = "2 0.5 0.5";
    Load(file);
    logo.DrawFrame(1);
    // Shadow list first, under the shadow matrix and then the motion.
    std::vector<capture::ListCall> calls;
    for (const capture::ListCall& call : capture::ListCalls())
        if (call.caller == 0) calls.push_back(call);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].list, static_cast<unsigned>(logo.shadowList));
    EXPECT_EQ(calls[1].list, static_cast<unsigned>(logo.logoList));
    // (0, 0, 10) turned 45 degrees about Y, then dropped onto y = -40.
    const Vector3 shadow = captured::Transformed(calls[0].modelview, Vector3(0, 0, 10));
    EXPECT_NEAR(shadow.x, 10 * M_SQRT1_2, 1e-4);
    EXPECT_NEAR(shadow.y, -40, 1e-4);
    EXPECT_NEAR(shadow.z, 10 * M_SQRT1_2, 1e-4);
    EXPECT_NEAR(calls[1].modelview[13], 0, 1e-9);  // the logo itself is not flattened
}

}  // namespace
