#include "runtime/timer.h"

#include "platform/clock.h"

namespace {
struct TimerState {
    bool queried = false;
    bool counterAvailable = false;
    double counterFrequency = 0.0;
};

TimerState& Timer() {
    static TimerState s;
    return s;
}
}  // namespace

double FrameTimer() {
    TimerState& t = Timer();
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
