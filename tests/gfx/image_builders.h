// Test pictures written independently of the runtime's readers: BMP bytes by hand, PNG
// through libpng directly.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace gfxtest {

inline void Put16(std::string& s, size_t at, uint32_t v) {
    s[at] = static_cast<char>(v & 255);
    s[at + 1] = static_cast<char>((v >> 8) & 255);
}
inline void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 255);
}

// A BMP with a 40-byte info header; rows bottom-up, each padded to 4 bytes. pixelRow(y)
// returns the packed row bytes (unpadded) of picture row y counted from the bottom.
template <typename RowFn>
std::string BmpInfo(int width, int height, int bits, const std::vector<uint32_t>& palette,
                    RowFn pixelRow, int storedHeight = 0) {
    const size_t rowSize = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t offset = 54 + palette.size() * 4;
    std::string s(offset + rowSize * height, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, static_cast<uint32_t>(s.size()));
    Put32(s, 10, static_cast<uint32_t>(offset));
    Put32(s, 14, 40);
    Put32(s, 18, static_cast<uint32_t>(width));
    Put32(s, 22, static_cast<uint32_t>(storedHeight ? storedHeight : height));
    Put16(s, 26, 1);
    Put16(s, 28, bits);
    for (size_t i = 0; i < palette.size(); ++i) Put32(s, 54 + i * 4, palette[i]);  // 0x00RRGGBB
    for (int y = 0; y < height; ++y) {
        std::string row = pixelRow(y);
        std::memcpy(&s[offset + rowSize * y], row.data(),
                    row.size() < rowSize ? row.size() : rowSize);
    }
    return s;
}

// Writes a PNG of the given libpng colour type and depth from raw rows (top-down).
inline bool PngWrite(const std::string& path, int width, int height, int colourType, int depth,
                     const std::vector<std::string>& rows,
                     const std::vector<png_color>& palette = {},
                     const std::vector<uint8_t>& trns = {}) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), n);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, width, height, depth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!trns.empty()) png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
    png_write_info(png, info);
    for (const auto& r : rows) png_write_row(png, reinterpret_cast<png_const_bytep>(r.data()));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return testsupport::WriteFile(path, bytes);
}

// Solid RGB(A) rows.
inline std::vector<std::string> SolidRows(int width, int height, std::string pixel) {
    std::string row;
    for (int x = 0; x < width; ++x) row += pixel;
    return std::vector<std::string>(height, row);
}

}  // namespace gfxtest
