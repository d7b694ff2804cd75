// A game whose frames are busy: about 14 ms of work each at 60 frames per second, with one
// KeyGet per frame before the work. Prints "press N" when F12 reads down after reading up and
// "release N" when it reads up again; ends on ESC through FramePresent.
#include <cstdio>

#include "corvane.h"

void GameMain() {
    std::printf("ready\n");
    std::fflush(stdout);
    bool held = false;
    int presses = 0;
    for (;;) {
        bool f12 = KeyGet(88) != 0;
        if (f12 != held) {
            if (f12) ++presses;
            std::printf("%s %d\n", f12 ? "press" : "release", presses);
            std::fflush(stdout);
        }
        held = f12;
        // The work: spin, so nothing in it reads input or pumps window messages.
        double until = TimerGet() + 14.0;
        while (TimerGet() < until) {
        }
        FramePresent();
    }
}
