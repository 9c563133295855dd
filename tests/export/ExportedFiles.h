#pragma once

// Reads back what logo3d-export wrote, each format by its own rules, into
// one list of triangles with their normals.

#include <array>
#include <string>
#include <vector>

struct FileTriangle {
    std::array<std::array<double, 3>, 3> corners;
    std::array<std::array<double, 3>, 3> normals;  // per corner; STL repeats its facet normal
};

struct FileMesh {
    std::vector<FileTriangle> triangles;
    std::string problem;  // empty when the file read
};

// node: the glTF node to read ("logo" or "shadow"); positions come back in
// millimetres whatever the format's unit.
FileMesh ReadGlb(const std::string& path, const std::string& node = "logo");
FileMesh ReadStl(const std::string& path);
FileMesh ReadObj(const std::string& path);  // every object in the file

// The share of the area whose winding agrees with the corner normals.
double AgreeingAreaShare(const FileMesh& mesh);
