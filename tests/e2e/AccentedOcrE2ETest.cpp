// Accented letters read back by machine: French and German words rendered
// in the default font, whose accented letters are composed of a base and its
// marks, must be read by tesseract (French and German models) right to at
// least 90% of their characters, counted by edit distance over code points.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "CommandOutput.h"
#include "EditDistance.h"
#include "X11Harness.h"

namespace e2e {
namespace {

std::string quoted(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The code points of UTF-8 text, blanks left out.
std::u32string characters(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code != U' ' && code != U'\n' && code != U'\f') out.push_back(code);
    }
    return out;
}

struct Language {
    const char* model;
    std::vector<std::string> lines;
};

TEST(AccentedOcr, FrenchAndGermanAccentsAreReadBack) {
    VirtualDisplay display(2000, 300);
    ASSERT_TRUE(display.Started()) << "Xvfb did not start";
    CommandOutput found = RunCommand("tesseract --list-langs 2>&1");
    ASSERT_NE(found.text.find("fra"), std::string::npos) << "tesseract-ocr-fra is missing (scripts/install-deps)";
    ASSERT_NE(found.text.find("deu"), std::string::npos) << "tesseract-ocr-deu is missing (scripts/install-deps)";
    char pattern[] = "/tmp/logo3d-accents-XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    const std::string directory = made;
    const std::vector<Language> languages = {
        {"fra", {"café crème brûlée", "élève à côté", "garçon naïf où", "déjà être français"}},
        {"deu", {"Zürich Bäckerei", "Größe Mädchen", "schön über müde", "Straße Öl Äpfel"}},
    };
    for (const Language& language : languages) {
        std::size_t total = 0, errors = 0;
        for (const std::string& line : language.lines) {
            const std::string picture = directory + "/line.png", negated = directory + "/negated.png";
            const CommandOutput rendered =
                RunCommand("DISPLAY=" + display.Name() + " LIBGL_ALWAYS_SOFTWARE=1 " + quoted(LOGO3D_RENDER) +
                           " -f " + quoted(LOGO3D_SOURCE_DIR "/data/font.src") + " -e " +
                           quoted(LOGO3D_TEST_DATA "/ocr/env.src") + " --text " + quoted(line) +
                           " -W 1900 -H 140 -r 1.25 -o " + quoted(picture) + " 2>&1");
            ASSERT_EQ(rendered.status, 0) << rendered.text;
            ASSERT_EQ(RunCommand("convert " + quoted(picture) + " -negate " + quoted(negated)).status, 0);
            const CommandOutput read = RunCommand("tesseract " + quoted(negated) + " stdout --psm 7 -l " +
                                                  language.model + " 2>/dev/null");
            const std::u32string expected = characters(line);
            const std::size_t distance = EditDistance(expected, characters(read.text));
            std::printf("%s: \"%s\" read as \"%s\" (%zu of %zu wrong)\n", language.model, line.c_str(),
                        read.text.c_str(), distance, expected.size());
            total += expected.size();
            errors += std::min(distance, expected.size());
        }
        const double rate = 1.0 - static_cast<double>(errors) / static_cast<double>(total);
        std::printf("%s: %.1f%% of the characters read right\n", language.model, rate * 100);
        EXPECT_GE(rate, 0.90) << language.model;
    }
    std::system(("rm -rf " + quoted(directory)).c_str());
}

}  // namespace
}  // namespace e2e
