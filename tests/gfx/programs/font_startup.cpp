// Reports the font start-up left behind and prints with it.
// It starts the runtime itself, so it keeps its own main().
#define CORVANE_OWN_MAIN
#include <cstdio>

#include "corvane.h"
#include "frame/startup.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

void GameMain() {
    double w = 0, h = 0;
    FontSizeGet(w, h);
    std::printf("font=%d\ncell=%gx%g\n", runtimeState.currentFont, w, h);
    // '_' of the built-in font: white from cell column 1 to 5 on cell row 6.
    TextPrint("_", 100, 100);
    std::printf("underscore=%.0f,%.0f\n", PixelGet(102, 106), PixelGet(102, 105));
    std::fflush(stdout);
    EndPath();
}

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
