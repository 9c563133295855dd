#pragma once

// A triangle mesh meant to be printed, and the checks that tell whether it
// is one: every edge used by exactly two triangles in opposite directions.
// No file I/O and no GL, so that it builds for a web page as well.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

using Point3 = std::array<float, 3>;
using TriangleCorners = std::array<Point3, 3>;

struct SolidMesh {
    std::vector<Point3> vertices;
    std::vector<std::array<std::uint32_t, 3>> triangles;  // counter-clockwise seen from outside
    void Append(const SolidMesh& other);
};

// What a mesh is as a solid.
struct SolidCheck {
    std::size_t shells = 0;          // connected sets of triangles
    std::size_t openEdges = 0;       // used by one triangle
    std::size_t overusedEdges = 0;   // used by more than two
    std::size_t misturnedEdges = 0;  // used twice in the same direction
    double volume = 0.0;             // signed: positive when the shells face outward
    bool Closed() const { return openEdges == 0 && overusedEdges == 0 && misturnedEdges == 0; }
};

SolidCheck CheckSolid(const SolidMesh& mesh);

struct SolidBounds {
    Point3 min{{0, 0, 0}}, max{{0, 0, 0}};
    bool empty = true;
};
SolidBounds BoundsOf(const SolidMesh& mesh);

// The connected shells of a mesh, each a mesh of its own.
std::vector<SolidMesh> SplitShells(const SolidMesh& mesh);
