// Time for the frame loop: a high-resolution monotonic clock in milliseconds and a
// millisecond sleep.
#pragma once

#include <cstdint>

namespace platform {

// The high-resolution counter: whether it exists, its ticks per second and its value.
bool ClockCounterQuery(double& frequency);
int64_t ClockCounter();

// A plain millisecond clock, the fall-back when there is no counter.
double ClockCoarseMs();

// Sleeps ms milliseconds; 0 or less returns at once, and so does a pending end signal.
void SleepMs(int64_t ms);

// CPU time this process has used, in milliseconds (for measurements).
double ProcessCpuMs();

}  // namespace platform
