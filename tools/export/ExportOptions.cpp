#include "ExportOptions.h"

#include "../common/ToolOptions.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace {

// The page's presentation, each the default of a URL parameter of the same name.
void addPageOptions(CLI::App& app, PageOptions& page) {
    app.add_flag("!--no-controls", page.controls, ".html: no turning, moving or scaling (?controls=0)");
    app.add_flag("!--no-autoplay", page.autoplay, ".html: the motion waits for a click (?autoplay=0)");
    app.add_flag("--fit", page.fit, ".html: the logo fills the frame within a margin (?fit=1)");
    app.add_flag("--transparent", page.transparent, ".html: no background, the host page shows through (?transparent=1)");
    app.add_flag("--loop", page.loop, ".html: loop the motion even when it ends away from its start (?loop=1)");
    app.add_option("--view", page.view, ".html: first turn about x, y and z in degrees (?view=X,Y,Z)")->delimiter(',');
    CLI::Option* lite = app.add_flag("--lite", page.lite, ".html: leave three.js out of the page; needs --three-url");
    app.add_option("--three-url", page.threeUrl, ".html with --lite: URL of three.js's build/three.module.js (version " THREE_VERSION "), "
                   "its examples/jsm/ beside it")
        ->needs(lite);
    lite->needs("--three-url");
}

void addOutputOptions(CLI::App& app, ExportOptions& options) {
    const CLI::Validator knownFormat(
        [](std::string& name) {
            ExportFormat format;
            return FormatOfName(name, format) ? std::string()
                                              : "the name must end in .glb, .gltf, .obj, .stl, .3mf or .html";
        },
        "FILE.glb|.gltf|.obj|.stl|.3mf|.html");
    app.add_option("-o,--output", options.settings.output, "file to write; its extension chooses the format")
        ->required()
        ->check(knownFormat);
    AddDataFileOptions(app, options.envFile, options.fontFile, options.stringFile);
}

// What is drawn and how it is kept: the size, the moment, the shadow, the mesh.
void addDrawingOptions(CLI::App& app, ExportSettings& settings, NumberOptions& numbers) {
    numbers.Add(app, "--scale", settings.millimetresPerUnit, kScaleRange, "millimetres per font unit");
    numbers.Add(app, "--frame", settings.frame, kFrameRange,
                "export the whole-logo motion at this animation frame (0 .. frame count - 1; a later one is "
                "the motion's end) instead of the still logo")
        ->default_str("");
    app.add_flag("--shadow", settings.shadow, "add the logo's flat shadow as a node of its own (not in STL)");
    numbers.Add(app, "--seconds", settings.loopSeconds, kSecondsRange,
                "glTF and web page: seconds of one loop of the whole-logo motion");
    app.add_flag("--weld", settings.weld, "merge vertices that share position, normal and colour");
    app.add_flag("--embed", settings.embedBuffer, ".gltf: embed the buffer instead of writing a .bin beside it");
    app.add_flag("--report", settings.sourceReport, "print where triangles wound against their normals came from");
    app.add_option("--text", settings.text,
                   "lay out this text (lines separated by '|') in the font's style instead of the string file's");
}

void addPrintOptions(CLI::App& app, ExportOptions& options, NumberOptions& numbers) {
    PrintLayout& print = options.settings.print;
    app.add_flag("--print", print.onBed,
                 "lay the still logo (or --frame K) for a printer: its back on the bed (z = 0), the front up, no "
                 "shadow");
    numbers.Add(app, "--width", print.width, kPrintSizeRange,
                "print: the whole print (base included) is this many millimetres wide")
        ->default_str("");
    numbers.Add(app, "--base", print.base, kPrintSizeRange,
                "print: a plate this many millimetres thick under the logo's footprint, its top 0.5 mm above "
                "the logo's back")
        ->default_str("");
    app.add_flag("--allow-floating", print.allowFloating,
                 "print: write the print even when parts do not reach the base (or the bed); without it such a "
                 "print is not written (status 1)");
    numbers.Add(app, "--margin", print.margin, kMarginRange,
                "print: the plate's margin around the footprint and its corners' radius");
    numbers.Add(app, "--base-material", print.baseMaterial, kMaterialRange,
                "print: the string file's material of the plate");
    numbers.Add(app, "--voxel", print.voxel, kVoxelRange,
                "STL and 3MF: the solid's voxel in millimetres (default: 0.08, coarser for prints over 120 mm)")
        ->default_str("");
    app.add_option("--grid", options.grid,
                   "STL and 3MF: the grid the solid is made on: openvdb, or the studio's dense grid (at most "
                   "320 voxels across)")
        ->check(CLI::IsMember({"openvdb", "dense"}));
}

// Options that contradict one another: the line to say, or empty.
std::string refusal(const CLI::App& app, const ExportOptions& options) {
    const ExportFormat format = options.settings.format;
    const bool solid = format == ExportFormat::kStl || format == ExportFormat::k3mf;
    if (app.count("--width") > 0 && app.count("--scale") > 0) return "--width and --scale both set the size: give one of them";
    if (options.settings.print.onBed && !solid) return "--print writes STL or 3MF: name the output .stl or .3mf";
    if (!options.settings.print.onBed && (app.count("--width") > 0 || app.count("--base") > 0))
        return "--width and --base lay out a print: add --print";
    return {};
}

}  // namespace

ExportOptions ParseExportOptions(int argc, char** argv) {
    ExportOptions options;
    CLI::App app{"Writes a logo3d logo, as the viewer draws it, to a mesh file: glTF 2.0 (.glb, .gltf), "
                 "Wavefront OBJ (.obj with .mtl), binary STL (.stl) or 3MF (.3mf), the last two as closed solids "
                 "for printing; or to one self-contained web page (.html)."};
    NumberOptions numbers;
    addOutputOptions(app, options);
    addDrawingOptions(app, options.settings, numbers);
    addPrintOptions(app, options, numbers);
    addPageOptions(app, options.settings.page);
    app.add_option("--title", options.settings.title,
                   ".html: the page's title (default: the logo's text, its lines joined by a space)");
    app.add_flag("-q,--quiet", options.quiet, "do not print the checker's warnings about the data files");
    if (!ParseToolCommandLine(app, argc, argv, options, &numbers)) return options;
    FormatOfName(options.settings.output, options.settings.format);
    const std::string refused = refusal(app, options);
    if (!refused.empty()) {
        std::cerr << "logo3d-export: " << refused << std::endl;
        options.ready = false;
        options.exitCode = 2;
    }
    return options;
}
