// The default logo in data/ as a user sees it: centred, in its colours, with
// its shadow; and what the mouse and the accumulation modes do to it.

#include <fstream>
#include <sstream>

#include "ViewerFixture.h"

namespace e2e {
namespace {

const std::string kData = LOGO3D_SOURCE_DIR "/data";

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A private copy of the default data files, with string.src edited.
class DataCopy {
public:
    explicit DataCopy(const std::string& stringFile) {
        for (const char* name : {"font.src", "env.src"}) write(name, fileText(kData + "/" + name));
        write("string.src", stringFile);
    }
    const std::string& Path() const { return directory.Path(); }

private:
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(Path() + "/" + name) << text;
    }
    TemporaryDirectory directory;
};

// The default string file with its shadow switched off.
std::string withoutShadow() {
    std::string text = fileText(kData + "/string.src");
    const std::string marker = "# enabled, material, colour\n1 ";
    const std::size_t at = text.find(marker);
    if (at != std::string::npos) text[at + marker.size() - 2] = '0';
    return text;
}

Rgb clearColour() {
    // The default environment's first significant line.
    std::istringstream lines(fileText(kData + "/env.src"));
    std::string line;
    while (std::getline(lines, line) && (line.empty() || line[0] == '#')) {
    }
    std::istringstream values(line);
    float r = 0, g = 0, b = 0;
    values >> r >> g >> b;
    return FromUnit(r, g, b);
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
};

Box notBackground(const Image& image, const Rgb& background) {
    Box box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (Near(image.At(x, y), background, 3)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
            ++box.count;
        }
    return box;
}

int differingPixels(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) count += Near(a.pixels[i], b.pixels[i], 3) ? 0 : 1;
    return count;
}

TEST_F(ViewerTest, DefaultLogoIsCentredInItsColoursWithItsShadow) {
    const Rgb background = clearColour();
    DataCopy plain(withoutShadow());
    std::optional<ViewerWindow> window = StartAndFindWindow({}, plain.Path());
    ASSERT_TRUE(window);
    const Image withoutShadowPicture = window->CaptureDrawnFrame(background);
    const Box logo = notBackground(withoutShadowPicture, background);
    ASSERT_GT(logo.count, 1000);
    EXPECT_NEAR((logo.left + logo.right) / 2.0, 200, 20);
    EXPECT_NEAR((logo.top + logo.bottom) / 2.0, 200, 20);

    // The file's golden letters and its deep blue band, lit.
    int golden = 0, blue = 0;
    for (const Rgb& p : withoutShadowPicture.pixels) {
        golden += (p.red > 180 && p.green > 120 && p.blue < 110) ? 1 : 0;
        blue += (p.blue > p.red + 60 && p.blue > 90) ? 1 : 0;
    }
    EXPECT_GT(golden, 200);
    EXPECT_GT(blue, 2000);

    viewer->Kill();
    display = NewDisplay();
    std::optional<ViewerWindow> shadowed = StartAndFindWindow({}, kData);
    ASSERT_TRUE(shadowed);
    const Image withShadow = shadowed->CaptureDrawnFrame(background);
    // The shadow falls below and to the right of the logo, outside it.
    int shadowPixels = 0;
    for (int y = 0; y < withShadow.height; ++y)
        for (int x = 0; x < withShadow.width; ++x) {
            const bool wasBackground = Near(withoutShadowPicture.At(x, y), background, 3);
            const Rgb p = withShadow.At(x, y);
            if (wasBackground && !Near(p, background, 3) && p.red < background.red) {
                EXPECT_GT(y, logo.top) << x << ',' << y;
                ++shadowPixels;
            }
        }
    EXPECT_GT(shadowPixels, 1000);
}

TEST_F(ViewerTest, MalformedStringFileIsNamedAndEndsWithStatusOne) {
    DataCopy broken("ONLY A TEXT LINE\n");
    ViewerProcess& process = Start({}, broken.Path());
    EXPECT_EQ(process.WaitForExit(10.0), std::optional<int>(1));
    // The size table should follow the text and its digit lines.
    EXPECT_EQ(process.Stderr(), "error occurs while loading string file : string.src:1: size table\n");
}

TEST_F(ViewerTest, LeftDragTurnsTheLogoAndDraggingBackRestoresIt) {
    const Rgb background = clearColour();
    std::optional<ViewerWindow> window = StartAndFindWindow({}, kData);
    ASSERT_TRUE(window);
    const Image original = window->CaptureDrawnFrame(background);
    // 100 pixels of a 400-pixel window: a quarter turn about y.
    window->Drag(1, 150, 200, 250, 200);
    const Image turned = window->CaptureWhen([&](const Image& shot) { return differingPixels(shot, original) > 2000; });
    EXPECT_GT(differingPixels(turned, original), 2000);
    window->Drag(1, 250, 200, 150, 200);
    const Image back = window->CaptureWhen([&](const Image& shot) { return differingPixels(shot, original) == 0; });
    EXPECT_EQ(differingPixels(back, original), 0);
}

TEST_F(ViewerTest, AntialiasingSoftensEdgesAndKeepsTheBackground) {
    const Rgb background = clearColour();
    std::optional<ViewerWindow> window = StartAndFindWindow({}, kData, true);
    ASSERT_TRUE(window);
    const Image sharp = window->CaptureDrawnFrame(background);
    window->Type('a');
    const Image smooth = window->CaptureWhen([&](const Image& shot) { return differingPixels(shot, sharp) > 200; });
    const int changed = differingPixels(smooth, sharp);
    EXPECT_GT(changed, 200);
    // Only edges change: far fewer pixels than the logo covers.
    EXPECT_LT(changed, notBackground(sharp, background).count / 2);
    for (int x : {0, 399})
        for (int y : {0, 399}) EXPECT_TRUE(Near(smooth.At(x, y), background)) << x << ',' << y;
    // Edge pixels take in-between colours the sharp picture does not have.
    int blended = 0;
    for (std::size_t i = 0; i < sharp.pixels.size(); ++i)
        if (Near(sharp.pixels[i], background, 3) && !Near(smooth.pixels[i], background, 3)) ++blended;
    EXPECT_GT(blended, 50);
}

TEST_F(ViewerTest, TrailModeLeavesAFadingTrail) {
    const Rgb background = clearColour();
    std::optional<ViewerWindow> window = StartAndFindWindow({}, kData, true);
    ASSERT_TRUE(window);
    const Image still = window->CaptureDrawnFrame(background);
    window->Type('m');
    const Image trail = window->CaptureWhen([&](const Image& shot) { return differingPixels(shot, still) > 500; });
    EXPECT_GT(differingPixels(trail, still), 500);
    // The trail reaches where the still logo did not.
    EXPECT_GT(notBackground(trail, background).count, notBackground(still, background).count);
}

}  // namespace
}  // namespace e2e
