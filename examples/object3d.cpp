// A 3D scene: a lit, textured crystal that breathes (its object file holds 8 frames) and
// turns over a checkered floor, casting a stencil shadow from a lamp up on the left. The
// objects and the picture are in media/ (made by scripts/make_example_object.py). ESC ends it.
#include "corvane.h"

void GameMain() {
    // The crystal's picture, and the two objects into object slots 1 and 2.
    SpriteLoad("media/crystal.png", 1);
    if (ObjectLoad("media/crystal.qmd", 1) == 0 || ObjectLoad("media/floor.qmd", 2) == 0) {
        TextPrint("media/crystal.qmd or media/floor.qmd is missing", 40, 40);
        FramePresent();
        ProgramSleep(3000);
        return;
    }
    const double frames = ObjectFrameCountGet(1);
    for (double frame = 0;; ++frame) {
        // Every 3D frame starts from View3DStart: near 1, far 100, a 45 degree view.
        View3DStart(1, 100, 45);
        CameraSet(0, 4.5, 8, 0, 0.8, 0);
        // A lamp up on the left: a warm white light and a little ambient light.
        LightSet(0, -3, 6, 2, 1);
        LightColourSet(0, 0xE0F0FF, 0x302828);
        // Counter-clockwise faces are front faces; their backs are not drawn.
        CullModeSet(-1);

        // The floor: vertex colours only (no 3D texture yet).
        ObjectDraw(2, 0);

        // The crystal: 1.7 above the floor, turning 1.5 degrees a frame, its picture on
        // texture unit 0, a new animation frame every 6 frames (blended in between).
        TransformMove(0, 1.7, 0);
        TransformTurn(frame * 1.5, 0, 1, 0);
        TextureSet3D(1, -1);
        const double animation = MathFmod(frame / 6, frames);
        ObjectDraw(1, animation);

        // Its shadow: the volume the lamp's light cannot enter, then the shadow pass ends and
        // darkens whatever lies inside it (the floor and the crystal's own far side).
        ObjectShadowDraw(1, animation, 0);
        ShadowPassSet(0);

        View3DEnd();
        TextPrint("A QMD object: 8 frames, one lamp, a stencil shadow", 20, 20);
        FramePresent();
    }
}
