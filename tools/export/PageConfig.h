#pragma once

#include <string>

#include "ExportScene.h"

struct Environment;

// The page's scene as its script reads it (JSON): the environment file's
// background, ambient light, lights (in the eye's space, in metres), fog and
// camera, as the viewer's first frame of a windowWidth x windowHeight window
// shows them; the shadow; the length of one loop of the motion; a title.
std::string PageConfigJson(const Environment& environment, const ExportScene& scene, const std::string& title,
                           int windowWidth, int windowHeight);
