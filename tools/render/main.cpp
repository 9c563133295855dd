// logo3d-render: draws one frame exactly as the viewer would and writes it to
// a PNG, so logos, glyphs and section shapes can be looked at without a
// screen. Needs an X display (tools/render-headless provides a virtual one).

#include <GL/glut.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include "Animation.h"
#include "PngWriter.h"
#include "RenderOptions.h"
#include "SceneFiles.h"
#include "app/AccumDisplay.h"
#include "app/Display.h"
#include "app/Globals.h"
#include "scene/GuardedMain.h"
#include "app/Interaction.h"
#include "app/Startup.h"
#include "text/DataFileWarnings.h"
#include "text/FontWithHeader.h"

namespace {

bool loadFont(const RenderOptions& options) {
    if (options.fontHeader.empty()) return LoadFont(viewState.fontFile, font, std::cerr);
    std::string text;
    if (!ReadDataFileOrReport(viewState.fontFile, "font", text, std::cerr)) return false;
    std::istringstream in(text);
    std::istringstream replaced(FontWithHeader(in, options.fontHeader));
    font.Load(replaced);
    return true;
}

bool loadLogo(const RenderOptions& options) {
    if (options.text.empty()) return LoadLogoString(viewState.stringFile, logoString, std::cerr);
    std::istringstream in(StringFileForText(options.text));
    if (logoString.Read(in) == 0) return true;
    std::cerr << "cannot lay out the text : " << options.text << std::endl;
    return false;
}

// What the checker would warn of in the files this picture is made from.
void printWarnings(const RenderOptions& options) {
    DataFileTexts texts = ReadDataFileTexts(viewState.fontFile, viewState.envFile,
                                            options.text.empty() ? viewState.stringFile : std::string());
    if (!options.fontHeader.empty() && !texts.fontFile.empty()) {
        std::istringstream in(texts.fontText);
        texts.fontText = FontWithHeader(in, options.fontHeader);
    }
    PrintWarnings(CheckerWarnings(texts), std::cerr);
}

std::vector<unsigned char> readBackBuffer(int width, int height) {
    std::vector<unsigned char> bottomUp(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<unsigned char> topDown(bottomUp.size());
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(&bottomUp[static_cast<std::size_t>(height - 1 - y) * row], row, &topDown[y * row]);
    return topDown;
}

// Every frame of the whole-logo motion, as the trail mode steps it, to PNGs
// and on to the animated pictures asked for.
int renderAnimation(const RenderOptions& options) {
    namespace fs = std::filesystem;
    std::string directory = options.framesDirectory;
    std::string scratch;
    std::error_code error;
    if (directory.empty()) {
        scratch = (fs::temp_directory_path(error) / "logo3d-frames-XXXXXX").string();
        if (mkdtemp(&scratch[0]) == nullptr) {
            std::cerr << "cannot make a folder for the frames: " << scratch << std::endl;
            return 1;
        }
        directory = scratch;
    } else if (!fs::create_directories(directory, error) && error) {
        std::cerr << "cannot make the folder " << directory << ": " << error.message() << std::endl;
        return 1;
    }
    const unsigned count = logoString.frameCount > 0 ? logoString.frameCount : 1;
    std::string problem;
    for (unsigned k = 0; k < count && problem.empty(); ++k) {
        if (viewState.aaMode || viewState.jitterMode) accumulateMotionFrame(k);
        else renderMotionFrame(k);
        glFinish();
        problem = WritePng(FramePath(directory, k), viewState.width, viewState.height,
                           readBackBuffer(viewState.width, viewState.height));
    }
    if (problem.empty() && !options.gif.empty()) problem = WriteGif(directory, count, options.framesPerSecond, options.gif);
    if (problem.empty() && !options.apng.empty())
        problem = WriteApng(directory, count, options.framesPerSecond, options.apng);
    if (!scratch.empty()) fs::remove_all(scratch, error);
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    if (!options.framesDirectory.empty()) std::cout << count << " frames in " << options.framesDirectory << std::endl;
    if (!options.gif.empty()) std::cout << options.gif << std::endl;
    if (!options.apng.empty()) std::cout << options.apng << std::endl;
    return 0;
}

}  // namespace

int run(int argc, char** argv) {
    RenderOptions options = ParseRenderOptions(argc, argv);
    if (!options.ready) return options.exitCode;
    viewState = options.view;
    if (!options.quiet) printWarnings(options);
    if (!loadFont(options) || !LoadEnvironment(viewState.envFile, environment, std::cerr) || !loadLogo(options))
        return 1;

    OpenViewerWindow(argc > 0 ? argv[0] : nullptr);
    if (viewState.wireframe) {
        viewState.wireframe = false;
        keyboard(' ', 0, 0);
    }
    reshape(viewState.width, viewState.height);
    if (options.Animated()) return renderAnimation(options);
    if (viewState.aaMode || viewState.jitterMode || viewState.trailMode) accumulateView();
    else renderView();
    glFinish();

    const std::string problem = WritePng(options.output, viewState.width, viewState.height,
                                         readBackBuffer(viewState.width, viewState.height));
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    std::cout << options.output << std::endl;
    return 0;
}

int main(int argc, char** argv) {
    return RunGuarded("logo3d-render", [&] { return run(argc, argv); });
}
