#include "text/DataFileWarnings.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(DataFileWarnings, AtMostTwentyLinesThenACount) {
    const std::vector<std::size_t> counts = {0, 1, 20, 21, 95};
    for (std::size_t count : counts) {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < count; ++i) lines.push_back("string.src:" + std::to_string(i + 1) + ": warning: x");
        std::ostringstream out;
        PrintWarnings(lines, out);
        std::string expected;
        for (std::size_t i = 0; i < count && i < 20; ++i) expected += lines[i] + "\n";
        if (count > 20)
            expected += "... and " + std::to_string(count - 20) + " more warnings (logo3d-check lists them all)\n";
        EXPECT_EQ(out.str(), expected) << count;
    }
}

// A pipe or device is left to the loader, which alone can read it; a missing
// file too.
TEST(DataFileWarnings, OnlyRegularFilesAreReadForTheCheck) {
    const DataFileTexts texts = ReadDataFileTexts(LOGO3D_SOURCE_DIR "/data/font.src", "/dev/null", "absent.src");
    EXPECT_EQ(texts.fontFile, LOGO3D_SOURCE_DIR "/data/font.src");
    EXPECT_FALSE(texts.fontText.empty());
    EXPECT_EQ(texts.envFile, "");
    EXPECT_EQ(texts.stringFile, "");
}

}  // namespace
