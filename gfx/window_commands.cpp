// The renderer's window commands.
#include "core/int_convert.h"
#include "corvane.h"
#include "gfx/renderer.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"

void ViewportSet(double x, double y, double width, double height) {
    Renderer* r = runtimeState.renderer;
    if (!r) return;
    // The shadow pass is resolved in the viewport it was drawn in, before that changes.
    FrameCallRun(FrameCall::ShadowPassEnd);
    r->Viewport2D(ToInt(x), ToInt(y), ToInt(width), ToInt(height));
}

void SmoothingSet(double flag) {
    if (runtimeState.renderer) runtimeState.renderer->Smoothing(flag != 0.0 ? 1 : 0);
}

void ScreenSizeGet(double& width, double& height) {
    int w = 0, h = 0;
    ScreenSizeGetInt(w, h);
    width = w;
    height = h;
}
