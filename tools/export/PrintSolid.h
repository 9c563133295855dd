#pragma once

// What the viewer draws, made printable: the captured solid's triangles,
// sheets given the stroke depth, scaled to millimetres, laid back down on
// the bed with a base plate when asked, and united into closed shells.

#include <array>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "LogoCapture.h"
#include "solid/BasePlate.h"
#include "solid/SolidMesh.h"

struct PrintLayout {
    bool onBed = false;               // back on the bed: z = 0 at the bottom, the front up
    float width = 0.0f;               // millimetres across the whole print; 0: use millimetresPerUnit
    float millimetresPerUnit = 1.0f;
    float base = 0.0f;                // plate thickness in millimetres; 0: no plate
    float margin = 3.0f;              // around the footprint, and the corners' radius
    int baseMaterial = 0;
    float voxel = 0.0f;               // millimetres; 0: chosen from the size
    bool perMaterial = false;         // one solid per material (3MF) instead of one for all (STL)
};

struct SolidPart {
    std::string name;
    std::array<float, 4> colour{{0.8f, 0.8f, 0.8f, 1.0f}};
    SolidMesh mesh;
};

struct PrintSolid {
    std::vector<SolidPart> parts;
    float millimetresPerUnit = 1.0f;
    float voxel = 0.0f;
    float baseTop = std::numeric_limits<float>::quiet_NaN();  // NaN without a plate
    std::vector<std::string> warnings;
};

// What goes into the union: each part's triangles in millimetres, laid out
// (sheets swept back, scaled, lifted, the plate added to its material), with
// the voxel the union is fine enough at. The parts have no meshes yet.
struct PrintInput {
    std::vector<SolidPart> parts;
    std::vector<std::vector<TriangleCorners>> groups;  // one for each part, in the same order
    std::vector<TriangleCorners> plate;  // the base plate: also the last triangles of its material's group
    std::size_t plateGroup = 0;          // that group's index
    RoundedSlab plateShape;              // the same plate as a shape
    float millimetresPerUnit = 1.0f;
    float voxel = 0.0f;
    float span = 0.0f;  // millimetres across the print's widest side
    float baseTop = std::numeric_limits<float>::quiet_NaN();
    std::vector<std::string> warnings;
};

PrintInput PreparePrint(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                        const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth,
                        const PrintLayout& layout);

// isGlyph tells the triangles a glyph's own list drew; surfaceNames names
// each surface's material; strokeWidth is the font's half stroke width in
// font units.
PrintSolid MakePrintSolid(const CapturedLogo& captured, const std::vector<std::string>& surfaceNames,
                          const std::function<bool(const capture::Triangle&)>& isGlyph, float strokeWidth,
                          const PrintLayout& layout);

// A warning about a print with one or two numbers in it (printf's format).
std::string PrintWarning(const char* format, double a, double b = 0);

// Not a closed, outward solid: the warning to give; empty when it is one.
std::string SolidSummary(const PrintSolid& solid, std::string& warning);
