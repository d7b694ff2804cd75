// Keyboard and mouse.
//
// Shows the three ways a program reads input each frame: KeyGet for "is this key down now"
// (the arrow keys move a block one cell per press), KeyCharGet for typed text (shown at the
// bottom, Backspace takes a character back), and MouseStateGet for the pointer and its
// buttons (hold the left button to paint, press the right one to wipe the painting).
//
// Run: build/examples/example_keyboard_mouse (ESC ends it).
#include "corvane.h"

namespace {

constexpr double kColumns = 10, kRows = 4, kCell = 48, kGridX = 80, kGridY = 60;
constexpr double kBlock = 0xF0A030, kPaint = 0x40D0F0, kMaxDots = 8000;

// Painted dots, kept from frame to frame: the screen is redrawn from scratch every frame, so
// whatever should stay must be remembered by the program.
struct Painting {
    RtNumberArray x, y;
    double count = 0;
    double lastX = -1, lastY = -1;  // -1: the button was up in the last frame
};

// A key counts once when it goes down: compare with the state of the last frame.
struct Arrow {
    double key, dx, dy;
    double wasDown = 0;
};

void PaintTo(Painting& p, double x, double y) {
    // Dots every two pixels from the last position, so a fast stroke stays a line.
    const double fromX = p.lastX < 0 ? x : p.lastX, fromY = p.lastY < 0 ? y : p.lastY;
    const double steps = MathMax(1, MathMax(MathAbs(x - fromX), MathAbs(y - fromY)) / 2);
    for (double i = 1; i <= steps && p.count < kMaxDots; ++i) {
        p.x(p.count) = fromX + (x - fromX) * i / steps;
        p.y(p.count) = fromY + (y - fromY) * i / steps;
        ++p.count;
    }
    p.lastX = x;
    p.lastY = y;
}

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    // The pointer starts hidden and the mouse is the program's alone (it reports movement
    // however far it goes); shown, MouseStateGet follows the desktop's pointer instead.
    PointerShow(1);
    Painting paint;
    ArrayDim(paint.x, kMaxDots);
    ArrayDim(paint.y, kMaxDots);
    Arrow arrows[4] = {{KEY_LEFT, -1, 0}, {KEY_RIGHT, 1, 0}, {KEY_UP, 0, -1}, {KEY_DOWN, 0, 1}};
    double blockColumn = 0, blockRow = 0;
    RtString typed;
    for (;;) {
        for (Arrow& a : arrows) {
            const double down = KeyGet(a.key);
            if (down && !a.wasDown) {
                blockColumn = MathMin(kColumns - 1, MathMax(0, blockColumn + a.dx));
                blockRow = MathMin(kRows - 1, MathMax(0, blockRow + a.dy));
            }
            a.wasDown = down;
        }
        // KeyCharGet gives the character of a newly pressed key as the layout and Shift make
        // it; keys without one (arrows, Shift itself) give "". Backspace gives code 8.
        const RtString c = KeyCharGet();
        if (StringCode(c) == 8 && typed.Length() > 0)
            typed = StringMid(typed, 0, typed.Length() - 1);
        else if (c.Length() > 0 && StringCode(c) >= 32 && typed.Length() < 60)
            typed = typed + c;

        double mouseX = 0, mouseY = 0, left = 0, right = 0;
        MouseStateGet(mouseX, mouseY, left, right);
        if (left) {
            PaintTo(paint, mouseX, mouseY);
        } else {
            paint.lastX = paint.lastY = -1;
        }
        if (right) paint.count = 0;

        RectDraw(0, 0, 640, 480, 0x201810);
        TextPrint(RtString("Arrow keys: move the block.  Left button: paint.  Right: wipe."), 20,
                  20);
        for (double row = 0; row < kRows; ++row)
            for (double column = 0; column < kColumns; ++column)
                RectDraw(kGridX + column * kCell + 1, kGridY + row * kCell + 1, kCell - 2,
                         kCell - 2, 0x402C20);
        RectDraw(kGridX + blockColumn * kCell + 6, kGridY + blockRow * kCell + 6, kCell - 12,
                 kCell - 12, kBlock);
        for (double i = 0; i < paint.count; ++i)
            RectDraw(paint.x(i) - 2, paint.y(i) - 2, 5, 5, kPaint);

        // The pointer as a cross, and what MouseStateGet says about it.
        LineDraw(mouseX - 8, mouseY, mouseX + 8, mouseY, 0xFFFFFF);
        LineDraw(mouseX, mouseY - 8, mouseX, mouseY + 8, 0xFFFFFF);
        TextPrint(RtString("mouse"), 20, 440);
        NumberPrint(mouseX, 80, 440);
        NumberPrint(mouseY, 130, 440);
        TextPrint(RtString(left ? "left" : ""), 180, 440);
        TextPrint(RtString(right ? "right" : ""), 220, 440);
        TextPrint(RtString("typed: ") + typed, 20, 456);
        FramePresent();
    }
}
