// Every data file a user can name gets one clear line and status 1, fast:
// directories, read errors, endless devices and pipes, empty files and
// noise. The viewer runs without a display, so a start that got as far as
// the window says so in freeglut's own words instead of drawing.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "CommandOutput.h"
#include "X11Harness.h"

namespace e2e {
namespace {

struct Outcome {
    int status = -1;
    std::string output;  // standard error and output together
    double seconds = 0;
};

// Runs the viewer in data/ through bash, so that cases can use pipes and
// process substitution; a viewer that hangs is ended after 20 seconds.
Outcome runViewer(const std::string& arguments) {
    const std::string command = "cd '" LOGO3D_SOURCE_DIR "/data' && env -u DISPLAY timeout 20 '" LOGO3D_BINARY
                                "' " + arguments + " 2>&1";
    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    const CommandOutput run = RunCommand("bash -c \"" + command + "\"");
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.status = run.status;
    outcome.output = run.text;
    return outcome;
}

TEST(DataFileTest, EveryNamedFileGetsOneClearLineAndStatusOne) {
    TemporaryDirectory files;
    ASSERT_FALSE(files.Path().empty());
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(files.Path() + "/" + name, std::ios::binary) << bytes;
        return files.Path() + "/" + name;
    };
    const std::string empty = write("empty", "");
    const std::string nul = write("nul", std::string(3000, '\0'));
    const std::string badUtf8 = write("utf8", "\xff\xfe\xc3\x28 1 2 3\n\x80\x80\n");
    std::string noiseBytes;
    for (unsigned i = 0, x = 12345; i < 20000; ++i) noiseBytes += static_cast<char>((x = x * 1103515245 + 12345) >> 16);
    const std::string noise = write("noise", noiseBytes);

    const std::string freeglut = "freeglut (" LOGO3D_BINARY "): failed to open display ''";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-e /", "cannot read environment file : / (is a directory)"},
        {"-f /", "cannot read font file : / (is a directory)"},
        {"-s /", "cannot read string file : / (is a directory)"},
        {"-e /proc/self/mem", "cannot read environment file : /proc/self/mem (Input/output error)"},
        {"-f /dev/zero", "cannot read font file : /dev/zero (larger than 4 MiB)"},
        {"-s /dev/stdin < /dev/zero", "cannot read string file : /dev/stdin (larger than 4 MiB)"},
        {"-e /dev/stdin < <(yes)", "cannot read environment file : /dev/stdin (larger than 4 MiB)"},
        {"-s absent.src", "cannot open string file : absent.src"},
        {"-e " + empty, "error occurs while loading environment file : " + empty},
        {"-s " + empty, "error occurs while loading string file : " + empty + ": text"},
        {"-e " + nul, "error occurs while loading environment file : " + nul},
        // One line of 499 zero bytes: too long a text line to keep.
        {"-s " + nul, "error occurs while loading string file : " + nul + ":1: text"},
        {"-e " + badUtf8, "error occurs while loading environment file : " + badUtf8},
        {"-s " + badUtf8, "error occurs while loading string file : " + badUtf8 + ":2: size table"},
        {"-s " + noise, "error occurs while loading string file : " + noise + ":80: size table"},
        // A font's content is never an error: the viewer goes on with what it read.
        {"-f " + noise, freeglut},
        {"-f " + nul, freeglut},
        // A pipe reads like a file.
        {"-s <(cat string.src) -e <(cat env.src)", freeglut},
    };
    for (const auto& [arguments, line] : cases) {
        const Outcome outcome = runViewer(arguments);
        EXPECT_EQ(outcome.status, 1) << arguments;
        EXPECT_EQ(outcome.output, line + "\n") << arguments;
        EXPECT_LT(outcome.seconds, 5.0) << arguments;
    }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// Help needs neither a display nor any data file, whatever else is given.
TEST(DataFileTest, HelpPrintsTheUsageWithoutWindowOrFiles) {
    TemporaryDirectory empty;
    ASSERT_FALSE(empty.Path().empty());
    for (const std::string arguments : {"--help", "-?", "-w 300 --help -f absent.src"}) {
        const CommandOutput run = RunCommand("cd '" + empty.Path() + "' && env -u DISPLAY '" LOGO3D_BINARY "' " +
                                             arguments + " 2>&1");
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_EQ(run.text.rfind("Usage: logo3d [options]\n", 0), 0u) << arguments << ": " << run.text;
        for (const char* mentioned : {"-s FILE", "string.src", "--no-watch", "Esc", "right drag"})
            EXPECT_NE(run.text.find(mentioned), std::string::npos) << mentioned;
    }
    // As the value of -s it is a file name like any other.
    const CommandOutput named = RunCommand("cd '" + empty.Path() + "' && '" LOGO3D_BINARY "' -s --help 2>&1");
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(named.text, "cannot open font file : font.src\n");
}

}  // namespace
}  // namespace e2e
