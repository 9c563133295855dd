#pragma once

#include <string>

#include "ExportScene.h"

// Binary STL in millimetres: the solid logo only, one facet per triangle
// with its face normal.
std::string StlBytes(const ExportScene& scene);
WriteResult WriteStl(const ExportScene& scene, const std::string& path);
