#pragma once

// The triangles the logo's lists draw, captured by logo3d-bench-capture and
// handed to logo3d-bench in a file, which draws them from one vertex array:
// the floor that the viewer's own lists are measured against. Two programs,
// because the capture layer and the real GL both provide the GL functions.

#include <cstdint>
#include <string>
#include <vector>

struct FloorVertex {
    float position[3];
    float normal[3];
    float colour[4];
};

// A run of triangles that share one material, as the lists drew them.
struct FloorGroup {
    float ambient[4], diffuse[4], specular[4], emission[4];
    float shininess;
    std::uint32_t colourMaterial;      // 1 when the vertex colour sets the terms of colourMaterialMode
    std::uint32_t colourMaterialMode;  // such as GL_AMBIENT_AND_DIFFUSE
    std::uint32_t firstIndex, indexCount;
};

struct FloorGeometry {
    std::vector<FloorVertex> vertices;  // shared as OpenGL shared them
    std::vector<std::uint32_t> indices; // three per triangle, grouped by material
    std::vector<FloorGroup> groups;

    std::size_t TriangleCount() const { return indices.size() / 3; }
    // Every triangle's three vertices in turn, for drawing without indices.
    std::vector<FloorVertex> Unshared() const;
};

// False when the file cannot be written or read whole.
bool WriteFloorGeometry(const FloorGeometry& geometry, const std::string& path);
bool ReadFloorGeometry(FloorGeometry& geometry, const std::string& path);
