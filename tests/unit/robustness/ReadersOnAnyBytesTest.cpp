// The data files come from users' editors: every reader must take any bytes
// without reading out of bounds, hanging or letting a non-finite value reach
// GL. These tests feed the readers the default files with random damage
// (bytes changed, lines dropped or repeated, the file cut short) and plain
// noise; the sanitizer build turns any slip into a failure.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "RecordingGL.h"
#include "scene/DataLine.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

std::string dataFile(const std::string& name) {
    std::ifstream in(std::string(LOGO3D_SOURCE_DIR) + "/data/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Characters that matter to the readers, so damage is more than noise.
const char kInteresting[] = "0123456789.-+eE#\\ \t\r\nlpscdfx";

std::string damaged(std::string text, std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 4);
    const int changes = std::uniform_int_distribution<int>(1, 8)(random);
    for (int n = 0; n < changes && !text.empty(); ++n) {
        std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
        switch (kind(random)) {
            case 0: text[at(random)] = kInteresting[random() % (sizeof kInteresting - 1)]; break;
            case 1: text[at(random)] = static_cast<char>(random() & 0xff); break;
            case 2: text.erase(at(random), std::uniform_int_distribution<std::size_t>(1, 40)(random)); break;
            case 3: text.insert(at(random), std::to_string(std::uniform_real_distribution<double>(-1e9, 1e9)(random)));
                break;
            default: text.resize(at(random)); break;
        }
    }
    return text;
}

std::string noise(std::mt19937& random) {
    std::string text(std::uniform_int_distribution<std::size_t>(0, 3000)(random), ' ');
    for (char& c : text) c = static_cast<char>(random() & 0xff);
    return text;
}

bool allRecordedValuesFinite() {
    for (const gl_record::Call& call : gl_record::Calls())
        for (double value : call.args)
            if (!std::isfinite(value)) return false;
    return true;
}

// Enough rounds to hit every reader path; the whole-font compiles dominate
// the time, which the sanitizer build multiplies.
constexpr int kRounds = 60;
constexpr int kFontRounds = 6;
constexpr int kLogoRounds = 24;

// A font as cheap to compile as can be: the default header and one short
// stroke for every printable character, so the logo tests spend their time
// on the string file.
std::string cheapFont() {
    std::istringstream original(dataFile("font.src"));
    std::string text = readSignificantLine(original) + "\n";
    for (int code = 33; code < 127; ++code) text += std::string(1, static_cast<char>(code)) + " e 1 1 l 9 1 e\n";
    return text;
}

TEST(ReadersOnAnyBytes, EnvironmentReaderTakesDamagedFilesAndNoise) {
    std::mt19937 random(1);
    const std::string original = dataFile("env.src");
    for (int round = 0; round < kRounds; ++round) {
        for (const std::string& text : {damaged(original, random), noise(random)}) {
            Environment environment;
            std::istringstream in(text);
            environment.Read(in);
            gl_record::Reset();
            environment.ApplyLighting();
            environment.SetViewport(0, 0, 400, 400);
            environment.projection.Apply();
            EXPECT_EQ(gl_record::Errors(), 0);
        }
    }
}

TEST(ReadersOnAnyBytes, DamagedFontsLoadAndCompileEveryGlyph) {
    std::mt19937 random(2);
    const std::string original = dataFile("font.src");
    for (int round = 0; round < kFontRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        StrokeFontCharacterSet font;
        std::istringstream in(round % 4 == 3 ? noise(random) : damaged(original, random));
        font.Load(in);
        unsigned count = 0;
        const std::unique_ptr<float[]> widths = font.BuildWidthTable(count);
        for (unsigned code = 0; code < count; ++code) ASSERT_TRUE(std::isfinite(widths[code]));
        for (int code = 33; code < 127; ++code) {
            gl_record::Reset();
            font.DrawCode(static_cast<char>(code));
            ASSERT_TRUE(allRecordedValuesFinite()) << static_cast<char>(code);
            EXPECT_EQ(gl_record::Errors(), 0);
            EXPECT_EQ(gl_record::OpenPrimitives(), 0);
        }
    }
}

TEST(ReadersOnAnyBytes, DamagedStringFilesReadAndDrawFinitely) {
    std::mt19937 random(3);
    const std::string original = dataFile("string.src");
    StrokeFontCharacterSet font;
    std::istringstream fontIn(cheapFont());
    font.Load(fontIn);
    for (int round = 0; round < kLogoRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        LogoString logo;
        std::istringstream in(round % 4 == 3 ? noise(random) : damaged(original, random));
        if (logo.Read(in) != 0) continue;  // the viewer stops at a file that does not read
        gl_record::Reset();
        logo.Prepare(&font);
        logo.Draw();
        for (unsigned frame = 0; frame < std::min(logo.frameCount, 3u); ++frame) logo.DrawFrame(frame);
        EXPECT_TRUE(allRecordedValuesFinite());
        EXPECT_EQ(gl_record::Errors(), 0);
        EXPECT_EQ(gl_record::OpenPrimitives(), 0);
    }
    FacetLengthGlobal = 1.0f;
    ShadowPass = false;
}

}  // namespace
