#include "gfx/bmp_reader.h"

#include <cstdlib>

#include "core/bytes.h"

namespace {

constexpr auto Le32 = BytesLe32;
constexpr auto Le16 = BytesLe16;

struct PaletteEntry {
    uint8_t r, g, b;
};

}  // namespace

bool BmpDecode(const uint8_t* data, size_t size, int transparentColour, int maxSide,
               DecodedImage& out) {
    if (size < 14 + 4 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixelOffset = Le32(data + 10);
    const uint32_t headerSize = Le32(data + 14);
    int64_t width = 0, height = 0;
    int bits = 0;
    if (headerSize == 12) {
        if (size < 26) return false;
        width = Le16(data + 18);
        height = Le16(data + 20);
        bits = Le16(data + 24);
    } else if (headerSize == 40) {
        if (size < 54) return false;
        width = static_cast<int32_t>(Le32(data + 18));
        height = static_cast<int32_t>(Le32(data + 22));
        bits = Le16(data + 28);
        // A negative height counts as its size; rows are read bottom-up all the same.
        if (height < 0) height = -height;
    } else {
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    if (width > maxSide || height > maxSide || !DecodeSizeFits(width, height)) return false;

    // The palette, bounded by the bytes that are really there.
    PaletteEntry palette[256] = {};
    int paletteCount = 0;
    if (bits <= 8 && pixelOffset > 14 + 40) {
        const size_t start = 14 + headerSize;
        const size_t entrySize = headerSize == 12 ? 3 : 4;
        size_t wanted = headerSize == 12 ? (size_t{1} << bits)
                                         : (pixelOffset > start ? (pixelOffset - start) / 4 : 0);
        const size_t end = pixelOffset < size ? pixelOffset : size;
        const size_t available = end > start ? (end - start) / entrySize : 0;
        if (wanted > available) wanted = available;
        if (wanted > 256) wanted = 256;
        for (size_t i = 0; i < wanted; ++i) {
            const uint8_t* e = data + start + i * entrySize;
            palette[i] = {e[2], e[1], e[0]};
        }
        paletteCount = static_cast<int>(wanted);
    }

    const uint64_t rowSize = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    const uint64_t need = static_cast<uint64_t>(pixelOffset) + rowSize * height;
    if (need > size) return false;

    if (!out.Resize(static_cast<int>(width), static_cast<int>(height))) return false;
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    for (int row = 0; row < h; ++row) {
        const uint8_t* src = data + pixelOffset + rowSize * row;
        const int y = h - 1 - row;
        uint8_t* dst = out.Pixel(0, y);
        for (int x = 0; x < w; ++x, dst += 4) {
            uint8_t r, g, b;
            if (bits >= 24) {
                const uint8_t* p = src + static_cast<size_t>(x) * (bits / 8);
                b = p[0];
                g = p[1];
                r = p[2];
            } else {
                int index;
                if (bits == 8)
                    index = src[x];
                else if (bits == 4)
                    index = (src[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
                else
                    index = (src[x / 8] >> (7 - (x & 7))) & 1;
                // An index past the palette draws black.
                const PaletteEntry e = index < paletteCount ? palette[index] : PaletteEntry{};
                r = e.r;
                g = e.g;
                b = e.b;
            }
            if (transparentColour >= 0 && PackColour(r, g, b) == transparentColour) {
                dst[0] = dst[1] = dst[2] = dst[3] = 0;
            } else {
                dst[0] = r;
                dst[1] = g;
                dst[2] = b;
                dst[3] = 255;
            }
        }
    }
    return true;
}
