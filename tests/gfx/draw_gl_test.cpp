// 2D drawing, blend modes, collisions and fonts against a real window: every check reads the
// back buffer with glReadPixels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/gfx_text.h"
#include "gfx/gl_ext.h"
#include "gfx/renderer.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"
#include "image_builders.h"
#include "runtime/runtime_state.h"
#include "support/test_support.h"
#include "tests/gfx/gl_window.h"

namespace {

struct Rgba {
    int r, g, b, a;
};

// One window for the whole test process.
class DrawGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GlTestWindowOpen(); }
    void SetUp() override {
        GL_TEST_REQUIRE_WINDOW();
        Draw2DFlush();
        R()->Viewport2D(0, 0, 0, 0);
        BlendModeSet(0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        R()->spriteTransparentColour = 0x8000ff;
        R()->fontTransparentColour = 0;
    }
    static Renderer* R() { return runtimeState.renderer; }

    // The back buffer, top-left origin.
    static Rgba At(int x, int y) {
        uint8_t p[4];
        Draw2DFlush();
        glReadBuffer(GL_BACK);
        GlReadPixelsPacked(x, R()->height - 1 - y, 1, 1, GL_RGBA, p);
        return {p[0], p[1], p[2], p[3]};
    }
    static std::vector<uint8_t> Block(int x, int y, int w, int h) {
        std::vector<uint8_t> v(static_cast<size_t>(w) * h * 4);
        Draw2DFlush();
        glReadBuffer(GL_BACK);
        GlReadPixelsPacked(x, R()->height - y - h, w, h, GL_RGBA, v.data());
        return v;
    }
    // A picture filled by fn(x, y) -> RGBA, uploaded into slot s as a sprite.
    template <typename Fn>
    static void Picture(int s, int w, int h, Fn fn, bool fontStyle = false) {
        DecodedImage img;
        img.Resize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgba c = fn(x, y);
                uint8_t* p = img.Pixel(x, y);
                p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
            }
        SlotReset(s);
        ASSERT_TRUE(SlotLoadImage(s, img, fontStyle, false));
    }
    static void Solid(int s, int w, int h, Rgba c) {
        Picture(s, w, h, [&](int, int) { return c; });
    }
};

bool Near(Rgba a, Rgba b, int tol = 2) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

#define EXPECT_RGB(got, want)                                                                 \
    do {                                                                                      \
        Rgba g_ = (got), w_ = (want);                                                         \
        EXPECT_TRUE(Near(g_, w_)) << "got " << g_.r << "," << g_.g << "," << g_.b << " want " \
                                  << w_.r << "," << w_.g << "," << w_.b;                      \
    } while (0)

TEST_F(DrawGL, BlendModesAdditiveAlphaAndOpaque) {
    Solid(1, 4, 4, {200, 100, 50, 255});
    struct Case {
        double mode;
        Rgba want;
        float alpha;
    } cases[] = {
        {0.5, {140, 90, 65, 0}, 0.5f}, {-0.5, {120, 70, 45, 0}, 0.5f}, {3, {240, 140, 90, 0}, 1.0f},
        {-3, {200, 100, 50, 0}, 1.0f}, {0, {200, 100, 50, 0}, 1.0f},
    };
    int x = 0;
    for (const Case& c : cases) {
        BlendModeSet(0);
        RectDraw(x, 0, 4, 4, 40 + 40 * 256 + 40 * 65536);
        BlendModeSet(c.mode);
        EXPECT_FLOAT_EQ(R()->currentAlpha, c.alpha) << c.mode;
        EXPECT_EQ(glIsEnabled(GL_BLEND) == GL_TRUE, c.mode != 0) << c.mode;
        SpriteDraw(1, x, 0);
        EXPECT_RGB(At(x + 1, 1), c.want);
        x += 8;
    }
}

TEST_F(DrawGL, AlphaTestDropsFragmentsAtOrBelowFivePercent) {
    // Left half alpha 12 (0.047), right half alpha 14 (0.055).
    Picture(2, 8, 2, [](int x, int) { return Rgba{255, 255, 255, x < 4 ? 12 : 14}; });
    SpriteDraw(2, 10, 10);
    EXPECT_RGB(At(11, 10), (Rgba{0, 0, 0, 0}));
    EXPECT_RGB(At(15, 10), (Rgba{255, 255, 255, 0}));  // blending off: drawn at full colour
    // The current alpha multiplies in: 0.05 of an opaque picture is dropped, 0.06 is not.
    Solid(3, 2, 2, {255, 255, 255, 255});
    BlendModeSet(-0.05);
    SpriteDraw(3, 30, 10);
    BlendModeSet(-0.06);
    SpriteDraw(3, 40, 10);
    EXPECT_RGB(At(30, 10), (Rgba{0, 0, 0, 0}));
    EXPECT_RGB(At(40, 10), (Rgba{15, 15, 15, 0}));
}

TEST_F(DrawGL, MirroredStretchesStayVisible) {
    SmoothingSet(0);
    // Red on the left column, green on the right, blue top row marker in the middle.
    Picture(4, 4, 2, [](int x, int y) {
        if (x == 0) return Rgba{255, 0, 0, 255};
        if (x == 3) return Rgba{0, 255, 0, 255};
        return y == 0 ? Rgba{0, 0, 255, 255} : Rgba{255, 255, 255, 255};
    });
    SpriteDrawStretch(4, 20, 10, -4, 2);  // x mirrored into 16..19
    EXPECT_RGB(At(16, 10), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(19, 10), (Rgba{255, 0, 0, 0}));
    EXPECT_RGB(At(20, 10), (Rgba{0, 0, 0, 0}));
    SpriteDrawStretch(4, 30, 22, 4, -2);  // y mirrored into rows 20..21
    EXPECT_RGB(At(31, 21), (Rgba{0, 0, 255, 0}));
    EXPECT_RGB(At(31, 20), (Rgba{255, 255, 255, 0}));
    SpriteDrawStretch(4, 44, 32, -4, -2);  // turned by 180 degrees into 40..43, 30..31
    EXPECT_RGB(At(40, 30), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(43, 31), (Rgba{255, 0, 0, 0}));
    EXPECT_RGB(At(41, 31), (Rgba{0, 0, 255, 0}));
    // Unmirrored for comparison, and the front face is back to normal afterwards.
    SpriteDrawStretch(4, 50, 10, 4, 2);
    EXPECT_RGB(At(50, 10), (Rgba{255, 0, 0, 0}));
    GLint face = 0;
    glGetIntegerv(GL_FRONT_FACE, &face);
    EXPECT_EQ(face, GL_CCW);
    // Zoomed about the centre: 2x of a 4x2 at (60, 10) covers 58..65, 9..12.
    SpriteDrawZoom(4, 60, 10, 2, 2);
    EXPECT_RGB(At(58, 9), (Rgba{255, 0, 0, 0}));
    EXPECT_RGB(At(65, 12), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(57, 9), (Rgba{0, 0, 0, 0}));
    SmoothingSet(1);
}

TEST_F(DrawGL, RectLineAndPixelCoverExactPixels) {
    const double white = 255 + 255 * 256 + 255 * 65536;
    RectDraw(10, 10, -3, 2, white);
    auto b = Block(6, 8, 6, 5);  // columns 6..11, rows 8..12 (bottom row first)
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 6; ++col) {
            const int x = 6 + col, y = 12 - row;
            const bool in = x >= 8 && x <= 10 && y >= 10 && y <= 11;
            EXPECT_EQ(b[(row * 6 + col) * 4], in ? 255 : 0) << x << "," << y;
        }
    LineDraw(50, 50, 50, 50, white);
    auto p = Block(48, 48, 5, 5);
    int lit = 0;
    for (size_t i = 0; i < p.size(); i += 4) lit += p[i] != 0;
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(At(50, 50).r, 255);
    LineDraw(60, 40, 64, 40, 0xff);
    for (int x = 59; x <= 65; ++x) EXPECT_EQ(At(x, 40).r, x >= 60 && x <= 64 ? 255 : 0) << x;
    PixelSet(70, 71, 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(PixelGet(70, 71), 1 + 2 * 256 + 3 * 65536);  // read-back sees pending draws
    EXPECT_EQ(PixelGet(71, 71), 0);
}

TEST_F(DrawGL, TransparentColourWritesAlphaZero) {
    // The window may have no alpha channel; then an RGBA target of the same size stands in.
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    GLuint fbo = 0, rb = 0;
    if (alphaBits == 0) {
        ASSERT_NE(GlExt().glGenFramebuffersEXT, nullptr);
        GlExt().glGenFramebuffersEXT(1, &fbo);
        GlExt().glGenRenderbuffersEXT(1, &rb);
        GlExt().glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, rb);
        GlExt().glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, R()->width, R()->height);
        GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo);
        GlExt().glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                             GL_RENDERBUFFER_EXT, rb);
        ASSERT_EQ(GlExt().glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT),
                  GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
        glClear(GL_COLOR_BUFFER_BIT);
    }
    auto read = [&](int x, int y) {
        uint8_t p[4];
        Draw2DFlush();
        if (!fbo) glReadBuffer(GL_BACK);
        GlReadPixelsPacked(x, R()->height - 1 - y, 1, 1, GL_RGBA, p);
        return Rgba{p[0], p[1], p[2], p[3]};
    };
    PixelSet(5, 5, 0x8000ff);
    PixelSet(6, 5, 0x8000fe);
    RectDraw(10, 5, 2, 2, 0x8000ff);
    EXPECT_EQ(read(5, 5).a, 0);
    EXPECT_EQ(read(5, 5).r, 255);
    EXPECT_EQ(read(5, 5).b, 128);
    EXPECT_EQ(read(6, 5).a, 255);
    EXPECT_EQ(read(11, 6).a, 0);
    EXPECT_EQ(read(12, 6).a, 255);  // the clear colour's alpha
    if (fbo) {
        GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        GlExt().glDeleteFramebuffersEXT(1, &fbo);
        GlExt().glDeleteRenderbuffersEXT(1, &rb);
    }
}

TEST_F(DrawGL, AnimFramesNumberLeftToRightThenDown) {
    SmoothingSet(0);
    // 64 x 32 with 16 x 16 frames: frame f has red = 10 * f + 20.
    Picture(5, 64, 32, [](int x, int y) {
        const int f = (y / 16) * 4 + x / 16;
        return Rgba{10 * f + 20, x % 16, y % 16, 255};
    });
    SlotGet(5)->frameWidth = 16;
    SlotGet(5)->frameHeight = 16;
    AnimDraw(5, 5, 100, 100);
    EXPECT_RGB(At(100, 100), (Rgba{70, 0, 0, 0}));
    EXPECT_RGB(At(115, 115), (Rgba{70, 15, 15, 0}));
    EXPECT_RGB(At(116, 100), (Rgba{0, 0, 0, 0}));
    AnimDrawStretch(5, 6, 200, 100, 32, 32);
    EXPECT_RGB(At(200, 100), (Rgba{80, 0, 0, 0}));
    EXPECT_RGB(At(231, 131), (Rgba{80, 15, 15, 0}));
    AnimDrawRotoZoom(5, 7, 300, 100, 0, 1);
    EXPECT_RGB(At(300, 100), (Rgba{90, 0, 0, 0}));
    EXPECT_RGB(At(315, 115), (Rgba{90, 15, 15, 0}));
    SmoothingSet(1);
}

TEST_F(DrawGL, SafetyBadSlotsAndFramelessPicturesDrawNothing) {
    Solid(6, 8, 8, {255, 255, 255, 255});
    SlotGet(6)->frameWidth = 16;  // wider than the picture: no whole frame
    SlotGet(6)->frameHeight = 16;
    for (double bad : {70000.0, -5.0, 65536.0}) {
        SpriteDraw(bad, 0, 0);
        SpriteDrawRotoZoom(bad, 0, 0, 10, 2);
        AnimDraw(bad, 0, 0, 0);
        EXPECT_EQ(SpriteCollide(bad, 0, 0, 6, 0, 0), 0);
        EXPECT_EQ(SpriteCollide(6, 0, 0, bad, 0, 0), 0);
    }
    AnimDraw(6, 0, 0, 0);
    AnimDrawStretch(6, 0, 0, 0, 8, 8);
    AnimDrawRotoZoom(6, 0, 0, 0, 0, 1);
    EXPECT_EQ(AnimCollide(6, 0, 0, 0, 6, 0, 0, 0), 0);
    auto b = Block(0, 0, 16, 16);
    for (size_t i = 0; i < b.size(); i += 4) ASSERT_EQ(b[i], 0) << i / 4;
    EXPECT_EQ(Draw2DPending(), 0);
}

TEST_F(DrawGL, CollisionsNeedOverlappingOpaquePixels) {
    Solid(7, 8, 8, {255, 255, 255, 255});
    EXPECT_EQ(SpriteCollide(7, 0, 0, 7, 8, 0), 0);  // touching edges
    EXPECT_EQ(SpriteCollide(7, 0, 0, 7, 0, 8), 0);
    EXPECT_EQ(SpriteCollide(7, 0, 0, 7, 7, 7), 1);
    // Only the bottom-right pixel opaque in 8, only the top-left in 9.
    Picture(8, 8, 8, [](int x, int y) { return Rgba{255, 0, 0, x == 7 && y == 7 ? 255 : 0}; });
    Picture(9, 8, 8, [](int x, int y) { return Rgba{255, 0, 0, x == 0 && y == 0 ? 255 : 0}; });
    EXPECT_EQ(SpriteCollide(8, 0, 0, 9, 7, 7), 1);
    EXPECT_EQ(SpriteCollide(8, 0, 0, 9, 6, 7), 0);
    EXPECT_EQ(SpriteCollide(8, 0, 0, 9, 1, 1), 0);
    // Frames: 32 x 16 with two 16 x 16 frames; frame 1 opaque, frame 0 clear.
    Picture(10, 32, 16, [](int x, int) { return Rgba{0, 0, 255, x >= 16 ? 255 : 0}; });
    SlotGet(10)->frameWidth = 16;
    SlotGet(10)->frameHeight = 16;
    EXPECT_EQ(AnimCollide(10, 1, 0, 0, 7, 0, 5, 5), 1);
    EXPECT_EQ(AnimCollide(10, 0, 0, 0, 7, 0, 5, 5), 0);
    EXPECT_EQ(AnimCollide(10, 2, 0, 0, 7, 0, 5, 5), 0);  // past the last frame
    EXPECT_EQ(AnimCollide(10, -1, 0, 0, 7, 0, 5, 5), 0);
}

TEST_F(DrawGL, BatchingCoalescesAndFlushesOnStateChanges) {
    Solid(11, 8, 8, {255, 255, 255, 255});
    Draw2DFlush();
    const long long before = Draw2DSubmissions();
    for (int i = 0; i < 100; ++i) SpriteDrawRotoZoom(11, i * 4, 200, i * 7.0, 1.5);
    BlendModeSet(0);  // same state: no flush
    for (int i = 0; i < 100; ++i) PixelSet(i, 300, 0xff);
    EXPECT_EQ(Draw2DSubmissions() - before, 1);  // the sprites, flushed by the first point
    EXPECT_EQ(Draw2DPending(), 100);
    BlendModeSet(-0.5);  // a real change flushes the points
    EXPECT_EQ(Draw2DSubmissions() - before, 2);
    EXPECT_EQ(At(50, 300).r, 255);
    BlendModeSet(-0.7);  // same blend function, other alpha: keeps the run going
    SpriteDraw(11, 0, 0);
    BlendModeSet(-0.3);
    SpriteDraw(11, 10, 0);
    EXPECT_EQ(Draw2DPending(), 8);
    EXPECT_RGB(At(1, 1), (Rgba{178, 178, 178, 0}));
    EXPECT_RGB(At(11, 1), (Rgba{76, 76, 76, 0}));
}

// Reference: the rotated sprite drawn on its own with GL's own matrix, as a fan.
void ReferenceRotoZoom(const SpriteSlot& s, int x, int y, double a, double z) {
    const int W = s.pictureWidth, H = s.pictureHeight, TW = s.textureWidth, TH = s.textureHeight;
    const float hx = static_cast<float>(z * W / 2), hy = static_cast<float>(z * H / 2);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPushMatrix();
    glTranslatef(static_cast<float>(x + W / 2), static_cast<float>(y + H / 2), 0);
    glRotatef(static_cast<float>(a), 0, 0, -1);
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(0.5f / TW, 0.5f / TH);
    glVertex2f(-hx, hy);
    glTexCoord2f((W - 0.5f) / TW, 0.5f / TH);
    glVertex2f(hx, hy);
    glTexCoord2f((W - 0.5f) / TW, (H - 0.5f) / TH);
    glVertex2f(hx, -hy);
    glTexCoord2f(0.5f / TW, (H - 0.5f) / TH);
    glVertex2f(-hx, -hy);
    glEnd();
    glPopMatrix();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

TEST_F(DrawGL, BatchedRotoZoomCoversTheSamePixelsAsSingleDraws) {
    Picture(12, 13, 9, [](int x, int y) {
        return Rgba{x * 19, y * 28, 128, (x + y) % 5 ? 255 : 0};
    });
    const SpriteSlot& s = *SlotGet(12);
    BlendModeSet(-0.8);
    for (int i = 0; i < 40; ++i)
        SpriteDrawRotoZoom(12, 20 + (i % 10) * 30, 20 + (i / 10) * 30, i * 9.5, 0.5 + i * 0.05);
    auto batched = Block(0, 0, 320, 160);
    glClear(GL_COLOR_BUFFER_BIT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    for (int i = 0; i < 40; ++i)
        ReferenceRotoZoom(s, 20 + (i % 10) * 30, 20 + (i / 10) * 30, i * 9.5, 0.5 + i * 0.05);
    auto single = Block(0, 0, 320, 160);
    // The vertex transform runs on the CPU instead of GL's matrix, so texture coordinates may
    // interpolate one step apart; which pixels are covered must not change.
    int coverage = 0, colour = 0, lit = 0;
    for (size_t i = 0; i < batched.size(); i += 4) {
        const bool onB = batched[i] | batched[i + 1] | batched[i + 2];
        const bool onS = single[i] | single[i + 1] | single[i + 2];
        coverage += onB != onS;
        lit += onS;
        for (int c = 0; c < 3; ++c) colour += std::abs(batched[i + c] - single[i + c]) > 1;
    }
    EXPECT_GT(lit, 1000);
    EXPECT_EQ(coverage, 0);
    EXPECT_EQ(colour, 0);
}

TEST_F(DrawGL, PolygonFanWithVertexColours) {
    PolyStart(-1);
    PolyPoint(100, 200, 0, 0, 0xff);
    PolyPoint(140, 200, 0, 0, 0xff);
    PolyPoint(140, 160, 0, 0, 0xff);
    PolyPoint(100, 160, 0, 0, 0xff);
    PolyEnd();
    EXPECT_RGB(At(120, 180), (Rgba{255, 0, 0, 0}));
    EXPECT_RGB(At(99, 180), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);
}

// ---- fonts ----

TEST_F(DrawGL, GridFontCellsAndHighBytesWrap) {
    // 112 x 88: 8 rows of 7 x 11 cells. Cell 72 (column 8, row 4) is green, the rest red.
    Picture(
        kFontSlotBase + 2, 112, 88,
        [](int x, int y) {
            return x / 7 == 8 && y / 11 == 4 ? Rgba{0, 255, 0, 255} : Rgba{255, 0, 0, 255};
        },
        true);
    FontSet(2);
    double w = 0, h = 0;
    FontSizeGet(w, h);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 11);
    TextPrint("\xc8H", 20, 20);  // byte 200 is glyph 72, like 'H'
    EXPECT_RGB(At(20, 20), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(26, 30), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(27, 20), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(34, 20), (Rgba{0, 0, 0, 0}));
    TextPrint("A", 40, 20);
    EXPECT_RGB(At(40, 20), (Rgba{255, 0, 0, 0}));
    // 256 x 512: 16 rows of 16 x 32 cells.
    Picture(
        kFontSlotBase + 3, 256, 512,
        [](int, int) {
            return Rgba{255, 255, 255, 255};
        },
        true);
    FontSet(3);
    FontSizeGet(w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 32);
    int iw = 0, ih = 0;
    FontSizeGet(iw, ih);
    EXPECT_EQ(iw, 16);
    EXPECT_EQ(ih, 32);
}

TEST_F(DrawGL, FontLoadFallsBackAndClampsAndPrintsRoundedUp) {
    FontLoad("no such font.png", 40);
    EXPECT_EQ(runtimeState.currentFont, 31);
    const SpriteSlot* s = SlotGet(kFontSlotBase + 31);
    EXPECT_EQ(s->pictureWidth, 128);
    EXPECT_EQ(s->pictureHeight, 64);
    EXPECT_EQ(s->textureWidth, 128);
    double w = 0, h = 0;
    FontSizeGet(w, h);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
    FontLoad("", -3);
    EXPECT_EQ(runtimeState.currentFont, 0);

    FontSet(31);
    TextPrint("_", 10.2, 5.7);
    auto got = Block(8, 4, 12, 12);
    glClear(GL_COLOR_BUFFER_BIT);
    TextPrint("_", 11, 6);
    EXPECT_EQ(Block(8, 4, 12, 12), got);
    // '_' is the bitmap's bottom row: white from cell column 1 to 5, cell row 6.
    EXPECT_RGB(At(12, 12), (Rgba{255, 255, 255, 0}));
    EXPECT_RGB(At(11, 12), (Rgba{8, 8, 8, 0}));
    EXPECT_RGB(At(12, 11), (Rgba{8, 8, 8, 0}));  // outline above
    EXPECT_RGB(At(12, 10), (Rgba{0, 0, 0, 0}));
    NumberPrint(-2.5, 100, 100);
    auto num = Block(100, 100, 32, 8);
    glClear(GL_COLOR_BUFFER_BIT);
    TextPrint("-2.5", 100, 100);
    EXPECT_EQ(Block(100, 100, 32, 8), num);
    EXPECT_EQ(GfxPrint(99, "x", 0, 0, 0), 0);
}

TEST_F(DrawGL, FontFileLoadsWithBlackTransparentAndNearestFiltering) {
    // 32 x 16 RGB: 8 rows of 2 x 2 cells. The cell of 'A' (column 1, row 4) is white with
    // one black pixel; black is the font transparent colour.
    std::vector<std::string> rows = gfxtest::SolidRows(32, 16, std::string("\0\0\0", 3));
    for (int y = 8; y < 10; ++y)
        for (int x = 2; x < 4; ++x)
            if (!(x == 3 && y == 9)) rows[y].replace(x * 3, 3, "\xff\xff\xff");
    const std::string path = testsupport::TempDir() + "/tiny font.png";
    ASSERT_TRUE(gfxtest::PngWrite(path, 32, 16, PNG_COLOR_TYPE_RGB, 8, rows));
    FontLoad(path.c_str(), 4);
    EXPECT_EQ(runtimeState.currentFont, 4);
    double w = 0, h = 0;
    FontSizeGet(w, h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    const SpriteSlot* s = SlotGet(kFontSlotBase + 4);
    EXPECT_EQ(s->mipmappedTexture, 0u);
    GLint filter = 0;
    Draw2DFlush();
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    RectDraw(40, 40, 30, 30, 0xff0000);
    TextPrint("AA", 50, 50);
    EXPECT_RGB(At(50, 50), (Rgba{255, 255, 255, 0}));
    EXPECT_RGB(At(53, 50), (Rgba{255, 255, 255, 0}));
    EXPECT_RGB(At(51, 51), (Rgba{0, 0, 255, 0}));  // the black pixel stays out
    EXPECT_RGB(At(54, 50), (Rgba{0, 0, 255, 0}));
}

TEST_F(DrawGL, PendingDrawsKeepTheViewportTheyWereMadeIn) {
    Solid(13, 4, 4, {0, 255, 0, 255});
    SpriteDraw(13, 10, 10);
    ViewportSet(100, 50, 200, 100);  // no flush of its own
    SpriteDraw(13, 0, 0);
    EXPECT_RGB(At(10, 10), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(110, 60), (Rgba{0, 0, 0, 0}));
    EXPECT_RGB(At(100, 50), (Rgba{0, 255, 0, 0}));
    EXPECT_RGB(At(0, 0), (Rgba{0, 0, 0, 0}));
    R()->Viewport2D(0, 0, 0, 0);
}

}  // namespace
