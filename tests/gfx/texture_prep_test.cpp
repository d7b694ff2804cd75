// Texture preparation apart from GL: sizes, flip, edge bleeding, mip-map weights, normals.
#include "gfx/texture_prep.h"

#include <gtest/gtest.h>

TEST(TexturePrep, PowerOfTwoSizesStartAtTheGivenMinimum) {
    EXPECT_EQ(PowerOfTwoAtLeast(1, 2), 2);
    EXPECT_EQ(PowerOfTwoAtLeast(100, 2), 128);
    EXPECT_EQ(PowerOfTwoAtLeast(30, 2), 32);
    EXPECT_EQ(PowerOfTwoAtLeast(64, 2), 64);
    EXPECT_EQ(PowerOfTwoAtLeast(20, 32), 32);
    EXPECT_EQ(PowerOfTwoAtLeast(33, 32), 64);
}

TEST(TexturePrep, RegionIsCopiedUpsideDownIntoTheCorner) {
    DecodedImage img;
    img.Resize(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            uint8_t* p = img.Pixel(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = 9;
            p[3] = 255;
        }
    std::vector<uint8_t> buf;
    // Region (1, 1, 4, 2) reaches past the image on the right: only 2 columns exist.
    TextureBufferFill(img, 1, 1, 4, 2, 4, 2, buf);
    ASSERT_EQ(buf.size(), 4u * 2 * 4);
    auto t = [&](int x, int y) { return &buf[(y * 4 + x) * 4]; };
    EXPECT_EQ(t(0, 1)[0], 1);  // source row 1 lands in texture row 1 (= h - 1 - 0)
    EXPECT_EQ(t(0, 1)[1], 1);
    EXPECT_EQ(t(1, 0)[0], 2);
    EXPECT_EQ(t(1, 0)[1], 2);  // source row 2 in texture row 0
    EXPECT_EQ(t(2, 0)[3], 0);  // outside the image: transparent black
    EXPECT_EQ(t(3, 1)[3], 0);
}

TEST(TexturePrep, EdgeBleedingFillsTransparentTexelsFromOpaqueNeighbours) {
    const int tw = 4, th = 4;
    std::vector<uint8_t> buf(tw * th * 4, 0);
    auto t = [&](int x, int y) { return &buf[(y * tw + x) * 4]; };
    // Two opaque inner texels, and a bright transparent texel with no inner neighbour.
    uint8_t* a = t(1, 1);
    a[0] = 100, a[1] = 50, a[2] = 0, a[3] = 255;
    uint8_t* b = t(2, 1);
    b[0] = 201, b[1] = 0, b[2] = 30, b[3] = 255;
    uint8_t* border = t(0, 3);
    border[0] = border[1] = border[2] = 255;  // transparent, far from both
    t(3, 0)[3] = 200;                         // opaque but on the border: never counts
    t(3, 0)[0] = 250;
    EdgeBleed(buf, tw, th);
    EXPECT_EQ(t(1, 2)[0], 150);  // both neighbours: (100 + 201) / 2 truncated
    EXPECT_EQ(t(1, 2)[1], 25);
    EXPECT_EQ(t(1, 2)[2], 15);
    EXPECT_EQ(t(1, 2)[3], 0);    // alpha stays 0
    EXPECT_EQ(t(0, 1)[0], 100);  // only (1, 1) counts
    EXPECT_EQ(t(0, 3)[0], 0);    // nothing counts: black
    EXPECT_EQ(t(3, 1)[0], 201);  // (3, 0) is on the border and does not count
}

TEST(TexturePrep, MipChainSquaresThenUsesTheNineWeights) {
    // 4 x 2: squared by averaging horizontal pairs into 2 x 2.
    std::vector<uint8_t> buf(4 * 2 * 4);
    const int values[8] = {10, 21, 30, 40, 90, 91, 0, 255};
    for (int i = 0; i < 8; ++i)
        for (int c = 0; c < 4; ++c) buf[i * 4 + c] = static_cast<uint8_t>(values[i]);
    int w = 4, h = 2;
    MipSquare(buf, w, h);
    ASSERT_EQ(w, 2);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(buf[0], 15);       // (10 + 21) / 2
    EXPECT_EQ(buf[4], 35);       // (30 + 40) / 2
    EXPECT_EQ(buf[2 * 4], 90);   // (90 + 91) / 2
    EXPECT_EQ(buf[3 * 4], 127);  // (0 + 255) / 2

    // 4 x 4 -> 2 x 2: texel (0, 0) is (4P + 2Q + 2R + S) / 9, the last row (2P + Q) / 3, the
    // last column (2P + R) / 3, the last texel P.
    std::vector<uint8_t> level(4 * 4 * 4), next;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) level[(y * 4 + x) * 4] = static_cast<uint8_t>(y * 40 + x * 10);
    MipNext(level, 4, next);
    ASSERT_EQ(next.size(), 2u * 2 * 4);
    EXPECT_EQ(next[0], (4 * 0 + 2 * 10 + 2 * 40 + 50) / 9);
    EXPECT_EQ(next[(0 * 2 + 1) * 4], (2 * 20 + 60) / 3);  // last column
    EXPECT_EQ(next[(1 * 2 + 0) * 4], (2 * 80 + 90) / 3);  // last row
    EXPECT_EQ(next[(1 * 2 + 1) * 4], 100);                // P alone
    std::vector<uint8_t> one;
    MipNext(std::vector<uint8_t>{7, 8, 9, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 2, one);
    ASSERT_EQ(one.size(), 4u);
    EXPECT_EQ(one[0], 7);
}

TEST(TexturePrep, NormalMapFromTheBlueHeightField) {
    const int tw = 4, th = 4;
    std::vector<uint8_t> buf(tw * th * 4, 0);
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) {
            buf[(y * tw + x) * 4 + 2] = 0;
            buf[(y * tw + x) * 4 + 3] = static_cast<uint8_t>(x + 1);
        }
    std::vector<uint8_t> flat = buf;
    NormalMapApply(flat, tw, th);
    // A flat field points straight up: (0, 0, 1) stored as (127, 127, 255).
    EXPECT_EQ(flat[0], 127);
    EXPECT_EQ(flat[1], 127);
    EXPECT_EQ(flat[2], 255);
    EXPECT_EQ(flat[(5) * 4 + 3], 2);  // alpha untouched
    // A ramp rising to the right: the normal leans to negative x.
    for (int y = 0; y < th; ++y) buf[(y * tw + 2) * 4 + 2] = 255;
    NormalMapApply(buf, tw, th);
    EXPECT_LT(buf[(1 * tw + 1) * 4 + 0], 127);
    EXPECT_GT(buf[(1 * tw + 3) * 4 + 0], 127);
    EXPECT_EQ(buf[(1 * tw + 1) * 4 + 1], 127);  // no slope along y
}
