// logo3d-bench-export: times exporting a scene to glTF binary through the
// capture layer (drawing code, triangles, clean mesh, the .glb file), to set
// beside the viewer's compile time that logo3d-bench measures on real GL.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <vector>

#include "BenchScenes.h"
#include "FileWriting.h"
#include "ExportMemory.h"
#include "export/ExportScene.h"
#include "export/GltfWriter.h"
#include "export/LogoCapture.h"
#include "export/LogoMesh.h"
#include "app/Globals.h"

namespace {
using Clock = std::chrono::steady_clock;

struct Timings {
    double capture = 0, mesh = 0, made = 0, glb = 0, flush = 0, total = 0;
    std::size_t triangles = 0, bytes = 0;
};

constexpr int kRuns = 7;

// The run of median total time: its steps are one run's, so they add up.
Timings median(std::vector<Timings> runs) {
    std::sort(runs.begin(), runs.end(), [](const Timings& a, const Timings& b) { return a.total < b.total; });
    return runs[runs.size() / 2];
}

std::size_t fileSize(const std::string& path) { return static_cast<std::size_t>(std::filesystem::file_size(path)); }

double since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }
}  // namespace

int main(int argc, char** argv) {
    KeepFreedMemory();
    const std::string data = argc > 1 ? argv[1] : "data";
    const BenchScene scene = SceneOfArguments(data, argc, argv);
    if (!LoadScene(data, scene)) return 1;
    const std::string glbFile = (std::filesystem::temp_directory_path() / "logo3d-bench-export.glb").string();
    std::vector<Timings> runs;
    for (int run = 0; run < kRuns; ++run) {
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
        const double flushedBefore = FileFlushSeconds();
        const ExportedFiles files = GltfFiles(exported, glbFile, true, false);
        const double made = since(step);
        const WriteProblem written = WriteWholeFile(files.front().name, files.front().bytes);
        const double flush = (FileFlushSeconds() - flushedBefore) * 1000.0;
        const double bytes = since(step) - flush - made;
        if (!written.empty()) {
            std::fprintf(stderr, "%s\n", written.c_str());
            return 1;
        }
        // The flush to disk depends on the disk and on what else writes: apart.
        const double total = since(start) - flush;
        runs.push_back({capture, mesh, made, bytes, flush, total, exported.solid.TriangleCount(), fileSize(glbFile)});
    }
    const Timings m = median(runs);
    std::printf("%s: export to .glb %.1f ms, median of %d (drawing code through the capture layer %.1f ms, clean "
                "mesh %.1f ms, the .glb's bytes made %.1f ms and written %.1f ms), %zu triangles, %.1f MB; then the flush to disk "
                "%.1f ms\n",
                scene.name.c_str(), m.total, kRuns, m.capture, m.mesh, m.made, m.glb, m.triangles,
                static_cast<double>(m.bytes) / 1e6, m.flush);
    std::filesystem::remove(glbFile);
    return 0;
}
