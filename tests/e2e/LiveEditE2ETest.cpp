// Live editing as a user does it: the viewer runs on a copy of data/, and an
// editor saves the string and environment files by renaming new versions
// over them.

#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "TextEdits.h"
#include "ViewerFixture.h"

namespace e2e {
namespace {

std::string dataText(const std::string& name) { return FileText(LOGO3D_SOURCE_DIR "/data/" + name); }

// As editors save: a new file beside the old one, renamed over it.
void saveByRename(const std::string& path, const std::string& text) {
    std::ofstream(path + ".new", std::ios::binary) << text;
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
}

struct InkColumns {
    int left = 1 << 30, right = -1;
    int Width() const { return right < left ? 0 : right - left + 1; }
};

// The columns where anything but the background shows.
InkColumns logoBox(const Image& image, const Rgb& clear) {
    InkColumns box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (!Near(image.At(x, y), clear, 24)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
            }
    return box;
}

double shareAlike(const Image& a, const Image& b) {
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 0.0;
    std::size_t alike = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) alike += Near(a.pixels[i], b.pixels[i], 8) ? 1 : 0;
    return static_cast<double>(alike) / static_cast<double>(a.pixels.size());
}

int errorLines(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find(": error: "); at != std::string::npos; at = text.find(": error: ", at + 1)) ++count;
    return count;
}

TEST_F(ViewerTest, SavedFilesShowInTheRunningViewer) {
    TemporaryDirectory copy;
    ASSERT_FALSE(copy.Path().empty());
    const std::string stringFile = copy.Path() + "/string.src", envFile = copy.Path() + "/env.src";
    for (const char* name : {"font.src", "env.src", "string.src"})
        std::ofstream(copy.Path() + "/" + name, std::ios::binary) << dataText(name);
    std::optional<ViewerWindow> window = StartAndFindWindow({}, copy.Path());
    ASSERT_TRUE(window);
    const Rgb clear = FromUnit(0.8f, 0.83f, 0.88f);
    const Image start = window->CaptureDrawnFrame(clear);

    // A turn from the keyboard, which every reload must keep.
    for (int i = 0; i < 5; ++i) window->PressKey(XK_Left);
    const Image turned = window->CaptureWhen([&](const Image& shot) { return shareAlike(shot, start) < 0.97; });
    ASSERT_LT(shareAlike(turned, start), 0.97) << "the arrow keys did not turn the logo";
    const int fullWidth = logoBox(turned, clear).Width();

    // A short text: within a second, a much narrower logo.
    const std::string original = dataText("string.src");
    const auto saved = std::chrono::steady_clock::now();
    const std::string twoLines =
        "Solid Type\n6555565555\n0000000000\n2000020000\n in motion\n5555555555\n2222222222\n6666666666\n";
    saveByRename(stringFile, Replaced(original, twoLines, "Hi\n55\n00\n20\n"));
    const Image shortText = window->CaptureWhen(
        [&](const Image& shot) { return logoBox(shot, clear).Width() < fullWidth / 2; }, 10.0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - saved).count();
    ASSERT_LT(logoBox(shortText, clear).Width(), fullWidth / 2) << "stderr: " << viewer->Stderr();
    EXPECT_LT(seconds, 1.0);
    std::cout << "the new text showed " << seconds << " s after the save\n";

    // A broken save: the checker's line, and the last good logo stays.
    saveByRename(stringFile, Replaced(original, "\n0 0 1\n", "\n0 0\n"));
    const std::string line = "string.src:53: error: shadow plane normal: expected 3 numbers, found 2";
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (viewer->Stderr().find(line) == std::string::npos && std::chrono::steady_clock::now() < end)
        window->Capture();
    EXPECT_NE(viewer->Stderr().find(line), std::string::npos) << viewer->Stderr();
    EXPECT_GT(shareAlike(window->Capture(), shortText), 0.99);

    // The fix: the original text again, turned as before.
    saveByRename(stringFile, original);
    const Image fixed = window->CaptureWhen([&](const Image& shot) { return shareAlike(shot, turned) > 0.99; }, 10.0);
    EXPECT_GT(shareAlike(fixed, turned), 0.99) << "stderr: " << viewer->Stderr();
    EXPECT_EQ(errorLines(viewer->Stderr()), 1) << viewer->Stderr();

    // A new background colour.
    const Rgb grey = FromUnit(0.3f, 0.3f, 0.3f);
    saveByRename(envFile, Replaced(dataText("env.src"), "0.8 0.83 0.88 1", "0.3 0.3 0.3 1"));
    const Image recoloured = window->CaptureWhen([&](const Image& shot) { return Near(shot.At(0, 0), grey); }, 10.0);
    EXPECT_TRUE(Near(recoloured.At(0, 0), grey));
    EXPECT_TRUE(viewer->Running());
}

TEST_F(ViewerTest, NoWatchKeepsTheFilesAsStarted) {
    TemporaryDirectory copy;
    ASSERT_FALSE(copy.Path().empty());
    for (const char* name : {"font.src", "env.src", "string.src"})
        std::ofstream(copy.Path() + "/" + name, std::ios::binary) << dataText(name);
    std::optional<ViewerWindow> window = StartAndFindWindow({"--no-watch"}, copy.Path());
    ASSERT_TRUE(window);
    const Rgb clear = FromUnit(0.8f, 0.83f, 0.88f);
    window->CaptureDrawnFrame(clear);
    saveByRename(copy.Path() + "/env.src", Replaced(dataText("env.src"), "0.8 0.83 0.88 1", "0.3 0.3 0.3 1"));
    // A watching viewer shows the change well within these two seconds.
    const Image later = window->CaptureWhen([&](const Image& shot) { return !Near(shot.At(0, 0), clear); }, 2.0);
    EXPECT_TRUE(Near(later.At(0, 0), clear));
}

}  // namespace
}  // namespace e2e
