// Any bytes as a string file, exported as logo3d-export exports it: read,
// drawn with the default font and environment through the capture layer,
// cleaned into meshes (with and without welding), and written in every
// format. What comes out must agree with the cleaned meshes: indexes within
// the vertices, finite numbers, an STL of one facet per triangle, an OBJ of
// one face per triangle, a .glb that reads back with as many triangles.

#include <tiny_gltf.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "ExportScene.h"
#include "FuzzSupport.h"
#include "GltfWriter.h"
#include "HtmlWriter.h"
#include "LogoCapture.h"
#include "LogoMesh.h"
#include "ObjWriter.h"
#include "PageConfig.h"
#include "StlWriter.h"
#include "scene/Environment.h"
#include "text/DataFileLoading.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

template <class Record>
Record& loaded(bool (*load)(const std::string&, Record&, std::ostream&), const char* file) {
    static Record* record = [&] {
        auto* made = new Record;
        fuzz::Require(load(std::string(LOGO3D_DATA_DIR "/") + file, *made, std::cerr), file);
        return made;
    }();
    return *record;
}

// A folder of its own for each input, in memory where the system has one,
// removed again with everything written into it.
class Folder {
public:
    Folder() {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
        path_ = std::string(base != nullptr ? base : "/tmp") + "/logo3d-fuzz-export-XXXXXX";
        fuzz::Require(mkdtemp(&path_[0]) != nullptr, "cannot make a folder for the written files");
    }
    ~Folder() {
        for (const char* written : {"logo.stl", "logo.obj", "logo.mtl", "logo.glb", "logo.gltf", "logo.bin",
                                    "embedded.gltf", "logo.html"})
            std::remove((path_ + "/" + written).c_str());
        fuzz::Require(rmdir(path_.c_str()) == 0, "the folder of the written files holds more than was written");
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t countLinesStarting(const std::string& text, const std::string& start) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, start.size(), start) == 0) ++count;
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return count;
}

void requireSound(const MeshPart& part) {
    for (const MeshVertex& v : part.vertices)
        for (int i = 0; i < 3; ++i)
            fuzz::Require(std::isfinite(v.position[i]) && std::isfinite(v.normal[i]), "non-finite mesh vertex");
    for (const MeshGroup& group : part.groups) {
        fuzz::Require(group.indices.size() % 3 == 0, "a group's indexes are not whole triangles");
        for (std::size_t i = 0; i < group.indices.size(); i += 3)
            for (int k = 0; k < 3; ++k) {
                fuzz::Require(group.indices[i + k] < part.vertices.size(), "an index beyond the vertices");
                fuzz::Require(group.indices[i + k] != group.indices[i + (k + 1) % 3], "a triangle repeats a vertex");
            }
    }
}

// Every format written, then checked against the scene.
void writeEveryFormat(const ExportScene& scene, const Environment& environment) {
    const Folder folder;
    const std::string base = folder.Path() + "/logo";
    const std::size_t solid = scene.solid.TriangleCount();
    const std::size_t all = solid + (scene.withShadow ? scene.shadow.TriangleCount() : 0);

    fuzz::Require(WriteStl(scene, base + ".stl").empty(), "STL not written");
    fuzz::Require(contents(base + ".stl").size() == 84 + 50 * solid, "the STL does not hold one facet per triangle");

    fuzz::Require(WriteObj(scene, base + ".obj").empty(), "OBJ not written");
    fuzz::Require(countLinesStarting(contents(base + ".obj"), "f ") == all, "the OBJ does not hold every triangle");

    fuzz::Require(WriteGltf(scene, base + ".glb", true, false).empty(), "glb not written");
    tinygltf::TinyGLTF reader;
    tinygltf::Model model;
    std::string error, warning;
    fuzz::Require(reader.LoadBinaryFromFile(&model, &error, &warning, base + ".glb"), "the glb does not read back");
    std::size_t read = 0;
    for (const tinygltf::Mesh& mesh : model.meshes)
        for (const tinygltf::Primitive& primitive : mesh.primitives)
            read += model.accessors[static_cast<std::size_t>(primitive.indices)].count / 3;
    fuzz::Require(read == all, "the glb reads back with another triangle count");

    fuzz::Require(WriteGltf(scene, base + ".gltf", false, false).empty(), "glTF with .bin not written");
    fuzz::Require(WriteGltf(scene, folder.Path() + "/embedded.gltf", false, true).empty(), "glTF not written");
    const std::string title = "logo";
    fuzz::Require(WriteHtml(scene, PageConfigJson(environment, scene, title, 400, 400), title, base + ".html").empty(),
                  "web page not written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::UseDrawBudget();
    StrokeFontCharacterSet& font = loaded<StrokeFontCharacterSet>(LoadFont, "font.src");
    const Environment& environment = loaded<Environment>(LoadEnvironment, "env.src");
    std::istringstream in = fuzz::InputStream(data, size);
    LogoString logo;
    if (logo.Read(in) != 0) return 0;  // the exporter stops at a file that does not read

    const CapturedLogo captured = CaptureLogo(logo, font, -1);
    fuzz::RequireSoundGL("export");
    ExportScene scene;
    scene.surfaces = captured.surfaces;
    scene.surfaceNames = SurfaceNames(captured.surfaces, logo);
    // Welding or not is the input's choice, by its length.
    const bool weld = size % 2 == 1;
    CleanUpReport report;
    scene.solid = BuildMeshPart(captured.drawing, captured.solid, weld, report);
    scene.shadow = BuildMeshPart(captured.drawing, captured.shadow, weld, report);
    scene.withShadow = !captured.shadow.empty();
    fuzz::Require(report.drawn == captured.solid.size() + captured.shadow.size(), "triangles lost in cleaning");
    fuzz::Require(report.drawn == report.degenerate + scene.solid.TriangleCount() + scene.shadow.TriangleCount(),
                  "the cleaning's counts do not add up");
    requireSound(scene.solid);
    requireSound(scene.shadow);
    scene.motion = LogoMotion(logo);
    if (scene.solid.TriangleCount() == 0) return 0;  // the exporter writes nothing then
    writeEveryFormat(scene, environment);
    FacetLengthGlobal = 1.0f;
    ShadowPass = false;
    return 0;
}
