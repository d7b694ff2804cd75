// The on-screen line editor behind TextInput.
#include "input/input.h"
#include "input/input_host.h"

namespace {
// Passes without a typed key between two cursor toggles, plus one.
constexpr int kBlinkPasses = 20;
}  // namespace

void TextInputEdit(InputState& s, std::string& text, int x, int y) {
    InputHost& host = Host();
    host.BackdropSave();
    host.BackdropDraw();
    host.TextPrint(x, y, text);
    int idle = 0;
    bool cursor = false;
    for (;;) {
        host.FramePresent();
        int c = KeyTranslate(s);
        if (c == 0) {
            if (++idle > kBlinkPasses) {
                idle = 0;
                cursor = !cursor;
            }
        } else if (c == 10) {
            host.BackdropClear();
            return;
        } else if (c == 8) {
            if (!text.empty()) text.pop_back();
        } else {
            text.push_back(static_cast<char>(c));
        }
        host.BackdropDraw();
        host.TextPrint(x, y, cursor ? text + "_" : text);
    }
}
