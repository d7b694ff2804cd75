// OffscreenCreate and OffscreenUse: the 32 targets, the framebuffer path and the module's
// registration in the renderer. The copy path is in offscreen_copy.cpp.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/gfx_int.h"
#include "gfx/gl_ext.h"
#include "gfx/offscreen.h"
#include "gfx/offscreen_calls.h"
#include "gfx/offscreen_copy.h"
#include "gfx/renderer.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_prep.h"
#include "gfx/texture_store.h"
#include "runtime/diagnostics.h"

namespace {

bool FramebuffersOffered() {
    if (OffscreenCopyForced()) return false;
    const GlEntryPoints& e = GlExt();
    if (!e.glGenFramebuffersEXT || !e.glGenRenderbuffersEXT || !e.glBindRenderbufferEXT ||
        !e.glRenderbufferStorageEXT || !e.glCheckFramebufferStatusEXT || !e.glBindFramebufferEXT ||
        !e.glFramebufferTexture2DEXT || !e.glFramebufferRenderbufferEXT)
        return false;
    // Under GLX every name looks up to some address; only the extension string says the
    // driver really has them.
    return GlExtensionListed(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)),
                             "GL_EXT_framebuffer_object");
}

bool DrawsIntoFramebuffer(const OffscreenTarget& t) {
    return t.width > 0 && t.height > 0 && t.framebuffer && GlExt().glBindFramebufferEXT;
}

void TargetObjectsDelete(OffscreenTarget& t) {
    const GlEntryPoints& e = GlExt();
    if (t.framebuffer && e.glDeleteFramebuffersEXT) e.glDeleteFramebuffersEXT(1, &t.framebuffer);
    if (t.depthRenderbuffer && e.glDeleteRenderbuffersEXT)
        e.glDeleteRenderbuffersEXT(1, &t.depthRenderbuffer);
    t.framebuffer = t.depthRenderbuffer = 0;
    t.width = t.height = 0;
}

// Binds the target's framebuffer with the slot's texture and the depth buffer, the depth
// buffer first made the texture's size if the slot was reloaded at another one. True when
// the framebuffer is complete and left bound; otherwise the window is bound again.
bool FramebufferBind(OffscreenTarget& t, const SpriteSlot& sp) {
    const GlEntryPoints& e = GlExt();
    e.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, t.framebuffer);
    e.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, t.depthRenderbuffer);
    if (sp.textureWidth != t.width || sp.textureHeight != t.height) {
        e.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, sp.textureWidth,
                                   sp.textureHeight);
        t.width = sp.textureWidth;
        t.height = sp.textureHeight;
    }
    e.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                sp.texture, 0);
    e.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                   t.depthRenderbuffer);
    if (e.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT)
        return true;
    e.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    e.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    return false;
}

// A framebuffer and depth buffer at the slot's texture size, checked with the texture
// attached; the target keeps width and height 0 (the copy path) when that fails.
void FramebufferMake(OffscreenTarget& t, const SpriteSlot& sp) {
    const GlEntryPoints& e = GlExt();
    // Another target may be current: its binding comes back afterwards.
    GLint oldFramebuffer = 0, oldRenderbuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &oldFramebuffer);
    glGetIntegerv(GL_RENDERBUFFER_BINDING_EXT, &oldRenderbuffer);
    e.glGenFramebuffersEXT(1, &t.framebuffer);
    e.glGenRenderbuffersEXT(1, &t.depthRenderbuffer);
    t.width = t.height = 0;  // FramebufferBind gives the depth buffer its storage
    if (FramebufferBind(t, sp)) {
        t.width = sp.textureWidth;
        t.height = sp.textureHeight;
    } else {
        t.width = t.height = 0;
    }
    e.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(oldFramebuffer));
    e.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, static_cast<GLuint>(oldRenderbuffer));
}

void TargetFinish(Renderer& r) {
    Draw2DFlush();
    const int n = r.currentOffscreenTarget;
    // From here on the surface is the window again.
    r.currentOffscreenTarget = -1;
    if (n >= 0 && n < kOffscreenTargetCount) {
        OffscreenTarget& t = r.offscreenTargets[n];
        if (DrawsIntoFramebuffer(t)) {
            GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
            GlExt().glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
            AlphaMaskFree(t.spriteSlot);
            if (SpriteSlot* sp = SlotGet(t.spriteSlot); sp && sp->mipmappedTexture) {
                glDeleteTextures(1, &sp->mipmappedTexture);
                sp->mipmappedTexture = 0;
            }
        } else {
            OffscreenCopyFinish(r, t.spriteSlot);
        }
    }
    r.Viewport2D(0, 0, 0, 0);
}

void TargetStart(Renderer& r, int n) {
    OffscreenTarget& t = r.offscreenTargets[n];
    const SpriteSlot* sp = SlotGet(t.spriteSlot);
    // A target never made, or whose picture has gone, has nothing to draw into: drawing
    // stays on the window.
    if (!sp || !sp->texture || sp->pictureWidth <= 0 || sp->pictureHeight <= 0) return;
    const int W = sp->pictureWidth, H = sp->pictureHeight;
    r.currentOffscreenTarget = n;
    if (DrawsIntoFramebuffer(t)) {
        if (FramebufferBind(t, *sp)) {
            r.Viewport2D(0, 0, W, H);
            glViewport(0, 0, W, H);
            return;
        }
        t.width = t.height = 0;  // from now on the copy path
    }
    OffscreenCopyStart(r, t.spriteSlot, W, H);
}

bool SurfaceSize(const Renderer& r, int n, int& width, int& height) {
    if (n < 0 || n >= kOffscreenTargetCount) return false;
    const OffscreenTarget& t = r.offscreenTargets[n];
    const SpriteSlot* sp = SpriteSlotValid(t.spriteSlot) ? &r.spriteTable[t.spriteSlot] : nullptr;
    if (!DrawsIntoFramebuffer(t) || !sp || sp->pictureWidth <= 0 || sp->pictureHeight <= 0)
        return false;
    width = sp->pictureWidth;
    height = sp->pictureHeight;
    return true;
}

void Release(Renderer& r) {
    if (!r.initialised) return;
    for (OffscreenTarget& t : r.offscreenTargets) TargetObjectsDelete(t);
}

void TargetSlotChanging(Renderer& r, int slot) {
    const int n = r.currentOffscreenTarget;
    if (n >= 0 && n < kOffscreenTargetCount && r.offscreenTargets[n].spriteSlot == slot)
        TargetFinish(r);
}

}  // namespace

bool OffscreenCopyForced() {
    const char* v = std::getenv("CORVANE_OFFSCREEN_COPY");
    return v && *v && std::strcmp(v, "0") != 0;
}

void OffscreenStart() {
    OffscreenCalls calls;
    calls.end = TargetFinish;
    calls.surfaceSize = SurfaceSize;
    calls.release = Release;
    calls.slotChanging = TargetSlotChanging;
    OffscreenCallsRegister(calls);
}

void OffscreenCreate(double target, double slot, double width, double height) {
    const int n = GfxInt(target), s = GfxInt(slot);
    Renderer* r = GfxRenderer();
    if (!r || !GfxReady()) return;
    // Refused the same way every frame: said once per target and reason.
    auto refuse = [n](const std::string& why) {
        const std::string message = "target " + std::to_string(n) + ": " + why;
        DiagReportOnce(DiagLevel::Warning, message, "OffscreenCreate", message);
    };
    // Numbers below 0 are refused like those past 31: they would index before the table.
    if (n < 0 || n >= kOffscreenTargetCount)
        return refuse("out of range (0 to " + std::to_string(kOffscreenTargetCount - 1) + ")");
    // The scratch slot holds the copy path's saved window: no target may draw into it.
    if (!SlotGet(s) || s == kScratchSlot)
        return refuse("sprite slot " + std::to_string(s) + " cannot be drawn into");
    const int maxSize = GfxMaxTextureSize();
    const int w = std::min(GfxInt(width), maxSize), h = std::min(GfxInt(height), maxSize);
    if (w < 1 || h < 1)
        return refuse("size " + std::to_string(GfxInt(width)) + " x " +
                      std::to_string(GfxInt(height)) + " is empty");
    Draw2DFlush();
    if (r->currentOffscreenTarget == n) TargetFinish(*r);
    OffscreenTarget& t = r->offscreenTargets[n];

    const int tw = PowerOfTwoAtLeast(w, 2), th = PowerOfTwoAtLeast(h, 2);
    SlotReset(s);
    SpriteSlot& sp = *SlotGet(s);
    const std::vector<uint8_t> clear(static_cast<size_t>(tw) * th * 4, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    sp.texture = TextureNew(GL_LINEAR, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear.data());
    r->currentTextureSprite = -1;
    sp.textureWidth = static_cast<int16_t>(tw);
    sp.textureHeight = static_cast<int16_t>(th);
    sp.pictureWidth = static_cast<int16_t>(w);
    sp.pictureHeight = static_cast<int16_t>(h);

    TargetObjectsDelete(t);
    if (FramebuffersOffered()) FramebufferMake(t, sp);
    t.spriteSlot = s;
}

void OffscreenUse(double target) {
    const int n = GfxInt(target);
    Renderer* r = GfxRenderer();
    if (n >= kOffscreenTargetCount || !r || !GfxReady()) return;
    TargetFinish(*r);
    if (n >= 0) TargetStart(*r, n);
}
