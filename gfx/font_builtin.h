// The built-in font: 96 glyphs of printable ASCII as 5 x 6 bitmaps, used whenever a font
// picture cannot be loaded, so text always shows.
#pragma once

#include <cstdint>

#include "gfx/decoded_image.h"

// Entry b - 32 for byte b = 32..127; bit (row * 5 + column), row 0 at the top.
extern const uint32_t kBuiltinGlyphs[96];

constexpr int kBuiltinFontWidth = 128;
constexpr int kBuiltinFontHeight = 64;

// The 128 x 64 font picture: 16 x 8 cells of 8 x 8 pixels, byte values 0..31 empty. Set
// pixels are white, unset pixels touching one (columns 0..6, rows 0..7 of the cell) dark
// grey, the rest transparent.
void BuiltinFontPicture(DecodedImage& out);
