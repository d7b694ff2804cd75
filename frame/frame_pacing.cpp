#include "frame/frame_pacing.h"

#include "gfx/renderer.h"
#include "platform/clock.h"
#include "runtime/pacing.h"
#include "runtime/runtime_state.h"
#include "runtime/timer.h"
#include "runtime/window_events.h"

namespace {
class FramePaceClock final : public PaceClock {
public:
    double Now() override { return FrameTimer(); }
    void Sleep(int ms) override { platform::SleepMs(ms); }
    bool DispatchOne() override { return MessageDispatchOne(); }
};
}  // namespace

FramePacingState& FramePacing() {
    static FramePacingState s{FrameTimer()};
    return s;
}

void FramePacingStart(int framesPerSecond) {
    FramePacingState& p = FramePacing();
    p.frameDuration = PaceFrameDuration(framesPerSecond);
    p.nextFrameTime = FrameTimer();
}

double FrameSwapAndPace() {
    if (Renderer* r = runtimeState.renderer) r->Swap();
    FramePacingState& p = FramePacing();
    if (FrameTimerFixedStep()) {
        // No wait: the clock jumps to the slot, so every frame lasts exactly one duration.
        const double start = FrameTimer();
        MessagePump();
        FrameTimerAdvanceTo(p.nextFrameTime);
        const double t = FrameTimer();
        p.nextFrameTime = PaceNextSlot(p.nextFrameTime, p.frameDuration, t);
        return t - start + 1;
    }
    FramePaceClock clock;
    const PaceOutcome out = PaceToSlot(clock, p.nextFrameTime, p.frameDuration);
    p.nextFrameTime = out.nextFrameTime;
    return out.result;
}
