// The 3D view: projection, camera, fog, culling, 3D textures and the shadow-pass switch.
#include <GL/gl.h>

#include <cmath>

#include "core/int_convert.h"
#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/renderer.h"
#include "gfx/texture_store.h"
#include "gfx3d/scene3d.h"
#include "runtime/runtime_state.h"

namespace {

Vezezodi3D* ReadyScene() {
    Vezezodi3D* s = Scene3D();
    return s && runtimeState.renderer && GfxReady() ? s : nullptr;
}

void TransformStackReset(Vezezodi3D& s) {
    s.transformStack.assign(1, Mat4Identity());
}

void CameraPlace(Vezezodi3D& s) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Mat4LookAt(s.cameraEye, s.cameraTarget, s.cameraUp).data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.cameraMatrix.data());
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    TransformStackReset(s);
    s.frustumPlanes = FrustumPlanesOf(Mat4Multiply(s.projection, s.cameraMatrix));
}

}  // namespace

void View3DStart(double nearPlane, double farPlane, double fieldOfView) {
    Vezezodi3D* s = ReadyScene();
    if (!s) return;
    Renderer& r = *runtimeState.renderer;
    Draw2DFlush();
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    r.depthBufferDirty = true;
    ShadowPassSwitch(false);
    const double aspect =
        r.viewportHeight > 0 ? static_cast<double>(r.viewportWidth) / r.viewportHeight : 1.0;
    const ProjectionBox box = ProjectionFor(nearPlane, farPlane, fieldOfView, aspect);
    s->cullingTangent = static_cast<float>(box.cullingTangent);
    s->nearPlane = static_cast<float>(nearPlane);
    s->farPlane = static_cast<float>(farPlane);
    glViewport(r.viewportX, r.SurfaceHeight() - r.viewportHeight - r.viewportY, r.viewportWidth,
               r.viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (box.perspective)
        glFrustum(box.left, box.right, box.bottom, box.top, box.nearPlane, box.farPlane);
    else
        glOrtho(box.left, box.right, box.bottom, box.top, box.nearPlane, box.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, r.currentAlpha);
    glClearColor(0, 0, 0, 1);
    glDisable(GL_FOG);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_POLYGON_OFFSET_POINT);
    glDisable(GL_AUTO_NORMAL);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    s->cullMode = 0;
    CullModeApply();
    s->lightMask = 0;
    for (int i = 0; i < kLightCount; ++i) glDisable(GL_LIGHT0 + i);

    TransformStackReset(*s);
    s->cameraUp[0] = 0, s->cameraUp[1] = 1, s->cameraUp[2] = 0;
    s->textureSprite = s->secondTextureSprite = -1;
    SpriteBind(-1, -1, s->mipmapChoice);
    s->cameraEye[0] = s->cameraEye[1] = s->cameraEye[2] = 0;
    s->cameraTarget[0] = s->cameraTarget[1] = 0, s->cameraTarget[2] = -1;
    CameraPlace(*s);
    SamplerHooksApply();
}

void View3DEnd() {
    Vezezodi3D* s = ReadyScene();
    if (!s) return;
    ShadowPassSwitch(false);
    runtimeState.renderer->Viewport2D(0, 0, 0, 0);
}

void CameraUpSet(double x, double y, double z) {
    Vezezodi3D* s = Scene3D();
    if (!s) return;
    s->cameraUp[0] = static_cast<float>(x);
    s->cameraUp[1] = static_cast<float>(y);
    s->cameraUp[2] = static_cast<float>(z);
}

void CameraSet(double eyeX, double eyeY, double eyeZ, double targetX, double targetY,
               double targetZ) {
    Vezezodi3D* s = ReadyScene();
    if (!s) return;
    const double v[6] = {eyeX, eyeY, eyeZ, targetX, targetY, targetZ};
    for (int i = 0; i < 3; ++i) {
        s->cameraEye[i] = static_cast<float>(v[i]);
        s->cameraTarget[i] = static_cast<float>(v[3 + i]);
    }
    CameraPlace(*s);
}

void FogSet(double colour, double mode, double a, double b) {
    Vezezodi3D* s = ReadyScene();
    if (!s) return;
    const int c = ToInt(colour);
    if (c == -1) {
        glDisable(GL_FOG);
        return;
    }
    const GLfloat rgba[4] = {static_cast<float>(c & 255) / 255.0f,
                             static_cast<float>((c >> 8) & 255) / 255.0f,
                             static_cast<float>((c >> 16) & 255) / 255.0f, 0.0f};
    glFogfv(GL_FOG_COLOR, rgba);
    glEnable(GL_FOG);
    if (ToInt(mode) != 0) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, static_cast<float>(a));
        return;
    }
    if (a == 0 && b == 0) a = s->nearPlane, b = s->farPlane;
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, static_cast<float>(a));
    glFogf(GL_FOG_END, static_cast<float>(b));
}

void CullModeSet(double value) {
    Vezezodi3D* s = Scene3D();
    if (!s) return;
    s->cullMode = value > 0 ? 1 : value == 0 ? 0 : -1;  // NaN compares false both ways: -1
    if (ReadyScene()) CullModeApply();
}

void TextureSet3D(double sprite, double secondSprite) {
    Vezezodi3D* s = Scene3D();
    if (!s) return;
    s->textureSprite = ToInt(sprite);
    s->secondTextureSprite = ToInt(secondSprite);
    if (!ReadyScene()) return;
    Draw2DFlush();
    Textures3DBind(s->textureSprite, s->secondTextureSprite, s->mipmapChoice);
    SamplerHooksApply();
}

void MipmapSet(double choice) {
    if (Vezezodi3D* s = Scene3D()) s->mipmapChoice = ToInt(choice);
}

void ShadowPassSet(double on) {
    if (ReadyScene()) ShadowPassSwitch(on != 0);
}
