// Vertices and texture coordinates of every 2D draw, apart from GL. Pictures sit upside down
// in their textures, so a picture's top edge is at the larger v.
#pragma once

#include <cstdint>

struct Vertex2D {
    float x, y, u, v;
};

// The sizes of one slot that the draws use.
struct SpriteDims {
    int W = 0, H = 0;    // picture
    int TW = 0, TH = 0;  // texture
    int FW = 0, FH = 0;  // animation frame
};

// SpriteDraw: a quad at (x, y), unscaled.
void SpriteDrawVerts(const SpriteDims& d, int x, int y, Vertex2D out[4]);
// SpriteDrawStretch: bottom-left, bottom-right, top-right, top-left of (x, y, w, h).
void SpriteStretchVerts(const SpriteDims& d, int x, int y, int w, int h, Vertex2D out[4]);
// True when exactly one size is negative: the quad winds the other way.
inline bool StretchMirrored(int w, int h) {
    return (w < 0) != (h < 0);
}
// SpriteDrawZoom: the stretched rectangle, grown about the picture's centre, in whole pixels.
void SpriteZoomRect(const SpriteDims& d, int x, int y, double zoomX, double zoomY, int& rx, int& ry,
                    int& rw, int& rh);
// SpriteDrawRotoZoom: rotated about the centre (x + W/2, y + H/2), positive angles turning
// counter-clockwise on screen; texture coordinates half a texel inside the picture.
void SpriteRotoZoomVerts(const SpriteDims& d, int x, int y, double angle, double zoom,
                         Vertex2D out[4]);

// The texture span of animation frame f. False when the picture holds no whole frame
// (frame size 0, or larger than the picture). Frames past the last are not bounded: the
// texture repeats.
struct FrameSpan {
    float uL, uR, vB, vT;
};
bool AnimFrameSpan(const SpriteDims& d, int frame, FrameSpan& s);
// The corner of frame f inside the picture, for collision tests. False when the picture
// holds no whole frame or f is not one of its frames.
bool AnimFrameOffset(const SpriteDims& d, int frame, int& offX, int& offY);
void AnimDrawVerts(const SpriteDims& d, const FrameSpan& s, int x, int y, Vertex2D out[4]);
void AnimStretchVerts(const FrameSpan& s, int x, int y, int w, int h, Vertex2D out[4]);
void AnimRotoZoomVerts(const SpriteDims& d, const FrameSpan& s, int x, int y, double angle,
                       double zoom, Vertex2D out[4]);

// RectDraw: corners (left, bottom), (right, bottom), (right, top), (left, top); a negative
// size extends the other way from the given pixel, so (10, 10, -3, 2) covers columns 8..10.
void RectCorners(int x, int y, int w, int h, float out[4][2]);

// Text: the glyph cell of byte b in a font picture W x H inside a TW x TH texture.
struct FontGrid {
    int rows = 8;   // 16 when W < H
    int cellW = 0;  // W / 16
    int cellH = 0;  // H / rows
    float du = 0, dv = 0;
};
FontGrid FontGridFor(int W, int H, int TW, int TH);
// The quad of byte b at pixel (px, py): (px, py + CH), (px + CW, py + CH), (px + CW, py),
// (px, py).
void GlyphVerts(const FontGrid& g, uint8_t b, int px, int py, Vertex2D out[4]);

// Pixel-exact collision of two rectangles with alpha masks (texture-sized, upside down).
struct CollideBox {
    int x, y, w, h;             // on screen
    int offX, offY;             // the frame's corner inside the picture (0, 0 for whole pictures)
    int pictureHeight;          // H of the slot
    int maskWidth, maskHeight;  // TW, TH
    const uint8_t* mask;
};
// True when the rectangles overlap with a pixel that is opaque in both; the overlap is
// visited in four interleaved passes so that a hit in a large overlap shows early.
bool CollideBoxes(const CollideBox& a, const CollideBox& b);
// Whether the two rectangles overlap at all (touching edges do not).
bool CollideRectsOverlap(const CollideBox& a, const CollideBox& b, int& left, int& top, int& right,
                         int& bottom);
