#pragma once

#include <string>

#include "ExportScene.h"

// What one page holds besides its script.
struct HtmlPage {
    const ExportScene& scene;
    std::string configJson;  // the page's settings (PageConfigJson)
    std::string title;
    std::string background;  // CSS colour behind the logo and its still picture
    std::string stillPng;    // shown until the first frame, and without WebGL or JavaScript
    std::string threeUrl;    // empty: three.js inside the page; else a lite page that loads it from here
};

// One HTML file: the scene's .glb (base64), the page's settings, the still
// picture and the bundled viewer script; nothing to fetch unless lite.
std::string HtmlBytes(const HtmlPage& page);

std::string Base64(const std::string& bytes);
