// The runtime's clock, shared by the frame loop, the pacing, fades and input waits.
#pragma once

#include <cstdint>

// Milliseconds: the high-resolution counter when there is one, else the millisecond clock.
// The counter is asked for once, on the first call.
double FrameTimer();

// The fixed-step clock for recordings and repeatable runs: from this call on the clock stands
// at 0 and moves only where the frame schedule or a sleep moves it, so a run goes as fast as
// the machine allows and every run sees the same times.
void FrameTimerFixedStepStart();
bool FrameTimerFixedStep();
// With the fixed step, moves the clock forward to ms (never back); otherwise nothing.
void FrameTimerAdvanceTo(double ms);
// Sleeps ms milliseconds (0 or less: none); with the fixed step the clock moves on instead.
void FrameTimerSleep(int64_t ms);
