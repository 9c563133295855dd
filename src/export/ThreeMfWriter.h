#pragma once

// 3MF: one object, "logo", with one mesh in which each of the given closed
// solids is a range of triangles carrying its colour as a base material,
// and PrusaSlicer's description of the object naming each range as a part
// printed by an extruder of its own (the k-th part by extruder k); a zip
// package made here.

#include <string>
#include <vector>

#include "solid/PrintPreparation.h"

std::string ThreeMfBytes(const std::vector<SolidPart>& parts);
