// Runs frames forever, reporting the frame count every 5 frames. "noautopause" on the command
// line turns auto-pause off.
#include <cstdio>
#include <cstring>

#include "corvane.h"
#include "runtime/runtime_state.h"

void GameMain() {
    if (std::strstr(runtimeState.commandLine.Text(), "noautopause")) AutoPauseSet(0);
    std::printf("ready\n");
    std::fflush(stdout);
    for (long n = 1;; ++n) {
        FramePresent();
        if (n % 5 == 0) {
            std::printf("frames %ld\n", n);
            std::fflush(stdout);
        }
    }
}
