// What the renderer needs from the off-screen module, registered by that module at start-up
// (until then there is no off-screen target and these stay null).
#pragma once

class Renderer;

struct OffscreenCalls {
    void (*end)(Renderer& r) = nullptr;  // finish the current target (if any), back to the window
    // The height of the surface that drawing lands on while target n is current: its picture
    // height when it draws into a framebuffer, 0 when it draws on the window (the copy path).
    int (*surfaceHeight)(const Renderer& r, int target) = nullptr;
    void (*release)(Renderer& r) = nullptr;  // delete every target's GL objects
    // Slot s is about to lose or replace its texture: a target drawing into it is finished.
    void (*slotChanging)(Renderer& r, int slot) = nullptr;
};

void OffscreenCallsRegister(const OffscreenCalls& calls);
const OffscreenCalls& Offscreen();
