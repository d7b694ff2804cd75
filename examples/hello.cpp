// The smallest Corvane program worth looking at: a few rectangles, a rotating line of text and
// a frame counter, until ESC. With "shot <file>" on the command line it saves frame 60 as a
// picture and ends.
#include <cstring>

#include "corvane.h"

void GameMain() {
    const RtString commandLine = CommandLineGet();
    const char* cmd = commandLine.Text();
    const char* shot = std::strncmp(cmd, "shot ", 5) == 0 ? cmd + 5 : nullptr;
    for (double frame = 0;; ++frame) {
        RectDraw(0, 0, 640, 480, 0x201008);
        for (int i = 0; i < 8; ++i)
            RectDraw(40 + i * 70, 300 + 40 * MathSin(frame * 3 + i * 45), 50, 50,
                     0x3060F0 + i * 0x101000);
        TextPrint(RtString("Corvane: hello from GameMain"), 40, 40);
        TextPrint(RtString("frame"), 40, 60);
        NumberPrint(frame, 96, 60);
        if (shot && frame == 60) {
            ScreenSave(RtString(shot));
            ProgramEnd();
        }
        FramePresent();
    }
}
