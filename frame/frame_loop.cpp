// FramePresent and the timing commands: the top of each frame.
#include <cmath>

#include "core/int_convert.h"
#include "corvane.h"
#include "frame/frame_pacing.h"
#include "frame/frame_recorder.h"
#include "gfx/renderer.h"
#include "input/input.h"
#include "input/input_runtime.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "runtime/end_path.h"
#include "runtime/frame_calls.h"
#include "runtime/pacing.h"
#include "runtime/runtime_state.h"
#include "runtime/timer.h"
#include "runtime/window_events.h"

namespace {
[[noreturn]] void EndFromFrame() {
    runtimeState.errorCode = 0.0;
    runtimeState.errorLine = runtimeState.currentLine;
    EndPath();
}
}  // namespace

void FramePresent() {
    RuntimeState& rs = runtimeState;
    if (rs.debugMode != 0 && rs.breakpointHidden != 0) {
        platform::WindowShow();
        platform::WindowRaise();
    }
    rs.previousFrameStartTime = rs.frameStartTime;
    rs.frameStartTime = FrameTimer();
    while (rs.paused) {
        FrameCallRun(FrameCall::MusicCheck);
        MessagePump();
        FrameTimerSleep(100);
    }
    if (InputRunning()) InputFramePoll();
    if (rs.escapeQuits && InputFrameKeyDown(1)) EndFromFrame();
    if (InputFrameKeyDown(56) && InputFrameKeyDown(62)) EndFromFrame();
    FrameCallRun(FrameCall::ShadowPassEnd);
    FrameCallRun(FrameCall::MusicCheck);
    MessagePump();
    Renderer* r = rs.renderer;
    if (!r) return;
    FrameRecorderFrame();
    FrameSwapAndPace();
    r->FrameStateReset();
    FrameCallRun(FrameCall::MipmapReset);
    FrameCallRun(FrameCall::FixedPipeline);
    FrameRecorderFrameDone();
}

void FrameRateSet(double framesPerSecond) {
    int fps = ToInt(framesPerSecond);
    if (runtimeState.renderer)
        FramePacing().frameDuration = PaceFrameDuration(fps);
    else
        runtimeState.frameRate = fps;
}

double FrameTimeGet() {
    double d = runtimeState.frameStartTime - runtimeState.previousFrameStartTime;
    return d > 0.0 ? d : 1.0;
}

void ProgramSleep(double ms) {
    // 0 or less does not sleep: a negative value must never become an endless sleep.
    int64_t v = ToInt64(ms);
    FrameTimerSleep(v);
}

void AutoPauseSet(double flag) {
    runtimeState.autoPause = ToInt(flag) != 0;
}

void EscapeQuitSet(double flag) {
    runtimeState.escapeQuits = flag != 0.0 || std::isnan(flag);
}
