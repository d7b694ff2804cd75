// Draws media/object.qmd (slot 1) turned 45 degrees about the vertical, lit by a white distant
// light from the camera's side with no ambient light, back faces culled, over black.
#include "corvane.h"

void GameMain() {
    const bool loaded = ObjectLoad("media/object.qmd", 1) != 0;
    for (;;) {
        RectDraw(0, 0, 640, 480, 0x000000);
        View3DStart(1, 100, 45);
        CameraSet(0, 0, 6, 0, 0, 0);
        LightSet(0, 0, 0, 1, 0);
        LightColourSet(0, 0xFFFFFF, 0x000000);
        CullModeSet(-1);
        TransformTurn(45, 0, 1, 0);
        ObjectDraw(1, 0);
        View3DEnd();
        if (!loaded) TextPrint("media/object.qmd did not load", 20, 20);
        FramePresent();
    }
}
