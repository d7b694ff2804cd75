// Loads the sound named on the command line into slot 5 with two buffers, plays it twice
// through the runtime's own audio output, waits (presenting frames) until both plays have
// ended, and prints what the commands answered.
#include <cstdio>

#include "corvane.h"
#include "frame/end_path.h"
#include "frame/runtime_state.h"

void GameMain() {
    const double loaded = SoundLoad(runtimeState.commandLine, 5, 2);
    const double first = SoundPlay(5, 0, 1);
    const double second = SoundPlay(5, -1, 0.5);
    const double playing = SoundPlayingGet(second);
    const double start = TimerGet();
    while ((SoundPlayingGet(first) != 0 || SoundPlayingGet(second) != 0) &&
           TimerGet() - start < 30000)
        FramePresent();
    std::printf("loaded=%g first=%g second=%g playing=%g ended=%g\n", loaded, first, second,
                playing, 1 - SoundPlayingGet(first) - SoundPlayingGet(second));
    std::fflush(stdout);
    EndPath();
}
