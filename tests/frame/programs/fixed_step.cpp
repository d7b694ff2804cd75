// Draws frame n in colour n * 2 (red channel) for 40 frames, printing TimerGet after every
// present and one random number, then ends.
#include <cstdio>

#include "corvane.h"

void GameMain() {
    std::printf("random %.0f\n", RandomGet(1000000));
    for (int n = 1; n <= 40; ++n) {
        RectDraw(0, 0, 640, 480, n * 2);
        FramePresent();
        std::printf("t %d %.6f\n", n, TimerGet());
    }
    std::fflush(stdout);
    ProgramEnd();
}
