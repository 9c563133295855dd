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
    app.add_option("-W,--width", view.width, "picture width in pixels")->capture_default_str();
    app.add_option("-H,--height", view.height, "picture height in pixels")->capture_default_str();
    app.add_option("-X,--rot-x", view.rotX, "rotation about x, degrees");
    app.add_option("-Y,--rot-y", view.rotY, "rotation about y, degrees");
    app.add_option("-Z,--rot-z", view.rotZ, "rotation about z, degrees");
    app.add_option("-x,--pan-x", view.panX, "horizontal offset, pixels");
    app.add_option("-y,--pan-y", view.panY, "vertical offset, pixels");
    app.add_option("-r,--scale", view.scale, "uniform scale")->capture_default_str();
    app.add_option("-t,--passes", view.passes, "accumulation passes")->check(CLI::Range(1u, 64u));
    app.add_flag("--aa", view.aaMode, "antialias through the accumulation buffer");
    app.add_flag("--jitter", view.jitterMode, "jitter through the accumulation buffer");
    app.add_flag("--trail", view.trailMode, "motion trail through the accumulation buffer");
    app.add_flag("--wireframe", view.wireframe, "draw polygon outlines, unlit");
    app.add_option("--frames", options.framesDirectory,
                   "write every frame of the whole-logo motion (0 .. frame count - 1) as DIR/frame-NNN.png");
    app.add_option("--gif", options.gif, "write the whole-logo motion as an animated GIF");
    app.add_option("--apng", options.apng, "write the whole-logo motion as an animated PNG");
    app.add_option("--fps", options.framesPerSecond, "frames per second of --gif and --apng")
        ->capture_default_str()
        ->check(CLI::Range(1u, 100u));
    app.add_flag("--transparent", options.transparent,
                 "clear background: the logo and its shadow opaque, edges and translucent materials partly clear");
    app.add_flag("--fit", options.fit, "scale and centre the whole logo, shadow and motion included, to fill the "
                                       "picture within --margin (replaces -r, -x, -y)");
    app.add_option("--margin", options.margin, "pixels left free around the logo by --fit")
        ->capture_default_str()
        ->check(CLI::NonNegativeNumber);
    app.add_flag("-q,--quiet", options.quiet, "do not print the checker's warnings about the data files");
    ParseToolCommandLine(app, argc, argv, options);
    return options;
}
