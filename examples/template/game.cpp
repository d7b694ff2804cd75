// A starting point for a game of your own: a ball bouncing in a framed court, a title and a
// frame counter. The runtime owns main(): it opens the window (640 x 480, 60 frames per
// second) and calls GameMain, which runs until ESC or the window is closed.
#include "corvane.h"

void GameMain() {
    double x = 320, y = 240, dx = 3, dy = 2;
    for (double frame = 0;; ++frame) {
        // Nothing is kept between frames unless a background picture is loaded, so each
        // frame draws everything it shows.
        RectDraw(0, 0, 640, 480, 0x102030);
        RectDraw(20, 60, 600, 400, 0x204060);
        x += dx;
        y += dy;
        if (x < 20 || x > 600) dx = -dx;
        if (y < 60 || y > 440) dy = -dy;
        RectDraw(x, y, 20, 20, 0xF0C040);
        TextPrint(RtString("My game"), 20, 20);
        NumberPrint(frame, 560, 20);
        FramePresent();
    }
}
