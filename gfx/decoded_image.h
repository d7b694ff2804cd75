// The loaders' working picture: RGBA bytes, row 0 at the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4; the capacity is reused between loads

    // Sizes the buffer for w x h pixels (contents unspecified). False, and an empty picture,
    // when the memory is not there: a loader's clean failure, never an abort.
    bool Resize(int w, int h) {
        try {
            pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        } catch (const std::bad_alloc&) {
            Free();
            return false;
        }
        width = w;
        height = h;
        return true;
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

// The largest side any texture may have (the slot fields are 16-bit).
constexpr int kImageSideLimit = 32767;

// The budget every picture decoder checks a declared size against before it allocates
// anything: at most 16,384 pixels per side and 256 MiB of RGBA pixels (8,192 x 8,192).
constexpr int64_t kDecodeSideLimit = 16384;
constexpr int64_t kDecodePixelBytesLimit = int64_t{256} * 1024 * 1024;

inline bool DecodeSizeFits(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kDecodeSideLimit && height <= kDecodeSideLimit &&
           width * height * 4 <= kDecodePixelBytesLimit;
}
