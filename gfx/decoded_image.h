// The loaders' working picture: RGBA bytes, row 0 at the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4; the capacity is reused between loads

    // Sizes the buffer for w x h pixels (contents unspecified).
    void Resize(int w, int h) {
        width = w;
        height = h;
        pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    }
    void Free() {
        width = height = 0;
        pixels.clear();
        pixels.shrink_to_fit();
    }
    uint8_t* Pixel(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* Pixel(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
};

// Colours are packed red + green * 256 + blue * 65536; -1 stands for "no transparent colour".
constexpr int kNoTransparentColour = -1;

inline int PackColour(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

// The largest side any loader accepts (the slot fields are 16-bit).
constexpr int kImageSideLimit = 32767;
