// One hidden-from-the-tests 640 x 480 window per test process, shared by the gl suites, and the
// set-up those suites have in common.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "corvane.h"
#include "gfx/offscreen.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"
#include "support/test_support.h"

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

// The first lines of a gl suite's SetUp: the test is skipped without a display and fails when
// the window could not be made.
#define GL_TEST_REQUIRE_WINDOW()                                                     \
    do {                                                                             \
        SKIP_WHEN_MISSING(!std::getenv("DISPLAY"), "needs an X display (xvfb-run)"); \
        ASSERT_NE(runtimeState.renderer, nullptr) << "no window";                    \
    } while (0)

// Base of the suites that draw through off-screen targets and shader slots: the window, with
// both started, once per process.
class GlTargetsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GlTestWindowOpen();
        OffscreenStart();
        ShaderStart();
    }
};
