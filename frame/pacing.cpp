#include "frame/pacing.h"

#include <cmath>

double PaceNextSlot(double next, double duration, double t) {
    double n = next + duration;
    if (!(duration > 0.0) || !(t > n)) return n;
    // Whole frame durations in one step, so a tiny duration cannot loop for millions of steps.
    double k = std::ceil((t - n) / duration);
    double m = n + k * duration;
    // Rounding can land one step either side of the exact answer.
    if (m < t) m += duration;
    if (m - duration >= t && m - duration > n) m -= duration;
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
