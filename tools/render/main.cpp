// logo3d-render: draws one frame exactly as the viewer would and writes it to
// a PNG, so logos, glyphs and section shapes can be looked at without a
// screen. Needs an X display (tools/render-headless provides a virtual one).

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include "Animation.h"
#include "FileWriting.h"
#include "PngWriter.h"
#include "RenderOptions.h"
#include "SceneFiles.h"
#include "app/AccumDisplay.h"
#include "app/Display.h"
#include "app/Globals.h"
#include "scene/GuardedMain.h"
#include "app/Interaction.h"
#include "app/Startup.h"
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
// and on to the animated pictures asked for. The frames are made in a
// folder of their own and appear in --frames DIR only when all are written.
int renderAnimation(const RenderOptions& options) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string target = options.framesDirectory;
    if (target.empty()) target = (fs::temp_directory_path(error) / "logo3d-frames").string();
    else {
        const fs::path parent = fs::path(target).parent_path();
        if (!parent.empty() && !fs::exists(parent, error) && !fs::create_directories(parent, error) && error) {
            std::cerr << CannotWrite(target, error.message()) << std::endl;
            return 1;
        }
    }
    // Without --frames the folder is scratch, removed when it goes.
    PendingFolder folder(target, options.framesDirectory.empty() ? (options.gif.empty() ? options.apng : options.gif)
                                                                 : std::string());
    std::string problem = folder.Problem();
    const unsigned count = logoString.frameCount > 0 ? logoString.frameCount : 1;
    for (unsigned k = 0; k < count && problem.empty(); ++k) {
        if (viewState.aaMode || viewState.jitterMode) accumulateMotionFrame(k);
        else renderMotionFrame(k);
        glFinish();
        const std::string png = PngBytes(viewState.width, viewState.height,
                                         readBackBuffer(viewState.width, viewState.height));
        problem = png.empty() ? CannotWrite(target, "no picture to write")
                              : folder.WriteFile(FrameName(k), png);
    }
    if (problem.empty() && !options.gif.empty())
        problem = WriteGif(folder.WritePath(), count, options.framesPerSecond, options.gif);
    if (problem.empty() && !options.apng.empty())
        problem = WriteApng(folder.WritePath(), count, options.framesPerSecond, options.apng);
    if (problem.empty() && !options.framesDirectory.empty()) problem = folder.Commit(IsFrameName);
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    if (!options.framesDirectory.empty()) std::cout << count << " frames in " << options.framesDirectory << std::endl;
    if (!options.gif.empty()) std::cout << options.gif << std::endl;
    if (!options.apng.empty()) std::cout << options.apng << std::endl;
    return 0;
}

// The whole motion, resampled to the asked length and rate, streamed into
// ffmpeg picture by picture.
int renderVideo(const RenderOptions& options) {
    const unsigned motionFrames = logoString.frameCount > 0 ? logoString.frameCount : 1;
    const unsigned count =
        options.seconds > 0.0f
            ? std::max(1u, static_cast<unsigned>(std::lround(options.seconds * static_cast<float>(options.framesPerSecond))))
            : motionFrames;
    VideoWriter video(options.video, viewState.width, viewState.height, options.framesPerSecond);
    for (unsigned k = 0; k < count; ++k) {
        const float t = MotionTimeOf(k, count);
        renderViewOf([t] { logoString.DrawAtTime(t); });
        glFinish();
        if (!video.Add(readBackBuffer(viewState.width, viewState.height))) break;
    }
    const std::string problem = video.Finish();
    if (!problem.empty()) {
        std::cerr << problem << std::endl;
        return 1;
    }
    std::cout << options.video << ": " << count << " frames at " << options.framesPerSecond << " fps" << std::endl;
    return 0;
}

}  // namespace

int run(int argc, char** argv) {
    RenderOptions options = ParseRenderOptions(argc, argv);
    if (!options.ready) return options.exitCode;
    viewState = options.view;
    if (!loadFont(options) || !LoadEnvironment(viewState.envFile, environment, std::cerr) || !loadLogo(options))
        return 1;

    OpenViewerWindow(argc > 0 ? argv[0] : nullptr);
    if (viewState.wireframe) {
        viewState.wireframe = false;
        keyboard(' ', 0, 0);
    }
    reshape(viewState.width, viewState.height);
    if (!options.video.empty()) {
        const int status = renderVideo(options);
        if (status != 0 || !options.Animated()) return status;
    }
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
