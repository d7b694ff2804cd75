#include "frame/frame_loop.h"

#include <cmath>
#include <string>

#include "core/int_convert.h"
#include "corvane.h"
#include "frame/end_path.h"
#include "frame/rt_text.h"
#include "frame/runtime_state.h"
#include "gfx/opengl_vezezodi.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace {
void (*keyboardPoll)() = nullptr;
bool (*keyTest)(int) = nullptr;
void (*musicCheck)() = nullptr;
void (*shadowPassEnd)() = nullptr;
void (*mipmapReset)() = nullptr;
void (*fixedPipeline)() = nullptr;

bool KeyDown(int code) {
    return keyTest && keyTest(code);
}

void MusicCheck() {
    if (musicCheck) musicCheck();
}

[[noreturn]] void EndFromFrame() {
    runtimeState.errorCode = 0.0;
    runtimeState.errorLine = runtimeState.currentLine;
    EndPath();
}

void ActivationChange(bool active) {
    RuntimeState& rs = runtimeState;
    if (rs.debugMode != 0 || !rs.autoPause) return;
    std::string title = RtToStd(rs.windowTitle);
    if (!active) title += " <pause>";
    platform::WindowTitleSet(title);
    rs.paused = !active;
}

}  // namespace

void FrameKeyboardHookSet(void (*poll)()) {
    keyboardPoll = poll;
}
void FrameKeyTestSet(bool (*keyDown)(int)) {
    keyTest = keyDown;
}
void FrameMusicHookSet(void (*check)()) {
    musicCheck = check;
}
void FrameShadowPassEndHookSet(void (*leave)()) {
    shadowPassEnd = leave;
}
void FrameMipmapResetHookSet(void (*reset)()) {
    mipmapReset = reset;
}
void FrameFixedPipelineHookSet(void (*select)()) {
    fixedPipeline = select;
}

double FrameTimer() {
    const RuntimeState& rs = runtimeState;
    if (rs.perfCounterAvailable && rs.perfCounterFrequency > 0.0)
        return static_cast<double>(platform::ClockCounter()) * 1000.0 / rs.perfCounterFrequency;
    return platform::ClockCoarseMs();
}

bool MessageDispatchOne() {
    platform::WindowEvent ev;
    if (!platform::WindowEventPoll(ev)) return false;
    switch (ev.kind) {
        case platform::WindowEventKind::CloseRequest:
            EndPath();
        case platform::WindowEventKind::FocusLost:
            ActivationChange(false);
            break;
        case platform::WindowEventKind::FocusGained:
            ActivationChange(true);
            break;
        default:
            break;
    }
    return true;
}

bool MessagePump() {
    while (MessageDispatchOne()) {
    }
    return true;
}

void FramePresent() {
    RuntimeState& rs = runtimeState;
    if (rs.debugMode != 0 && rs.breakpointHidden != 0) {
        platform::WindowShow();
        platform::WindowRaise();
    }
    rs.previousFrameStartTime = rs.frameStartTime;
    rs.frameStartTime = FrameTimer();
    while (rs.paused) {
        MusicCheck();
        MessagePump();
        platform::SleepMs(100);
    }
    if (keyboardPoll) keyboardPoll();
    if (rs.escapeQuits && KeyDown(1)) EndFromFrame();
    if (KeyDown(56) && KeyDown(62)) EndFromFrame();
    if (shadowPassEnd) shadowPassEnd();
    MusicCheck();
    MessagePump();
    OpenGLVezezodi* r = rs.renderer;
    if (!r) return;
    r->SwapAndPace();
    r->FrameStateReset();
    if (mipmapReset) mipmapReset();
    if (fixedPipeline) fixedPipeline();
}

void FrameRateSet(double framesPerSecond) {
    int fps = ToInt(framesPerSecond);
    if (runtimeState.renderer)
        runtimeState.renderer->FrameRate(fps);
    else
        runtimeState.frameRate = fps;
}

double FrameTimeGet() {
    double d = runtimeState.frameStartTime - runtimeState.previousFrameStartTime;
    return d > 0.0 ? d : 1.0;
}

double TimerGet() {
    return FrameTimer() - runtimeState.programStartTime;
}

void ProgramSleep(double ms) {
    // 0 or less does not sleep: a negative value must never become an endless sleep.
    int64_t v = ToInt64(ms);
    if (v > 0) platform::SleepMs(v);
}

void AutoPauseSet(double flag) {
    runtimeState.autoPause = ToInt(flag) != 0;
}

void EscapeQuitSet(double flag) {
    runtimeState.escapeQuits = flag != 0.0 || std::isnan(flag);
}

void ViewportSet(double x, double y, double width, double height) {
    OpenGLVezezodi* r = runtimeState.renderer;
    if (!r) return;
    r->Viewport2D(ToInt(x), ToInt(y), ToInt(width), ToInt(height));
    if (shadowPassEnd) shadowPassEnd();
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
