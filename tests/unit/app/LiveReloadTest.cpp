// Reading the data files again while the viewer runs: fresh records first,
// the global ones replaced only when everything reads.

#include "app/LiveReload.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "AppTestSupport.h"
#include "TextEdits.h"
#include "app/Startup.h"

namespace {

// The default data files copied to a folder of their own and loaded into the
// global records, as the viewer does at start-up.
class LiveReload : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "logo3d-reload-XXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        directory = pattern;
        for (const char* name : {"font.src", "env.src", "string.src"})
            save(name, FileText(std::string(LOGO3D_SOURCE_DIR "/data/") + name));
        app_test::ResetProgram();
        viewState.fontFile = directory + "/font.src";
        viewState.envFile = directory + "/env.src";
        viewState.stringFile = directory + "/string.src";
        std::ostringstream errors;
        ASSERT_TRUE(LoadDataFiles(viewState, errors)) << errors.str();
        logoString.Prepare(&font);
        captured::Restart();
    }
    void TearDown() override {
        for (const char* name : {"font.src", "env.src", "string.src"}) std::remove((directory + "/" + name).c_str());
        rmdir(directory.c_str());
    }
    void save(const std::string& name, const std::string& text) {
        std::ofstream(directory + "/" + name, std::ios::binary) << text;
    }
    std::string original(const char* name) { return FileText(std::string(LOGO3D_SOURCE_DIR "/data/") + name); }

    std::string directory;
    std::ostringstream messages;
};

TEST_F(LiveReload, ANewTextReplacesTheLogoAndKeepsTheView) {
    viewState.rotZ = 30.0f;
    viewState.aaMode = true;
    save("string.src", Replaced(original("string.src"), "Solid Type\n6555565555", "Live Type\n655556555"));
    EXPECT_TRUE(ReloadDataFiles({false, false, true}, messages));
    EXPECT_EQ(messages.str(), "");
    EXPECT_EQ(logoString.text.substr(0, 9), "Live Type");
    EXPECT_EQ(logoString.font, &font);
    EXPECT_EQ(viewState.rotZ, 30.0f);
    EXPECT_TRUE(viewState.aaMode);
    EXPECT_EQ(captured::Names(captured::Calls()).back(), "glutPostRedisplay");
}

struct BrokenSave {
    const char* file;
    const char* what;
    std::string from, to;
    std::string line;  // what the reload says, after the file's name
};

// Whatever does not load leaves every record as it was and says, in the
// checker's words, where the first error is.
TEST_F(LiveReload, ASaveThatDoesNotLoadKeepsTheLastGoodLogo) {
    const std::vector<BrokenSave> cases = {
        {"string.src", "shadow normal", "\n0 0 1\n", "\n0 0\n",
         ":53: error: shadow plane normal: expected 3 numbers, found 2"},
        {"env.src", "clear colour", "0.8 0.83 0.88 1", "0.8 x", ":7: error: background colour: expected 4 numbers"},
        {"font.src", "header", "", "x", ":1: error: "},
    };
    for (const BrokenSave& c : cases) {
        const std::string before = logoString.text;
        const float clear = environment.clearColor.red;
        const StrokeCharacter* firstGlyph = font.firstCharacter;
        save(c.file, c.from.empty() ? c.to + original(c.file) : Replaced(original(c.file), c.from, c.to));
        messages.str("");
        DataFileChanges changes;
        changes.string = std::string(c.file) == "string.src";
        changes.environment = std::string(c.file) == "env.src";
        changes.font = std::string(c.file) == "font.src";
        EXPECT_FALSE(ReloadDataFiles(changes, messages)) << c.what;
        const std::string said = messages.str();
        EXPECT_EQ(said.rfind(directory + "/" + c.file + c.line, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(logoString.text, before) << c.what;
        EXPECT_EQ(environment.clearColor.red, clear) << c.what;
        EXPECT_EQ(font.firstCharacter, firstGlyph) << c.what;
        save(c.file, original(c.file));
    }
    std::remove((directory + "/string.src").c_str());
    messages.str("");
    EXPECT_FALSE(ReloadDataFiles({false, false, true}, messages));
    EXPECT_EQ(messages.str(), "cannot open string file : " + directory + "/string.src\n");
}

TEST_F(LiveReload, ANewEnvironmentIsAppliedWithTheProjection) {
    viewState.width = 300;
    viewState.height = 200;
    save("env.src", Replaced(original("env.src"), "0.8 0.83 0.88 1", "0.1 0.2 0.3 1"));
    EXPECT_TRUE(ReloadDataFiles({false, true, false}, messages)) << messages.str();
    EXPECT_FLOAT_EQ(environment.clearColor.blue, 0.3f);
    const capture::GLState state = capture::Current();
    EXPECT_EQ(std::vector<float>(state.clearColour, state.clearColour + 4), (std::vector<float>{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(std::vector<int>(state.viewport, state.viewport + 4), (std::vector<int>{0, 0, 300, 200}));
    EXPECT_TRUE(state.IsEnabled(GL_LIGHT0));
    EXPECT_FLOAT_EQ(state.projection[0], 2.0f / 300) << "the projection spans the window";
}

TEST_F(LiveReload, ANewFontIsBoundToTheLogo) {
    save("font.src", original("font.src"));
    EXPECT_TRUE(ReloadDataFiles({true, false, false}, messages)) << messages.str();
    EXPECT_NE(font.firstCharacter, nullptr);
    EXPECT_EQ(logoString.font, &font);
    EXPECT_GT(logoString.tableSize, 0u);
}

}  // namespace
