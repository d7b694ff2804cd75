#include "runtime/shutdown.h"

namespace {
void (*steps[static_cast<int>(ShutdownStep::Count)])() = {};
}

void ShutdownRegister(ShutdownStep step, void (*fn)()) {
    steps[static_cast<int>(step)] = fn;
}

void ShutdownRunAll() {
    for (auto& fn : steps) {
        if (auto f = fn) {
            fn = nullptr;
            f();
        }
    }
}
