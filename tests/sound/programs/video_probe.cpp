// Shows a red frame, then plays the video named by VIDEO_FILE in a window of VIDEO_W x
// VIDEO_H. VIDEO_MODE "once": plays it once, prints the result and the time it took, and
// leaves the window as the video left it (nothing more is drawn) for the test to read, for
// at most 20 s. "hold": waits until key A is down, then plays it looping until a key is
// pressed, printing when it starts and ends.
// It starts the runtime itself, so it keeps its own main().
#define CORVANE_OWN_MAIN
#include <cstdio>
#include <cstdlib>
#include <string>

#include "corvane.h"
#include "frame/startup.h"
#include "gfx/renderer.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

namespace {

int EnvInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : fallback;
}

void Say(const std::string& s) {
    std::printf("%s\n", s.c_str());
    std::fflush(stdout);
}

}  // namespace

void GameMain() {
    const int w = EnvInt("VIDEO_W", 640), h = EnvInt("VIDEO_H", 480);
    const char* file = std::getenv("VIDEO_FILE");
    const std::string mode = std::getenv("VIDEO_MODE") ? std::getenv("VIDEO_MODE") : "once";
    if (w != 640 || h != 480) runtimeState.renderer->ScreenModeChange(w, h, 0, false);
    // Half a second of red frames, so the window is surely mapped and showing one (a frame
    // swapped before the window is exposed is lost).
    for (int i = 0; i < 30; ++i) {
        RectDraw(0, 0, w, h, 255);
        FramePresent();
    }
    if (mode == "hold") {
        EscapeQuitSet(0);
        Say("ready");
        while (KeyGet(30) == 0) FramePresent();
        Say("video-start");
        double r = VideoPlay(file ? file : "", 1);
        Say("video-end " + std::to_string(static_cast<int>(r)));
        EndPath();
    }
    double t0 = TimerGet();
    double r = VideoPlay(file ? file : "", 0);
    std::printf("result %d elapsed %.0f\n", static_cast<int>(r), TimerGet() - t0);
    std::fflush(stdout);
    for (double until = TimerGet() + 20000; TimerGet() < until;) ProgramSleep(20);
    EndPath();
}

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
