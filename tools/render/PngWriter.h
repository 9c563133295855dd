#pragma once

#include <string>
#include <vector>

// Writes an RGB (or, with 4 channels, RGBA) picture, rows from top to
// bottom, as a PNG file. Returns an empty string on success, else what went
// wrong.
std::string WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgbTopDown,
                     int channels = 3);
