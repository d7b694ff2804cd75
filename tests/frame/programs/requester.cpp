// Opens the file requester once and writes what it answered, and whether the window was in
// full screen before and after, to the file named on the command line ("full <file>" starts
// in full screen, "save <file>" opens the save chooser).
#include <fstream>
#include <string>

#include "corvane.h"
#include "gfx/renderer.h"
#include "platform/window.h"
#include "runtime/runtime_state.h"

void GameMain() {
    std::string args = CommandLineGet().Str();
    const bool full = args.rfind("full ", 0) == 0;
    const bool save = args.rfind("save ", 0) == 0;
    if (full || save) args = args.substr(5);
    if (full) {
        runtimeState.fullScreen = 1;
        runtimeState.renderer->FullScreenEnter();
    }
    FramePresent();
    const bool fullBefore = platform::WindowIsFullScreen();
    const RtString chosen = FileRequester(save ? 0 : 1, RtString("Text|*.txt|All files|*.*"));
    const bool fullAfter = platform::WindowIsFullScreen();
    FramePresent();
    std::ofstream(args + ".tmp") << chosen.Str() << "\n" << fullBefore << " " << fullAfter << "\n";
    std::rename((args + ".tmp").c_str(), args.c_str());
    ProgramEnd();
}
