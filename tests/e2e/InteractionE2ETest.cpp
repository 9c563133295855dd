// Keys typed into the real window.

#include <X11/keysym.h>

#include "ViewerFixture.h"

namespace e2e {
namespace {

TEST_F(ViewerTest, GrowKeyMakesTheWindow500By500) {
    std::optional<ViewerWindow> window = StartAndFindWindow({"-w", "400", "-h", "300"});
    ASSERT_TRUE(window);
    window->Type('e');
    EXPECT_TRUE(window->WaitForSize(500, 500));
}

TEST_F(ViewerTest, UpperCaseGrowKeyDoesNothing) {
    std::optional<ViewerWindow> window = StartAndFindWindow();
    ASSERT_TRUE(window);
    window->Type('E');
    window->Type('r');
    EXPECT_TRUE(window->WaitForSize(320, 320));
}

TEST_F(ViewerTest, EscapeEndsWithStatusOne) {
    std::optional<ViewerWindow> window = StartAndFindWindow();
    ASSERT_TRUE(window);
    window->PressKey(XK_Escape);
    EXPECT_EQ(viewer->WaitForExit(10.0), std::optional<int>(1));
}

// Every antialiasing pass clears to the background and the pass weights add
// up to one, so the accumulated background comes back unchanged.
TEST_F(ViewerTest, AntialiasingKeepsTheBackgroundColour) {
    std::optional<ViewerWindow> window = StartAndFindWindow({}, TestData(), true);
    ASSERT_TRUE(window);
    window->Type('a');
    // The shrink key after it proves the mode key was handled, and the
    // resized window is drawn by the accumulation display.
    window->Type('r');
    ASSERT_TRUE(window->WaitForSize(320, 320));
    const Rgb clear = FromUnit(0.2f, 0.4f, 0.6f);
    const Image image = window->CaptureWhen([&](const Image& shot) {
        return shot.width == 320 && Near(shot.At(319, 319), clear);
    });
    ASSERT_EQ(image.width, 320);
    for (const Rgb& pixel : image.pixels) {
        ASSERT_TRUE(Near(pixel, clear)) << pixel.red << ' ' << pixel.green << ' ' << pixel.blue;
    }
    EXPECT_TRUE(viewer->Running());
}

}  // namespace
}  // namespace e2e
