// Prints what start-up left behind, presents two frames and ends.
#include <cstdio>

#include "corvane.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

void GameMain() {
    double timer = TimerGet();
    double before = FrameTimeGet();
    FramePresent();
    FramePresent();
    // One more: the first slot after start-up may already be due when start-up ran long.
    FramePresent();
    double after = FrameTimeGet();
    const double gap = runtimeState.frameStartTime - runtimeState.previousFrameStartTime;
    double w = 0, h = 0;
    ScreenSizeGet(w, h);
    std::printf("timer=%.3f\nframetime0=%.3f\nframetime2=%.3f\nframegap=%.3f\n", timer, before,
                after, gap);
    std::printf("size=%gx%g\ntitle=%s\nvisible=%d\n", w, h, platform::WindowTitle().c_str(),
                platform::WindowVisible() ? 1 : 0);
    std::printf("cwd=%s\ncmd=[%s]\n", platform::CurrentFolderGet().c_str(),
                runtimeState.commandLine.Text());
    std::fflush(stdout);
    EndPath();
}
