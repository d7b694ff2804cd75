#include "input/input_host.h"

namespace {

// Before start-up nothing is drawn and nothing ends the program.
class QuietHost final : public InputHost {
public:
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
