#pragma once

#include <string>

#include "ExportScene.h"
#include "solid/SolidMesh.h"

// Binary STL in millimetres: the closed solid, one facet per triangle with
// its face normal.
std::string StlBytes(const SolidMesh& mesh);
