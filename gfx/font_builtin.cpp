#include "gfx/font_builtin.h"

#include <cstring>

// Three-pixel-wide capitals and digits in columns 1 to 3; lower case sits lower with a
// descender row; M, W and a few symbols use all five columns.
const uint32_t kBuiltinGlyphs[96] = {
    0x00000000, 0x00401084, 0x0000014a, 0x00afabea, 0x00fa38be, 0x00911112, 0x01649926, 0x00000084,
    0x00821088, 0x00221082, 0x00051140, 0x00023880, 0x04400000, 0x00003800, 0x00400000, 0x00211108,
    0x00452944, 0x00e210c4, 0x00e1390e, 0x00e4310e, 0x0084394a, 0x0064184e, 0x00e5384e, 0x0042110e,
    0x00e5394e, 0x00e4394e, 0x00020080, 0x00220080, 0x00820888, 0x000701c0, 0x00222082, 0x0040310e,
    0x0066f62e, 0x00a5394e, 0x00651946, 0x00e1084e, 0x00652946, 0x00e1184e, 0x0021184e, 0x00e5284e,
    0x00a5394a, 0x00e2108e, 0x00e52108, 0x00a5194a, 0x00e10842, 0x0118d771, 0x00a52946, 0x00e5294e,
    0x0021394e, 0x0087294e, 0x00a5194e, 0x00e4384e, 0x0042108e, 0x00e5294a, 0x0045294a, 0x011dd631,
    0x00a5114a, 0x0042114a, 0x00e1110e, 0x00610846, 0x00841042, 0x00c4210c, 0x00000144, 0x3e000000,
    0x00000082, 0x01e53800, 0x00e53842, 0x00e13800, 0x00e53908, 0x00e139c0, 0x0042388c, 0x08873800,
    0x00a53842, 0x00421004, 0x08a42008, 0x00a51942, 0x00e21086, 0x015abc00, 0x00a51800, 0x00e53800,
    0x04e53800, 0x10e53800, 0x00213800, 0x00623000, 0x00c23884, 0x00e52800, 0x00452800, 0x00aad400,
    0x00a22800, 0x08872800, 0x00e23800, 0x00821888, 0x00421084, 0x00223082, 0x00045440, 0x01f8c63f,
};

namespace {

bool GlyphBit(uint32_t word, int col, int row) {
    if (col < 0 || col >= 5 || row < 0 || row >= 6) return false;
    return (word >> (row * 5 + col)) & 1;
}

}  // namespace

void BuiltinFontPicture(DecodedImage& out) {
    out.Resize(kBuiltinFontWidth, kBuiltinFontHeight);
    std::memset(out.pixels.data(), 0, out.pixels.size());
    for (int b = 32; b < 128; ++b) {
        const uint32_t word = kBuiltinGlyphs[b - 32];
        const int cellX = (b % 16) * 8, cellY = (b / 16) * 8;
        for (int cy = 0; cy < 8; ++cy) {
            for (int cx = 0; cx < 8; ++cx) {
                // The bitmap sits at (1, 1) inside its cell.
                const int gx = cx - 1, gy = cy - 1;
                uint8_t* p = out.Pixel(cellX + cx, cellY + cy);
                if (GlyphBit(word, gx, gy)) {
                    p[0] = p[1] = p[2] = p[3] = 255;
                } else if (cx <= 6 && (GlyphBit(word, gx - 1, gy) || GlyphBit(word, gx + 1, gy) ||
                                       GlyphBit(word, gx, gy - 1) || GlyphBit(word, gx, gy + 1))) {
                    p[0] = p[1] = p[2] = 8;
                    p[3] = 255;
                }
            }
        }
    }
}
