// Interim end path: exits with the error code. The ordered shutdown replaces this.
#include "frame/end_path.h"

#include <cstdlib>

#include "frame/runtime_state.h"

void EndPath() { std::exit(static_cast<int>(runtimeState.errorCode)); }

void RuntimeError(int code) {
    runtimeState.errorCode = code;
    EndPath();
}
