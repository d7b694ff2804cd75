// Plays the piece named on the command line once through the runtime's own audio output,
// presenting frames until MusicPlayingGet says it has ended (at most 30 s), and prints what
// the command answered at the start and how long the piece took. With MUSIC_WAIT set it
// loops the piece instead and sits in KeyWait until a key is typed.
#include <cstdio>
#include <cstdlib>

#include "corvane.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

void GameMain() {
    if (std::getenv("MUSIC_WAIT")) {
        MusicPlay(runtimeState.commandLine, 1);
        std::printf("ready\n");
        std::fflush(stdout);
        KeyWait();
        std::printf("waited playing=%g\n", MusicPlayingGet());
        std::fflush(stdout);
        EndPath();
    }
    MusicPlay(runtimeState.commandLine, 0);
    const double playing = MusicPlayingGet();
    const double start = TimerGet();
    while (MusicPlayingGet() != 0 && TimerGet() - start < 30000) FramePresent();
    std::printf("playing=%g ended=%g elapsed=%.0f\n", playing, 1 - MusicPlayingGet(),
                TimerGet() - start);
    std::fflush(stdout);
    EndPath();
}
