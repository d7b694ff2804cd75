// What the renderer needs from the off-screen module, registered by that module at start-up
// (until then there is no off-screen target and these stay null).
#pragma once

class Renderer;

struct OffscreenCalls {
    void (*end)(Renderer& r) = nullptr;  // finish the current target (if any), back to the window
    // The size of the surface drawing lands on while target n is current: its picture size
    // when it draws into a framebuffer (true); false when it draws on the window (copy path).
    bool (*surfaceSize)(const Renderer& r, int target, int& width, int& height) = nullptr;
    void (*release)(Renderer& r) = nullptr;  // delete every target's GL objects
    // Slot s is about to lose or replace its texture: a target drawing into it is finished.
    void (*slotChanging)(Renderer& r, int slot) = nullptr;
};

void OffscreenCallsRegister(const OffscreenCalls& calls);
const OffscreenCalls& Offscreen();
