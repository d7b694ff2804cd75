// A starting point for a game of your own: a ball bouncing in a framed court, a title and a
// frame counter. The runtime owns main(): it opens the window (640 x 480, 60 frames per
// second), changes into the program's own folder and calls GameMain, which runs until ESC or
// the window is closed. The ball's picture is media/ball.png, which the build puts beside
// the program (corvane_add_media in CMakeLists.txt).
#include "corvane.h"

void GameMain() {
    // Sprite slot 1; black is the transparent colour, so the ball's corners do not show.
    const bool ball = SpriteLoad("media/ball.png", 1) != 0;
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
        if (ball)
            SpriteDraw(1, x, y);
        else
            TextPrint("media/ball.png is missing", 200, 20);
        TextPrint(RtString("My game"), 20, 20);
        NumberPrint(frame, 560, 20);
        FramePresent();
    }
}
