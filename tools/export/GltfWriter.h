#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "FileWriting.h"

#include "ExportScene.h"

namespace tinygltf {
class Model;
}

// The scene as a glTF 2.0 model in metres: a "logo" node and, when asked
// for, a "shadow" node; one primitive per surface; one PBR material each.
tinygltf::Model BuildGltfModel(const ExportScene& scene);

// binary: a .glb; otherwise JSON, with the buffer embedded as a data URI
// or written beside it (same name, .bin).
WriteResult WriteGltf(const ExportScene& scene, const std::string& path, bool binary, bool embedBuffer);

// The files WriteGltf writes, with their bytes: the .bin first when there is one.
std::vector<FileToWrite> GltfFiles(const ExportScene& scene, const std::string& path, bool binary, bool embedBuffer);

// The .glb bytes, for pages that embed the model.
std::string GlbBytes(const ExportScene& scene);
