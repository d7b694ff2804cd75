// Off-screen targets on both paths (framebuffer objects and the copy onto the window) against
// a real window: what lands in a target is read back by drawing its sprite on the window.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/frame_capture.h"
#include "gfx/gl_ext.h"
#include "gfx/offscreen.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"
#include "image_builders.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "support/test_support.h"
#include "tests/gfx/gl_window.h"

namespace {

constexpr double kRed = 255, kGreen = 255 * 256, kBlue = 255 * 65536.0;
constexpr double kGrey = 90 + 90 * 256 + 90 * 65536.0;

enum class Path { Framebuffer, Copy, CopyWithoutEntryPoints };
const char* Name(Path p) {
    return p == Path::Framebuffer ? "framebuffer" : p == Path::Copy ? "copy" : "no entry points";
}
const Path kPaths[] = {Path::Framebuffer, Path::Copy, Path::CopyWithoutEntryPoints};

class OffscreenGL : public GlTargetsTest {
protected:
    void SetUp() override {
        GL_TEST_REQUIRE_WINDOW();
        runtimeState.autoPause = false;
        unsetenv("CORVANE_OFFSCREEN_COPY");
        OffscreenUse(-1);
        BlendModeSet(0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        unsetenv("CORVANE_OFFSCREEN_COPY");
        OffscreenUse(-1);
    }
    static Renderer* R() { return runtimeState.renderer; }

    // Target n on slot s by the path asked for; the framebuffer path must really be taken.
    static void Make(Path p, int n, int s, int w, int h) {
        const GlEntryPoints saved = GlExt();
        if (p == Path::Copy) setenv("CORVANE_OFFSCREEN_COPY", "1", 1);
        if (p == Path::CopyWithoutEntryPoints) GlExt().glGenFramebuffersEXT = nullptr;
        OffscreenCreate(n, s, w, h);
        GlExt() = saved;
        unsetenv("CORVANE_OFFSCREEN_COPY");
        ASSERT_EQ(R()->offscreenTargets[n].width > 0, p == Path::Framebuffer) << Name(p);
    }
    // The window's back buffer, top-left origin, as packed colours.
    static double At(int x, int y) {
        EXPECT_EQ(R()->currentOffscreenTarget, -1);
        return PixelGet(x, y);
    }
    static std::vector<uint8_t> Block(int x, int y, int w, int h) {
        std::vector<uint8_t> v(static_cast<size_t>(w) * h * 4);
        glReadBuffer(GL_BACK);
        GlReadPixelsPacked(x, R()->height - y - h, w, h, GL_RGBA, v.data());
        return v;
    }
    // A busy window: stripes, the transparent colour and a dark pixel the copy must restore.
    static void Pattern() {
        for (int i = 0; i < 16; ++i)
            RectDraw(i * 40, 0, 40, 480, (i * 15) + (255 - i * 15) * 256.0);
        RectDraw(3, 3, 5, 5, 255 + 128 * 65536.0);
        PixelSet(20, 20, 1);
    }
};

TEST_F(OffscreenGL, CreateSizesTheSlotAndDrawingLandsInItsTopLeft) {
    for (Path p : kPaths) {
        SCOPED_TRACE(Name(p));
        Make(p, 0, 5, 100, 60);
        const SpriteSlot& sp = *SlotGet(5);
        EXPECT_EQ(sp.textureWidth, 128);
        EXPECT_EQ(sp.textureHeight, 64);
        EXPECT_EQ(sp.pictureWidth, 100);
        EXPECT_EQ(sp.pictureHeight, 60);
        BlendModeSet(-0.5);  // the copy path prepares the window unblended all the same
        OffscreenUse(0);
        BlendModeSet(0);
        EXPECT_EQ(R()->currentOffscreenTarget, 0);
        RectDraw(0, 0, 10, 6, kRed);
        RectDraw(95, 55, 5, 5, kGreen);
        // PixelGet, SpriteGrab and ScreenSave read the target, from the picture's top-left.
        EXPECT_EQ(PixelGet(2, 2), kRed);
        EXPECT_EQ(PixelGet(99, 59), kGreen);
        EXPECT_EQ(SpriteGrab(13, 95, 55, 5, 5), 1.0);
        const std::string saved = testsupport::TempDir() + "/target.bmp";
        EXPECT_EQ(ScreenSave(StdToRt(saved)), 1.0);
        ViewportSet(50, 20, 10, 10);  // viewports count from the target's top-left too
        RectDraw(0, 0, 2, 2, kBlue);
        OffscreenUse(-1);
        ASSERT_EQ(SpriteLoad(StdToRt(saved), 14), 1.0);
        EXPECT_EQ(SlotGet(14)->pictureWidth, 100);
        EXPECT_EQ(SlotGet(14)->pictureHeight, 60);
        SpriteDraw(13, 400, 400);
        SpriteDraw(14, 400, 300);
        EXPECT_EQ(At(402, 402), kGreen);
        EXPECT_EQ(At(401, 301), kRed);
        EXPECT_EQ(At(499, 359), kGreen);
        RectDraw(190, 90, 130, 80, kGrey);
        SpriteDraw(5, 200, 100);
        struct {
            int x, y;
            double want;
        } probes[] = {{200, 100, kRed},   {209, 105, kRed},   {210, 100, kGrey}, {250, 130, kGrey},
                      {295, 155, kGreen}, {299, 159, kGreen}, {300, 159, kGrey}, {299, 160, kGrey},
                      {251, 121, kBlue},  {252, 121, kGrey}};
        for (const auto& q : probes) EXPECT_EQ(At(q.x, q.y), q.want) << q.x << "," << q.y;
    }
}

TEST_F(OffscreenGL, WindowUnderATargetComesBackAndLargeTargetsClipToTheWindow) {
    struct Case {
        Path path;
        int w, h;
        bool beyondWindowDrawn;  // what is drawn past the window's edge reaches the sprite
        bool shader;             // a shader that ignores textures is current throughout
    } cases[] = {{Path::Copy, 100, 60, false, false},
                 {Path::Copy, 1024, 1024, false, false},
                 {Path::Framebuffer, 1024, 1024, true, false},
                 {Path::Copy, 100, 60, false, true}};
    const std::string colourOnly = testsupport::TempDir() + "/colour.frag";
    ASSERT_TRUE(testsupport::WriteFile(colourOnly, "void main() { gl_FragColor = gl_Color; }\n"));
    ASSERT_EQ(ShaderLoad(1, RtString(), StdToRt(colourOnly)), 1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Name(c.path)) + " " + std::to_string(c.w) +
                     (c.shader ? " shader" : ""));
        glClear(GL_COLOR_BUFFER_BIT);
        Pattern();
        const std::vector<uint8_t> before = Block(0, 0, 640, 480);
        Make(c.path, 1, 6, c.w, c.h);
        ShaderUse(c.shader ? 1 : -1);
        OffscreenUse(1);
        RectDraw(0, 0, c.w, c.h, kBlue);
        RectDraw(40, 30, 8, 8, kRed);
        if (c.w > 640) {
            RectDraw(600, 400, 8, 8, kGreen);
            RectDraw(700, 100, 8, 8, kRed);
        }
        OffscreenUse(-1);
        ShaderUse(-1);
        EXPECT_EQ(Block(0, 0, 640, 480), before) << "the window area under the target changed";
        const SpriteSlot& sp = *SlotGet(6);
        EXPECT_EQ(sp.pictureWidth, c.w);
        EXPECT_EQ(sp.pictureHeight, c.h);
        glClear(GL_COLOR_BUFFER_BIT);
        SpriteDraw(6, 0, 0);
        EXPECT_EQ(At(42, 32), kRed);
        EXPECT_EQ(At(10, 10), kBlue);
        if (c.w > 640) {
            glClear(GL_COLOR_BUFFER_BIT);
            SpriteDraw(6, -560, -360);  // sprite (600, 400) at window (40, 40)
            EXPECT_EQ(At(42, 42), kGreen);
            RectDraw(0, 0, 640, 480, kGrey);
            SpriteDraw(6, -680, 0);  // sprite (700, 100) at window (20, 100), still see-through
            EXPECT_EQ(At(22, 102), c.beyondWindowDrawn ? kRed : kGrey);
        }
    }
}

TEST_F(OffscreenGL, FinishingWithoutATargetOnlyResetsTheViewportAndPresentEndsTargets) {
    Pattern();
    const std::vector<uint8_t> before = Block(0, 0, 640, 480);
    ViewportSet(10, 20, 50, 40);
    OffscreenUse(-1);
    EXPECT_EQ(R()->currentOffscreenTarget, -1);
    EXPECT_EQ(R()->viewportX, 0);
    EXPECT_EQ(R()->viewportY, 0);
    EXPECT_EQ(R()->viewportWidth, 640);
    EXPECT_EQ(R()->viewportHeight, 480);
    EXPECT_EQ(Block(0, 0, 640, 480), before);

    for (Path p : kPaths) {
        SCOPED_TRACE(Name(p));
        Make(p, 2, 7, 16, 16);
        OffscreenUse(2);
        RectDraw(0, 0, 4, 4, kRed);
        FramePresent();
        EXPECT_EQ(R()->currentOffscreenTarget, -1);
        RectDraw(0, 0, 4, 4, kBlue);  // the next frame draws on the window
        EXPECT_EQ(At(1, 1), kBlue);
        SpriteDraw(7, 100, 100);
        EXPECT_EQ(At(101, 101), kRed);
        // A frame captured for the recorder is the frame as shown: the target is finished.
        RectDraw(0, 0, 16, 16, kGrey);
        OffscreenUse(2);
        RectDraw(0, 0, 4, 4, kGreen);
        std::vector<uint8_t> frame;
        int w = 0, h = 0;
        ASSERT_TRUE(FrameCapture(frame, w, h));
        EXPECT_EQ(R()->currentOffscreenTarget, -1);
        EXPECT_EQ(frame[(static_cast<size_t>(w) * 1 + 1) * 4], 90) << "red of pixel (1, 1)";
    }
}

TEST_F(OffscreenGL, DrawingIntoATargetMatchesTheSameDrawingOnTheWindow) {
    FontLoad(RtString(), 0);
    FontSet(0);
    DecodedImage img;  // hard-edged alpha: a ring of colours round a see-through middle
    img.Resize(12, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            uint8_t* px = img.Pixel(x, y);
            px[0] = static_cast<uint8_t>(x * 20), px[1] = static_cast<uint8_t>(y * 25), px[2] = 200;
            px[3] = (x > 3 && x < 8 && y > 2 && y < 7) ? 0 : 255;
        }
    SlotReset(8);
    ASSERT_TRUE(SlotLoadImage(8, img, false, false));
    auto scene = [](int ox, int oy) {
        BlendModeSet(0);
        RectDraw(ox + 30, oy + 4, 20, 16, 40 + 120 * 256 + 30 * 65536.0);
        SpriteDraw(8, ox + 2, oy + 3);
        SpriteDrawStretch(8, ox + 50, oy + 2, 24, 20);
        TextPrint("Ab1", ox + 4, oy + 24);
        for (int i = 0; i < 10; ++i) PixelSet(ox + 4 + i * 3, oy + 40, 20 * i + 100 * 65536.0);
        LineDraw(ox + 2, oy + 46, ox + 70, oy + 52, kGreen);
        BlendModeSet(0.5);
        SpriteDraw(8, ox + 34, oy + 6);  // additive, over the opaque rectangle
        BlendModeSet(0);
    };
    for (Path p : kPaths) {
        SCOPED_TRACE(Name(p));
        glClear(GL_COLOR_BUFFER_BIT);
        scene(300, 200);
        Make(p, 3, 9, 80, 56);
        OffscreenUse(3);
        scene(0, 0);
        OffscreenUse(-1);
        SpriteDraw(9, 100, 300);
        const std::vector<uint8_t> window = Block(300, 200, 80, 56),
                                   target = Block(100, 300, 80, 56);
        size_t differ = 0;
        for (size_t i = 0; i < window.size(); i += 4)
            if (window[i] != target[i] || window[i + 1] != target[i + 1] ||
                window[i + 2] != target[i + 2])
                ++differ;
        EXPECT_EQ(differ, 0u) << "pixels that differ between the target and the window";
    }
}

TEST_F(OffscreenGL, NumbersOutsideTheRangesAreRefused) {
    SlotReset(10);
    const auto targets = R()->offscreenTargets;
    struct {
        double n, slot, w, h;
    } creates[] = {{-1, 10, 16, 16}, {-32, 10, 16, 16},  {32, 10, 16, 16},
                   {0, -1, 16, 16},  {0, 65536, 16, 16}, {0, kScratchSlot, 16, 16},
                   {0, 10, 0, 16},   {0, 10, 16, -4}};
    for (const auto& c : creates) {
        OffscreenCreate(c.n, c.slot, c.w, c.h);
        EXPECT_EQ(SlotGet(10)->texture, 0u) << c.n << " " << c.slot << " " << c.w << "x" << c.h;
    }
    for (int i = 0; i < kOffscreenTargetCount; ++i) {
        EXPECT_EQ(R()->offscreenTargets[i].spriteSlot, targets[i].spriteSlot) << i;
        EXPECT_EQ(R()->offscreenTargets[i].framebuffer, targets[i].framebuffer) << i;
    }
    // Past 31 nothing happens; a target never made keeps drawing on the window.
    Make(Path::Framebuffer, 4, 11, 16, 16);
    OffscreenUse(4);
    OffscreenUse(32);
    EXPECT_EQ(R()->currentOffscreenTarget, 4);
    OffscreenUse(-1);
    ASSERT_EQ(R()->offscreenTargets[30].spriteSlot, -1) << "target 30 was made by another test";
    OffscreenUse(30);
    EXPECT_EQ(R()->currentOffscreenTarget, -1);
    RectDraw(0, 0, 2, 2, kRed);
    EXPECT_EQ(At(0, 0), kRed);
}

TEST_F(OffscreenGL, ReloadingATargetsSlotNeverLeavesItOnADeletedTexture) {
    const std::string file = testsupport::TempDir() + "/reload.png";
    ASSERT_TRUE(gfxtest::PngWrite(file, 32, 32, PNG_COLOR_TYPE_RGB, 8,
                                  gfxtest::SolidRows(32, 32, std::string("\x0a\x64\x32", 3))));
    const double picture = 10 + 100 * 256 + 50 * 65536.0;
    for (Path p : kPaths) {
        SCOPED_TRACE(Name(p));
        // Reloaded while not current: the next use draws into the new picture.
        Make(p, 5, 12, 100, 60);
        ASSERT_EQ(SpriteLoad(StdToRt(file), 12), 1.0);
        OffscreenUse(5);
        RectDraw(0, 0, 4, 4, kRed);
        OffscreenUse(-1);
        glClear(GL_COLOR_BUFFER_BIT);
        SpriteDraw(12, 100, 100);
        EXPECT_EQ(At(101, 101), kRed);
        EXPECT_EQ(At(120, 120), picture);
        // Reloaded while current: the target is finished first and drawing goes on the window.
        OffscreenUse(5);
        RectDraw(0, 0, 4, 4, kGreen);
        ASSERT_EQ(SpriteLoad(StdToRt(file), 12), 1.0);
        EXPECT_EQ(R()->currentOffscreenTarget, -1);
        RectDraw(0, 0, 2, 2, kBlue);
        EXPECT_EQ(At(0, 0), kBlue);
        SpriteDraw(12, 200, 100);
        EXPECT_EQ(At(201, 101), picture);
    }
}

}  // namespace
