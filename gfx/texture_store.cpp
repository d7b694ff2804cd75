#include "gfx/texture_store.h"

#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "gfx/draw_batch.h"
#include "gfx/gl_ext.h"
#include "gfx/image_file.h"
#include "gfx/offscreen_calls.h"
#include "gfx/renderer.h"
#include "gfx/texture_prep.h"
#include "runtime/runtime_state.h"

Renderer* GfxRenderer() {
    return runtimeState.renderer;
}

SpriteSlot* SlotGet(int s) {
    Renderer* r = runtimeState.renderer;
    if (!r || !SpriteSlotValid(s)) return nullptr;
    return &r->spriteTable[s];
}

bool GfxReady() {
    return runtimeState.renderer && runtimeState.renderer->initialised;
}

int GfxMaxTextureSize() {
    if (!GfxReady()) return 2048;
    GLint m = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m);
    if (m < 2) m = 2;
    return m > kImageSideLimit ? kImageSideLimit : m;
}

void LayerClear(int layer);

void Renderer::TextureStoreRelease() {
    Draw2DFlush();
    for (int s = 0; s < kSpriteSlotCount; ++s) SlotReset(s);
    for (int l = 0; l < kBackdropLayerCount; ++l) LayerClear(l);
}

void AlphaMaskFree(int s) {
    Renderer* r = runtimeState.renderer;
    if (!r || !SpriteSlotValid(s)) return;
    r->alphaMasks[s].reset();
}

void SlotChanging(int s) {
    Renderer* r = runtimeState.renderer;
    if (r && r->currentOffscreenTarget >= 0 && Offscreen().slotChanging)
        Offscreen().slotChanging(*r, s);
}

void SlotReset(int s) {
    SpriteSlot* slot = SlotGet(s);
    if (!slot) return;
    SlotChanging(s);
    if (GfxReady() && (slot->texture || slot->mipmappedTexture)) {
        Draw2DFlush();
        if (slot->texture) glDeleteTextures(1, &slot->texture);
        if (slot->mipmappedTexture) glDeleteTextures(1, &slot->mipmappedTexture);
    }
    slot->texture = slot->mipmappedTexture = 0;
    slot->textureWidth = slot->textureHeight = -1;
    slot->pictureWidth = slot->pictureHeight = 0;
    AlphaMaskFree(s);
}

GLuint TextureNew(GLint filter, GLint wrap) {
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    return tex;
}

namespace {

void UploadMipChain(std::vector<uint8_t> buf, int w, int h, GLuint& mip) {
    if (mip) glDeleteTextures(1, &mip);
    mip = TextureNew(GL_LINEAR, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    MipSquare(buf, w, h);
    int size = w, level = 0;
    std::vector<uint8_t> next;
    for (;;) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     buf.data());
        if (size == 1) break;
        MipNext(buf, size, next);
        buf.swap(next);
        size = size / 2 > 0 ? size / 2 : 1;
        ++level;
    }
}

}  // namespace

bool TextureUploadRegion(const DecodedImage& img, int x, int y, int w, int h, GLuint& tex,
                         int& texW, int& texH, GLuint* mip, bool normalMap, bool nearest) {
    const int maxSize = GfxMaxTextureSize();
    if (w == 0) w = img.width - x;
    if (h == 0) h = img.height - y;
    if (w < 1 || h < 1) return false;
    if (w > maxSize) w = maxSize;
    if (h > maxSize) h = maxSize;
    const int tw = PowerOfTwoAtLeast(w, 2), th = PowerOfTwoAtLeast(h, 2);
    std::vector<uint8_t> buf;
    TextureBufferFill(img, x, y, w, h, tw, th, buf);
    if (!nearest) EdgeBleed(buf, tw, th);
    if (normalMap) NormalMapApply(buf, tw, th);

    Draw2DFlush();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    if (tex) glDeleteTextures(1, &tex);
    tex = TextureNew(nearest ? GL_NEAREST : GL_LINEAR, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, buf.data());
    if (mip) UploadMipChain(std::move(buf), tw, th, *mip);
    texW = tw;
    texH = th;
    // The binding changed under the bind rule's feet.
    if (Renderer* r = runtimeState.renderer) r->currentTextureSprite = -1;
    return true;
}

bool SlotLoadImage(int s, const DecodedImage& img, bool fontStyle, bool normalMap) {
    SpriteSlot* slot = SlotGet(s);
    if (!slot || img.width <= 0 || img.height <= 0) return false;
    if (!GfxReady()) return false;
    SlotChanging(s);
    GLuint tex = slot->texture, mip = slot->mipmappedTexture;
    int tw = 0, th = 0;
    const bool ok =
        TextureUploadRegion(img, 0, 0, img.width, img.height, tex, tw, th,
                            fontStyle ? nullptr : &mip, fontStyle ? false : normalMap, fontStyle);
    slot->texture = tex;
    slot->mipmappedTexture = mip;
    if (!ok) return false;
    slot->textureWidth = static_cast<int16_t>(tw);
    slot->textureHeight = static_cast<int16_t>(th);
    const int maxSize = GfxMaxTextureSize();
    slot->pictureWidth = static_cast<int16_t>(img.width < maxSize ? img.width : maxSize);
    slot->pictureHeight = static_cast<int16_t>(img.height < maxSize ? img.height : maxSize);
    return true;
}

bool SlotLoadBytes(int s, const std::string& bytes, const std::string& name, int transparentColour,
                   bool normalMap) {
    if (!SlotGet(s)) return false;
    SlotReset(s);
    DecodedImage img;
    if (!ImageDecodeBytes(bytes, name, transparentColour, GfxMaxTextureSize(), img)) return false;
    return SlotLoadImage(s, img, s > kScratchSlot, normalMap);
}

void SpriteBind(int s, int t, int mipmap, const GLuint* names) {
    Renderer* r = runtimeState.renderer;
    if (!r) return;
    r->currentTextureSprite = s;
    r->currentSecondUnitSprite = t;
    r->useMipmappedTexture = mipmap;
    auto nameOf = [&](int slot) -> GLuint {
        if (names) return names[slot];
        const SpriteSlot* sp = SlotGet(slot);
        if (!sp) return 0;
        return mipmap ? sp->mipmappedTexture : sp->texture;
    };
    if (!GlExt().glActiveTextureARB) {
        if (s < 0) {
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
        } else {
            glBindTexture(GL_TEXTURE_2D, nameOf(s));
            glEnable(GL_TEXTURE_2D);
        }
        return;
    }
    GlExt().glActiveTextureARB(GL_TEXTURE1_ARB);
    if (s >= 0 && t >= 0) {
        glBindTexture(GL_TEXTURE_2D, nameOf(s));
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
    if (s < 0) {
        glDisable(GL_TEXTURE_2D);
    } else {
        glBindTexture(GL_TEXTURE_2D, nameOf(t >= 0 ? t : s));
        glEnable(GL_TEXTURE_2D);
    }
}

const uint8_t* AlphaMaskGet(int s) {
    SpriteSlot* slot = SlotGet(s);
    Renderer* r = runtimeState.renderer;
    if (!slot || !slot->texture || slot->textureWidth <= 0 || slot->textureHeight <= 0 ||
        !GfxReady())
        return nullptr;
    std::unique_ptr<uint8_t[]>& mask = r->alphaMasks[s];
    if (!mask) {
        Draw2DFlush();
        const size_t n = static_cast<size_t>(slot->textureWidth) * slot->textureHeight;
        mask.reset(new (std::nothrow) uint8_t[n]);
        if (!mask) return nullptr;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, slot->texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask.get());
        r->currentTextureSprite = -1;
    }
    return mask.get();
}

void GlReadPixelsPacked(int x, int y, int w, int h, GLenum format, void* out) {
    Draw2DFlush();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(x, y, w, h, format, GL_UNSIGNED_BYTE, out);
}

int FramebufferAlphaBits() {
    Renderer* r = runtimeState.renderer;
    if (!r) return 0;
    // A target's framebuffer has its texture's alpha; only the window's answer is kept.
    if (int w = 0, h = 0; GfxReady() && r->SurfaceSize(w, h)) {
        GLint bits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &bits);
        return bits > 0 ? bits : 0;
    }
    if (r->framebufferAlphaBits < 0 && GfxReady()) {
        GLint bits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &bits);
        r->framebufferAlphaBits = bits > 0 ? bits : 0;
    }
    return r->framebufferAlphaBits < 0 ? 0 : r->framebufferAlphaBits;
}

void FramebufferAlphaBitsOverride(int bits) {
    if (Renderer* r = runtimeState.renderer) r->framebufferAlphaBits = bits;
}

int TransparentColourOnScreen() {
    Renderer* r = runtimeState.renderer;
    if (!r || !GfxReady() || r->width <= 0 || r->height <= 0) return 0;
    const int key = r->spriteTransparentColour;
    if (key == 0) return 0;
    uint8_t old[4] = {}, got[4] = {};
    GlReadPixelsPacked(4, 4, 1, 1, GL_RGBA, old);

    // One point in window coordinates, whatever the viewport, blend and texture state.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT |
                 GL_COLOR_BUFFER_BIT | GL_POINT_BIT);
    if (GlExt().glActiveTextureARB) {
        GlExt().glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_DITHER);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPointSize(1.0f);
    glViewport(0, 0, r->width, r->height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, r->width, 0, r->height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    auto point = [](uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
        glColor4ub(red, green, blue, alpha);
        glBegin(GL_POINTS);
        glVertex2f(4.5f, 4.5f);
        glEnd();
    };
    point(key & 255, (key >> 8) & 255, (key >> 16) & 255, 255);
    GlReadPixelsPacked(4, 4, 1, 1, GL_RGBA, got);
    point(old[0], old[1], old[2], old[3]);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    return PackColour(got[0], got[1], got[2]);
}
