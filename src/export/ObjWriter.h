#pragma once

#include <string>
#include <vector>

#include "ExportedFile.h"

#include "ExportScene.h"

// Wavefront OBJ in millimetres with a .mtl beside it: positions with their
// colours ("v x y z r g b"), normals, one usemtl group per surface; the
// shadow, when asked for, as an object of its own.
ExportedFiles ObjFiles(const ExportScene& scene, const std::string& path);
