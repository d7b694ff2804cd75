// Prints every character KeyCharGet hands out, one per line, and "esc" once while ESC is held
// (ESC does not end it: EscapeQuitSet 0). Alt+F4 ends it.
#include <cstdio>

#include "corvane.h"

void GameMain() {
    EscapeQuitSet(0);
    std::printf("ready\n");
    std::fflush(stdout);
    bool escHeld = false;
    for (;;) {
        FramePresent();
        RtString c = KeyCharGet();
        if (StringLength(c) > 0) {
            std::printf("char %s\n", c.Text());
            std::fflush(stdout);
        }
        bool esc = KeyGet(1) != 0;
        if (esc && !escHeld) {
            std::printf("esc\n");
            std::fflush(stdout);
        }
        escHeld = esc;
    }
}
