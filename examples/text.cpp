// Text and fonts.
//
// Shows the built-in font, two bitmap fonts loaded from pictures, numbers printed with
// NumberPrint, a line centred with the help of FontSizeGet, and text faded in with the
// blend mode.
//
// A font picture is a grid of 16 cells across; each cell holds one character, in character
// code order from the top left, so the picture's size fixes the cell size ("Lucida Console
// 112x88.png" has 7 x 11 pixel cells). Font 0 is the built-in one with 8 x 8 cells.
//
// Run: build/examples/example_text (ESC ends it).
#include "corvane.h"

namespace {

constexpr double kBuiltin = 0, kSmall = 1, kBanner = 2;

// Centres a line across the 640-pixel window: every character of a font is one cell wide.
void PrintCentred(const RtString& text, double y) {
    double cellWidth = 0, cellHeight = 0;
    FontSizeGet(cellWidth, cellHeight);
    TextPrint(text, (640 - StringLength(text) * cellWidth) / 2, y);
}

}  // namespace

void GameMain() {
    // FontLoad also makes the font current; a picture that cannot be read leaves the
    // built-in font in that number, so text still shows.
    FontLoad(RtString("media/Lucida Console 112x88.png"), kSmall);
    FontLoad(RtString("media/Splash 480x240.png"), kBanner);
    for (double frame = 0;; ++frame) {
        RectDraw(0, 0, 640, 480, 0x281808);

        FontSet(kBanner);
        PrintCentred(RtString("CORVANE"), 40);

        FontSet(kBuiltin);
        TextPrint(RtString("The built-in font: 8 x 8 cells, always there."), 40, 120);

        FontSet(kSmall);
        TextPrint(RtString("A font from a picture: Lucida Console, 7 x 11 cells."), 40, 160);
        TextPrint(RtString("frame"), 40, 190);
        NumberPrint(frame, 90, 190);  // numbers print without turning them into text first
        // NumberFormat gives the text of a number with a fixed width and decimals.
        TextPrint(RtString("seconds ") + NumberFormat(6, 2, TimerGet() / 1000), 40, 210);

        // Text takes the blend mode like sprites do: here it fades in and out.
        BlendModeSet(-(0.5 + 0.5 * MathSin(frame * 3)));
        PrintCentred(RtString("Text fades with BlendModeSet, too."), 300);
        BlendModeSet(0);

        FontSet(kBanner);
        PrintCentred(StringUpper(RtString("abc")) + NumberFormat(3, 0, 123), 380);
        FramePresent();
    }
}
