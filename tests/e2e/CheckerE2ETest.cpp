// logo3d-check as a user runs it: in a folder of data files, with no option
// or with -e, -f, -s and --quiet; its findings on standard output, one line
// each, and exit status 1 only for an error.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "CommandOutput.h"
#include "X11Harness.h"

namespace e2e {
namespace {

struct CheckerRun {
    int status = -1;
    std::string output;
};

CheckerRun runChecker(const std::string& directory, const std::string& arguments) {
    const std::string command = "cd '" + directory + "' && '" LOGO3D_CHECK "' " + arguments + " 2>&1";
    const CommandOutput run = RunCommand(command);
    return {run.status, run.text};
}

// Writes data/<name> to directory with its line `from` replaced by `to`;
// returns "name:line", where the line was.
std::string writeChanged(const std::string& directory, const std::string& name, const std::string& from,
                         const std::string& to) {
    std::ifstream in(LOGO3D_SOURCE_DIR "/data/" + name);
    std::ofstream out(directory + "/" + name);
    std::string line, place;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line == from && place.empty()) place = name + ":" + std::to_string(number);
        out << (line == from ? to : line) << '\n';
    }
    return place;
}

TEST(CheckerTest, DefaultFilesAreCleanAndDamagedOnesAreNamedByLine) {
    EXPECT_EQ(runChecker(LOGO3D_SOURCE_DIR "/data", "").output, "");
    EXPECT_EQ(runChecker(LOGO3D_SOURCE_DIR "/data", "").status, 0);

    TemporaryDirectory files("logo3d-check");
    ASSERT_FALSE(files.Path().empty());
    const std::string env = writeChanged(files.Path(), "env.src", "1.0 0.88 0.72 1", "1.0 2 0.72 1");
    const std::string font = writeChanged(files.Path(), "font.src", "3.25 4 8 1.375 2 1 0 1 0 14 30 7 22",
                                          "3.25 4 8 0.5 15 1 0 1 0 14 30 7 22");
    const std::string text = writeChanged(files.Path(), "string.src", "0 0 1", "0 1");
    const std::string error =
        text + ": error: shadow plane normal: expected 3 numbers, found 2 (\"0 1\"): z is missing\n";

    const CheckerRun all = runChecker(files.Path(), "");
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.output, font + ": warning: header: cap style 15 is outside 2..11 and becomes 2\n" + env +
                              ": warning: light 0 diffuse: green 2 is outside 0..1 and becomes 1.0\n" + error);
    const CheckerRun quiet = runChecker(files.Path(), "--quiet");
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.output, error);

    // Warnings alone pass; files are named as given.
    const CheckerRun warned = runChecker(files.Path(), "-s '" LOGO3D_SOURCE_DIR "/data/string.src' -e ./env.src");
    EXPECT_EQ(warned.status, 0);
    EXPECT_NE(warned.output.find("./" + env + ": warning: light 0 diffuse:"), std::string::npos) << warned.output;

    const CheckerRun missing = runChecker(files.Path(), "-s absent.src --quiet");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "cannot open string file : absent.src\n");
}

}  // namespace
}  // namespace e2e
