#pragma once

#include <string>
#include <vector>

#include "FileWriting.h"

#include "ExportScene.h"

// Wavefront OBJ in millimetres with a .mtl beside it: positions with their
// colours ("v x y z r g b"), normals, one usemtl group per surface; the
// shadow, when asked for, as an object of its own.
std::vector<FileToWrite> ObjFiles(const ExportScene& scene, const std::string& path);
WriteResult WriteObj(const ExportScene& scene, const std::string& path);
