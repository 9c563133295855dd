#pragma once

// The damage the robustness tests do to data files: the default files with
// bytes changed, lines cut or repeated, numbers inserted or the file cut
// short, and plain noise.

#include <random>
#include <string>

namespace damaged_files {

// The text of data/<name>.
std::string DataFile(const std::string& name);
std::string Damaged(std::string text, std::mt19937& random);
std::string Noise(std::mt19937& random);

}  // namespace damaged_files
