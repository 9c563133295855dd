#pragma once

// A file the exporter made, as bytes in memory: its name (as the output was
// named, or the partner's name beside it) and its contents. Writing it is
// left to whoever asked (the tools write files whole or not at all; the
// studio hands the bytes to the browser).

#include <string>
#include <vector>

struct ExportedFile {
    std::string name;
    std::string bytes;
};

// Files that belong together (.gltf and its .bin, .obj and its .mtl): the
// first ones are the partners, the last names them.
using ExportedFiles = std::vector<ExportedFile>;
