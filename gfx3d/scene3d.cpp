#include "gfx3d/scene3d.h"

#include <GL/gl.h>

#include "core/int_convert.h"
#include "gfx/draw_batch.h"
#include "gfx/draw_geometry.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "gfx/texture_store.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"

namespace {

void ShadowPassLeave() {
    ShadowPassSwitch(false);
}

void MipmapReset() {
    if (Vezezodi3D* s = Scene3D()) s->mipmapChoice = 0;
}

// Black at half alpha over the whole surface, drawn through the 2D batch (not RectDraw, whose
// colour would vanish when black is the sprite transparent colour).
void DarkeningRectangle(Renderer& r) {
    int w = 0, h = 0;
    r.SurfaceSize(w, h);
    float c[4][2];
    RectCorners(0, 0, w, h, c);
    BatchVertex v[4];
    for (int i = 0; i < 4; ++i) v[i] = {c[i][0], c[i][1], 0, 0, 0, 0, 0, 0, 0.5f};
    BatchKey k;
    k.alphaTest = false;
    Draw2DBegin(k);
    Draw2DQuad(v);
    Draw2DFlush();
}

}  // namespace

Vezezodi3D* Scene3D() {
    return runtimeState.scene3D;
}

void Scene3DCreate(Renderer* renderer) {
    if (!runtimeState.scene3D) runtimeState.scene3D = new Vezezodi3D();
    runtimeState.scene3D->renderer = renderer;
    FrameCallRegister(FrameCall::ShadowPassEnd, ShadowPassLeave);
    FrameCallRegister(FrameCall::MipmapReset, MipmapReset);
}

SceneObject* ObjectSlot(double slot) {
    Vezezodi3D* s = Scene3D();
    const int n = ToInt(slot);
    if (!s || n < 0 || n >= kObjectSlotCount) return nullptr;
    return &s->objects[n];
}

void CullModeApply() {
    const Vezezodi3D* s = Scene3D();
    if (!s) return;
    if (s->cullMode == 0) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glFrontFace(s->cullMode > 0 ? GL_CW : GL_CCW);
    glEnable(GL_CULL_FACE);
}

void Textures3DBind(int sprite, int second, int mipmap) {
    // The bind rule puts its second argument on unit 0 when both are given.
    if (sprite >= 0 && second >= 0)
        SpriteBind(second, sprite, mipmap);
    else
        SpriteBind(sprite, -1, mipmap);
}

void SamplerHooksApply() {
    if (ShaderProgramInUse() == 0) return;
    ShaderUniformIntSet("TextureID1", 0);
    ShaderUniformIntSet("TextureID2", 1);
}

void ShadowPassSwitch(bool on) {
    Vezezodi3D* s = Scene3D();
    Renderer* r = runtimeState.renderer;
    if (!s || (s->shadowPass != 0) == on) return;
    s->shadowPass = on ? 1 : 0;
    if (!r || !GfxReady()) return;
    Draw2DFlush();
    if (on) {
        // Shadow volumes drawn now only change stencil values.
        glShadeModel(GL_FLAT);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glEnable(GL_STENCIL_TEST);
        glDepthMask(GL_FALSE);
        glStencilFunc(GL_ALWAYS, 0, 0);
        glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
        return;
    }
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    GLfloat projection[16], modelView[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    // The 2D reset below takes the whole window; the 3D view goes on in its own viewport.
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int vp[4] = {r->viewportX, r->viewportY, r->viewportWidth, r->viewportHeight};
    r->Viewport2D(0, 0, 0, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    r->currentAlpha = 0.5f;
    glColor4f(1, 1, 1, 0.5f);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    DarkeningRectangle(*r);
    glDisable(GL_BLEND);
    r->currentAlpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView);
    r->viewportX = vp[0], r->viewportY = vp[1], r->viewportWidth = vp[2], r->viewportHeight = vp[3];
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    CullModeApply();
}
