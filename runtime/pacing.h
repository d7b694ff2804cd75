// The swap-and-pace rule without any I/O, so tests drive it with a fake clock.
#pragma once

class PaceClock {
public:
    virtual ~PaceClock() = default;
    virtual double Now() = 0;        // the timer, ms
    virtual void Sleep(int ms) = 0;  // sleep whole milliseconds
    virtual bool DispatchOne() = 0;  // handle one waiting message; false when none
};

struct PaceOutcome {
    double nextFrameTime;  // the schedule's next slot
    double result;         // ms spent in the step plus one (always >= 1)
};

// Waits for the slot nextFrameTime: sleeps only when more than 5 ms remain and wakes 3 ms
// early, then spins on the clock while dispatching messages. The next slot is one frame
// duration later or, after a long frame, the first slot of the old schedule at or after the
// present time.
PaceOutcome PaceToSlot(PaceClock& clock, double nextFrameTime, double frameDuration);

// The catch-up of the schedule in one computation: the smallest next + k * duration (k >= 1)
// that is not before t. A duration that is not positive gives next + duration.
double PaceNextSlot(double next, double duration, double t);

// The frame duration for a rate: 1000 / fps, or 2 ms when fps <= 0.
double PaceFrameDuration(int framesPerSecond);
