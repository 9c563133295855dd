#pragma once

// 3MF through lib3mf: one object whose parts are the given closed solids,
// each named after its material and carrying its colour as a base material.

#include <string>
#include <vector>

#include "ExportScene.h"
#include "PrintSolid.h"

// The file's bytes, or empty with the problem in `problem`.
std::string ThreeMfBytes(const std::vector<SolidPart>& parts, std::string& problem);
WriteResult Write3mf(const std::vector<SolidPart>& parts, const std::string& path);
