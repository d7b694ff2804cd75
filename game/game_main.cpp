// Interim main program: empty frames until the window is closed or ESC is pressed.
#include "corvane.h"

void GameMain() {
    for (;;) FramePresent();
}
