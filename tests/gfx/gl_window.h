// One hidden-from-the-tests 640 x 480 window per test process, shared by the gl suites.
#pragma once

#include <cstdlib>

#include "corvane.h"
#include "gfx/renderer.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"

// Opens the renderer's window once; leaves runtimeState.renderer null when there is no
// display or the window cannot be made.
inline void GlTestWindowOpen() {
    if (!std::getenv("DISPLAY") || runtimeState.renderer) return;
    // As start-up does: fades present their frames through FramePresent.
    FrameCallRegister(FrameCall::Present, FramePresent);
    runtimeState.renderer = new Renderer();
    if (!runtimeState.renderer->WindowSetup(nullptr, 640, 480, 0, 0)) {
        delete runtimeState.renderer;
        runtimeState.renderer = nullptr;
    }
}
