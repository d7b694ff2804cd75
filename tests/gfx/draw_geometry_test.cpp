// Vertex, texture-coordinate, font-grid and collision arithmetic of the 2D draws.
#include "gfx/draw_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "corvane.h"

namespace {

SpriteDims Dims(int W, int H, int TW, int TH, int FW = 0, int FH = 0) {
    SpriteDims d;
    d.W = W, d.H = H, d.TW = TW, d.TH = TH, d.FW = FW, d.FH = FH;
    return d;
}

TEST(DrawGeometry, AnimFramesNumberAcrossThenDownAndGuardEmptyFrames) {
    const SpriteDims d = Dims(64, 32, 64, 32, 16, 16);
    FrameSpan s;
    ASSERT_TRUE(AnimFrameSpan(d, 5, s));  // column 1, row 1
    EXPECT_FLOAT_EQ(s.uL, 0.25f);
    EXPECT_FLOAT_EQ(s.uR, 0.5f);
    EXPECT_FLOAT_EQ(s.vB, 0.0f);  // row 1 is the picture's bottom half: texture rows 0..15
    EXPECT_FLOAT_EQ(s.vT, 0.5f);
    int ox = -1, oy = -1;
    ASSERT_TRUE(AnimFrameOffset(d, 5, ox, oy));
    EXPECT_EQ(ox, 16);
    EXPECT_EQ(oy, 16);
    EXPECT_TRUE(AnimFrameOffset(d, 7, ox, oy));
    EXPECT_FALSE(AnimFrameOffset(d, 8, ox, oy));  // past the last frame
    EXPECT_FALSE(AnimFrameOffset(d, -1, ox, oy));
    // Frames past the end still draw (the texture repeats), but no whole frame: nothing.
    EXPECT_TRUE(AnimFrameSpan(d, 9, s));
    EXPECT_TRUE(AnimFrameSpan(d, INT_MAX, s));
    EXPECT_FALSE(AnimFrameSpan(Dims(64, 32, 64, 32, 0, 16), 0, s));
    EXPECT_FALSE(AnimFrameSpan(Dims(64, 32, 64, 32, 65, 16), 0, s));
    EXPECT_FALSE(AnimFrameSpan(Dims(64, 32, 64, 32, 16, 33), 0, s));
    EXPECT_FALSE(AnimFrameOffset(Dims(64, 32, 64, 32, 16, 33), 0, ox, oy));
    EXPECT_FALSE(AnimFrameSpan(Dims(0, 0, -1, -1, 16, 16), 0, s));
}

TEST(DrawGeometry, RectanglesWithNegativeSizesExtendFromTheGivenPixel) {
    float c[4][2];
    RectCorners(10, 10, -3, 2, c);
    EXPECT_EQ(c[0][0], 8);   // left
    EXPECT_EQ(c[1][0], 11);  // right edge: columns 8..10
    EXPECT_EQ(c[2][1], 10);  // top
    EXPECT_EQ(c[0][1], 12);  // bottom edge: rows 10..11
    RectCorners(5, 5, 2, -4, c);
    EXPECT_EQ(c[2][1], 2);
    EXPECT_EQ(c[0][1], 6);
    RectCorners(INT_MAX, INT_MAX, INT_MAX, -INT_MAX, c);  // no overflow
    EXPECT_GT(c[1][0], c[0][0]);
}

TEST(DrawGeometry, StretchZoomAndRotoZoomCorners) {
    const SpriteDims d = Dims(100, 30, 128, 32);
    Vertex2D q[4];
    SpriteStretchVerts(d, 20, 10, -100, 30, q);
    EXPECT_EQ(q[0].x, 20);
    EXPECT_EQ(q[1].x, -80);
    EXPECT_FLOAT_EQ(q[1].u, 100.0f / 128);
    EXPECT_TRUE(StretchMirrored(-1, 2));
    EXPECT_FALSE(StretchMirrored(-1, -2));
    int rx, ry, rw, rh;
    SpriteZoomRect(d, 50, 50, 2, 0.5, rx, ry, rw, rh);
    EXPECT_EQ(rx, 0);
    EXPECT_EQ(ry, 57);  // 50 - (15 - 30) / 2 = 57.5, truncated
    EXPECT_EQ(rw, 200);
    EXPECT_EQ(rh, 15);
    // A quarter turn counter-clockwise: the picture's top-left corner goes to bottom-left.
    SpriteRotoZoomVerts(Dims(20, 10, 32, 16), 0, 0, 90, 1, q);
    // Centre (10, 5); the corner (-10, -5) turns to (-5, +10) on screen.
    EXPECT_NEAR(q[3].x, 5, 1e-4);
    EXPECT_NEAR(q[3].y, 15, 1e-4);
    EXPECT_FLOAT_EQ(q[0].u, 0.5f / 32);
    EXPECT_FLOAT_EQ(q[2].v, 9.5f / 16);
    FrameSpan s{0, 1, 0, 1};
    AnimRotoZoomVerts(Dims(32, 32, 32, 32, 16, 16), s, 0, 0, 0, 1.5, q);
    EXPECT_EQ(q[0].x, -4);  // 8 - 12, each corner rounded up
    EXPECT_EQ(q[2].y, 20);
    AnimRotoZoomVerts(Dims(32, 32, 32, 32, 16, 16), s, 0, 0, 30, 1, q);
    for (const Vertex2D& v : q) {
        EXPECT_EQ(v.x, static_cast<int>(v.x));
        EXPECT_EQ(v.y, static_cast<int>(v.y));
    }
}

TEST(DrawGeometry, FontGridsAndGlyphCells) {
    FontGrid g = FontGridFor(112, 88, 128, 128);
    EXPECT_EQ(g.rows, 8);
    EXPECT_EQ(g.cellW, 7);
    EXPECT_EQ(g.cellH, 11);
    Vertex2D a[4], b[4];
    GlyphVerts(g, 200, 0, 0, a);
    GlyphVerts(g, 72, 0, 0, b);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a[i].u, b[i].u);
        EXPECT_EQ(a[i].v, b[i].v);
    }
    EXPECT_FLOAT_EQ(b[0].u, 8 * (112.0f / 128) / 16);
    EXPECT_FLOAT_EQ(b[0].v, 3 * (88.0f / 128) / 8);  // row 4 of 8, counted from the bottom
    g = FontGridFor(256, 512, 256, 512);
    EXPECT_EQ(g.rows, 16);
    EXPECT_EQ(g.cellW, 16);
    EXPECT_EQ(g.cellH, 32);
    GlyphVerts(g, 255, 0, 0, a);
    EXPECT_FLOAT_EQ(a[0].v, 0.0f);
    EXPECT_FLOAT_EQ(a[1].u, 1.0f);
    g = FontGridFor(64, 64, 64, 64);  // square: 8 rows
    EXPECT_EQ(g.rows, 8);
    g = FontGridFor(0, 0, -1, -1);  // never loaded
    EXPECT_EQ(g.cellW, 0);
    EXPECT_EQ(g.du, 0.0f);
}

// Masks are texture-sized and upside down: row 0 is the picture's bottom row.
std::vector<uint8_t> Mask(int tw, int th, int ph, const std::vector<std::pair<int, int>>& opaque) {
    std::vector<uint8_t> m(static_cast<size_t>(tw) * th, 0);
    for (auto [x, y] : opaque) m[static_cast<size_t>(ph - 1 - y) * tw + x] = 255;
    return m;
}

CollideBox Box(int x, int y, int w, int h, const std::vector<uint8_t>& m, int tw, int th) {
    return CollideBox{x, y, w, h, 0, 0, h, tw, th, m.data()};
}

TEST(DrawGeometry, CollisionsNeedACommonOpaquePixel) {
    std::vector<std::pair<int, int>> all;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) all.push_back({x, y});
    const auto full = Mask(8, 8, 6, all);
    EXPECT_FALSE(CollideBoxes(Box(0, 0, 6, 6, full, 8, 8), Box(6, 0, 6, 6, full, 8, 8)));
    EXPECT_FALSE(CollideBoxes(Box(0, 0, 6, 6, full, 8, 8), Box(0, -6, 6, 6, full, 8, 8)));
    EXPECT_TRUE(CollideBoxes(Box(0, 0, 6, 6, full, 8, 8), Box(5, 5, 6, 6, full, 8, 8)));
    // One opaque pixel each, found wherever it lies in the overlap (any of the four passes).
    for (int px = 0; px < 4; ++px)
        for (int py = 0; py < 4; ++py) {
            const auto a = Mask(4, 4, 4, {{px, py}});
            const auto b = Mask(4, 4, 4, {{px, py}});
            EXPECT_TRUE(CollideBoxes(Box(0, 0, 4, 4, a, 4, 4), Box(0, 0, 4, 4, b, 4, 4)));
            const auto c = Mask(4, 4, 4, {{(px + 1) % 4, py}});
            EXPECT_FALSE(CollideBoxes(Box(0, 0, 4, 4, a, 4, 4), Box(0, 0, 4, 4, c, 4, 4)));
        }
    // A frame offset shifts the lookup inside the picture.
    const auto sheet = Mask(32, 16, 16, {{20, 3}});
    CollideBox f{0, 0, 16, 16, 16, 0, 16, 32, 16, sheet.data()};
    EXPECT_TRUE(CollideBoxes(f, Box(4, 3, 6, 6, full, 8, 8)));
    EXPECT_FALSE(CollideBoxes(f, Box(5, 3, 6, 6, full, 8, 8)));
    CollideBox none = Box(0, 0, 6, 6, full, 8, 8);
    none.mask = nullptr;
    EXPECT_FALSE(CollideBoxes(none, Box(0, 0, 6, 6, full, 8, 8)));
}

}  // namespace

TEST(ColourRgb, PacksTruncatedComponentsHeldToAByte) {
    struct Case {
        double r, g, b, colour;
    } cases[] = {
        {255, 0, 0, 0x0000FF},        {0, 255, 0, 0x00FF00},        {0, 0, 255, 0xFF0000},
        {0x12, 0x34, 0x56, 0x563412}, {255, 255, 255, 0xFFFFFF},    {10.9, 20.5, 30.99, 0x1E140A},
        {300, -5, 1e300, 0xFF00FF},   {NAN, -0.5, 255.9, 0xFF0000}, {-1e300, INFINITY, 0, 0x00FF00},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColourRgb(c.r, c.g, c.b), c.colour) << c.r << " " << c.g << " " << c.b;
}
