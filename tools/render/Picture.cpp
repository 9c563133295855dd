#include "Picture.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/Globals.h"

namespace {

void readBackBuffer(Picture& picture) {
    std::vector<unsigned char> bottomUp(static_cast<std::size_t>(picture.width) * picture.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    picture.pixels.resize(bottomUp.size());
    const std::size_t row = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(&bottomUp[static_cast<std::size_t>(picture.height - 1 - y) * row], row,
                    &picture.pixels[static_cast<std::size_t>(y) * row]);
}

Picture overBackground(int width, int height, const std::function<void()>& draw, float level) {
    const Color kept = environment.clearColor;
    environment.clearColor = Color{level, level, level, 1.0f};
    environment.ApplyClearColors();
    Picture picture = ReadBack(width, height, draw);
    environment.clearColor = kept;
    environment.ApplyClearColors();
    return picture;
}

}  // namespace

Picture ReadBack(int width, int height, const std::function<void()>& draw) {
    draw();
    glFinish();
    Picture picture;
    picture.width = width;
    picture.height = height;
    readBackBuffer(picture);
    return picture;
}

Picture ReadBackTransparent(int width, int height, const std::function<void()>& draw) {
    const Picture black = overBackground(width, height, draw, 0.0f);
    const Picture white = overBackground(width, height, draw, 1.0f);
    Picture out;
    out.width = width;
    out.height = height;
    out.channels = 4;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    out.pixels.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        int through = 0;  // how much of the background shows, summed over the channels
        for (int c = 0; c < 3; ++c) through += white.pixels[i * 3 + c] - black.pixels[i * 3 + c];
        const int alpha = std::clamp(255 - (through + 1) / 3, 0, 255);
        for (int c = 0; c < 3; ++c)
            out.pixels[i * 4 + c] =
                alpha == 0 ? 0 : static_cast<unsigned char>(std::min(255, (black.pixels[i * 3 + c] * 255 + alpha / 2) / alpha));
        out.pixels[i * 4 + 3] = static_cast<unsigned char>(alpha);
    }
    return out;
}

void PixelBox::Add(const PixelBox& other) {
    if (other.Empty()) return;
    if (Empty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

PixelBox OpaqueBox(const Picture& rgba) {
    PixelBox box;
    box.left = rgba.width;
    box.top = rgba.height;
    for (int y = 0; y < rgba.height; ++y)
        for (int x = 0; x < rgba.width; ++x)
            if (rgba.pixels[(static_cast<std::size_t>(y) * rgba.width + x) * 4 + 3] > 0) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}
