// The data files come from users' editors: every reader must take any bytes
// without reading out of bounds, hanging or letting a non-finite value reach
// GL. These tests feed the readers the default files with random damage
// (bytes changed, lines dropped or repeated, the file cut short) and plain
// noise; the sanitizer build turns any slip into a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include "DamagedFiles.h"
#include "Captured.h"
#include "scene/DataLine.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

using damaged_files::Damaged;
using damaged_files::DataFile;
using damaged_files::Noise;

// Enough rounds to hit every reader path; the whole-font compiles dominate
// the time, which the sanitizer build multiplies.
constexpr int kByteRounds = 60;
constexpr int kFontRounds = 6;
constexpr int kLogoRounds = 24;

// A font as cheap to compile as can be: the default header and one short
// stroke for every printable character, so the logo tests spend their time
// on the string file.
std::string cheapFont() {
    std::istringstream original(DataFile("font.src"));
    std::string text = readSignificantLine(original) + "\n";
    for (int code = 33; code < 127; ++code) text += std::string(1, static_cast<char>(code)) + " e 1 1 l 9 1 e\n";
    return text;
}

TEST(ReadersOnAnyBytes, EnvironmentReaderTakesDamagedFilesAndNoise) {
    std::mt19937 random(1);
    const std::string original = DataFile("env.src");
    for (int round = 0; round < kByteRounds; ++round) {
        for (const std::string& text : {Damaged(original, random), Noise(random)}) {
            Environment environment;
            std::istringstream in(text);
            environment.Read(in);
            capture::Reset();
            environment.ApplyLighting();
            environment.SetViewport(0, 0, 400, 400);
            environment.projection.Apply();
            EXPECT_TRUE(captured::SoundGL());
        }
    }
}

TEST(ReadersOnAnyBytes, DamagedFontsLoadAndCompileEveryGlyph) {
    std::mt19937 random(2);
    const std::string original = DataFile("font.src");
    for (int round = 0; round < kFontRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        StrokeFontCharacterSet font;
        std::istringstream in(round % 4 == 3 ? Noise(random) : Damaged(original, random));
        font.Load(in);
        unsigned count = 0;
        const std::unique_ptr<float[]> widths = font.BuildWidthTable(count);
        for (unsigned code = 0; code < count; ++code) ASSERT_TRUE(std::isfinite(widths[code]));
        for (int code = 33; code < 127; ++code) {
            capture::Reset();
            font.DrawCode(static_cast<char>(code));
            ASSERT_TRUE(captured::SoundGL()) << static_cast<char>(code);
        }
    }
}

TEST(ReadersOnAnyBytes, DamagedStringFilesReadAndDrawFinitely) {
    std::mt19937 random(3);
    const std::string original = DataFile("string.src");
    StrokeFontCharacterSet font;
    std::istringstream fontIn(cheapFont());
    font.Load(fontIn);
    for (int round = 0; round < kLogoRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        LogoString logo;
        std::istringstream in(round % 4 == 3 ? Noise(random) : Damaged(original, random));
        if (logo.Read(in) != 0) continue;  // the viewer stops at a file that does not read
        capture::Reset();
        logo.Prepare(&font);
        logo.Draw();
        for (unsigned frame = 0; frame < std::min(logo.frameCount, 3u); ++frame) logo.DrawFrame(frame);
        EXPECT_TRUE(captured::SoundGL());
    }
    FacetLengthGlobal = 1.0f;
    ShadowPass = false;
}

}  // namespace
