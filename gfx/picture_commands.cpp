// The picture commands: loading, grabbing, sizing and saving sprites, the background layer
// commands and the transparent colour.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "corvane.h"
#include "files/archive.h"
#include "files/media_report.h"
#include "gfx/backdrop_layers.h"
#include "gfx/draw_batch.h"
#include "gfx/gfx_int.h"
#include "gfx/image_file.h"
#include "gfx/picture_file_load.h"
#include "gfx/renderer.h"
#include "gfx/texture_prep.h"
#include "gfx/texture_store.h"
#include "runtime/error_log.h"
#include "runtime/frame_calls.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "runtime/timer.h"

namespace {

constexpr int kBumpTransparentColour = 0x8000ff;
constexpr double kFadeMilliseconds = 1500.0;
constexpr const char* kNotAPicture = "not a BMP or PNG picture that can be read";

double LoadInto(const char* command, const RtString& file, double slotNumber, int transparent,
                bool normalMap) {
    return PictureFileLoad(command, GfxInt(slotNumber), RtToStd(file), transparent, normalMap) ? 1
                                                                                               : 0;
}

// Saves go to the name as given; only the separators are made the platform's.
std::string SavePath(const RtString& file) {
    std::string p = RtToStd(file);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

int16_t Int16Of(double v) {
    return static_cast<int16_t>(std::clamp(GfxInt(v), -32768, 32767));
}

void ColourBufferClear() {
    Draw2DFlush();
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

double SpriteLoad(const RtString& file, double slot) {
    Renderer* r = GfxRenderer();
    return LoadInto("SpriteLoad", file, slot,
                    r ? r->spriteTransparentColour : kBumpTransparentColour, false);
}

double SpriteLoadBump(const RtString& file, double slot) {
    return LoadInto("SpriteLoadBump", file, slot, kBumpTransparentColour, true);
}

double AnimLoad(const RtString& file, double slot, double frameWidth, double frameHeight) {
    SpriteSlot* sp = SlotGet(GfxInt(slot));
    if (!sp) return SpriteLoad(file, slot);
    // A failed load leaves the slot as it was, frames and picture both: the textures are kept
    // out of the reset a load starts with and put back when no new picture comes.
    SlotChanging(GfxInt(slot));
    const SpriteSlot before = *sp;
    sp->texture = sp->mipmappedTexture = 0;
    if (SpriteLoad(file, slot) == 0) {
        *sp = before;
        return 0;
    }
    if (GfxReady()) {
        Draw2DFlush();
        if (before.texture) glDeleteTextures(1, &before.texture);
        if (before.mipmappedTexture) glDeleteTextures(1, &before.mipmappedTexture);
    }
    sp->frameWidth = Int16Of(frameWidth);
    sp->frameHeight = Int16Of(frameHeight);
    return 1;
}

void SpriteSizeGet(double slot, int& width, int& height) {
    const SpriteSlot* sp = SlotGet(GfxInt(slot));
    width = sp ? sp->pictureWidth : 0;
    height = sp ? sp->pictureHeight : 0;
}

void SpriteSizeGet(double slot, double& width, double& height) {
    int w = 0, h = 0;
    SpriteSizeGet(slot, w, h);
    width = w;
    height = h;
}

void TransparencySet(double colour) {
    Renderer* r = GfxRenderer();
    if (!r) return;
    r->spriteTransparentColour = r->fontTransparentColour = GfxInt(colour);
}

double SpriteGrab(double slotNumber, double xNumber, double yNumber, double widthNumber,
                  double heightNumber) {
    const int s = GfxInt(slotNumber);
    SpriteSlot* slot = SlotGet(s);
    Renderer* r = GfxRenderer();
    if (!slot || !GfxReady()) return 0;
    // Grabbing into a current target's own slot finishes the target first.
    Draw2DFlush();
    SlotChanging(s);
    // Only the part inside the surface (the window, or a target's framebuffer) can be read;
    // what lies outside is undefined.
    int surfaceW = 0, surfaceH = 0;
    r->SurfaceSize(surfaceW, surfaceH);
    const int64_t x0 = std::max<int64_t>(GfxInt(xNumber), 0);
    const int64_t y0 = std::max<int64_t>(GfxInt(yNumber), 0);
    const int64_t x1 = std::min<int64_t>(int64_t{GfxInt(xNumber)} + GfxInt(widthNumber), surfaceW);
    const int64_t y1 = std::min<int64_t>(int64_t{GfxInt(yNumber)} + GfxInt(heightNumber), surfaceH);
    if (x1 <= x0 || y1 <= y0) return 0;
    const int maxSize = GfxMaxTextureSize();
    const int x = static_cast<int>(x0), y = static_cast<int>(y0);
    const int w = static_cast<int>(std::min<int64_t>(x1 - x0, maxSize));
    const int h = static_cast<int>(std::min<int64_t>(y1 - y0, maxSize));

    const bool copyAlpha = FramebufferAlphaBits() != 0;
    // Drawn and read before the slot's texture is bound; it touches the frame buffer only.
    const int key = copyAlpha ? 0 : TransparentColourOnScreen();
    Draw2DFlush();
    AlphaMaskFree(s);
    const int tw = PowerOfTwoAtLeast(w, 32), th = PowerOfTwoAtLeast(h, 32);
    // A stale mip-mapped copy would show the old picture; grabs make none.
    if (slot->mipmappedTexture) glDeleteTextures(1, &slot->mipmappedTexture);
    slot->mipmappedTexture = 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    // Texture-sized and zeroed only when a new texture or the read-back needs it, so a grab
    // into a reused texture on the copy path allocates nothing.
    std::vector<uint8_t> buf;
    const bool reuse = slot->texture && slot->textureWidth == tw && slot->textureHeight == th;
    if (!reuse || !copyAlpha) buf.assign(static_cast<size_t>(tw) * th * 4, 0);
    if (reuse) {
        glBindTexture(GL_TEXTURE_2D, slot->texture);
    } else {
        if (slot->texture) glDeleteTextures(1, &slot->texture);
        slot->texture = TextureNew(GL_LINEAR, GL_REPEAT);
        // Zero-filled: everything outside the picture is transparent black.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, buf.data());
    }
    const int glY = surfaceH - y - h;
    if (copyAlpha) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, glY, w, h);
    } else {
        // Only the rectangle is read (the rest stays transparent black), then the whole
        // texture is replaced, so a reused texture keeps nothing of its old picture.
        std::vector<uint8_t> rect(static_cast<size_t>(w) * h * 4);
        GlReadPixelsPacked(x, glY, w, h, GL_BGRA, rect.data());
        glBindTexture(GL_TEXTURE_2D, slot->texture);
        const int kr = key & 255, kg = (key >> 8) & 255, kb = (key >> 16) & 255;
        for (int row = 0; row < h; ++row) {
            const uint8_t* src = rect.data() + static_cast<size_t>(row) * w * 4;
            uint8_t* dst = buf.data() + static_cast<size_t>(row) * tw * 4;
            for (int col = 0; col < w; ++col, src += 4, dst += 4) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = (src[2] == kr && src[1] == kg && src[0] == kb) ? 0 : 255;
            }
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tw, th, GL_BGRA, GL_UNSIGNED_BYTE, buf.data());
    }
    slot->textureWidth = static_cast<int16_t>(tw);
    slot->textureHeight = static_cast<int16_t>(th);
    slot->pictureWidth = static_cast<int16_t>(w);
    slot->pictureHeight = static_cast<int16_t>(h);
    r->currentTextureSprite = -1;
    return 1;
}

double SpriteSave(const RtString& file, double slotNumber) {
    const SpriteSlot* slot = SlotGet(GfxInt(slotNumber));
    Renderer* r = GfxRenderer();
    if (!slot || !GfxReady() || !slot->texture || slot->textureWidth <= 0 ||
        slot->textureHeight <= 0 || slot->pictureWidth <= 0 || slot->pictureHeight <= 0)
        return 0;
    const int key = TransparentColourOnScreen();
    const int tw = slot->textureWidth, th = slot->textureHeight;
    std::vector<uint8_t> bgra(static_cast<size_t>(tw) * th * 4);
    Draw2DFlush();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glBindTexture(GL_TEXTURE_2D, slot->texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    r->currentTextureSprite = -1;
    // Transparent texels hold no key colour of their own (loads blacken or bleed them);
    // they are saved as the key so the picture's transparency survives the file.
    std::vector<uint8_t> bgr(static_cast<size_t>(tw) * th * 3);
    for (size_t i = 0, n = static_cast<size_t>(tw) * th; i < n; ++i) {
        const uint8_t* p = &bgra[i * 4];
        uint8_t* q = &bgr[i * 3];
        if (p[3] == 0 && key != 0) {
            q[0] = static_cast<uint8_t>((key >> 16) & 255);
            q[1] = static_cast<uint8_t>((key >> 8) & 255);
            q[2] = static_cast<uint8_t>(key & 255);
        } else {
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
        }
    }
    return ImageSaveFile(SavePath(file), bgr.data(), slot->pictureWidth, slot->pictureHeight, tw,
                         key)
               ? 1
               : 0;
}

double ScreenSave(const RtString& file) {
    Renderer* r = GfxRenderer();
    if (!GfxReady()) return 0;
    // While a target is current its picture is saved as it stands (on the copy path, the
    // part of it the window holds); otherwise the window's back buffer.
    int w = 0, h = 0, pw = 0, ph = 0;
    const bool framebuffer = r->SurfaceSize(w, h);
    const int surfaceH = h;
    if (r->TargetPictureSize(pw, ph)) {
        w = std::min(w, pw);
        h = std::min(h, ph);
    }
    if (w <= 0 || h <= 0) return 0;
    const int key = TransparentColourOnScreen();
    std::vector<uint8_t> bgr(static_cast<size_t>(w) * h * 3);
    Draw2DFlush();
    if (!framebuffer) glReadBuffer(GL_BACK);
    GlReadPixelsPacked(0, surfaceH - h, w, h, GL_BGR, bgr.data());
    return ImageSaveFile(SavePath(file), bgr.data(), w, h, w, key) ? 1 : 0;
}

void ScreenClear() {
    LayerClear(0);
    if (GfxReady()) ColourBufferClear();
}

void BackgroundGrab() {
    LayerGrabScreen(0);
}

double BackgroundLoad(const RtString& file) {
    ErrorLogAppend("Loadbmp");
    ErrorLogAppend("Shoeboxing");
    const std::string name = RtToStd(file);
    std::string bytes;
    if (MediaRead(name, bytes)) {
        ErrorLogAppend("OK?");
        if (LayerLoadBytes(0, bytes, name)) {
            LayerDraw(0);
            return 1;
        }
        LoadFailureReport("BackgroundLoad", name, kNotAPicture);
    } else {
        ErrorLogAppend("failed");
        MediaMissingReport("BackgroundLoad", name);
    }
    ScreenClear();
    return 0;
}

double BackgroundFadeLoad(const RtString& file) {
    const std::string name = RtToStd(file);
    std::string bytes;
    if (!MediaRead(name, bytes)) {
        MediaMissingReport("BackgroundFadeLoad", name);
        return 0;
    }
    LayerGrabScreen(2);
    LayerLoadBytes(1, bytes, name);
    ScreenClear();
    const double end = FrameTimer() + kFadeMilliseconds;
    double c = 0.9;
    do {
        BlendModeSet(c);
        LayerDraw(2);
        BlendModeSet(1.0 - c);
        LayerDraw(1);
        FrameCallRun(FrameCall::Present);
        c = (end - FrameTimer()) / kFadeMilliseconds;
    } while (c > 0.0 && c < 1.0);
    LayerClear(1);
    LayerClear(2);
    const bool ok = LayerLoadBytes(0, bytes, name);
    if (!ok) LoadFailureReport("BackgroundFadeLoad", name, kNotAPicture);
    BlendModeSet(0);
    LayerDraw(0);
    FrameCallRun(FrameCall::Present);
    return ok ? 1 : 0;
}
