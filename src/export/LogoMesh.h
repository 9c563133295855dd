#pragma once

// The captured triangles made into a clean mesh: no triangle without area,
// every triangle facing the way its normals point, grouped by surface, and
// optionally with coincident vertices merged.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "capture/Capture.h"

struct MeshVertex {
    float position[3];
    float normal[3];
    float colour[4];
};

// The triangles of one surface, as triples of vertex indexes.
struct MeshGroup {
    std::uint32_t surface;
    std::vector<std::uint32_t> indices;
};

struct Bounds {
    std::array<float, 3> min{{0, 0, 0}}, max{{0, 0, 0}};
    bool empty = true;
    void Add(const float* point);
};

struct MeshPart {
    std::vector<MeshVertex> vertices;
    std::vector<MeshGroup> groups;
    std::size_t TriangleCount() const;
    Bounds PositionBounds() const;
};

// What cleaning the triangles did.
struct CleanUpReport {
    std::size_t drawn = 0;
    std::size_t degenerate = 0;  // no area (or not finite): dropped
    std::size_t rewound = 0;     // wound against their normals: turned over
    double rewoundArea = 0.0, drawnArea = 0.0;
    std::map<std::string, std::size_t> rewoundBySource;
    CleanUpReport& operator+=(const CleanUpReport& other);
};

// Triangles thinner than this (in font units) count as having no area.
constexpr double kDegenerateHeight = 1e-4;

// Whether a triangle has area: finite corners, and a height over its
// longest side of at least kDegenerateHeight.
bool HasArea(const float* a, const float* b, const float* c);

using SourceName = std::function<std::string(const capture::Triangle&)>;

// The mesh of the picked triangles. sourceName, when given, names where a
// turned-over triangle came from.
// Vertices stay shared as the drawing shares them; weld also merges those
// that agree in position, normal and colour.
MeshPart BuildMeshPart(const capture::Drawing& drawing, const std::vector<std::uint32_t>& picked, bool weld,
                       CleanUpReport& report, const SourceName& sourceName = nullptr);
