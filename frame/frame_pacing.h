// The frame schedule FramePresent keeps: the next slot and the frame duration.
#pragma once

struct FramePacingState {
    double nextFrameTime;  // the schedule's next slot (ms, FrameTimer's clock)
    double frameDuration = 1000.0 / 60.0;
};

// The schedule; its first slot is the time of the first call.
FramePacingState& FramePacing();

// Start-up, once the window is up: the rate's duration and a schedule starting now.
void FramePacingStart(int framesPerSecond);

// Swaps the renderer's buffers (when there is one) and waits for the next slot, handling
// window events meanwhile; the milliseconds spent plus one.
double FrameSwapAndPace();
