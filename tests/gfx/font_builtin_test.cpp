// The built-in font table and its picture.
#include "gfx/font_builtin.h"

#include <gtest/gtest.h>

#include <string>

// The given glyphs as the picture shows them: the white pixels of the 5 x 6 bitmap at (1, 1)
// of the glyph's cell.
TEST(BuiltinFont, GivenGlyphsShowInThePicture) {
    DecodedImage img;
    BuiltinFontPicture(img);
    ASSERT_EQ(img.width, 128);
    const struct {
        char c;
        const char* rows[6];
    } glyphs[] = {
        {'A', {".###.", ".#.#.", ".###.", ".#.#.", ".#.#.", "....."}},
        {'Z', {".###.", "...#.", "..#..", ".#...", ".###.", "....."}},
        {'g', {".....", ".....", ".###.", ".###.", "...#.", "..#.."}},
        {' ', {".....", ".....", ".....", ".....", ".....", "....."}},
    };
    for (const auto& g : glyphs) {
        const int ox = (g.c % 16) * 8 + 1, oy = (g.c / 16) * 8 + 1;
        for (int r = 0; r < 6; ++r) {
            std::string row;
            for (int c = 0; c < 5; ++c) row += img.Pixel(ox + c, oy + r)[0] == 255 ? '#' : '.';
            EXPECT_EQ(row, g.rows[r]) << g.c << " row " << r;
        }
    }
}

TEST(BuiltinFont, EveryVisibleGlyphHasPixelsAndLookalikesDiffer) {
    for (int b = 33; b < 127; ++b) {
        EXPECT_NE(kBuiltinGlyphs[b - 32], 0u) << b;
        EXPECT_EQ(kBuiltinGlyphs[b - 32] >> 30, 0u) << b;  // only 30 bits of bitmap
    }
    // Glyphs that readers must tell apart.
    for (const char* pair : {"O0", "Il", "1l", "B8", "S5", "Z2", "ij", "pq", "nu", "mw"})
        EXPECT_NE(kBuiltinGlyphs[pair[0] - 32], kBuiltinGlyphs[pair[1] - 32]) << pair;
}

TEST(BuiltinFont, PictureHasWhiteGlyphsDarkOutlinesAndEmptyControlRows) {
    DecodedImage img;
    BuiltinFontPicture(img);
    ASSERT_EQ(img.width, 128);
    ASSERT_EQ(img.height, 64);
    auto px = [&](int x, int y) {
        const uint8_t* p = img.Pixel(x, y);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 128; ++x) ASSERT_EQ(px(x, y), 0u);  // bytes 0..31
    // 'A' is byte 65: cell column 1, row 4 -> cell origin (8, 32); bitmap at (1, 1).
    const int ox = 8 + 1, oy = 32 + 1;
    EXPECT_EQ(px(ox + 1, oy), 0xffffffffu);      // top bar .###.
    EXPECT_EQ(px(ox + 0, oy), 0xff080808u);      // left of it: outline
    EXPECT_EQ(px(ox + 2, oy + 1), 0xff080808u);  // the hole inside the A touches set pixels
    EXPECT_EQ(px(ox + 2, oy + 4), 0xff080808u);  // between the legs, touching
    EXPECT_EQ(px(8 + 7, 32 + 3), 0u);            // column 7 of the cell is never outlined
    EXPECT_EQ(px(ox + 2, oy + 5), 0u);           // below the gap: touches nothing
    // '_' fills the full bitmap row 5 from column 0: outline reaches cell column 0 and 6.
    const int ux = ('_' % 16) * 8, uy = ('_' / 16) * 8;
    EXPECT_EQ(px(ux + 1, uy + 6), 0xffffffffu);
    EXPECT_EQ(px(ux + 0, uy + 6), 0xff080808u);
    EXPECT_EQ(px(ux + 6, uy + 6), 0xff080808u);
    EXPECT_EQ(px(ux + 3, uy + 7), 0xff080808u);
}
