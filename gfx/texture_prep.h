// Preparing picture bytes for a texture, apart from GL: power-of-two sizes, the upside-down
// copy, edge bleeding, normal maps and the mip-map chain.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/decoded_image.h"

// The first power of two, counting from `from` upwards, that is at least n.
int PowerOfTwoAtLeast(int n, int from);

// A texture-sized RGBA buffer (tw x th, zero-filled) holding the region (x, y, w, h) of img
// upside down: source row y + k lands in texture row h - 1 - k. Pixels outside the image
// stay transparent black.
void TextureBufferFill(const DecodedImage& img, int x, int y, int w, int h, int tw, int th,
                       std::vector<uint8_t>& buf);

// Gives every fully transparent texel the average colour of its opaque neighbours (the 8
// around it, texels on the outer border not counting), or black when it has none, so that
// filtered edges show no dark fringe. Alpha is left alone.
void EdgeBleed(std::vector<uint8_t>& buf, int tw, int th);

// Replaces red, green and blue by a normal from the blue channel read as a height field
// (Sobel, wrapping at the edges). Alpha is left alone.
void NormalMapApply(std::vector<uint8_t>& buf, int tw, int th);

// The mip-map chain: MipSquare halves the longer side until the buffer is square (pairs
// averaged per byte); MipNext makes the next level, half the size, each texel
// (4P + 2Q + 2R + S) / 9 with the last row, last column and last texel weighted apart.
void MipSquare(std::vector<uint8_t>& buf, int& w, int& h);
void MipNext(const std::vector<uint8_t>& level, int size, std::vector<uint8_t>& next);
