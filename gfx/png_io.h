// PNG pictures through libpng: reading into RGBA, writing RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/decoded_image.h"

// Decodes a whole PNG file held in memory into RGBA. name is only used in the two printed
// messages for unsupported depths and colour types. RGB pixels equal to transparentColour
// become (0, 0, 0, 0); pictures with their own alpha keep it. Width and height must lie in
// 1..maxSide. A corrupt or truncated file gives false, never an abort.
bool PngDecode(const uint8_t* data, size_t size, const char* name, int transparentColour,
               int maxSide, DecodedImage& out);

// Encodes top-down RGBA rows (width * 4 bytes each) as an 8-bit RGBA PNG. False on failure.
bool PngEncode(const uint8_t* rgba, int width, int height, std::vector<uint8_t>& out);
