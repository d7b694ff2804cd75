// Waits until something ends the program (ESC, a close request, an end signal). The command
// line picks the wait: "debug" (frames, as a debug build), "sleep" (one ProgramSleep of a
// minute), "key" (a key wait), "net" (answers from a host that is not there, asked for
// again and again); anything else runs frames.
#include "corvane.h"
#include "runtime/runtime_state.h"

void GameMain() {
    const std::string mode = CommandLineGet().Str();
    if (mode == "debug") runtimeState.debugMode = 1;
    LineMark(1, 30);
    LogWrite(RtString("waiting"));
    if (mode == "sleep") {
        ProgramSleep(60000);
        ProgramEnd();
    }
    if (mode == "key") {
        KeyWait();
        ProgramEnd();
    }
    if (mode == "net") {
        NetJoin(RtString("127.0.0.1"), RtString("9"));  // nobody there: every answer waits
        for (;;) NetPlayerCreate(RtString("nobody"));
    }
    for (;;) FramePresent();
}
