// Starts hidden through its own process entry, runs 30 frames and ends.
// It starts the runtime itself, so it keeps its own main().
#define CORVANE_OWN_MAIN
#include <cstdio>

#include "corvane.h"
#include "frame/startup.h"
#include "platform/window.h"
#include "runtime/end_path.h"

void GameMain() {
    int visible = platform::WindowVisible() ? 1 : 0;
    for (int i = 0; i < 30; ++i) FramePresent();
    std::printf("visible=%d\nframes=30\n", visible);
    std::fflush(stdout);
    EndPath();
}

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowHidden);
}
