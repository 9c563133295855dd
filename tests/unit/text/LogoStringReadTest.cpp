#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogoTestSupport.h"
#include "text/LogoString.h"

namespace {

using logo_test::ReadString;
using logo_test::StringFile;

TEST(LogoStringRead, TextBlockJoinsLinesAndPadsOrCutsTheDigits) {
    LogoString logo;
    ASSERT_EQ(ReadString(logo, logo_test::DataFile("ab-c.src")), 0);
    EXPECT_EQ(logo.text, std::string("AB\rC"));
    EXPECT_EQ(logo.length, 4u);
    EXPECT_EQ(logo.lineCount, 2u);
    // The separator takes 5, 1 and 1; short lines are padded, long ones cut.
    EXPECT_EQ(logo.sizeDigits, (std::vector<int>{1, 2, 5, 3}));
    EXPECT_EQ(logo.materialDigits, (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(logo.colourDigits, (std::vector<int>{0, 1, 1, 2}));
    EXPECT_TRUE(logo.DroppedLines().empty());
}

TEST(LogoStringRead, SectionsAfterTheTextLandInTheirFields) {
    LogoString logo;
    ASSERT_EQ(ReadString(logo, logo_test::DataFile("ab-c.src")), 0);
    EXPECT_FLOAT_EQ(logo.sizeTable[0], 0.5f);
    EXPECT_FLOAT_EQ(logo.sizeTable[9], 9.0f);
    EXPECT_EQ(logo.band.enabled, 1);
    EXPECT_EQ(logo.band.colourIndexB, 1);
    EXPECT_FLOAT_EQ(logo.band.frequency, 2.0f);
    EXPECT_EQ(logo.underRule.colourMode, 1);
    EXPECT_EQ(logo.shadow.enabled, 1);
    EXPECT_EQ(logo.shadow.colourIndex, 1);
    EXPECT_FLOAT_EQ(logo.shadow.normal.y, 1.0f);  // normalised
    EXPECT_NEAR(logo.shadow.light.z, -0.7071068f, 1e-6f);
    EXPECT_EQ(logo.lineObject, nullptr);       // kind 0
    EXPECT_EQ(logo.characterObject, nullptr);  // kind 10
    EXPECT_EQ(logo.proportional, 1);
    EXPECT_EQ(logo.frameCount, 12u);
    EXPECT_FLOAT_EQ(logo.trailWeight, 0.6f);
    EXPECT_FLOAT_EQ(logo.trailRatio, 0.4f);
    EXPECT_EQ(logo.colourMaterialEnabled, 1);
    EXPECT_EQ(logo.colourMaterialMode, static_cast<GLenum>(GL_DIFFUSE));
    ASSERT_EQ(logo.materials.size(), 1u);
    EXPECT_FLOAT_EQ(logo.materials[0].diffuse.red, 0.7f);
    EXPECT_FLOAT_EQ(logo.materials[0].shininess, 40.0f);
    ASSERT_EQ(logo.colours.size(), 2u);
    EXPECT_FLOAT_EQ(logo.colours[1].blue, 1.0f);
}

TEST(LogoStringRead, MotionChannelsAreReadPolynomialsThenWaves) {
    StringFile file;
    file.characterMotion.clear();
    for (int i = 1; i <= 16; ++i) file.characterMotion += std::to_string(i) + " 0 0\n";
    file.logoMotion.clear();
    for (int i = 1; i <= 12; ++i) file.logoMotion += std::to_string(100 + i) + " 0 0\n";
    LogoString logo;
    ASSERT_EQ(ReadString(logo, file.Text()), 0);
    EXPECT_FLOAT_EQ(logo.offset[2].polynomial.a, 3);
    EXPECT_FLOAT_EQ(logo.offset[0].wave.amplitude, 4);
    EXPECT_FLOAT_EQ(logo.turn[0].polynomial.a, 7);
    EXPECT_FLOAT_EQ(logo.turn[2].wave.amplitude, 12);
    EXPECT_FLOAT_EQ(logo.riseShear.polynomial.a, 13);
    EXPECT_FLOAT_EQ(logo.slant.polynomial.a, 14);
    EXPECT_FLOAT_EQ(logo.riseShear.wave.amplitude, 15);
    EXPECT_FLOAT_EQ(logo.slant.wave.amplitude, 16);
    EXPECT_FLOAT_EQ(logo.logoShift[0].polynomial.a, 101);
    EXPECT_FLOAT_EQ(logo.logoShift[2].wave.amplitude, 106);
    EXPECT_FLOAT_EQ(logo.logoTurn[1].polynomial.a, 108);
    EXPECT_FLOAT_EQ(logo.logoTurn[2].wave.amplitude, 112);
}

TEST(LogoStringRead, AnimationValuesReplaceTheDefaultsOnlyWhenPositive) {
    const struct {
        const char* line;
        unsigned frames;
        float weight, ratio;
    } cases[] = {
        {"0 -1 0", 1, 0.5f, 0.5f},
        {"-3 0.2 2", 1, 0.2f, 2.0f},  // a negative count does not wrap to billions
        {"8 0.9 0.1", 8, 0.9f, 0.1f},
    };
    for (const auto& c : cases) {
        StringFile file;
        file.animation = c.line;
        LogoString logo;
        EXPECT_EQ(ReadString(logo, file.Text()), 0) << c.line;
        EXPECT_EQ(logo.frameCount, c.frames) << c.line;
        EXPECT_FLOAT_EQ(logo.trailWeight, c.weight) << c.line;
        EXPECT_FLOAT_EQ(logo.trailRatio, c.ratio) << c.line;
    }
}

TEST(LogoStringRead, TableCountsOutsideOneToNineReadOneEntry) {
    const std::string material = "0.1 0.1 0.1 1\n0.5 0.5 0.5 1\n0 0 0 1\n10\n0 0 0 1";
    const struct {
        const char* tables;
        std::size_t materials, colours;
        GLenum mode;
    } cases[] = {
        {"0 0 12 0", 1, 1, GL_AMBIENT},
        {"0 3 -1 2", 1, 2, GL_EMISSION},
        {"1 2 2 9", 2, 9, GL_SPECULAR},
        {"1 7 1 1", 1, 1, GL_AMBIENT_AND_DIFFUSE},
    };
    for (const auto& c : cases) {
        StringFile file;
        file.tables = c.tables;
        file.materials = c.materials == 2 ? material + "\n" + material : material;
        file.colours.clear();
        for (std::size_t i = 0; i < c.colours; ++i) file.colours += "0 0 " + std::to_string(i % 2) + " 1\n";
        LogoString logo;
        EXPECT_EQ(ReadString(logo, file.Text()), 0) << c.tables;
        EXPECT_EQ(logo.materials.size(), c.materials) << c.tables;
        EXPECT_EQ(logo.colours.size(), c.colours) << c.tables;
        EXPECT_EQ(logo.colourMaterialMode, c.mode) << c.tables;
    }
}

TEST(LogoStringRead, UnknownPrimitiveKindsGiveNoObjectAndNoError) {
    for (const char* line : {"0", "10 1 2 3", "-4 1 2 3 4 5 6 7 8 9 10 11"}) {
        StringFile file;
        file.lineObject = line;
        file.characterObject = line;
        LogoString logo;
        EXPECT_EQ(ReadString(logo, file.Text()), 0) << line;
        EXPECT_EQ(logo.lineObject, nullptr) << line;
        EXPECT_EQ(logo.characterObject, nullptr) << line;
    }
}

// A failure before either primitive or the colour tables ends the reading
// with 1; later failures are counted.
TEST(LogoStringRead, FailuresEndTheReadingOrAreCounted) {
    const struct {
        const char* what;
        void (*breakIt)(StringFile&);
        int result;
    } cases[] = {
        {"no text line", [](StringFile& f) { f.textBlock = "\\"; }, 1},
        {"size table short by eight", [](StringFile& f) { f.sizes = "1 2"; }, 1},
        {"band style", [](StringFile& f) { f.decorations = "1 0 0\n0 0 0 0 0 1\n0 0 0 0 0 1\n0 0 0 0 0 1"; }, 1},
        {"shadow normal", [](StringFile& f) { f.shadow = "0 0 0\n0 0 0\n0 x 0\n0 -1 0"; }, 1},
        {"primitive kind", [](StringFile& f) { f.lineObject = "x"; }, 1},
        {"character object kind", [](StringFile& f) { f.characterObject = "y"; }, 1},
        {"layout", [](StringFile& f) { f.layout = "1"; }, 1},
        {"frame count", [](StringFile& f) { f.animation = "x 0.5 0.5"; }, 1},
        {"logo motion", [](StringFile& f) { f.logoMotion = StringFile::ZeroLines(11) + "\n0"; }, 1},
        {"table counts", [](StringFile& f) { f.tables = "0 4"; }, 2},
        {"material colour", [](StringFile& f) { f.materials = "0.2 0.2\n0.8 0.8 0.8 1\n0 0 0 1\n0\n0 0 0 1"; }, 2},
        {"colour", [](StringFile& f) { f.colours = "1 1 1"; }, 1},
    };
    for (const auto& c : cases) {
        StringFile file;
        c.breakIt(file);
        LogoString logo;
        EXPECT_EQ(ReadString(logo, file.Text()), c.result) << c.what;
    }
}

TEST(LogoStringRead, TablesStopAtTheFirstFailure) {
    StringFile file;
    file.tables = "0 4 1 3";
    file.colours = "1 0 0 1\n0 1\n0 0 1 1";
    LogoString logo;
    EXPECT_EQ(ReadString(logo, file.Text()), 2);
    EXPECT_EQ(logo.colours.size(), 1u);
}

TEST(LogoStringRead, AnOverflowingLineIsDroppedWithItsDigitLines) {
    LogoString logo;
    ASSERT_EQ(ReadString(logo, logo_test::DataFile("overflow.src")), 0);
    EXPECT_EQ(logo.text, "AB");
    EXPECT_EQ(logo.lineCount, 1u);
    ASSERT_EQ(logo.DroppedLines().size(), 2u);
    EXPECT_EQ(logo.DroppedLines()[0].size(), 497u);
    EXPECT_EQ(logo.DroppedLines()[1], "C");
    // What follows the block is read as written.
    EXPECT_FLOAT_EQ(logo.sizeTable[3], 2.0f);
    EXPECT_EQ(logo.pathMode, 1);
    EXPECT_EQ(logo.frameCount, 7u);
    ASSERT_EQ(logo.colours.size(), 1u);
    EXPECT_FLOAT_EQ(logo.colours[0].green, 0.5f);
}

TEST(LogoStringRead, TheTextStaysBelowFiveHundredCharacters) {
    const struct {
        std::size_t secondLength;
        bool kept;
    } cases[] = {{496, true}, {497, false}};
    for (const auto& c : cases) {
        StringFile file;
        file.textBlock = "AB\n1\n1\n1\n" + std::string(c.secondLength, 'A') + "\n1\n1\n1\n\\";
        LogoString logo;
        EXPECT_EQ(ReadString(logo, file.Text()), 0);
        EXPECT_EQ(logo.length, c.kept ? 3 + c.secondLength : 2u);
        EXPECT_EQ(logo.sizeDigits.size(), logo.length);
        EXPECT_EQ(logo.DroppedLines().size(), c.kept ? 0u : 1u);
    }
}

TEST(LogoStringRead, FirstLineTooLongLeavesNoText) {
    StringFile file;
    file.textBlock = std::string(499, 'A') + "\n1\n1\n1\n\\";
    LogoString logo;
    EXPECT_EQ(ReadString(logo, file.Text()), 1);
    EXPECT_EQ(logo.DroppedLines().size(), 1u);
}

TEST(LogoStringRead, TextLinesCannotBeginWithAHash) {
    StringFile file;
    file.textBlock = "#AB\n A#\n11\n22\n33\n\\";
    LogoString logo;
    ASSERT_EQ(ReadString(logo, file.Text()), 0);
    EXPECT_EQ(logo.text, " A#");
    EXPECT_EQ(logo.sizeDigits, (std::vector<int>{1, 1, 5}));
}

TEST(LogoStringRead, DigitsOutsideZeroToNineFallBack) {
    StringFile file;
    file.textBlock = "ABCD\n0x-9\n0x-\n0 :\n\\";
    file.sizes = "2 2 2 2 2 2 2 2 2 7";
    file.tables = "0 4 1 1";
    LogoString logo;
    ASSERT_EQ(ReadString(logo, file.Text()), 0);
    EXPECT_EQ(logo.sizeDigits[1], 'x' - '0');
    EXPECT_EQ(logo.sizeDigits[2], '-' - '0');  // negative
    const float expectedSizes[] = {2, 1, 1, 7};
    for (unsigned i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(logo.SizeFactor(i), expectedSizes[i]) << i;
    EXPECT_FLOAT_EQ(logo.SizeFactor(4), 1.0f);
    EXPECT_FLOAT_EQ(logo.SizeFactor(4000000000u), 1.0f);
    EXPECT_EQ(&logo.MaterialAt(logo.MaterialDigit(0)), &logo.materials[0]);
    for (unsigned i = 1; i < 5; ++i) EXPECT_EQ(&logo.MaterialAt(logo.MaterialDigit(i)), &DefaultMaterial) << i;
    EXPECT_EQ(&logo.ColourAt(logo.ColourDigit(0)), &logo.colours[0]);
    for (unsigned i = 1; i < 5; ++i) EXPECT_EQ(&logo.ColourAt(logo.ColourDigit(i)), &DefaultColor) << i;
}

TEST(LogoStringRead, TheShadowPassLooksUpTheShadowsEntries) {
    LogoString logo;
    logo.materials.resize(3);
    logo.colours.resize(3);
    logo.shadow.materialIndex = 2;
    logo.shadow.colourIndex = -5;
    ShadowPass = true;
    const Material* material = &logo.MaterialAt(0);
    const Color* colour = &logo.ColourAt(0);
    ShadowPass = false;
    EXPECT_EQ(material, &logo.materials[2]);
    EXPECT_EQ(colour, &DefaultColor);
    EXPECT_EQ(&logo.MaterialAt(0), &logo.materials[0]);
}

}  // namespace
