#pragma once

#include <functional>
#include <vector>

// Pictures read back from the window, rows from the top.
struct Picture {
    int width = 0, height = 0;
    int channels = 3;  // 3: RGB; 4: RGBA, not premultiplied
    std::vector<unsigned char> pixels;
};

// What the back buffer holds after draw.
Picture ReadBack(int width, int height, const std::function<void()>& draw);

// The logo with a clear background: drawn once over black and once over
// white; what lets the background through shows as the difference, so
// alpha = 1 - (white - black) and the colour is the black render over alpha.
// Antialiased edges and translucent materials come out partly clear.
Picture ReadBackTransparent(int width, int height, const std::function<void()>& draw);

// The columns and rows (from the top) of the pixels that are not fully
// clear; empty when there are none.
struct PixelBox {
    int left = 0, top = 0, right = -1, bottom = -1;
    bool Empty() const { return right < left; }
    void Add(const PixelBox& other);
};
PixelBox OpaqueBox(const Picture& rgba);
