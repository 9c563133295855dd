#pragma once

#include <string>
#include <vector>

// An RGB picture, rows from top to bottom, as the bytes of a PNG file;
// empty when there is no picture or libpng fails.
std::string PngBytes(int width, int height, const std::vector<unsigned char>& rgbTopDown);

// Writes it as a file, whole or not at all. Returns an empty string on
// success, else the one line saying what went wrong.
std::string WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgbTopDown);
