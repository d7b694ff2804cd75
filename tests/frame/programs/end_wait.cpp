// Runs frames until something ends the program (ESC, a close request). "debug" as the
// command line makes it a debug build.
#include "corvane.h"
#include "runtime/runtime_state.h"

void GameMain() {
    if (CommandLineGet().Str() == "debug") runtimeState.debugMode = 1;
    LineMark(1, 30);
    LogWrite(RtString("waiting"));
    for (;;) FramePresent();
}
