#include "runtime/pacing.h"

#include <cmath>

double PaceNextSlot(double next, double duration, double t) {
    double n = next + duration;
    if (!(duration > 0.0) || !(t > n)) return n;
    // Whole frame durations in one step, so a tiny duration cannot loop for millions of steps;
    // start one step short and finish with the stepwise rule, which absorbs rounding.
    double k = std::ceil((t - n) / duration) - 1.0;
    double m = k > 0.0 ? n + k * duration : n;
    while (t > m) {
        const double step = m + duration;
        if (step == m) return t;  // duration below the clock's resolution at this magnitude
        m = step;
    }
    return m;
}

PaceOutcome PaceToSlot(PaceClock& clock, double nextFrameTime, double frameDuration) {
    const double start = clock.Now();
    const double next = nextFrameTime;
    double t;
    for (;;) {
        if (clock.DispatchOne()) continue;
        t = clock.Now();
        if (next > t + 5) {
            double d = std::trunc(next - t);
            if (d > 5) {
                clock.Sleep(d - 3 > 1e9 ? 1000000000 : static_cast<int>(d - 3));
                // The clock is not read again here: the spin below does that.
                t = t + d;
            }
        }
        if (next >= t) continue;
        break;
    }
    return {PaceNextSlot(next, frameDuration, t), t - start + 1};
}

double PaceFrameDuration(int framesPerSecond) {
    return framesPerSecond <= 0 ? 2.0 : 1000.0 / framesPerSecond;
}
