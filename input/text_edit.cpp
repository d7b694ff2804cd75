// The on-screen line editor behind TextInput.
#include "input/input.h"
#include "runtime/frame_calls.h"

namespace {
// Passes without a typed key between two cursor toggles, plus one.
constexpr int kBlinkPasses = 20;

void Run(void (*hook)()) {
    if (hook) hook();
}

void Print(const InputTextHooks& h, int x, int y, const std::string& text) {
    if (h.print) h.print(x, y, text);
}
}  // namespace

void TextInputEdit(InputState& s, std::string& text, int x, int y) {
    Run(s.textHooks.backdropSave);
    Run(s.textHooks.backdropDraw);
    Print(s.textHooks, x, y, text);
    int idle = 0;
    bool cursor = false;
    for (;;) {
        FrameCallRun(FrameCall::Present);
        int c = KeyTranslate(s);
        if (c == 0) {
            if (++idle > kBlinkPasses) {
                idle = 0;
                cursor = !cursor;
            }
        } else if (c == 10) {
            Run(s.textHooks.backdropClear);
            return;
        } else if (c == 8) {
            if (!text.empty()) text.pop_back();
        } else {
            text.push_back(static_cast<char>(c));
        }
        Run(s.textHooks.backdropDraw);
        Print(s.textHooks, x, y, cursor ? text + "_" : text);
    }
}
