#include "input/input_runtime.h"

#include "corvane.h"
#include "gfx/backdrop_layers.h"
#include "gfx/gfx_text.h"
#include "gfx/renderer.h"
#include "input/input.h"
#include "platform/window.h"
#include "runtime/end_path.h"
#include "runtime/frame_calls.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/window_events.h"

namespace {

// The line editor draws through the renderer: layer 3 is its backdrop.
void EditorBackdropSave() {
    LayerGrabScreen(3);
}
void EditorBackdropDraw() {
    LayerDraw(3);
}
void EditorBackdropClear() {
    LayerClear(3);
}
void EditorPrint(int x, int y, const std::string& text) {
    GfxPrint(runtimeState.currentFont, StdToRt(text), x, y, 0.0f);
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
    KeyboardFramePoll(s);
    s.mouseRefresh = 1;
}

void InputRecordCreate() {
    if (!runtimeState.input) runtimeState.input = new InputState();
}

void InputRuntimeStart() {
    InputRecordCreate();
    InputSystemInstall(platform::CreateInputSystem(platform::WindowHandle()));
    runtimeState.input->textHooks = {EditorBackdropSave, EditorBackdropDraw, EditorBackdropClear,
                                     EditorPrint};
    InputStart(*runtimeState.input, runtimeState.mainWindow, runtimeState.hidePointer != 0);
    runtimeState.input->running = true;
    FrameCallRegister(FrameCall::InputPoll, InputFramePoll);
    ShutdownRegister(ShutdownStep::Input, ShutdownStepInput);
}

void InputPointerStateApply() {
    PointerShowSet(Input(), runtimeState.hidePointer == 0);
}

bool InputRunning() {
    return Input().running;
}

bool InputFrameKeyDown(int scanCode) {
    return Input().running && KeyDown(Input(), scanCode);
}
