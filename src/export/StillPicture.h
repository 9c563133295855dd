#pragma once

#include <string>

#include "ExportScene.h"

struct Environment;

// The page's picture for browsers that cannot draw it (no WebGL, no
// JavaScript): the still logo as the viewer's first size x size frame shows
// it, drawn here in software (a depth buffer, the environment's ambient and
// diffuse and specular light per vertex, four samples a pixel), with the
// page's flat shadow. Transparent: the background left clear. PNG bytes.
std::string StillPicturePng(const ExportScene& scene, const Environment& environment, int size, bool transparent);
