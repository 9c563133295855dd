#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> scan(std::vector<std::string> words, ViewState& state) {
    words.insert(words.begin(), "logo3d");
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    return ScanCommandLine(static_cast<int>(argv.size()), argv.data(), state);
}

TEST(CommandLine, NoArgumentsKeepsTheDefaults) {
    ViewState state;
    EXPECT_TRUE(scan({}, state).empty());
    EXPECT_EQ(state.width, 400);
    EXPECT_EQ(state.height, 400);
    EXPECT_EQ(state.passes, 8u);
    EXPECT_EQ(state.scale, 1.0f);
    EXPECT_EQ(state.rotX, 0.0f);
    EXPECT_EQ(state.panX, 0.0f);
    EXPECT_EQ(state.fontFile, "font.src");
    EXPECT_EQ(state.envFile, "env.src");
    EXPECT_EQ(state.stringFile, "string.src");
}

struct FloatCase {
    std::vector<std::string> words;
    float ViewState::*field;
    float expected;
};

TEST(CommandLine, FloatOptionsSetTheirFields) {
    const std::vector<FloatCase> cases = {
        {{"-X", "10"}, &ViewState::rotX, 10.0f},
        {{"-Y", "-20.5"}, &ViewState::rotY, -20.5f},
        {{"-Z", "3e1"}, &ViewState::rotZ, 30.0f},
        {{"-x", "30", "-y", "-20"}, &ViewState::panX, 30.0f},
        {{"-x", "30", "-y", "-20"}, &ViewState::panY, -20.0f},
        {{"-r", "2.5"}, &ViewState::scale, 2.5f},
        {{"-a", "0.7"}, &ViewState::aaRadius, 0.7f},
        {{"-j", "1.5"}, &ViewState::jitterAngle, 1.5f},
        {{"-r", "  1.5abc"}, &ViewState::scale, 1.5f},
        {{"-r", "abc"}, &ViewState::scale, 0.0f},
        {{"-r", "2", "-r", "3"}, &ViewState::scale, 3.0f},
        {{"-R", "2"}, &ViewState::scale, 1.0f},
    };
    for (const FloatCase& c : cases) {
        ViewState state;
        scan(c.words, state);
        EXPECT_EQ(state.*c.field, c.expected) << c.words[0] << ' ' << c.words[1];
    }
}

struct SizeCase {
    std::vector<std::string> words;
    int width;
    int height;
};

TEST(CommandLine, WindowSizeOptions) {
    const std::vector<SizeCase> cases = {
        {{"-w", "300", "-h", "200"}, 300, 200},
        {{"-w"}, 400, 400},                        // last word: no value, nothing set
        {{"-h", "200", "-w"}, 400, 200},
        {{"-w", "wide"}, 0, 400},                   // no valid prefix
        {{"-w", "640px"}, 640, 400},
        {{"-w", "99999999999"}, 2147483647, 400},   // saturates instead of overflowing
        {{"-xy", "3", "-w", "500"}, 500, 400},      // three letters: both ignored
        {{"-z", "5", "-h", "300"}, 400, 300},       // unknown letter takes no value
        {{"--w", "300"}, 400, 400},
        {{"-", "300"}, 400, 400},
        {{"w", "300"}, 400, 400},
    };
    for (const SizeCase& c : cases) {
        ViewState state;
        scan(c.words, state);
        EXPECT_EQ(state.width, c.width) << c.words[0];
        EXPECT_EQ(state.height, c.height) << c.words[0];
    }
}

TEST(CommandLine, NegativeNumberIsAValueNotAnOption) {
    ViewState state;
    scan({"-x", "-w", "-h", "250"}, state);
    EXPECT_EQ(state.panX, 0.0f);  // "-w" converted as the value of -x
    EXPECT_EQ(state.width, 400);
    EXPECT_EQ(state.height, 250);
}

TEST(CommandLine, FileNamesOfAnyLength) {
    ViewState state;
    const std::string longName(1000, 'n');
    scan({"-f", "a.fnt", "-e", longName, "-s", "text file.src"}, state);
    EXPECT_EQ(state.fontFile, "a.fnt");
    EXPECT_EQ(state.envFile, longName);
    EXPECT_EQ(state.stringFile, "text file.src");
}

struct PassCase {
    std::string value;
    unsigned passes;
    bool noted;
};

TEST(CommandLine, PassCountStaysBetweenOneAndTheMaximum) {
    const std::vector<PassCase> cases = {
        {"3", 3, false},         {"0", 1, false},        {"1", 1, false},
        {"64", kMaxPasses, false}, {"65", kMaxPasses, true}, {"4000000000", kMaxPasses, true},
        {"-5", 1, true},         {"many", 1, false},
    };
    for (const PassCase& c : cases) {
        ViewState state;
        const std::vector<std::string> notes = scan({"-t", c.value}, state);
        EXPECT_EQ(state.passes, c.passes) << c.value;
        ASSERT_EQ(notes.size(), c.noted ? 1u : 0u) << c.value;
        if (c.noted) {
            EXPECT_NE(notes[0].find("-t " + c.value), std::string::npos) << notes[0];
        }
    }
}

}  // namespace

namespace {

// Values that are not finite read as 0, each with one note naming it; the
// other float options are untouched.
TEST(CommandLine, ValuesThatAreNotFiniteReadAsZeroWithANote) {
    const std::vector<FloatCase> cases = {
        {{"-r", "nan"}, &ViewState::scale, 0.0f},
        {{"-X", "nan"}, &ViewState::rotX, 0.0f},
        {{"-Y", "-inf"}, &ViewState::rotY, 0.0f},
        {{"-Z", "infinity"}, &ViewState::rotZ, 0.0f},
        {{"-x", "1e39"}, &ViewState::panX, 0.0f},
        {{"-y", "-1e39"}, &ViewState::panY, 0.0f},
        {{"-a", "NAN(1)"}, &ViewState::aaRadius, 0.0f},
        {{"-j", "1e400"}, &ViewState::jitterAngle, 0.0f},
    };
    for (const FloatCase& c : cases) {
        ViewState state;
        const std::vector<std::string> notes = scan(c.words, state);
        EXPECT_EQ(state.*c.field, c.expected) << c.words[0] << ' ' << c.words[1];
        ASSERT_EQ(notes.size(), 1u) << c.words[0] << ' ' << c.words[1];
        EXPECT_EQ(notes[0], c.words[0] + " " + c.words[1] + " : not a finite number, using 0");
    }
    ViewState state;
    EXPECT_TRUE(scan({"-r", "3.4e38", "-x", "-1e-45"}, state).empty());  // the largest and a tiny float are finite
}

TEST(CommandLine, WindowSizeIsKeptWithinItsLimit) {
    struct Case {
        int width, height, maxWidth, maxHeight, expectedWidth, expectedHeight;
        bool noted;
    };
    const std::vector<Case> cases = {
        {400, 400, 1024, 768, 400, 400, false},
        {1024, 768, 1024, 768, 1024, 768, false},
        {50000, 50000, 1024, 768, 1024, 768, true},
        {40000, 300, 1024, 768, 1024, 300, true},
        {300, 2147483647, 16384, 16384, 300, 16384, true},
        {50000, 50000, 0, 0, 50000, 50000, false},  // limit unknown: left alone
    };
    for (const Case& c : cases) {
        int width = c.width, height = c.height;
        const std::string note = FitWindowSize(width, height, c.maxWidth, c.maxHeight, "the screen");
        EXPECT_EQ(width, c.expectedWidth);
        EXPECT_EQ(height, c.expectedHeight);
        EXPECT_EQ(!note.empty(), c.noted) << note;
    }
    int width = 50000, height = 50000;
    EXPECT_EQ(FitWindowSize(width, height, 1024, 768, "the screen"),
              "-w/-h 50000 x 50000 : the window must fit the screen (1024 x 768), using 1024 x 768");
}

}  // namespace
