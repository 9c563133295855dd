#include "StbImageWrite.h"

#include <cstdlib>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

std::string PngBytes(const std::vector<unsigned char>& rgba, int width, int height) {
    int length = 0;
    stbi_write_png_compression_level = 9;
    unsigned char* png = stbi_write_png_to_mem(rgba.data(), width * 4, width, height, 4, &length);
    std::string out(reinterpret_cast<const char*>(png), png != nullptr ? static_cast<std::size_t>(length) : 0);
    std::free(png);
    return out;
}

std::string ZlibCompressed(const std::string& bytes) {
    int length = 0;
    unsigned char* packed = stbi_zlib_compress(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                                               static_cast<int>(bytes.size()), &length, 8);
    std::string out(reinterpret_cast<const char*>(packed), packed != nullptr ? static_cast<std::size_t>(length) : 0);
    std::free(packed);
    return out;
}
