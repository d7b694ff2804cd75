// A newcomer's mistake: the program writes its own main() instead of GameMain(). It must not
// link (the test that builds it expects the linker to name GameMain).
#include "corvane.h"

int main() {
    RectDraw(0, 0, 10, 10, 0xFFFFFF);
    FramePresent();
    return 0;
}
