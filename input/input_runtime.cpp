#include "input/input_runtime.h"

#include "corvane.h"
#include "frame/end_path.h"
#include "frame/frame_loop.h"
#include "frame/runtime_state.h"
#include "frame/shutdown.h"
#include "gfx/opengl_vezezodi.h"
#include "input/input.h"
#include "input/input_host.h"
#include "platform/window.h"

namespace {

void (*musicCheck)() = nullptr;
InputTextHooks textHooks;

class RuntimeHost final : public InputHost {
public:
    void MusicCheck() override {
        if (musicCheck) musicCheck();
    }
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
    void FramePresent() override { ::FramePresent(); }
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
        if (textHooks.print) textHooks.print(x, y, text);
    }
};

RuntimeHost runtimeHost;

bool FrameKeyTest(int keyNumber) {
    return KeyDown(Input(), keyNumber);
}

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
    FrameKeyboardHookSet(InputFramePoll);
    FrameKeyTestSet(FrameKeyTest);
    ShutdownRegister(ShutdownStep::Input, ShutdownStepInput);
}

void InputPointerStateApply() {
    PointerShowSet(Input(), runtimeState.hidePointer == 0);
}

void InputMusicHookSet(void (*check)()) {
    musicCheck = check;
}

void InputTextHooksSet(const InputTextHooks& hooks) {
    textHooks = hooks;
}
