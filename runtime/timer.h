// The runtime's clock, shared by the frame loop, the pacing, fades and input waits.
#pragma once

// Milliseconds: the high-resolution counter when there is one, else the millisecond clock.
// The counter is asked for once, on the first call.
double FrameTimer();
