// Sprites and blend modes.
//
// Shows how a picture gets into a sprite slot (loaded from a file, or drawn and grabbed from
// the screen), how it is drawn turned and zoomed, and what the three blend modes do: three
// panels each draw a red disc over a blue square, opaque on the left, added in the middle
// (the overlap turns a bright magenta) and half see-through on the right.
//
// Run: build/examples/example_sprites (ESC ends it). The pictures come from media/ beside
// the program, copied there by the build.
#include "corvane.h"

namespace {

// Sprite slots are plain numbers; naming them keeps the drawing code readable.
constexpr double kSquare = 1, kDisc = 2, kLogo = 3, kGlow = 4;

constexpr double kBackground = 0x301810;  // colours are red + green * 256 + blue * 65536
constexpr double kBlue = 0xC04010, kRed = 0x1010E0;
constexpr double kPanelTop = 250, kPanelLeft[3] = {40, 240, 440};

// A sprite need not come from a file: draw it once, grab that part of the screen into a
// slot, and clear the screen again before the first frame is shown.
void MakeSprites() {
    TransparencySet(0);  // black pixels of a grab become see-through
    ScreenClear();
    RectDraw(0, 0, 100, 100, kBlue);
    SpriteGrab(kSquare, 0, 0, 100, 100);
    ScreenClear();
    // A disc from one-pixel rows: there is no circle command, and none is needed.
    for (double y = -45; y <= 45; ++y) {
        const double half = MathSqrt(45 * 45 - y * y);
        RectDraw(50 - half, 50 + y, 2 * half, 1, kRed);
    }
    SpriteGrab(kDisc, 0, 0, 100, 100);
    ScreenClear();
}

// One panel: the square drawn opaque, then the disc with the panel's blend mode over its
// lower right quarter.
void Panel(double left, double mode, const char* title, const char* call) {
    BlendModeSet(0);
    TextPrint(RtString(title), left, kPanelTop - 20);
    SpriteDraw(kSquare, left, kPanelTop);
    BlendModeSet(mode);
    SpriteDraw(kDisc, left + 50, kPanelTop + 50);
    BlendModeSet(0);
    TextPrint(RtString(call), left, kPanelTop + 170);
}

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    MakeSprites();
    // PNG pictures bring their own see-through parts in their alpha channel.
    SpriteLoad(RtString("media/image 2.2.png"), kLogo);
    SpriteLoad(RtString("media/circle 2.png"), kGlow);
    for (double frame = 0;; ++frame) {
        RectDraw(0, 0, 640, 480, kBackground);
        // Additive glows brighten whatever lies below them: good for light, fire, sparks.
        BlendModeSet(1);
        for (int i = 0; i < 6; ++i) {
            const double a = frame * 2 + i * 60;
            SpriteDrawZoom(kGlow, 296 + 90 * MathCos(a), 96 + 40 * MathSin(a), 1.5, 1.5);
        }
        BlendModeSet(0);
        // Turned about its centre: (x, y) is where the unturned picture's corner would be.
        SpriteDrawRotoZoom(kLogo, 280, 90, frame * 3, 1.2 + 0.2 * MathSin(frame * 4));

        Panel(kPanelLeft[0], 0, "opaque", "BlendModeSet(0)");
        Panel(kPanelLeft[1], 1, "additive", "BlendModeSet(1)");
        Panel(kPanelLeft[2], -0.5, "half see-through", "BlendModeSet(-0.5)");
        FramePresent();
    }
}
