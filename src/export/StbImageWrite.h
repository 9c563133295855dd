#pragma once

// PNG encoding and zlib compression by stb_image_write (Debian's
// libstb-dev), which builds wherever C does, WebAssembly included.

#include <string>
#include <vector>

// RGBA pixels, rows top down, as PNG bytes.
std::string PngBytes(const std::vector<unsigned char>& rgba, int width, int height);

// A zlib stream of the bytes (two bytes of header, deflate, a checksum).
std::string ZlibCompressed(const std::string& bytes);
