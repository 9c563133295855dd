#include "PngWriter.h"

#include <png.h>

#include "FileWriting.h"

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void noFlush(png_structp) {}

}  // namespace

std::string PngBytes(int width, int height, const std::vector<unsigned char>& rgbTopDown) {
    if (width <= 0 || height <= 0 || rgbTopDown.size() < static_cast<std::size_t>(width) * height * 3) return {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    std::string bytes;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, appendBytes, noFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(&rgbTopDown[static_cast<std::size_t>(y) * width * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

std::string WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgbTopDown) {
    const std::string bytes = PngBytes(width, height, rgbTopDown);
    if (bytes.empty()) return CannotWrite(path, "no picture to write");
    return WriteWholeFile(path, bytes);
}
