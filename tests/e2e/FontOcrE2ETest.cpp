// Fonts read back by machine: lines of capitals, lower-case letters and
// figures are rendered flat and white on black by logo3d-render, turned dark
// on light, and read by tesseract. Each class must come back right to a
// font's required share, counted by edit distance over the characters
// (blanks aside, since word spaces are not what is measured): 95% for the
// default font, 90% for the Latin Hershey faces; the script face is read and
// reported without a bar. Each class is read in alphabet order,
// letter-spaced so that no neighbour helps a guess, and in pangrams.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandOutput.h"
#include "EditDistance.h"
#include "X11Harness.h"

namespace e2e {
namespace {

const std::string kEnvironment = LOGO3D_TEST_DATA "/ocr/env.src";

struct OcrFont {
    const char* name;
    const char* file;     // from the source directory
    double requiredRate;  // 0: read and reported only
};

void PrintTo(const OcrFont& font, std::ostream* out) { *out << font.name; }

const OcrFont kFonts[] = {
    {"default", "data/font.src", 0.95},
    {"futural", "fonts/hershey/futural.src", 0.90},
    {"rowmans", "fonts/hershey/rowmans.src", 0.90},
    {"timesr", "fonts/hershey/timesr.src", 0.90},
    {"scripts", "fonts/hershey/scripts.src", 0.0},
};

// Picture size and scale: capitals come out about 46 pixels high, and the
// longest line (a pangram in capitals) fits the width with room to spare.
const int kWidth = 1900;
const int kHeight = 110;
const char* const kScale = "1.25";

std::string shellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a shell command and returns what it printed; status gets its exit status.
std::string run(const std::string& command, int& status) {
    const CommandOutput result = RunCommand(command);
    status = result.status;
    return result.text;
}

std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        if (!std::isspace(c)) out += static_cast<char>(c);
    return out;
}

class FontOcrTest : public ::testing::TestWithParam<OcrFont> {
protected:
    static void SetUpTestSuite() {
        display = new VirtualDisplay(2000, 300);
        char pattern[] = "/tmp/logo3d-ocr-XXXXXX";
        const char* made = mkdtemp(pattern);
        directory = made != nullptr ? made : "";
    }
    static void TearDownTestSuite() {
        delete display;
        display = nullptr;
        if (!directory.empty()) std::system(("rm -rf " + shellQuoted(directory)).c_str());
    }

    void SetUp() override {
        ASSERT_TRUE(display->Started()) << "Xvfb did not start";
        ASSERT_FALSE(directory.empty()) << "no temporary directory";
        int status = 0;
        run("command -v tesseract convert", status);
        ASSERT_EQ(status, 0) << "tesseract or ImageMagick's convert is missing (scripts/install-deps)";
    }

    // Renders one line of text and returns what tesseract reads in it.
    std::string ReadBack(const std::string& text) {
        const std::string rendered = directory + "/line.png";
        const std::string negated = directory + "/line-negated.png";
        int status = 0;
        const std::string renderOutput =
            run("DISPLAY=" + display->Name() + " LIBGL_ALWAYS_SOFTWARE=1 " + shellQuoted(LOGO3D_RENDER) +
                    " -f " + shellQuoted(std::string(LOGO3D_SOURCE_DIR "/") + GetParam().file) + " -e " + shellQuoted(kEnvironment) + " --text " +
                    shellQuoted(text) + " -W " + std::to_string(kWidth) + " -H " + std::to_string(kHeight) +
                    " -r " + kScale + " -o " + shellQuoted(rendered) + " 2>&1",
                status);
        EXPECT_EQ(status, 0) << "logo3d-render failed: " << renderOutput;
        run("convert " + shellQuoted(rendered) + " -negate " + shellQuoted(negated) + " 2>&1", status);
        EXPECT_EQ(status, 0) << "convert could not negate " << rendered;
        std::string read = run("tesseract " + shellQuoted(negated) + " stdout --psm 7 2>/dev/null", status);
        EXPECT_EQ(status, 0) << "tesseract failed on " << negated;
        read.erase(std::remove(read.begin(), read.end(), '\f'), read.end());
        while (!read.empty() && std::isspace(static_cast<unsigned char>(read.back()))) read.pop_back();
        return read;
    }

    // Reads every line back and expects the share of characters recognised,
    // over all the lines of the class, to reach the required rate.
    void ExpectLegible(const std::string& what, const std::vector<std::string>& lines) {
        std::size_t characters = 0, errors = 0;
        for (const std::string& line : lines) {
            const std::string read = ReadBack(line);
            const std::string expected = withoutBlanks(line);
            const std::size_t distance = EditDistance(expected, withoutBlanks(read));
            characters += expected.size();
            errors += distance;
            std::cout << "  expected \"" << line << "\"\n  read     \"" << read << "\" (" << distance
                      << (distance == 1 ? " error)\n" : " errors)\n");
        }
        const std::size_t right = characters - std::min(errors, characters);
        const double rate = characters == 0 ? 0.0 : static_cast<double>(right) / characters;
        std::cout << "  " << GetParam().name << ", " << what << ": " << right << " of " << characters
                  << " characters, rate " << rate << std::endl;
        RecordProperty("rate", std::to_string(rate));
        if (GetParam().requiredRate > 0) {
            EXPECT_GE(rate, GetParam().requiredRate) << what << " are not read reliably";
        }
    }

    static VirtualDisplay* display;
    static std::string directory;
};

VirtualDisplay* FontOcrTest::display = nullptr;
std::string FontOcrTest::directory;

TEST_P(FontOcrTest, CapitalsReadBack) {
    ExpectLegible("capitals", {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z",
                               "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG", "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS"});
}

TEST_P(FontOcrTest, LowerCaseReadsBack) {
    ExpectLegible("lower case", {"abcdefghijklmnopqrstuvwxyz", "a b c d e f g h i j k l m n o p q r s t u v w x y z",
                                 "the quick brown fox jumps over the lazy dog", "pack my box with five dozen liquor jugs"});
}

TEST_P(FontOcrTest, FiguresReadBack) {
    ExpectLegible("figures", {"0123456789", "0 1 2 3 4 5 6 7 8 9", "9876543210", "3141592653 5897932384"});
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontOcrTest, ::testing::ValuesIn(kFonts),
                         [](const ::testing::TestParamInfo<OcrFont>& font) { return std::string(font.param.name); });

}  // namespace
}  // namespace e2e
