// The checker reads through the viewer's own readers, so it must call a file
// broken exactly when the viewer's reader does: over the damaged files and
// noise of the robustness tests, an error is reported if and only if the
// reader returns non-zero, and reading with a report changes no result.
// The files that ship load without a word.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "DamagedFiles.h"
#include "text/FileCheck.h"
#include "scene/DataLine.h"
#include "scene/Environment.h"
#include "text/FontWithHeader.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

using damaged_files::Damaged;
using damaged_files::DataFile;
using damaged_files::Noise;

constexpr int kRounds = 400;

bool hasError(const std::vector<Finding>& findings) { return FirstError(findings) != nullptr; }

std::string described(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings) text += FormatFinding("file", finding) + "\n";
    return text;
}

// The damaged texts of one data file, noise every fifth round. check
// returns whether the reader failed; both outcomes must be common, or the
// agreement would say little.
template <typename Check>
void overDamagedCopies(const std::string& name, unsigned seed, Check check) {
    std::mt19937 random(seed);
    const std::string original = DataFile(name);
    int failed = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = round % 5 == 4 ? Noise(random) : Damaged(original, random);
        SCOPED_TRACE(name + " round " + std::to_string(round));
        failed += check(text) ? 1 : 0;
    }
    EXPECT_GT(failed, kRounds / 4) << name;
    EXPECT_LT(failed, kRounds * 9 / 10) << name;
}

TEST(CheckerAgreement, EnvironmentErrorExactlyWhenTheReaderFails) {
    overDamagedCopies("env.src", 11, [](const std::string& text) {
        std::istringstream silent(text), reported(text);
        Environment plain, checked;
        FindingList findings;
        const int result = plain.Read(silent);
        EXPECT_EQ(checked.Read(reported, findings), result);
        EXPECT_EQ(hasError(CheckEnvironment(text)), result != 0) << described(findings.Findings());
        return result != 0;
    });
}

TEST(CheckerAgreement, StringFileErrorExactlyWhenTheReaderFails) {
    overDamagedCopies("string.src", 12, [](const std::string& text) {
        std::istringstream silent(text), reported(text);
        LogoString plain, checked;
        FindingList findings;
        const int result = plain.Read(silent);
        EXPECT_EQ(checked.Read(reported, findings), result);
        EXPECT_EQ(hasError(CheckStringFile(text, nullptr)), result != 0) << described(findings.Findings());
        return result != 0;
    });
}

// The viewer ignores the font's count, but the checker still agrees with it:
// every failure it counts is an error, except the empty read that the line
// end of the last line leaves.
TEST(CheckerAgreement, FontErrorExactlyWhenTheLoaderCountsAFailure) {
    overDamagedCopies("font.src", 13, [](const std::string& text) {
        std::istringstream silent(text), reported(text);
        StrokeFontCharacterSet plain, checked;
        FindingList findings;
        const int result = plain.Load(silent);
        EXPECT_EQ(checked.Load(reported, findings), result);
        const bool endsInLineEnd = plain.firstCharacter != nullptr && !text.empty() && text.back() == '\n';
        const bool failed = result - (endsInLineEnd ? 1 : 0) != 0;
        StrokeFontCharacterSet font;
        EXPECT_EQ(hasError(CheckFont(text, font)), failed) << described(findings.Findings());
        return failed;
    });
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CheckerAgreement, DefaultFilesGiveNoFindingAtAll) {
    StrokeFontCharacterSet font;
    EXPECT_EQ(described(CheckFont(DataFile("font.src"), font)), "");
    EXPECT_EQ(described(CheckEnvironment(DataFile("env.src"))), "");
    EXPECT_EQ(described(CheckStringFile(DataFile("string.src"), &font)), "");
}

// Every example, every font header variant over the default glyphs, and
// every font that ships, against the default font and environment.
TEST(CheckerAgreement, ShippedFilesGiveNoError) {
    namespace fs = std::filesystem;
    const fs::path source(LOGO3D_SOURCE_DIR);
    int files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source / "examples")) {
        const fs::path& path = entry.path();
        SCOPED_TRACE(path.string());
        std::vector<Finding> findings;
        StrokeFontCharacterSet font;
        std::istringstream glyphs(DataFile("font.src"));
        std::istringstream header(fileText(path));
        if (path.extension() == ".header")
            findings = CheckFont(FontWithHeader(glyphs, readSignificantLine(header)), font);
        else if (path.filename() == "font.src") findings = CheckFont(fileText(path), font);
        else if (path.filename() == "env.src") findings = CheckEnvironment(fileText(path));
        else if (path.filename() == "string.src") findings = CheckStringFile(fileText(path), nullptr);
        else continue;
        ++files;
        EXPECT_FALSE(hasError(findings)) << described(findings);
    }
    if (fs::is_directory(source / "fonts"))
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source / "fonts")) {
            if (entry.path().extension() != ".src") continue;
            SCOPED_TRACE(entry.path().string());
            StrokeFontCharacterSet font;
            const std::vector<Finding> findings = CheckFont(fileText(entry.path()), font);
            EXPECT_FALSE(hasError(findings)) << described(findings);
            ++files;
        }
    EXPECT_GT(files, 20);
}

}  // namespace
