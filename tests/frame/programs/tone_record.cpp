// Shows 90 frames and plays the sound named on the command line as frame 31 is drawn (half a
// second in at 60 frames per second), for a recording to hold.
#include "corvane.h"
#include "runtime/runtime_state.h"

void GameMain() {
    if (SoundLoad(runtimeState.commandLine, 1, 1) != 1) ProgramEnd();
    for (int n = 1; n <= 90; ++n) {
        if (n == 31) SoundPlay(1, 0, 1);
        RectDraw(0, 0, 640, 480, n);
        FramePresent();
    }
    ProgramEnd();
}
