#pragma once

#include <string>

// The scenes the benchmarks measure: the default logo in data/, and a
// 40-character, two-line text in the default font and environment.
struct BenchScene {
    std::string name;
    std::string stringText;  // contents of the string file
};

BenchScene DefaultScene(const std::string& dataDirectory);
BenchScene LongTextScene(const std::string& dataDirectory);

// Loads the font, the environment and the scene's string file into the
// global records; false (with a message on stderr) when one fails.
bool LoadScene(const std::string& dataDirectory, const BenchScene& scene);
