#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ExportedFile.h"

#include "ExportScene.h"

namespace tinygltf {
class Model;
}

// The scene as a glTF 2.0 model in metres: a "logo" node and, when asked
// for, a "shadow" node; one primitive per surface; one PBR material each.
tinygltf::Model BuildGltfModel(const ExportScene& scene);

// binary: a .glb; otherwise JSON, with the buffer embedded as a data URI
// or in a file beside it (same name, .bin), which comes first.
ExportedFiles GltfFiles(const ExportScene& scene, const std::string& path, bool binary, bool embedBuffer);

// The .glb bytes, for pages that embed the model.
std::string GlbBytes(const ExportScene& scene);
