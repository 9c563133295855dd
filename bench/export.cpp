// logo3d-bench-export: times exporting a scene to glTF binary through the
// capture layer (drawing code, triangles, clean mesh, the .glb file), to set
// beside the viewer's compile time that logo3d-bench measures on real GL.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "BenchScenes.h"
#include "ExportScene.h"
#include "GltfWriter.h"
#include "LogoCapture.h"
#include "LogoMesh.h"
#include "app/Globals.h"

namespace {
using Clock = std::chrono::steady_clock;

struct Timings {
    double capture = 1e300, mesh = 1e300, glb = 1e300, total = 1e300;
    std::size_t triangles = 0, bytes = 0;
};

std::size_t fileSize(const std::string& path) { return static_cast<std::size_t>(std::filesystem::file_size(path)); }

double since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }
}  // namespace

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : "data";
    const BenchScene scene = SceneOfArguments(data, argc, argv);
    if (!LoadScene(data, scene)) return 1;
    const std::string glbFile = (std::filesystem::temp_directory_path() / "logo3d-bench-export.glb").string();
    Timings best;
    for (int run = 0; run < 5; ++run) {
        const Clock::time_point start = Clock::now();
        const CapturedLogo captured = CaptureLogo(logoString, font, -1, false);
        const double capture = since(start);
        Clock::time_point step = Clock::now();
        ExportScene exported;
        exported.surfaces = captured.surfaces;
        exported.surfaceNames = SurfaceNames(captured.surfaces, logoString);
        CleanUpReport report;
        exported.solid = BuildMeshPart(captured.drawing, captured.solid, false, report);
        const double mesh = since(step);
        step = Clock::now();
        const WriteResult written = WriteGltf(exported, glbFile, true, false);
        const double bytes = since(step);
        if (!written.empty()) {
            std::fprintf(stderr, "%s\n", written.c_str());
            return 1;
        }
        const double total = since(start);
        if (total < best.total) best = {capture, mesh, bytes, total, exported.solid.TriangleCount(), fileSize(glbFile)};
    }
    std::printf("%s: export to .glb %.1f ms (drawing code through the capture layer %.1f ms, clean mesh %.1f ms, "
                "writing the file %.1f ms), %zu triangles, %.1f MB\n",
                scene.name.c_str(), best.total, best.capture, best.mesh, best.glb, best.triangles,
                static_cast<double>(best.bytes) / 1e6);
    std::filesystem::remove(glbFile);
    return 0;
}
