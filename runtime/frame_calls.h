// Calls a lower layer makes into modules above it (FramePresent included). A module registers its
// function at start-up; the caller runs whatever is registered and skips a call nobody registered,
// so the lower layer never names the module.
#pragma once

enum class FrameCall {
    InputPoll,      // keyboard poll and mouse refresh (input), for a debugger breakpoint
    MusicCheck,     // music loop check (sound): each frame, while paused and in input waits
    ShadowPassEnd,  // leave a 3D shadow pass (3D): before each swap and on a viewport change
    MipmapReset,    // 3D mip-map choice back to none (3D), after each swap
    FixedPipeline,  // fixed-function pipeline after each swap (shaders)
    Present,        // FramePresent itself (frame), for fades, input waits and video
    Count
};

// Sets the function for a call (replacing an earlier one; null removes it).
void FrameCallRegister(FrameCall call, void (*fn)());

// Runs the registered function, if any.
void FrameCallRun(FrameCall call);
