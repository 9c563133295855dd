#pragma once

#include <array>
#include <string>

#include "ExportScene.h"

struct Environment;

// How the page presents the logo; each has a URL parameter that overrides it.
struct PageOptions {
    bool controls = true;   // ?controls=0: no interaction
    bool autoplay = true;   // ?autoplay=0: the motion waits for a click
    bool fit = false;       // ?fit=1: the logo fills the frame within a margin
    bool transparent = false;  // ?transparent=1: no background (also a background alpha of 0)
    bool loop = false;      // ?loop=1: loop the motion even when it ends elsewhere than it starts
    std::array<float, 3> view{{0, 0, 0}};  // ?view=X,Y,Z: first turn in degrees
    bool lite = false;      // three.js from threeUrl instead of inside the page
    std::string threeUrl;
};

// The page's scene as its script reads it (JSON): the environment file's
// background, ambient light, lights (in the eye's space, in metres), fog and
// camera, as the viewer's first frame of a windowWidth x windowHeight window
// shows them; the shadow; the length of one loop of the motion; a title.
// Also the page's presentation settings and the logo's name for screen readers.
std::string PageConfigJson(const Environment& environment, const ExportScene& scene, const std::string& title,
                           const PageOptions& options, int windowWidth, int windowHeight);

// True when the page's background is clear: asked for, or the environment's alpha 0.
bool PageIsTransparent(const Environment& environment, const PageOptions& options);
