#include "input/input_runtime.h"

#include "corvane.h"
#include "gfx/gfx_text.h"
#include "gfx/renderer.h"
#include "input/input.h"
#include "input/input_host.h"
#include "platform/window.h"
#include "runtime/end_path.h"
#include "runtime/frame_calls.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/window_events.h"

namespace {

InputTextHooks textHooks;
bool running = false;

class RuntimeHost final : public InputHost {
public:
    void MusicCheck() override { FrameCallRun(FrameCall::MusicCheck); }
    void MessagePump() override { ::MessagePump(); }
    bool EscapeQuits() override { return runtimeState.escapeQuits; }
    void EndProgram() override {
        runtimeState.errorCode = 0.0;
        runtimeState.errorLine = runtimeState.currentLine;
        EndPath();
    }
    void WindowSize(int& width, int& height) override {
        if (runtimeState.renderer) {
            width = runtimeState.renderer->width;
            height = runtimeState.renderer->height;
        } else {
            width = runtimeState.screenWidth;
            height = runtimeState.screenHeight;
        }
    }
    void FramePresent() override { FrameCallRun(FrameCall::Present); }
    void BackdropSave() override {
        if (textHooks.backdropSave) textHooks.backdropSave();
    }
    void BackdropDraw() override {
        if (textHooks.backdropDraw) textHooks.backdropDraw();
    }
    void BackdropClear() override {
        if (textHooks.backdropClear) textHooks.backdropClear();
    }
    void TextPrint(int x, int y, const std::string& text) override {
        GfxPrint(runtimeState.currentFont, StdToRt(text), x, y, 0.0f);
    }
};

RuntimeHost runtimeHost;

void ShutdownStepInput() {
    if (!runtimeState.input) return;
    InputShutdown(*runtimeState.input);
    delete runtimeState.input;
    runtimeState.input = nullptr;
}

}  // namespace

void InputFramePoll() {
    InputState& s = Input();
    KeyboardPoll(s);
    s.mouseRefresh = 1;
}

void InputRecordCreate() {
    if (!runtimeState.input) runtimeState.input = new InputState();
}

void InputRuntimeStart() {
    InputRecordCreate();
    InputSystemInstall(platform::CreateInputSystem(platform::WindowHandle()));
    InputHostInstall(&runtimeHost);
    InputStart(*runtimeState.input, runtimeState.mainWindow, runtimeState.hidePointer != 0);
    running = true;
    FrameCallRegister(FrameCall::InputPoll, InputFramePoll);
    ShutdownRegister(ShutdownStep::Input, ShutdownStepInput);
}

void InputPointerStateApply() {
    PointerShowSet(Input(), runtimeState.hidePointer == 0);
}

bool InputRunning() {
    return running;
}

bool InputFrameKeyDown(int scanCode) {
    return running && KeyDown(Input(), scanCode);
}

void InputTextHooksSet(const InputTextHooks& hooks) {
    textHooks = hooks;
}
