// Any bytes as a string file, exported as logo3d-export exports it: read,
// drawn with the default font and environment through the capture layer,
// cleaned into meshes (with and without welding), and made into the bytes of
// every format, in memory. What comes out must agree with the cleaned
// meshes: indexes within the vertices, finite numbers, an STL of one facet
// per triangle, an OBJ of one face per triangle, a .glb and a .gltf that
// read back with as many triangles, a .bin that is the .glb's buffer.

#include <tiny_gltf.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "export/ExportScene.h"
#include "FuzzSupport.h"
#include "export/GltfWriter.h"
#include "export/HtmlWriter.h"
#include "export/LogoCapture.h"
#include "export/LogoMesh.h"
#include "export/ObjWriter.h"
#include "export/PageConfig.h"
#include "export/StlWriter.h"
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

std::size_t trianglesRead(const tinygltf::Model& model) {
    std::size_t read = 0;
    for (const tinygltf::Mesh& mesh : model.meshes)
        for (const tinygltf::Primitive& primitive : mesh.primitives)
            read += model.accessors[static_cast<std::size_t>(primitive.indices)].count / 3;
    return read;
}

// Every format made, and checked against the scene.
void writeEveryFormat(const ExportScene& scene, const Environment& environment) {
    const std::size_t solid = scene.solid.TriangleCount();
    const std::size_t all = solid + (scene.withShadow ? scene.shadow.TriangleCount() : 0);

    // The STL writer's bytes, for the drawn triangles as they are (the solid
    // path itself is too slow for fuzzing; its tests are its own).
    SolidMesh drawn;
    for (const MeshVertex& v : scene.solid.vertices) drawn.vertices.push_back({v.position[0], v.position[1], v.position[2]});
    for (const MeshGroup& group : scene.solid.groups)
        for (std::size_t i = 0; i + 2 < group.indices.size(); i += 3)
            drawn.triangles.push_back({group.indices[i], group.indices[i + 1], group.indices[i + 2]});
    fuzz::Require(StlBytes(drawn).size() == 84 + 50 * solid, "the STL does not hold one facet per triangle");

    const ExportedFiles obj = ObjFiles(scene, "logo.obj");
    fuzz::Require(obj.size() == 2 && obj.back().name == "logo.obj", "the OBJ comes without its .mtl, or first");
    fuzz::Require(countLinesStarting(obj.back().bytes, "f ") == all, "the OBJ does not hold every triangle");

    tinygltf::TinyGLTF reader;
    std::string error, warning;
    const ExportedFiles glb = GltfFiles(scene, "logo.glb", true, false);
    fuzz::Require(glb.size() == 1, "a .glb of more than one file");
    tinygltf::Model binary;
    fuzz::Require(reader.LoadBinaryFromMemory(&binary, &error, &warning,
                                              reinterpret_cast<const unsigned char*>(glb[0].bytes.data()),
                                              static_cast<unsigned>(glb[0].bytes.size())),
                  "the .glb does not read back");
    fuzz::Require(trianglesRead(binary) == all, "the .glb reads back with another triangle count");

    const ExportedFiles embedded = GltfFiles(scene, "logo.gltf", false, true);
    fuzz::Require(embedded.size() == 1, "an embedded .gltf of more than one file");
    tinygltf::Model text;
    fuzz::Require(reader.LoadASCIIFromString(&text, &error, &warning, embedded[0].bytes.data(),
                                             static_cast<unsigned>(embedded[0].bytes.size()), ""),
                  "the .gltf does not read back");
    fuzz::Require(trianglesRead(text) == all, "the .gltf reads back with another triangle count");

    const ExportedFiles pair = GltfFiles(scene, "logo.gltf", false, false);
    fuzz::Require(pair.size() == 2 && pair[0].name == "logo.bin" && pair[1].name == "logo.gltf",
                  "the .gltf comes without its .bin, or first");
    const std::vector<unsigned char>& buffer = binary.buffers.at(0).data;
    fuzz::Require(pair[0].bytes == std::string(buffer.begin(), buffer.end()), "the .bin is not the .glb's buffer");

    const std::string title = "logo";
    const HtmlPage page{scene, PageConfigJson(environment, scene, title, PageOptions{}, 400, 400), title, "black",
                        std::string(), std::string()};
    fuzz::Require(!HtmlBytes(page).empty(), "an empty web page");
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
