// logo3d-bench-capture: draws a scene's logo and shadow lists through the
// capture layer and writes the triangles they draw, grouped by material, for
// logo3d-bench's floor. Prints how many triangles the lists draw.
// Usage: logo3d-bench-capture DATA_DIRECTORY SCENE OUTPUT_FILE

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>

#include "BenchScenes.h"
#include "FloorGeometry.h"
#include "app/Globals.h"
#include "capture/Capture.h"

namespace {

FloorGroup groupOf(const capture::Surface& surface) {
    FloorGroup group{};
    std::memcpy(group.ambient, surface.ambient, sizeof group.ambient);
    std::memcpy(group.diffuse, surface.diffuse, sizeof group.diffuse);
    std::memcpy(group.specular, surface.specular, sizeof group.specular);
    std::memcpy(group.emission, surface.emission, sizeof group.emission);
    group.shininess = surface.shininess;
    group.colourMaterial = surface.colourMaterial ? 1 : 0;
    group.colourMaterialMode = surface.colourMaterialMode;
    return group;
}

FloorGeometry floorOf(const capture::Drawing& drawing, const std::vector<capture::Surface>& surfaces) {
    FloorGeometry floor;
    for (const capture::Vertex& v : drawing.vertices) {
        FloorVertex out;
        std::memcpy(out.position, v.position, sizeof out.position);
        std::memcpy(out.normal, v.normal, sizeof out.normal);
        std::memcpy(out.colour, v.colour, sizeof out.colour);
        floor.vertices.push_back(out);
    }
    std::vector<std::size_t> order(drawing.triangles.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return drawing.triangles[a].surface < drawing.triangles[b].surface;
    });
    std::uint32_t surface = UINT32_MAX;
    for (std::size_t i : order) {
        const capture::Triangle& t = drawing.triangles[i];
        if (t.surface != surface) {
            surface = t.surface;
            floor.groups.push_back(groupOf(surfaces[surface]));
            floor.groups.back().firstIndex = static_cast<std::uint32_t>(floor.indices.size());
        }
        floor.indices.insert(floor.indices.end(), t.vertices, t.vertices + 3);
        floor.groups.back().indexCount += 3;
    }
    return floor;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: logo3d-bench-capture DATA_DIRECTORY SCENE OUTPUT_FILE\n");
        return 1;
    }
    const std::string data = argv[1];
    const BenchScene scene = SceneOfArguments(data, argc, argv);
    if (!LoadScene(data, scene)) return 1;
    capture::Reset();
    logoString.Prepare(&font);
    logoString.Draw();
    const FloorGeometry floor = floorOf(capture::TakeDrawing(), capture::Surfaces());
    if (!WriteFloorGeometry(floor, argv[3])) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("%s: %zu triangles in the lists, %zu shared vertices, %zu materials\n", scene.name.c_str(),
                floor.TriangleCount(), floor.vertices.size(), floor.groups.size());
    return 0;
}
