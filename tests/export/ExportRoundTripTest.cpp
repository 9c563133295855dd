// logo3d-export against the viewer's own drawing: for a few logos, what the
// files hold must be what the drawing code draws (the same triangles less
// those without area, the same extent), facing the way its normals point.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "CommandOutput.h"
#include "ExportedFiles.h"
#include "export/LogoCapture.h"
#include "app/Startup.h"
#include "scene/Environment.h"
#include "text/FontWithHeader.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

const std::string kSource = LOGO3D_SOURCE_DIR;

struct Scene {
    const char* name;
    std::string font, env, string;
    bool shadow;
};

std::vector<Scene> roundTripScenes() {
    const std::string data = kSource + "/data/", examples = kSource + "/examples/";
    return {
        {"default logo", data + "font.src", data + "env.src", data + "string.src", true},
        {"shadow example", data + "font.src", data + "env.src", examples + "shadow/string.src", true},
        {"round frame example", data + "font.src", data + "env.src", examples + "primitive-4-round-frame/string.src",
         false},
    };
}

std::string scratchDirectory() {
    std::string pattern = ::testing::TempDir() + "logo3d-export-XXXXXX";
    return mkdtemp(&pattern[0]) != nullptr ? pattern : ::testing::TempDir();
}

struct ExportRun {
    int status = -1;
    std::string out, err;
    // From the exporter's "triangles:" line.
    std::size_t drawn = 0, dropped = 0, turned = 0, written = 0;
    double turnedAreaPercent = -1.0;
};

ExportRun runExport(const Scene& scene, const std::string& output, const std::string& extra = "") {
    const std::string errors = output + ".stderr";
    const std::string command = "'" + std::string(LOGO3D_EXPORT) + "' -f '" + scene.font + "' -e '" + scene.env + "' -s '" +
                                scene.string + "' -o '" + output + "' " + (scene.shadow ? "--shadow " : "") + extra +
                                " 2>'" + errors + "'";
    ExportRun run;
    const CommandOutput printed = RunCommand(command);
    run.status = printed.status;
    run.out = printed.text;
    std::ifstream err(errors);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    const std::size_t line = run.out.find("triangles: ");
    if (line != std::string::npos)
        std::sscanf(run.out.c_str() + line,
                    "triangles: %zu drawn, %zu without area dropped, %zu turned to face their normals (%lf%% of "
                    "the area), %zu written",
                    &run.drawn, &run.dropped, &run.turned, &run.turnedAreaPercent, &run.written);
    return run;
}

struct Extent {
    double min[3] = {1e300, 1e300, 1e300}, max[3] = {-1e300, -1e300, -1e300};
    void Add(const double* p) {
        for (int k = 0; k < 3; ++k) {
            min[k] = std::min(min[k], p[k]);
            max[k] = std::max(max[k], p[k]);
        }
    }
};

Extent extentOf(const FileMesh& mesh) {
    Extent e;
    for (const FileTriangle& t : mesh.triangles)
        for (const auto& c : t.corners) e.Add(c.data());
    return e;
}

using Corners = std::vector<std::array<capture::Vertex, 3>>;

Extent extentOf(const Corners& triangles, double scale) {
    Extent e;
    for (const auto& t : triangles)
        for (const capture::Vertex& v : t) {
            const double p[3] = {v.position[0] * scale, v.position[1] * scale, v.position[2] * scale};
            e.Add(p);
        }
    return e;
}

void expectSameExtent(const Extent& file, const Extent& drawn, const std::string& what) {
    for (int k = 0; k < 3; ++k) {
        const double tolerance = 1e-4 * (drawn.max[k] - drawn.min[k]) + 1e-4;
        EXPECT_NEAR(file.min[k], drawn.min[k], tolerance) << what << " axis " << k;
        EXPECT_NEAR(file.max[k], drawn.max[k], tolerance) << what << " axis " << k;
    }
}

double triangleArea(const double* a, const double* b, const double* c) {
    const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double w[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    return 0.5 * std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
}

double areaOf(const FileMesh& mesh) {
    double area = 0.0;
    for (const FileTriangle& t : mesh.triangles) area += triangleArea(t.corners[0].data(), t.corners[1].data(), t.corners[2].data());
    return area;
}

double areaOf(const Corners& triangles, double scale) {
    double area = 0.0;
    for (const auto& t : triangles) {
        double p[3][3];
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) p[c][k] = t[c].position[k] * scale;
        if (std::isfinite(p[0][0] + p[1][0] + p[2][0])) area += triangleArea(p[0], p[1], p[2]);
    }
    return area;
}

// The viewer's drawing of the same files, through the capture layer.
CapturedLogo drawnByTheViewer(const Scene& scene) {
    static StrokeFontCharacterSet* font = new StrokeFontCharacterSet;
    static Environment* environment = new Environment;
    static LogoString* logo = nullptr;
    delete logo;
    logo = new LogoString;
    std::ostringstream errors;
    EXPECT_TRUE(LoadFont(scene.font, *font, errors) && LoadEnvironment(scene.env, *environment, errors) &&
                LoadLogoString(scene.string, *logo, errors))
        << errors.str();
    return CaptureLogo(*logo, *font, -1);
}

TEST(Export, FilesHoldTheTrianglesTheViewerDrawsLessThoseWithoutArea) {
    const std::string dir = scratchDirectory();
    for (const Scene& scene : roundTripScenes()) {
        SCOPED_TRACE(scene.name);
        const CapturedLogo captured = drawnByTheViewer(scene);
        struct {
            Corners solid, shadow;
        } drawn{captured.Corners(captured.solid), captured.Corners(captured.shadow)};
        Corners all = drawn.solid;
        if (scene.shadow) all.insert(all.end(), drawn.shadow.begin(), drawn.shadow.end());
        ASSERT_GT(drawn.solid.size(), 1000u);
        if (scene.shadow) {
            ASSERT_FALSE(drawn.shadow.empty());
        }

        // glTF at 2.5 mm per font unit, OBJ at 1.
        const ExportRun glb = runExport(scene, dir + "/logo.glb", "--scale 2.5");
        ASSERT_EQ(glb.status, 0) << glb.err;
        EXPECT_EQ(glb.drawn, all.size());
        FileMesh logo = ReadGlb(dir + "/logo.glb");
        const FileMesh shadow = ReadGlb(dir + "/logo.glb", "shadow");
        ASSERT_EQ(logo.problem, "");
        EXPECT_EQ(logo.triangles.size() + shadow.triangles.size(), glb.drawn - glb.dropped);
        EXPECT_EQ(glb.written, glb.drawn - glb.dropped);
        expectSameExtent(extentOf(logo), extentOf(drawn.solid, 2.5), "glb logo");
        // Only triangles without area may be missing.
        EXPECT_NEAR(areaOf(logo), areaOf(drawn.solid, 2.5), 1e-6 * areaOf(logo));
        if (scene.shadow) expectSameExtent(extentOf(shadow), extentOf(drawn.shadow, 2.5), "glb shadow");

        const ExportRun obj = runExport(scene, dir + "/logo.obj");
        ASSERT_EQ(obj.status, 0) << obj.err;
        const FileMesh objMesh = ReadObj(dir + "/logo.obj");
        ASSERT_EQ(objMesh.problem, "");
        EXPECT_EQ(objMesh.triangles.size(), obj.drawn - obj.dropped);
        expectSameExtent(extentOf(objMesh), extentOf(all, 1.0), "obj");
        EXPECT_GT(AgreeingAreaShare(objMesh), 0.999);

        // STL holds the solid alone, closed: where it was drawn, within
        // a voxel or two in x and y (sheets grow backwards in z).
        const ExportRun stl = runExport(scene, dir + "/logo.stl", "--voxel 0.4");
        ASSERT_EQ(stl.status, 0) << stl.err;
        const FileMesh stlMesh = ReadStl(dir + "/logo.stl");
        ASSERT_EQ(stlMesh.problem, "");
        EXPECT_NE(stl.out.find(", " + std::to_string(stlMesh.triangles.size()) + " written"), std::string::npos);
        const Extent stlExtent = extentOf(stlMesh), drawnExtent = extentOf(drawn.solid, 1.0);
        for (int k = 0; k < 2; ++k) {
            EXPECT_NEAR(stlExtent.min[k], drawnExtent.min[k], 0.8) << "stl axis " << k;
            EXPECT_NEAR(stlExtent.max[k], drawnExtent.max[k], 0.8) << "stl axis " << k;
        }
        EXPECT_NE(stl.out.find(", 0 open edges,"), std::string::npos) << stl.out;
        EXPECT_EQ(stl.err.find("not closed"), std::string::npos) << stl.err;
    }
}

TEST(Export, TrianglesFaceTheirNormalsOnTheDefaultLogoAndEverySectionShape) {
    const std::string dir = scratchDirectory();
    Scene scene = roundTripScenes()[0];
    scene.shadow = false;  // the solid alone: a flattened shadow has no inside to face away from
    std::ifstream glyphs(scene.font);
    const std::string defaultFont((std::istreambuf_iterator<char>(glyphs)), std::istreambuf_iterator<char>());
    for (int shape = -1; shape <= 9; ++shape) {
        const std::string name = shape < 0 ? "default font" : "section shape " + std::to_string(shape);
        SCOPED_TRACE(name);
        if (shape >= 0) {
            std::ifstream headerFile(kSource + "/examples/section-shapes/variants/shape-" + std::to_string(shape) +
                                     ".header");
            std::string header;
            while (std::getline(headerFile, header))
                if (!header.empty() && header[0] != '#') break;
            std::istringstream font(defaultFont);
            scene.font = dir + "/shape.src";
            std::ofstream(scene.font) << FontWithHeader(font, header);
        }
        const ExportRun run = runExport(scene, dir + "/shape.glb");
        ASSERT_EQ(run.status, 0) << run.err;
        // As drawn, before the exporter turns any triangle over.
        EXPECT_LE(run.turnedAreaPercent, 1.0) << run.out;
        EXPECT_GE(run.turnedAreaPercent, 0.0) << run.out;
        const FileMesh mesh = ReadGlb(dir + "/shape.glb");
        ASSERT_EQ(mesh.problem, "");
        EXPECT_GT(AgreeingAreaShare(mesh), 0.99);
        std::printf("%s: %s", name.c_str(), run.out.substr(run.out.find("triangles:")).c_str());
    }
}

TEST(Export, FailsLikeTheViewerOnAMissingFileAndRefusesAnUnknownFormat) {
    const std::string dir = scratchDirectory();
    Scene scene = roundTripScenes()[0];
    scene.env = dir + "/no-such-env.src";
    const ExportRun missing = runExport(scene, dir + "/logo.glb");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "cannot open environment file : " + scene.env + "\n");
    EXPECT_FALSE(std::ifstream(dir + "/logo.glb").good());

    const ExportRun unknown = runExport(roundTripScenes()[0], dir + "/logo.png");
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.err.find(".glb, .gltf, .obj, .stl, .3mf or .html"), std::string::npos) << unknown.err;
}

// The page's title as a browser reads it: through an HTML parser.
std::string pageTitle(const std::string& page) {
    const CommandOutput title = RunCommand(
        "python3 -c 'import html.parser, sys\n"
        "class P(html.parser.HTMLParser):\n"
        "    inside = False\n"
        "    def handle_starttag(self, tag, a): self.inside = tag == \"title\"\n"
        "    def handle_endtag(self, tag): self.inside = False\n"
        "    def handle_data(self, d):\n"
        "        if self.inside: sys.stdout.write(d)\n"
        "P(convert_charrefs=True).feed(open(sys.argv[1], encoding=\"utf-8\").read())' '" +
        page + "'");
    return title.text;
}

TEST(Export, PageTitleIsTheTextOrTheOneGivenEscaped) {
    const std::string dir = scratchDirectory();
    const Scene scene = roundTripScenes()[0];
    ASSERT_EQ(runExport(scene, dir + "/default.html").status, 0);
    // " in motion" starts with a space: trimmed, one space between the lines.
    EXPECT_EQ(pageTitle(dir + "/default.html"), "Solid Type in motion");
    const std::vector<std::string> titles = {"<b>\"Fish & Chips\"</b>", "</title><script>x</script>", "it's"};
    for (const std::string& title : titles) {
        std::string quoted;
        for (char c : title) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        ASSERT_EQ(runExport(scene, dir + "/titled.html", "--title '" + quoted + "'").status, 0) << title;
        EXPECT_EQ(pageTitle(dir + "/titled.html"), title);
    }
    // A byte that is no UTF-8 (a Latin-1 e acute) is still a page.
    EXPECT_EQ(runExport(scene, dir + "/latin.html", "--title \"$(printf 'caf\\351')\"").status, 0);
}

}  // namespace
