#include "RenderOptions.h"

#include "../common/ToolOptions.h"

RenderOptions ParseRenderOptions(int argc, char** argv) {
    RenderOptions options;
    ViewState& view = options.view;
    CLI::App app{"Renders one frame of a logo3d logo to a PNG file."};
    app.add_option("-o,--output", options.output, "PNG file to write")->capture_default_str();
    AddDataFileOptions(app, view.envFile, view.fontFile, view.stringFile);
    app.add_option("--text", options.text,
                   "lay out this text instead of the string file's (lines separated by '|'), white on the "
                   "font's style");
    app.add_option("--header", options.fontHeader, "font header line to use instead of the font file's");
    NumberOptions numbers;
    numbers.Add(app, "-W,--width", view.width, kPictureSideRange, "picture width in pixels");
    numbers.Add(app, "-H,--height", view.height, kPictureSideRange, "picture height in pixels");
    numbers.Add(app, "-X,--rot-x", view.rotX, kAngleRange, "rotation about x, degrees");
    numbers.Add(app, "-Y,--rot-y", view.rotY, kAngleRange, "rotation about y, degrees");
    numbers.Add(app, "-Z,--rot-z", view.rotZ, kAngleRange, "rotation about z, degrees");
    numbers.Add(app, "-x,--pan-x", view.panX, kPanRange, "horizontal offset, pixels");
    numbers.Add(app, "-y,--pan-y", view.panY, kPanRange, "vertical offset, pixels");
    numbers.Add(app, "-r,--scale", view.scale, kViewScaleRange, "uniform scale");
    numbers.Add(app, "-t,--passes", view.passes, kPassesRange, "accumulation passes");
    app.add_flag("--aa", view.aaMode, "antialias through the accumulation buffer");
    app.add_flag("--jitter", view.jitterMode, "jitter through the accumulation buffer");
    app.add_flag("--trail", view.trailMode, "motion trail through the accumulation buffer");
    app.add_flag("--wireframe", view.wireframe, "draw polygon outlines, unlit");
    app.add_option("--frames", options.framesDirectory,
                   "write every frame of the whole-logo motion (0 .. frame count - 1) as DIR/frame-NNN.png");
    app.add_option("--gif", options.gif, "write the whole-logo motion as an animated GIF");
    app.add_option("--apng", options.apng, "write the whole-logo motion as an animated PNG");
    app.add_option("--video", options.video,
                   "write the whole-logo motion as a video: MP4 (H.264), or WebM (VP9) for a .webm name");
    numbers.Add(app, "--seconds", options.seconds, kVideoSecondsRange, "--video: the whole motion in this many seconds");
    numbers.Add(app, "--fps", options.framesPerSecond, kFramesPerSecondRange,
                "frames per second of --gif, --apng and --video");
    ParseToolCommandLine(app, argc, argv, options, &numbers);
    return options;
}
