// What the renderer needs from the off-screen module, registered by that module at start-up
// (until then there is no off-screen target and these stay null).
#pragma once

struct OffscreenCalls {
    void (*end)() = nullptr;                    // stop drawing into the current target
    int (*targetHeight)(int target) = nullptr;  // the height of target n in pixels
};

void OffscreenCallsRegister(const OffscreenCalls& calls);
const OffscreenCalls& Offscreen();
