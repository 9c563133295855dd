#pragma once

#include <string>

#include "../common/NumberOptions.h"
#include "app/ViewState.h"

// What the numeric options accept (the ranges listed in docs/reliability.md).
constexpr NumberRange kPictureSideRange = WholeRange(1, 8192);
constexpr NumberRange kAngleRange = ClosedRange(-1e6, 1e6);
constexpr NumberRange kPanRange = ClosedRange(-1e6, 1e6);
constexpr NumberRange kViewScaleRange = ClosedRange(-1e6, 1e6);
constexpr NumberRange kPassesRange = WholeRange(1, 64);
constexpr NumberRange kFramesPerSecondRange = WholeRange(1, 100);
constexpr NumberRange kVideoSecondsRange = AboveRange(0, 3600);

// What to render and how: the viewer's own view settings plus the picture's
// file and, optionally, text and a font header that replace the data files.
struct RenderOptions {
    ViewState view;
    std::string output = "logo3d.png";
    std::string text;        // lines separated by '|'; empty: use the string file
    std::string fontHeader;  // replaces the font file's header line when set
    // The whole-logo motion, one picture per animation frame: PNGs into a
    // folder, and one animated GIF or APNG.
    std::string framesDirectory;
    std::string gif;
    std::string apng;
    unsigned framesPerSecond = 12;
    // The motion as a video, resampled to seconds at framesPerSecond; 0
    // seconds: one picture per animation frame.
    std::string video;
    float seconds = 0.0f;
    bool quiet = false;  // no warnings about the data files
    bool transparent = false;  // clear background, logo and shadow opaque
    bool fit = false;          // scale and centre the logo to fill the picture
    int margin = 16;           // pixels kept free around the fitted logo
    bool Animated() const { return !framesDirectory.empty() || !gif.empty() || !apng.empty(); }
    bool ready = false;      // false: nothing to render (help shown or bad options)
    int exitCode = 0;
};

RenderOptions ParseRenderOptions(int argc, char** argv);
