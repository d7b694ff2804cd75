// Shaders: a GLSL fragment shader that inverts a sprite's colours, faded in and out by a
// uniform.
//
// The left picture is drawn by the fixed pipeline, the right one with the shader in
// media/invert.frag; the uniform "amount" goes from 0 (the picture as it is) to 1 (fully
// inverted) and back every four seconds. A shader sees what every 2D draw feeds the pipeline:
// the picture on texture unit 0, its texture coordinates and the vertex colour (see corvane.h).
//
// Run: build/examples/example_shader (ESC ends it). Without shader support ShaderLoad answers
// 0 and the right picture is drawn plain.
#include "corvane.h"

namespace {
constexpr double kLogo = 1, kInvert = 0;
}  // namespace

void GameMain() {
    SpriteLoad(RtString("media/image 1.2.png"), kLogo);
    double w = 0, h = 0;
    SpriteSizeGet(kLogo, w, h);
    // No vertex shader file: the fixed pipeline's vertex stage stays, only the fragments change.
    const double ok = ShaderLoad(kInvert, RtString(""), RtString("media/invert.frag"));
    for (double frame = 0;; ++frame) {
        RectDraw(0, 0, 640, 480, 0x303030);
        // SpriteDrawZoom zooms about the picture's centre: both stand centred on x = 170, 470.
        SpriteDrawZoom(kLogo, 170 - w / 2, 240 - h / 2, 1.8, 1.8);
        if (ok == 1) {
            ShaderUse(kInvert);
            // 0..1..0 over 240 frames; a uniform applies to the shader in use.
            ShaderUniformSet(RtString("amount"), 0.5 - 0.5 * MathCos(frame * 1.5));
        }
        SpriteDrawZoom(kLogo, 470 - w / 2, 240 - h / 2, 1.8, 1.8);
        ShaderUse(-1);  // back to the fixed pipeline for the text
        TextPrint(RtString("fixed pipeline"), 120, 150);
        TextPrint(RtString(ok == 1 ? "media/invert.frag" : "no shader support"), 410, 150);
        FramePresent();
    }
}
