// logo3d-render: draws one frame exactly as the viewer would and writes it to
// a PNG, so logos, glyphs and section shapes can be looked at without a
// screen. Draws on the X display that DISPLAY names, or, where none opens,
// on a private Xvfb server of its own.

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include "Animation.h"
#include "FileWriting.h"
#include "Fit.h"
#include "Picture.h"
#include "PngWriter.h"
#include "PrivateDisplay.h"
#include "RenderOptions.h"
#include "text/TextStringFile.h"
#include "app/AccumDisplay.h"
#include "app/Display.h"
#include "app/Globals.h"
#include "scene/GuardedMain.h"
#include "app/Interaction.h"
#include "app/Startup.h"
#include "text/DataFileWarnings.h"
#include "text/FileCheck.h"
#include "text/StrokeCharacterSet.h"
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

// Each character of --text that the font does not draw, named: a picture
// without it would otherwise lose it in silence.
void printTextWarnings(const RenderOptions& options) {
    if (options.text.empty()) return;
    const DataFileTexts texts = ReadDataFileTexts(viewState.fontFile, "", "");
    if (texts.fontFile.empty()) return;
    StrokeFontCharacterSet checked;
    std::istringstream in(texts.fontText);
    checked.Load(in);
    for (const std::string& line : TextWarnings(options.text, checked)) std::cerr << line << '\n';
}

// Draws frame `frame` of the whole-logo motion into the back buffer, or the
// still picture (with its trail in the trail mode) for a negative frame.
void draw(int frame) {
    const bool accumulated = viewState.aaMode || viewState.jitterMode;
    if (frame >= 0) {
        if (accumulated) accumulateMotionFrame(static_cast<unsigned>(frame));
        else renderMotionFrame(static_cast<unsigned>(frame));
    } else if (accumulated || viewState.trailMode) {
        accumulateView();
    } else {
        renderView();
    }
}

Picture picture(const RenderOptions& options, int frame) {
    const auto drawFrame = [frame] { draw(frame); };
    return options.transparent ? ReadBackTransparent(viewState.width, viewState.height, drawFrame)
                               : ReadBack(viewState.width, viewState.height, drawFrame);
}

std::string pngBytes(const Picture& p) { return PngBytes(p.width, p.height, p.pixels, p.channels); }

unsigned frameCount() { return logoString.frameCount > 0 ? logoString.frameCount : 1; }

// The box around everything drawn in every picture the command writes.
PixelBox drawnBox(const RenderOptions& options) {
    PixelBox box;
    const int first = options.Animated() ? 0 : -1;
    const int last = options.Animated() ? static_cast<int>(frameCount()) - 1 : -1;
    for (int frame = first; frame <= last; ++frame)
        box.Add(OpaqueBox(ReadBackTransparent(viewState.width, viewState.height, [frame] { draw(frame); })));
    return box;
}

// One line for a margin that leaves the logo no room.
std::string marginProblem(const RenderOptions& options) {
    const int w = options.view.width, h = options.view.height;
    if (!options.fit || (2 * options.margin < w && 2 * options.margin < h)) return {};
    return "--margin: " + std::to_string(options.margin) + " leaves no room in a " + std::to_string(w) + " x " +
           std::to_string(h) + " picture";
}

// A size the option's range allows but this OpenGL cannot draw.
std::string viewportProblem() {
    GLint largest[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    if (viewState.width <= largest[0] && viewState.height <= largest[1]) return {};
    return "picture size " + std::to_string(viewState.width) + " x " + std::to_string(viewState.height) +
           " is too large: this OpenGL draws at most " + std::to_string(largest[0]) + " x " +
           std::to_string(largest[1]);
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
    const unsigned count = frameCount();
    for (unsigned k = 0; k < count && problem.empty(); ++k) {
        const std::string png = pngBytes(picture(options, static_cast<int>(k)));
        problem = png.empty() ? CannotWrite(target, "no picture to write")
                              : folder.WriteFile(FrameName(k), png);
    }
    if (problem.empty() && !options.gif.empty())
        problem = WriteGif(folder.WritePath(), count, options.framesPerSecond, options.gif, options.transparent);
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
        const Picture frame =
            ReadBack(viewState.width, viewState.height, [t] { renderViewOf([t] { logoString.DrawAtTime(t); }); });
        if (!video.Add(frame.pixels)) break;
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
    const std::string badMargin = marginProblem(options);
    if (!badMargin.empty()) {
        std::cerr << badMargin << std::endl;
        return kBadCommandLine;
    }
    viewState = options.view;
    if (!options.quiet) printWarnings(options);
    printTextWarnings(options);
    if (!loadFont(options) || !LoadEnvironment(viewState.envFile, environment, std::cerr) || !loadLogo(options))
        return 1;

    const std::string noDisplay = ProvideDisplay(viewState.width, viewState.height);
    if (!noDisplay.empty()) {
        std::cerr << noDisplay << std::endl;
        return 1;
    }
    OpenViewerWindow(argc > 0 ? argv[0] : nullptr);
    if (viewState.wireframe) {
        viewState.wireframe = false;
        keyboard(' ', 0, 0);
    }
    const std::string badViewport = viewportProblem();
    if (!badViewport.empty()) {
        std::cerr << badViewport << std::endl;
        return kBadCommandLine;
    }
    reshape(viewState.width, viewState.height);
    if (options.fit && !FitView(viewState, options.margin, [&] { return drawnBox(options); }))
        std::cerr << "warning: the logo draws nothing to fit" << std::endl;
    if (!options.video.empty()) {
        const int status = renderVideo(options);
        if (status != 0 || !options.Animated()) return status;
    }
    if (options.Animated()) return renderAnimation(options);

    const Picture still = picture(options, -1);
    const std::string problem = WritePng(options.output, still.width, still.height, still.pixels, still.channels);
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
