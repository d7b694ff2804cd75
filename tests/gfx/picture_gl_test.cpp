// Picture loading, grabbing, saving and the background layers against a real window: every
// picture check draws and reads the back buffer with glReadPixels, or reads the files back.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/backdrop_layers.h"
#include "gfx/draw_batch.h"
#include "gfx/image_file.h"
#include "gfx/renderer.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"
#include "image_builders.h"
#include "runtime/error_log.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "runtime/timer.h"
#include "support/test_support.h"
#include "tests/gfx/gl_window.h"

using namespace gfxtest;

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Rgb& c) {
    return o << "(" << c.r << "," << c.g << "," << c.b << ")";
}

const Rgb kKey{255, 0, 128};

std::string Px(Rgb c) {
    return std::string{static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
}
std::string BmpPx(Rgb c) {
    return std::string{static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)};
}

// One window for the whole test process.
class PictureGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GlTestWindowOpen(); }
    void SetUp() override {
        GL_TEST_REQUIRE_WINDOW();
        runtimeState.autoPause = false;  // a focus change must not hold FramePresent
        R()->Viewport2D(0, 0, 0, 0);
        glDisable(GL_BLEND);
        R()->currentAlpha = 1.0f;
        glColor4f(1, 1, 1, 1);
        R()->spriteTransparentColour = 0x8000ff;
        R()->fontTransparentColour = 0;
        FramebufferAlphaBitsOverride(-1);
        for (int l = 0; l < kBackdropLayerCount; ++l) LayerClear(l);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { FramebufferAlphaBitsOverride(-1); }

    static Renderer* R() { return runtimeState.renderer; }
    std::string Path(const std::string& name) const { return dir + "/" + name; }
    static RtString Rt(const std::string& s) { return StdToRt(s); }

    // The back buffer at (x, y), top-left origin.
    static Rgb At(int x, int y) {
        uint8_t p[4];
        Draw2DFlush();
        glReadBuffer(GL_BACK);
        GlReadPixelsPacked(x, R()->height - 1 - y, 1, 1, GL_RGBA, p);
        return {p[0], p[1], p[2]};
    }
    // Fills a rectangle of the back buffer (top-left origin) with a colour.
    static void Paint(int x, int y, int w, int h, Rgb c) {
        Draw2DFlush();
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, R()->height - y - h, w, h);
        glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
        glDisable(GL_SCISSOR_TEST);
    }
    // The slot's picture at (x, y), unscaled, nearest filtering, as a sprite is drawn.
    static void DrawSlot(int s, int x, int y) {
        const SpriteSlot* sp = SlotGet(s);
        ASSERT_TRUE(sp && sp->texture);
        Draw2DFlush();
        SpriteBind(s, -1, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        const int w = sp->pictureWidth, h = sp->pictureHeight;
        const float u = static_cast<float>(w) / sp->textureWidth;
        const float v = static_cast<float>(h) / sp->textureHeight;
        glBegin(GL_QUADS);
        glTexCoord2f(u, v);
        glVertex2i(x + w, y);
        glTexCoord2f(0, v);
        glVertex2i(x, y);
        glTexCoord2f(0, 0);
        glVertex2i(x, y + h);
        glTexCoord2f(u, 0);
        glVertex2i(x + w, y + h);
        glEnd();
        SpriteBind(-1, -1, 0);
        glEnable(GL_TEXTURE_2D);
    }
    static GLint TexParam(GLuint tex, GLenum p) {
        GLint v = 0;
        glBindTexture(GL_TEXTURE_2D, tex);
        glGetTexParameteriv(GL_TEXTURE_2D, p, &v);
        R()->currentTextureSprite = -1;
        return v;
    }
    // Texel alpha values of the slot's texture, row 0 = the picture's bottom row.
    static std::vector<uint8_t> TexAlpha(int s) {
        const SpriteSlot* sp = SlotGet(s);
        std::vector<uint8_t> a(static_cast<size_t>(sp->textureWidth) * sp->textureHeight);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, sp->texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, a.data());
        R()->currentTextureSprite = -1;
        return a;
    }
    template <typename Fn>
    bool WriteRgbPng(const std::string& path, int w, int h, Fn colour) {
        std::vector<std::string> rows(h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) rows[y] += Px(colour(x, y));
        return PngWrite(path, w, h, PNG_COLOR_TYPE_RGB, 8, rows);
    }
    static Rgb PixelOf(const DecodedImage& img, int x, int y, int* alpha = nullptr) {
        const uint8_t* p = img.Pixel(x, y);
        if (alpha) *alpha = p[3];
        return {p[0], p[1], p[2]};
    }

    std::string dir;
};

TEST_F(PictureGL, PngLoadsIntoPowerOfTwoTextureAndDrawsUpright) {
    const Rgb red{200, 10, 10}, blue{10, 10, 200}, green{0, 160, 0};
    // 100 x 30: a key-coloured left band, red top rows, blue below.
    ASSERT_TRUE(WriteRgbPng(Path("a.png"), 100, 30,
                            [&](int x, int y) { return x < 10 ? kKey : (y < 10 ? red : blue); }));
    ASSERT_EQ(SpriteLoad(Rt(Path("a.png")), 7), 1.0);
    const SpriteSlot* sp = SlotGet(7);
    EXPECT_EQ(sp->textureWidth, 128);
    EXPECT_EQ(sp->textureHeight, 32);
    double w = 0, h = 0;
    SpriteSizeGet(7, w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 30);
    int iw = 0, ih = 0;
    SpriteSizeGet(7.9, iw, ih);
    EXPECT_EQ(iw, 100);
    EXPECT_EQ(ih, 30);
    EXPECT_NE(sp->mipmappedTexture, 0u);
    EXPECT_EQ(TexParam(sp->texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    Paint(0, 0, 200, 100, green);
    DrawSlot(7, 20, 20);
    EXPECT_EQ(At(25, 25), green) << "the sprite transparent colour is see-through";
    EXPECT_EQ(At(50, 22), red);
    EXPECT_EQ(At(50, 45), blue);
    EXPECT_EQ(At(119, 49), blue);
    EXPECT_EQ(At(121, 25), green) << "outside the picture the texture is transparent";
    EXPECT_EQ(At(50, 51), green);

    // An RGBA picture keeps its own alpha: key-coloured but opaque pixels are drawn.
    ASSERT_TRUE(PngWrite(Path("k.png"), 4, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                         SolidRows(4, 4, Px(kKey) + '\xff')));
    ASSERT_EQ(SpriteLoad(Rt(Path("k.png")), 8), 1.0);
    DrawSlot(8, 300, 300);
    EXPECT_EQ(At(301, 301), kKey);

    // Font slots: nearest filtering, no mip-mapped copy. One pixel needs a 2 x 2 texture.
    ASSERT_TRUE(WriteRgbPng(Path("one.png"), 1, 1, [&](int, int) { return red; }));
    ASSERT_EQ(SpriteLoad(Rt(Path("one.png")), kFontSlotBase), 1.0);
    const SpriteSlot* font = SlotGet(kFontSlotBase);
    EXPECT_EQ(font->mipmappedTexture, 0u);
    EXPECT_EQ(TexParam(font->texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(font->textureWidth, 2);
    EXPECT_EQ(font->textureHeight, 2);
}

TEST_F(PictureGL, BmpRowsArePaddedAndUprightThroughSpriteLoad) {
    // 3 pixels wide, 24 bits: 9 bytes of pixels in 12-byte rows; stored bottom row first.
    const Rgb c[2][3] = {{{1, 2, 3}, {40, 50, 60}, {70, 80, 90}},  // top row
                         {{100, 110, 120}, kKey, {250, 240, 230}}};
    const std::string bmp = BmpInfo(3, 2, 24, {}, [&](int y) {
        const Rgb* row = c[1 - y];
        return BmpPx(row[0]) + BmpPx(row[1]) + BmpPx(row[2]);
    });
    ASSERT_EQ(bmp.size(), 54u + 2 * 12u);
    ASSERT_TRUE(testsupport::WriteFile(Path("p.bmp"), bmp));
    ASSERT_EQ(SpriteLoad(Rt(Path("p.bmp")), 3), 1.0);
    EXPECT_EQ(SlotGet(3)->textureWidth, 4);
    const Rgb back{0, 0, 99};
    Paint(0, 0, 100, 100, back);
    DrawSlot(3, 10, 10);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(At(10 + x, 10 + y), c[y][x] == kKey ? back : c[y][x]) << x << "," << y;

    // 1 bit, 8 pixels wide: one byte of pixels in a 4-byte row.
    const std::string mono = BmpInfo(8, 2, 1, {0x000000, 0xffffff}, [](int y) {
        return std::string(1, static_cast<char>(y == 0 ? 0xA5 : 0x0F));
    });
    ASSERT_EQ(mono.size(), 54u + 8u + 2 * 4u);
    ASSERT_TRUE(testsupport::WriteFile(Path("m.bmp"), mono));
    ASSERT_EQ(SpriteLoad(Rt(Path("m.bmp")), 4), 1.0);
    DrawSlot(4, 50, 50);
    for (int x = 0; x < 8; ++x) {
        const int top = (0x0F >> (7 - x)) & 1, bottom = (0xA5 >> (7 - x)) & 1;
        const Rgb white{255, 255, 255}, black{0, 0, 0};
        EXPECT_EQ(At(50 + x, 50), top ? white : black) << x;
        EXPECT_EQ(At(50 + x, 51), bottom ? white : black) << x;
    }
}

TEST_F(PictureGL, SixteenBitAndPalettePngsLoadGreyAlphaIsRefused) {
    ASSERT_TRUE(PngWrite(Path("d16.png"), 2, 1, PNG_COLOR_TYPE_RGB, 16,
                         {std::string{char(0xab), char(0xcd), 0x12, 0x34, 0x56, 0x78, char(0x10), 0,
                                      char(0x20), 0, char(0x30), 0}}));
    ASSERT_EQ(SpriteLoad(Rt(Path("d16.png")), 1), 1.0);
    // Palette, 4 bits, index 0 made transparent by the transparency chunk.
    ASSERT_TRUE(PngWrite(Path("pal.png"), 2, 1, PNG_COLOR_TYPE_PALETTE, 4,
                         {std::string{char(0x01)}}, {{10, 20, 30}, {40, 50, 60}}, {0}));
    ASSERT_EQ(SpriteLoad(Rt(Path("pal.png")), 2), 1.0);
    const Rgb back{0, 90, 0};
    Paint(0, 0, 100, 100, back);
    DrawSlot(1, 10, 10);
    DrawSlot(2, 10, 20);
    EXPECT_EQ(At(10, 10), (Rgb{0xab, 0x12, 0x56}));
    EXPECT_EQ(At(11, 10), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(At(10, 20), back);
    EXPECT_EQ(At(11, 20), (Rgb{40, 50, 60}));

    // Grey with alpha fails, and the failed load leaves the slot empty.
    ASSERT_TRUE(PngWrite(Path("ga.png"), 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {std::string{9, 9}}));
    EXPECT_EQ(SpriteLoad(Rt(Path("ga.png")), 1), 0.0);
    double w = -1, h = -1;
    SpriteSizeGet(1, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(SlotGet(1)->texture, 0u);
    EXPECT_EQ(SlotGet(1)->textureWidth, -1);
    EXPECT_EQ(SpriteLoad(Rt(Path("missing.png")), 1), 0.0);

    // TransparencySet changes both colours; loads then key on the new one.
    TransparencySet(0x00ff00);
    EXPECT_EQ(R()->spriteTransparentColour, 0x00ff00);
    EXPECT_EQ(R()->fontTransparentColour, 0x00ff00);
    ASSERT_TRUE(WriteRgbPng(Path("g.png"), 2, 1, [](int x, int) {
        return x == 0 ? Rgb{0, 255, 0} : Rgb{255, 0, 128};
    }));
    ASSERT_EQ(SpriteLoad(Rt(Path("g.png")), 5), 1.0);
    DrawSlot(5, 10, 30);
    EXPECT_EQ(At(10, 30), back);
    EXPECT_EQ(At(11, 30), kKey);
}

TEST_F(PictureGL, SlotNumbersOutsideTheTableDoNothing) {
    ASSERT_TRUE(WriteRgbPng(Path("a.png"), 4, 2, [](int, int) { return Rgb{1, 2, 3}; }));
    const RtString a = Rt(Path("a.png"));
    for (double bad : {-1.0, 65536.0, 1e12, -1e12}) {
        EXPECT_EQ(SpriteLoad(a, bad), 0.0) << bad;
        EXPECT_EQ(SpriteLoadBump(a, bad), 0.0) << bad;
        EXPECT_EQ(AnimLoad(a, bad, 2, 2), 0.0) << bad;
        EXPECT_EQ(SpriteGrab(bad, 0, 0, 10, 10), 0.0) << bad;
        EXPECT_EQ(SpriteSave(Rt(Path("x.bmp")), bad), 0.0) << bad;
        double w = -1, h = -1;
        SpriteSizeGet(bad, w, h);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(h, 0);
    }
    EXPECT_FALSE(testsupport::FileExists(Path("x.bmp")));
    EXPECT_EQ(SpriteSave(Rt(Path("x.bmp")), 60000), 0.0) << "an empty slot saves nothing";
    EXPECT_FALSE(testsupport::FileExists(Path("x.bmp")));

    // AnimLoad keeps frame sizes only for a loaded picture.
    SlotGet(9)->frameWidth = SlotGet(9)->frameHeight = 0;
    EXPECT_EQ(AnimLoad(Rt(Path("none.png")), 9, 5, 6), 0.0);
    EXPECT_EQ(SlotGet(9)->frameWidth, 0);
    EXPECT_EQ(AnimLoad(a, 9, 2, 1), 1.0);
    EXPECT_EQ(SlotGet(9)->frameWidth, 2);
    EXPECT_EQ(SlotGet(9)->frameHeight, 1);
    // The bump load keys on its own fixed colour, not the sprite transparent colour.
    TransparencySet(0x0a0a0a);
    ASSERT_TRUE(WriteRgbPng(Path("b.png"), 4, 4, [](int, int) { return Rgb{10, 10, 10}; }));
    ASSERT_EQ(SpriteLoadBump(Rt(Path("b.png")), 10), 1.0);
    Paint(0, 0, 50, 50, {0, 0, 0});
    DrawSlot(10, 10, 10);
    // A flat height field gives the normal (0, 0, 1): (127, 127, 255).
    EXPECT_EQ(At(11, 11), (Rgb{127, 127, 255}));
}

TEST_F(PictureGL, AFailedAnimLoadLeavesAnOccupiedSlotAsItWas) {
    const Rgb blue{0, 0, 200};
    ASSERT_TRUE(WriteRgbPng(Path("a.png"), 6, 3, [&](int, int) { return blue; }));
    ASSERT_TRUE(testsupport::WriteFile(Path("text.png"), "not a picture"));
    ASSERT_TRUE(PngWrite(Path("ga.png"), 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {std::string{9, 9}}));
    ASSERT_EQ(AnimLoad(Rt(Path("a.png")), 11, 3, 1), 1.0);
    const SpriteSlot before = *SlotGet(11);
    for (const char* bad : {"none.png", "text.png", "ga.png"}) {
        EXPECT_EQ(AnimLoad(Rt(Path(bad)), 11, 5, 6), 0.0) << bad;
        const SpriteSlot& now = *SlotGet(11);
        EXPECT_EQ(now.texture, before.texture) << bad;
        EXPECT_EQ(now.mipmappedTexture, before.mipmappedTexture) << bad;
        EXPECT_EQ(now.textureWidth, before.textureWidth) << bad;
        EXPECT_EQ(now.pictureWidth, 6) << bad;
        EXPECT_EQ(now.pictureHeight, 3) << bad;
        EXPECT_EQ(now.frameWidth, 3) << bad;
        EXPECT_EQ(now.frameHeight, 1) << bad;
        Paint(0, 0, 50, 50, {0, 0, 0});
        DrawSlot(11, 10, 10);
        EXPECT_EQ(At(15, 12), blue) << bad << ": the old picture still draws";
    }
    // A good load replaces picture and frames.
    ASSERT_TRUE(WriteRgbPng(Path("b.png"), 2, 2, [](int, int) { return Rgb{200, 0, 0}; }));
    ASSERT_EQ(AnimLoad(Rt(Path("b.png")), 11, 1, 2), 1.0);
    EXPECT_EQ(SlotGet(11)->pictureWidth, 2);
    EXPECT_EQ(SlotGet(11)->frameWidth, 1);
    EXPECT_EQ(SlotGet(11)->frameHeight, 2);
    EXPECT_EQ(glIsTexture(before.texture), GL_FALSE) << "the old texture is freed";
}

TEST_F(PictureGL, SpriteGrabReadBackMakesTransparentColourSeeThrough) {
    FramebufferAlphaBitsOverride(0);
    const Rgb green{0, 200, 0}, yellow{220, 220, 0}, back{0, 0, 120};
    Paint(100, 100, 10, 20, kKey);
    Paint(110, 100, 10, 20, green);
    Paint(110, 100, 10, 5, yellow);
    ASSERT_EQ(SpriteGrab(3, 100, 100, 20, 20), 1.0);
    const SpriteSlot* sp = SlotGet(3);
    EXPECT_EQ(sp->textureWidth, 32);
    EXPECT_EQ(sp->textureHeight, 32);
    EXPECT_EQ(sp->pictureWidth, 20);
    EXPECT_EQ(sp->pictureHeight, 20);
    EXPECT_EQ(sp->mipmappedTexture, 0u);
    const std::vector<uint8_t> alpha = TexAlpha(3);
    EXPECT_EQ(alpha[5 * 32 + 2], 0) << "key pixel";
    EXPECT_EQ(alpha[5 * 32 + 15], 255);
    EXPECT_EQ(alpha[5 * 32 + 25], 0) << "outside the rectangle";
    EXPECT_EQ(alpha[25 * 32 + 15], 0) << "outside the rectangle";

    glClear(GL_COLOR_BUFFER_BIT);
    Paint(0, 0, 640, 480, back);
    DrawSlot(3, 300, 200);
    EXPECT_EQ(At(305, 210), back);
    EXPECT_EQ(At(315, 202), yellow) << "the rectangle's top stays at the top";
    EXPECT_EQ(At(315, 215), green);
    EXPECT_EQ(At(319, 219), green);
    EXPECT_EQ(At(325, 210), back);

    // Same size: the texture is reused. Larger: a new one.
    const GLuint name = sp->texture;
    ASSERT_EQ(SpriteGrab(3, 0, 0, 17, 30), 1.0);
    EXPECT_EQ(sp->texture, name);
    ASSERT_EQ(SpriteGrab(3, 0, 0, 40, 40), 1.0);
    EXPECT_EQ(sp->textureWidth, 64);

    // The rectangle is clamped to the window; nothing inside it grabs nothing.
    ASSERT_EQ(SpriteGrab(3, 630, 470, 20, 20), 1.0);
    EXPECT_EQ(sp->pictureWidth, 10);
    EXPECT_EQ(sp->pictureHeight, 10);
    EXPECT_EQ(sp->textureWidth, 32);
    ASSERT_EQ(SpriteGrab(3, -10, 5, 20, 20), 1.0);
    EXPECT_EQ(sp->pictureWidth, 10);
    EXPECT_EQ(sp->pictureHeight, 20);
    EXPECT_EQ(SpriteGrab(3, 700, 10, 5, 5), 0.0);
    EXPECT_EQ(SpriteGrab(3, 10, 10, 0, 5), 0.0);
    EXPECT_EQ(SpriteGrab(3, 10, 10, -5, 5), 0.0);
}

TEST_F(PictureGL, SpriteGrabCopyPathTakesFrameBufferAsItIs) {
    FramebufferAlphaBitsOverride(8);
    const Rgb green{0, 200, 0}, yellow{220, 220, 0}, back{0, 0, 120};
    Paint(100, 100, 10, 20, kKey);
    Paint(110, 100, 10, 20, green);
    Paint(110, 100, 10, 5, yellow);
    ASSERT_EQ(SpriteGrab(4, 100, 100, 20, 20), 1.0);
    const SpriteSlot* sp = SlotGet(4);
    EXPECT_EQ(sp->textureWidth, 32);
    EXPECT_EQ(sp->textureHeight, 32);
    Paint(0, 0, 640, 480, back);
    DrawSlot(4, 300, 200);
    // No transparent colour on this path: the frame buffer's own (opaque) alpha is copied.
    EXPECT_EQ(At(305, 210), kKey);
    EXPECT_EQ(At(315, 202), yellow);
    EXPECT_EQ(At(315, 215), green);
    EXPECT_EQ(At(325, 210), back);
}

TEST_F(PictureGL, TransparentColourIsProbedAndThePixelRestored) {
    const Rgb under{10, 20, 30};
    Paint(0, 470, 10, 10, under);  // window pixel (4, 4) lies in here
    EXPECT_EQ(TransparentColourOnScreen(), 0x8000ff);
    EXPECT_EQ(At(4, R()->height - 1 - 4), under);
    R()->spriteTransparentColour = 0;
    EXPECT_EQ(TransparentColourOnScreen(), 0);
}

TEST_F(PictureGL, ReadBackIgnoresTheCallersPackAlignment) {
    const Rgb top{10, 20, 30}, bottom{40, 50, 60};
    Paint(0, 0, 3, 1, top);
    Paint(0, 1, 3, 1, bottom);
    // 3 pixels of 3 bytes: 9-byte rows, which alignment 8 would pad to 16.
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    std::vector<uint8_t> buf(18 + 16, 0xee);
    GlReadPixelsPacked(0, R()->height - 2, 3, 2, GL_BGR, buf.data());
    EXPECT_EQ((Rgb{buf[2], buf[1], buf[0]}), bottom);
    EXPECT_EQ((Rgb{buf[9 + 8], buf[9 + 7], buf[9 + 6]}), top) << "rows packed tightly";
    for (size_t i = 18; i < buf.size(); ++i) EXPECT_EQ(buf[i], 0xee) << "written past the rows";
}

TEST_F(PictureGL, SpriteAndScreenSavesRoundTripThroughBothFormats) {
    auto colour = [](int x, int y) { return (x == 4 && y == 0) ? kKey : Rgb{x * 50, y * 80, 7}; };
    ASSERT_TRUE(WriteRgbPng(Path("src.png"), 5, 3, colour));
    ASSERT_EQ(SpriteLoad(Rt(Path("src.png")), 6), 1.0);
    // A caller's pack alignment must not change what is read back.
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    ASSERT_EQ(SpriteSave(Rt(Path("s.png")), 6), 1.0);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    ASSERT_EQ(SpriteSave(Rt(Path("s.bmp")), 6), 1.0);
    EXPECT_EQ(testsupport::ReadFile(Path("s.bmp")).size(), 54u + 3 * 16u);
    DecodedImage png, bmp;
    ASSERT_TRUE(ImageDecodeFile(Path("s.png"), -1, 32767, png));
    ASSERT_TRUE(ImageDecodeFile(Path("s.bmp"), -1, 32767, bmp));
    ASSERT_EQ(png.width, 5);
    ASSERT_EQ(png.height, 3);
    ASSERT_EQ(bmp.width, 5);
    ASSERT_EQ(bmp.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            int pa = 0, ba = 0;
            const Rgb pc = PixelOf(png, x, y, &pa), bc = PixelOf(bmp, x, y, &ba);
            if (colour(x, y) == kKey) {
                EXPECT_EQ(pa, 0) << "PNG keeps the transparency as alpha";
                EXPECT_EQ(bc, kKey) << "BMP writes the transparent colour";
            } else {
                EXPECT_EQ(pc, colour(x, y)) << x << "," << y;
                EXPECT_EQ(pa, 255);
                EXPECT_EQ(bc, colour(x, y)) << x << "," << y;
            }
        }
    // Reloading the saved BMP with the transparent colour gives the hole back.
    ASSERT_EQ(SpriteLoad(Rt(Path("s.bmp")), 11), 1.0);
    EXPECT_EQ(TexAlpha(11)[2 * 8 + 4], 0);

    // The whole back buffer, with a separator written the other way round.
    const Rgb red{255, 0, 0}, green{0, 255, 0};
    glClear(GL_COLOR_BUFFER_BIT);
    Paint(0, 0, 10, 10, red);
    Paint(630, 470, 10, 10, green);
    Paint(300, 200, 4, 4, kKey);
    ASSERT_EQ(ScreenSave(Rt(dir + "\\screen.bmp")), 1.0);
    ASSERT_EQ(ScreenSave(Rt(Path("screen.PNG"))), 1.0);
    DecodedImage sb, sp;
    ASSERT_TRUE(ImageDecodeFile(Path("screen.bmp"), -1, 32767, sb));
    ASSERT_TRUE(ImageDecodeFile(Path("screen.PNG"), -1, 32767, sp));
    for (const DecodedImage* img : {&sb, &sp}) {
        ASSERT_EQ(img->width, 640);
        ASSERT_EQ(img->height, 480);
        EXPECT_EQ(PixelOf(*img, 0, 0), red);
        EXPECT_EQ(PixelOf(*img, 639, 479), green);
        EXPECT_EQ(PixelOf(*img, 320, 100), (Rgb{0, 0, 0}));
    }
    int alpha = 0;
    EXPECT_EQ(PixelOf(sb, 301, 201), kKey);
    PixelOf(sp, 301, 201, &alpha);
    EXPECT_EQ(alpha, 0);
    PixelOf(sp, 320, 100, &alpha);
    EXPECT_EQ(alpha, 255);

    EXPECT_EQ(ScreenSave(Rt(Path("no/such/folder.bmp"))), 0.0);
    // Writes go through a temporary file that is renamed: nothing else is left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 5);  // src.png, s.png, s.bmp, screen.bmp, screen.PNG
}

TEST_F(PictureGL, BackgroundLoadDrawsTilesAndEachFrameStartsFromLayerZero) {
    // 700 x 500 spans two 512-pixel tiles across and one down.
    auto colour = [](int x, int y) { return Rgb{x & 255, y & 255, x >= 512 ? 200 : 50}; };
    ASSERT_TRUE(WriteRgbPng(Path("bg.png"), 700, 500, colour));
    ErrorLogReset();
    ASSERT_EQ(BackgroundLoad(Rt(Path("bg.png"))), 1.0);
    const BackdropLayer* l = LayerGet(0);
    ASSERT_EQ(l->columns, 2);
    ASSERT_EQ(l->rows, 1);
    EXPECT_EQ(l->tileUsedWidths[8], 512);
    for (auto [x, y] : {std::pair{10, 10}, {511, 300}, {512, 300}, {600, 479}, {639, 0}})
        EXPECT_EQ(At(x, y), colour(x, y)) << "drawn at once " << x << "," << y;

    glClear(GL_COLOR_BUFFER_BIT);
    FramePresent();
    for (auto [x, y] : {std::pair{10, 10}, {511, 300}, {512, 300}, {600, 479}})
        EXPECT_EQ(At(x, y), colour(x, y)) << "next frame " << x << "," << y;
    EXPECT_NE(testsupport::ReadFile(ErrorLogPath()).find("Loadbmp\r\nShoeboxing\r\nOK?\r\n"),
              std::string::npos);

    // An unknown name: "failed", no layer, a black screen.
    ErrorLogReset();
    EXPECT_EQ(BackgroundLoad(Rt(Path("none.png"))), 0.0);
    EXPECT_EQ(LayerGet(0)->columns, 0);
    EXPECT_EQ(At(10, 10), (Rgb{0, 0, 0}));
    EXPECT_NE(testsupport::ReadFile(ErrorLogPath()).find("Loadbmp\r\nShoeboxing\r\nfailed\r\n"),
              std::string::npos);

    // 8 tiles fit across a layer; one pixel more is refused rather than overrunning it.
    const int t = LayerLoadTileSize();
    ASSERT_TRUE(WriteRgbPng(Path("wide.png"), 8 * t, 2, colour));
    ASSERT_TRUE(WriteRgbPng(Path("wider.png"), 8 * t + 1, 2, colour));
    EXPECT_EQ(BackgroundLoad(Rt(Path("wide.png"))), 1.0);
    EXPECT_EQ(LayerGet(0)->columns, 8);
    EXPECT_EQ(BackgroundLoad(Rt(Path("wider.png"))), 0.0);
    EXPECT_EQ(LayerGet(0)->columns, 0);

    ASSERT_EQ(BackgroundLoad(Rt(Path("bg.png"))), 1.0);
    ScreenClear();
    EXPECT_EQ(LayerGet(0)->columns, 0);
    EXPECT_EQ(At(10, 10), (Rgb{0, 0, 0}));
    FramePresent();
    EXPECT_EQ(At(10, 10), (Rgb{0, 0, 0}));
}

TEST_F(PictureGL, BackgroundGrabAndFadeLoad) {
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    Paint(0, 0, 640, 480, blue);
    Paint(0, 0, 20, 20, red);
    Paint(600, 450, 40, 30, red);
    BackgroundGrab();
    const BackdropLayer* l = LayerGet(0);
    ASSERT_EQ(l->columns, 1);
    ASSERT_EQ(l->rows, 1);
    EXPECT_EQ(l->tileUsedWidths[0], 640);
    EXPECT_EQ(l->tileUsedHeights[0], 480);
    const GLuint tile = l->tileTextures[0];
    glClear(GL_COLOR_BUFFER_BIT);
    FramePresent();
    EXPECT_EQ(At(5, 5), red);
    EXPECT_EQ(At(300, 5), blue);
    EXPECT_EQ(At(639, 479), red);
    EXPECT_EQ(At(599, 449), blue);
    BackgroundGrab();
    EXPECT_EQ(l->tileTextures[0], tile) << "a tile of the same size is reused";

    const double t0 = FrameTimer();
    EXPECT_EQ(BackgroundFadeLoad(Rt(Path("none.png"))), 0.0);
    EXPECT_LT(FrameTimer() - t0, 500.0);

    auto colour = [](int x, int y) { return Rgb{x & 255, 40, y & 255}; };
    ASSERT_TRUE(WriteRgbPng(Path("next.png"), 640, 480, colour));
    const double t1 = FrameTimer();
    EXPECT_EQ(BackgroundFadeLoad(Rt(Path("next.png"))), 1.0);
    EXPECT_GE(FrameTimer() - t1, 1400.0);
    EXPECT_EQ(LayerGet(1)->columns, 0);
    EXPECT_EQ(LayerGet(2)->columns, 0);
    EXPECT_EQ(LayerGet(0)->columns, 2);
    for (auto [x, y] : {std::pair{5, 5}, {300, 200}, {639, 479}})
        EXPECT_EQ(At(x, y), colour(x, y)) << x << "," << y;
}

}  // namespace

TEST_F(PictureGL, FailedLoadsSayWhichFileAndWhyInTheLog) {
    ASSERT_TRUE(testsupport::WriteFile(Path("text.png"), "not a picture"));
    struct Case {
        std::function<void()> load;
        std::string line;
    } cases[] = {
        {[&] { SpriteLoad(Rt(Path("gone.png")), 3); },
         "SpriteLoad: " + Path("gone.png") + ": not found"},
        {[&] { SpriteLoad(Rt(Path("text.png")), 3); },
         "SpriteLoad: " + Path("text.png") + ": not a picture that can be read"},
        {[&] { SpriteLoad(Rt(Path("text.png")), -1); },
         "SpriteLoad: " + Path("text.png") + ": slot out of range"},
        {[&] { FontLoad(Rt(Path("gone.png")), 2); },
         "FontLoad: " + Path("gone.png") + ": not found"},
        {[&] { ShoeboxSet(Rt(Path("gone.sbx")), Rt("")); },
         "ShoeboxSet: " + Path("gone.sbx") + ": cannot be opened"},
        {[&] { ShoeboxSet(Rt(Path("text.png")), Rt("")); },
         "ShoeboxSet: " + Path("text.png") + ": not a media archive"},
    };
    for (const Case& c : cases) {
        ErrorLogReset();
        c.load();
        EXPECT_NE(testsupport::ReadFile(ErrorLogPath()).find(c.line + "\r\n"), std::string::npos)
            << c.line;
    }
}
