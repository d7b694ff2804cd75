// The object transform stack and the lights.
#include "core/int_convert.h"
#include "corvane.h"
#include "gfx3d/scene3d.h"

namespace {
void TopTimes(const Mat4& m) {
    if (Vezezodi3D* s = Scene3D())
        s->transformStack.back() = Mat4Multiply(s->transformStack.back(), m);
}
float F(double v) {
    return static_cast<float>(v);
}
SceneLight* LightOf(double light) {
    Vezezodi3D* s = Scene3D();
    const int n = ToInt(light);
    return s && n >= 0 && n < kLightCount ? &s->lights[n] : nullptr;
}
void ColourOf(double colour, float out[3]) {
    const int c = ToInt(colour);
    for (int i = 0; i < 3; ++i) out[i] = static_cast<float>((c >> (8 * i)) & 255) / 255.0f;
}
}  // namespace

void TransformMove(double x, double y, double z) {
    TopTimes(Mat4Translation(F(x), F(y), F(z)));
}

void TransformTurn(double angle, double x, double y, double z) {
    TopTimes(Mat4Rotation(F(angle), F(x), F(y), F(z)));
}

void TransformScale(double x, double y, double z) {
    TopTimes(Mat4Scaling(F(x), F(y), F(z)));
}

void TransformPush() {
    if (Vezezodi3D* s = Scene3D()) s->transformStack.push_back(s->transformStack.back());
}

void TransformPop() {
    Vezezodi3D* s = Scene3D();
    if (s && s->transformStack.size() > 1) s->transformStack.pop_back();
}

void LightSet(double light, double x, double y, double z, double lamp) {
    SceneLight* l = LightOf(light);
    if (!l) return;
    l->position[0] = F(x), l->position[1] = F(y), l->position[2] = F(z);
    l->position[3] = lamp != 0 ? 1.0f : 0.0f;
    Scene3D()->lightMask |= static_cast<uint8_t>(1 << ToInt(light));
}

void LightColourSet(double light, double colour, double ambientColour) {
    SceneLight* l = LightOf(light);
    if (!l) return;
    ColourOf(colour, l->colour);
    ColourOf(ambientColour, l->ambient);
}

void LightDisable(double light) {
    if (LightOf(light)) Scene3D()->lightMask &= static_cast<uint8_t>(~(1 << ToInt(light)));
}
