// The viewer's start-up as a user sees it: the window, its size and
// background, and the words and status of a start that fails.

#include "ViewerFixture.h"

namespace e2e {
namespace {

TEST_F(ViewerTest, OpensA400By400WindowWithItsTitle) {
    std::optional<ViewerWindow> window = StartAndFindWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->Title(), kTitle);
    int width = 0, height = 0;
    window->Size(width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 400);
}

TEST_F(ViewerTest, WindowSizeComesFromTheCommandLine) {
    std::optional<ViewerWindow> window = StartAndFindWindow({"-w", "300", "-h", "200"});
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->WaitForSize(300, 200));
}

TEST_F(ViewerTest, BackgroundIsTheEnvironmentClearColour) {
    std::optional<ViewerWindow> window = StartAndFindWindow();
    ASSERT_TRUE(window);
    const Rgb clear = FromUnit(0.2f, 0.4f, 0.6f);
    const Image image = window->CaptureWhen([&](const Image& shot) {
        return shot.width == 400 && Near(shot.At(0, 0), clear) && Near(shot.At(399, 399), clear);
    });
    ASSERT_EQ(image.width, 400);
    for (const Rgb& pixel : image.pixels) {
        ASSERT_TRUE(Near(pixel, clear)) << pixel.red << ' ' << pixel.green << ' ' << pixel.blue;
    }
}

TEST_F(ViewerTest, MissingEnvironmentFileIsNamedAndEndsWithStatusOne) {
    ViewerProcess& process = Start({"-e", "absent.env"});
    EXPECT_EQ(process.WaitForExit(10.0), std::optional<int>(1));
    EXPECT_EQ(process.Stderr(), "cannot open environment file : absent.env\n");
}

TEST_F(ViewerTest, MalformedEnvironmentFileGivesTheEnvironmentMessage) {
    ViewerProcess& process = Start({"-e", "env-malformed.src"});
    EXPECT_EQ(process.WaitForExit(10.0), std::optional<int>(1));
    EXPECT_EQ(process.Stderr(), "error occurs while loading environment file : env-malformed.src\n");
}

TEST_F(ViewerTest, MissingFontFileIsNamedAndEndsWithStatusOne) {
    ViewerProcess& process = Start({"-f", "absent.font"});
    EXPECT_EQ(process.WaitForExit(10.0), std::optional<int>(1));
    EXPECT_EQ(process.Stderr(), "cannot open font file : absent.font\n");
}

TEST_F(ViewerTest, BoundedPassCountIsMentionedOnce) {
    std::optional<ViewerWindow> window = StartAndFindWindow({"-t", "-5"});
    ASSERT_TRUE(window);
    EXPECT_EQ(viewer->Stderr(), "-t -5 : the pass count must lie between 1 and 64, using 1\n");
}

// A window larger than the screen used to crash inside the software GL.
TEST_F(ViewerTest, HugeWindowIsKeptWithinTheScreenWithANote) {
    std::optional<ViewerWindow> window = StartAndFindWindow({"-w", "50000", "-h", "50000", "-r", "nan"});
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->WaitForSize(1024, 768));
    EXPECT_EQ(viewer->Stderr(), "-r nan : not a finite number, using 0\n"
                                "-w/-h 50000 x 50000 : the window must fit the screen (1024 x 768), using 1024 x 768\n");
}

}  // namespace
}  // namespace e2e
