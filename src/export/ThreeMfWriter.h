#pragma once

// 3MF: one object, "logo", whose components are the given closed solids,
// each a mesh object named after its material and carrying its colour as a
// base material; a zip package made here.

#include <string>
#include <vector>

#include "solid/PrintPreparation.h"

std::string ThreeMfBytes(const std::vector<SolidPart>& parts);
