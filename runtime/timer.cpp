#include "runtime/timer.h"

#include "corvane.h"
#include "platform/clock.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

namespace {
struct TimerState {
    bool queried = false;
    bool counterAvailable = false;
    double counterFrequency = 0.0;
    bool fixedStep = false;
    double fixedNow = 0.0;
};

TimerState& Timer() {
    static TimerState s;
    return s;
}
}  // namespace

double FrameTimer() {
    TimerState& t = Timer();
    if (t.fixedStep) return t.fixedNow;
    if (!t.queried) {
        double freq = 0.0;
        t.counterAvailable = platform::ClockCounterQuery(freq) && freq > 0.0;
        t.counterFrequency = freq;
        t.queried = true;
    }
    if (t.counterAvailable)
        return static_cast<double>(platform::ClockCounter()) * 1000.0 / t.counterFrequency;
    return platform::ClockCoarseMs();
}

void FrameTimerFixedStepStart() {
    TimerState& t = Timer();
    t.fixedStep = true;
    t.fixedNow = 0.0;
}

bool FrameTimerFixedStep() {
    return Timer().fixedStep;
}

void FrameTimerAdvanceTo(double ms) {
    TimerState& t = Timer();
    if (t.fixedStep && ms > t.fixedNow) t.fixedNow = ms;
}

void FrameTimerSleep(int64_t ms) {
    if (ms <= 0) return;
    TimerState& t = Timer();
    if (t.fixedStep)
        t.fixedNow += static_cast<double>(ms);
    else
        platform::SleepMs(ms);
    EndSignalCheck();  // the sleep ended early for it
}

double TimerGet() {
    return FrameTimer() - runtimeState.programStartTime;
}
