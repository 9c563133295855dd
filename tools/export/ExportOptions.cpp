#include "ExportOptions.h"

#include "../common/ToolOptions.h"

#include <algorithm>
#include <cctype>

bool FormatOfName(const std::string& name, ExportFormat& format) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "glb") format = ExportFormat::kGlb;
    else if (extension == "gltf") format = ExportFormat::kGltf;
    else if (extension == "obj") format = ExportFormat::kObj;
    else if (extension == "stl") format = ExportFormat::kStl;
    else if (extension == "html" || extension == "htm") format = ExportFormat::kHtml;
    else return false;
    return true;
}

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

ExportOptions ParseExportOptions(int argc, char** argv) {
    ExportOptions options;
    CLI::App app{"Writes a logo3d logo, as the viewer draws it, to a mesh file: glTF 2.0 (.glb, .gltf), "
                 "Wavefront OBJ (.obj with .mtl) or binary STL (.stl); or to one self-contained web page (.html)."};
    const CLI::Validator knownFormat(
        [](std::string& name) {
            ExportFormat format;
            return FormatOfName(name, format) ? std::string()
                                              : "the name must end in .glb, .gltf, .obj, .stl or .html";
        },
        "FILE.glb|.gltf|.obj|.stl|.html");
    app.add_option("-o,--output", options.output, "file to write; its extension chooses the format")
        ->required()
        ->check(knownFormat);
    AddDataFileOptions(app, options.envFile, options.fontFile, options.stringFile);
    NumberOptions numbers;
    numbers.Add(app, "--scale", options.millimetresPerUnit, kScaleRange, "millimetres per font unit");
    numbers.Add(app, "--frame", options.frame, kFrameRange,
                "export the whole-logo motion at this animation frame (0 .. frame count - 1; a later one is "
                "the motion's end) instead of the still logo")
        ->default_str("");
    app.add_flag("--shadow", options.shadow, "add the logo's flat shadow as a node of its own (not in STL)");
    numbers.Add(app, "--seconds", options.loopSeconds, kSecondsRange,
                "glTF and web page: seconds of one loop of the whole-logo motion");
    app.add_flag("--weld", options.weld, "merge vertices that share position, normal and colour");
    app.add_flag("--embed", options.embedBuffer, ".gltf: embed the buffer instead of writing a .bin beside it");
    app.add_flag("--report", options.report, "print where triangles wound against their normals came from");
    addPageOptions(app, options.page);
    if (ParseToolCommandLine(app, argc, argv, options, &numbers)) FormatOfName(options.output, options.format);
    return options;
}
