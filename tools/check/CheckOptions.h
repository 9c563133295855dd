#pragma once

#include <string>

// Which files to check, with the viewer's defaults, and how much to say.
struct CheckOptions {
    std::string envFile = "env.src";
    std::string fontFile = "font.src";
    std::string stringFile = "string.src";
    std::string text;    // lines separated by '|': checked against the font instead of the string file
    bool quiet = false;  // errors only
    bool ready = false;  // false: nothing to check (help shown or bad options)
    int exitCode = 0;
};

CheckOptions ParseCheckOptions(int argc, char** argv);
