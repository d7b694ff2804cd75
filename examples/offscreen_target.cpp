// Off-screen targets: drawing into a sprite instead of the window.
//
// A little scene (a turning bar over a checkerboard, with a caption) is drawn once per frame
// into target 0, whose picture lives in sprite slot 20. The window then shows that sprite four
// times: as it is, zoomed, turned, and half see-through, the way a game draws a minimap, a
// monitor inside a room or a picture it composes once and reuses.
//
// Run: build/examples/example_offscreen_target (ESC ends it).
#include "corvane.h"

namespace {

constexpr double kTarget = 0, kScene = 20;
constexpr double kSceneWidth = 160, kSceneHeight = 120;

// Everything drawn while the target is in use lands in the sprite, with (0, 0) its top-left.
void DrawScene(double frame) {
    for (double y = 0; y < kSceneHeight; y += 20)
        for (double x = 0; x < kSceneWidth; x += 20)
            RectDraw(x, y, 20, 20, MathMod(x / 20 + y / 20, 2) == 0 ? 0x603010 : 0x904818);
    const double angle = frame * 3;
    const double cx = kSceneWidth / 2, cy = kSceneHeight / 2;
    for (double r = -50; r <= 50; r += 0.5)
        RectDraw(cx + MathCos(angle) * r - 2, cy + MathSin(angle) * r - 2, 4, 4, 0x30E0F0);
    TextPrint(RtString("scene"), 4, 4);
}

}  // namespace

void GameMain() {
    // The slot gets a 256 x 128 texture (powers of two) showing a 160 x 120 picture.
    OffscreenCreate(kTarget, kScene, kSceneWidth, kSceneHeight);
    for (double frame = 0;; ++frame) {
        OffscreenUse(kTarget);
        DrawScene(frame);
        OffscreenUse(-1);  // back to the window

        RectDraw(0, 0, 640, 480, 0x202020);
        SpriteDraw(kScene, 20, 20);
        SpriteDrawZoom(kScene, 380, 100, 2, 2);  // zoomed about the picture's centre
        SpriteDrawRotoZoom(kScene, 60, 300, frame, 1);
        BlendModeSet(-0.5);  // half see-through: the grey below shows through
        SpriteDraw(kScene, 460, 300);
        BlendModeSet(0);
        TextPrint(RtString("as drawn"), 20, 4);
        TextPrint(RtString("zoomed 2x"), 300, 24);
        TextPrint(RtString("turned                             half see-through"), 20, 440);
        FramePresent();
    }
}
