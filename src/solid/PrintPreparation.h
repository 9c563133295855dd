#pragma once

// The drawn logo laid out for a printer: sheets given the strokes' depth,
// scaled to millimetres, laid back down on the bed, a plate under it when
// asked, grouped into parts, and the voxel the solid is made at.

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "BasePlate.h"
#include "SolidMesh.h"

// One triangle the viewer drew, in font units.
struct DrawnTriangle {
    TriangleCorners corners;
    std::uint32_t material = 0;  // index into DrawnLogo::materials
    std::array<float, 4> colour{{0.8f, 0.8f, 0.8f, 1.0f}};  // as it shows
    bool glyph = false;          // drawn by a glyph's own display list
};

struct DrawnLogo {
    std::vector<DrawnTriangle> triangles;
    std::vector<std::string> materials;  // each triangle's material, by name ("material 2")
    float strokeWidth = 0.0f;           // the font's half stroke width, in font units
};

struct PrintLayout {
    bool onBed = false;               // back on the bed: z = 0 at the bottom, the front up
    float width = 0.0f;               // millimetres across the whole print; 0: use millimetresPerUnit
    float millimetresPerUnit = 1.0f;
    float base = 0.0f;                // plate thickness in millimetres; 0: no plate
    float margin = 3.0f;              // around the footprint, and the corners' radius
    int baseMaterial = 0;
    float voxel = 0.0f;               // millimetres; 0: chosen from the size
    int maxSteps = 0;                 // at most this many voxels across the print (0: no limit)
    bool perMaterial = false;         // one solid per material (3MF) instead of one for all (STL)
    bool allowFloating = false;       // write a print even when parts do not reach the plate or the bed
};

struct SolidPart {
    std::string name;
    std::array<float, 4> colour{{0.8f, 0.8f, 0.8f, 1.0f}};
    SolidMesh mesh;
};

// What goes into the solid: each part's triangles in millimetres, laid out,
// with the voxel the solid is fine enough at. The parts have no meshes yet.
struct PrintInput {
    std::vector<SolidPart> parts;
    std::vector<std::vector<TriangleCorners>> groups;  // one for each part, in the same order
    bool withPlate = false;
    std::size_t plateGroup = 0;  // the part the plate belongs to
    RoundedSlab plateShape;
    float millimetresPerUnit = 1.0f;
    float voxel = 0.0f;
    float span = 0.0f;  // millimetres across the print's widest side
    float baseTop = std::numeric_limits<float>::quiet_NaN();
    std::vector<std::string> warnings;
};

PrintInput PreparePrint(const DrawnLogo& drawn, const PrintLayout& layout);

// A warning about a print with one or two numbers in it (printf's format).
std::string PrintWarning(const char* format, double a, double b = 0);
