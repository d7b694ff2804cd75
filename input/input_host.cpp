#include "input/input_host.h"

namespace {

// Before start-up nothing is drawn and nothing ends the program.
class QuietHost final : public InputHost {
public:
    void MusicCheck() override {}
    void MessagePump() override {}
    bool EscapeQuits() override { return false; }
    void EndProgram() override {}
    void WindowSize(int& width, int& height) override {
        width = 640;
        height = 480;
    }
    void FramePresent() override {}
    void BackdropSave() override {}
    void BackdropDraw() override {}
    void BackdropClear() override {}
    void TextPrint(int, int, const std::string&) override {}
};

QuietHost quietHost;
InputHost* installed = &quietHost;

}  // namespace

InputHost& Host() {
    return *installed;
}

void InputHostInstall(InputHost* host) {
    installed = host ? host : &quietHost;
}
