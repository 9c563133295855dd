#pragma once

#include <string>

// The scenes the benchmarks measure, in the default font and environment:
// "default", the logo of data/; "long", a 40-character text on two lines;
// "longer", ten times that text on ten lines (400 characters).
struct BenchScene {
    std::string name;
    std::string stringText;  // contents of the string file
    unsigned characters = 0; // of the text, 0 for the default logo
};

// The scene of that name (see above); "default" for any other name.
BenchScene SceneNamed(const std::string& dataDirectory, const std::string& name);

// The scene named by a benchmark's second argument, "default" without one.
BenchScene SceneOfArguments(const std::string& dataDirectory, int argc, char** argv);

// Loads the font, the environment and the scene's string file into the
// global records; false (with a message on stderr) when one fails.
bool LoadScene(const std::string& dataDirectory, const BenchScene& scene);
