#include "input/input.h"
#include "runtime/runtime_state.h"

namespace {

std::unique_ptr<platform::InputSystem>& system() {
    static std::unique_ptr<platform::InputSystem> s;
    return s;
}

}  // namespace

platform::InputSystem& Os() {
    auto& s = system();
    if (!s) s = platform::CreateInputSystem(nullptr);
    return *s;
}

void InputSystemInstall(std::unique_ptr<platform::InputSystem> s) {
    system() = std::move(s);
}

InputState& Input() {
    static InputState resting;
    return runtimeState.input ? *runtimeState.input : resting;
}
