// BMP pictures: core (12-byte) and info (40-byte) headers; 1, 4, 8, 24 and 32 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/decoded_image.h"

// Decodes a whole BMP file held in memory. Pixels equal to transparentColour (packed RGB, or
// kNoTransparentColour) become (0, 0, 0, 0). Width and height must lie in 1..maxSide. False
// on anything malformed or truncated; out is then unspecified.
bool BmpDecode(const uint8_t* data, size_t size, int transparentColour, int maxSide,
               DecodedImage& out);
