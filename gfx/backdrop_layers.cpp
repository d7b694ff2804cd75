#include "gfx/backdrop_layers.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <vector>

#include "gfx/draw_batch.h"
#include "gfx/gl_ext.h"
#include "gfx/image_file.h"
#include "gfx/renderer.h"
#include "gfx/texture_store.h"
#include "runtime/runtime_state.h"

namespace {

constexpr int kLoadTileLimit = 512;
constexpr int kGrabTileStart = 128;

int TileIndex(int column, int row) {
    return column * kLayerTilesPerSide + row;
}

void TileDelete(BackdropLayer& l, int i) {
    if (l.tileTextures[i] && GfxReady()) glDeleteTextures(1, &l.tileTextures[i]);
    l.tileTextures[i] = 0;
    l.tileTextureWidths[i] = l.tileTextureHeights[i] = 0;
    l.tileUsedWidths[i] = l.tileUsedHeights[i] = 0;
}

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

}  // namespace

BackdropLayer* LayerGet(int layer) {
    Renderer* r = runtimeState.renderer;
    if (!r || layer < 0 || layer >= kBackdropLayerCount) return nullptr;
    return &r->backdropLayers[layer];
}

void LayerClear(int layer) {
    BackdropLayer* l = LayerGet(layer);
    if (!l) return;
    Draw2DFlush();
    for (int i = 0; i < kLayerTilesPerSide * kLayerTilesPerSide; ++i) TileDelete(*l, i);
    l->columns = l->rows = 0;
}

int LayerLoadTileSize() {
    return std::min(GfxMaxTextureSize(), kLoadTileLimit);
}

bool LayerLoadBytes(int layer, const std::string& bytes, const std::string& name) {
    BackdropLayer* l = LayerGet(layer);
    if (!l || !GfxReady()) return false;
    const int t = LayerLoadTileSize();
    // The decoder's size limit is the layer's capacity, so an oversized picture is refused
    // before its pixels are allocated.
    const int capacity = std::min(t * kLayerTilesPerSide, kImageSideLimit);
    DecodedImage img;
    if (!ImageDecodeBytes(bytes, name, kNoTransparentColour, capacity, img)) return false;
    if (img.width <= 0 || img.height <= 0) return false;
    LayerClear(layer);
    const int columns = CeilDiv(img.width, t), rows = CeilDiv(img.height, t);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int i = TileIndex(column, row);
            GLuint tex = 0;
            int tw = 0, th = 0;
            if (!TextureUploadRegion(img, column * t, row * t, t, t, tex, tw, th, nullptr, false,
                                     false)) {
                LayerClear(layer);
                return false;
            }
            l->tileTextures[i] = tex;
            l->tileTextureWidths[i] = l->tileTextureHeights[i] = t;
            l->tileUsedWidths[i] = l->tileUsedHeights[i] = t;
        }
    }
    l->columns = columns;
    l->rows = rows;
    return true;
}

void LayerGrabScreen(int layer) {
    BackdropLayer* l = LayerGet(layer);
    Renderer* r = runtimeState.renderer;
    if (!l || !GfxReady() || r->width <= 0 || r->height <= 0) return;
    const int w = r->width, h = r->height;
    const int maxSize = GfxMaxTextureSize();
    int t = kGrabTileStart;
    while (t < std::max(w, h) && t < maxSize) t *= 2;
    // A window wider than 8 tiles of the largest texture keeps its left and top part.
    const int columns = std::min(CeilDiv(w, t), kLayerTilesPerSide);
    const int rows = std::min(CeilDiv(h, t), kLayerTilesPerSide);

    Draw2DFlush();
    std::vector<uint8_t> zeros;
    for (int row = 0; row < kLayerTilesPerSide; ++row) {
        for (int column = 0; column < kLayerTilesPerSide; ++column) {
            const int i = TileIndex(column, row);
            if (row >= rows || column >= columns) {
                TileDelete(*l, i);
                continue;
            }
            if (!l->tileTextures[i] || l->tileTextureWidths[i] != t ||
                l->tileTextureHeights[i] != t) {
                TileDelete(*l, i);
                // Zero-filled rather than undefined, so filtering at the used edge never
                // picks up stale memory.
                if (zeros.empty()) zeros.assign(static_cast<size_t>(t) * t * 4, 0);
                glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
                glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
                glGenTextures(1, &l->tileTextures[i]);
                glBindTexture(GL_TEXTURE_2D, l->tileTextures[i]);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, t, t, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                             zeros.data());
                l->tileTextureWidths[i] = l->tileTextureHeights[i] = t;
            } else {
                glBindTexture(GL_TEXTURE_2D, l->tileTextures[i]);
            }
            const int usedW = std::min(t, w - column * t);
            const int usedH = std::min(t, h - row * t);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, column * t, h - row * t - usedH, usedW,
                                usedH);
            l->tileUsedWidths[i] = usedW;
            l->tileUsedHeights[i] = usedH;
        }
    }
    l->columns = columns;
    l->rows = rows;
    r->currentTextureSprite = -1;
}

void LayerDraw(int layer) {
    BackdropLayer* l = LayerGet(layer);
    Renderer* r = runtimeState.renderer;
    if (!l || l->columns <= 0 || !GfxReady()) return;
    Draw2DFlush();
    glDisable(GL_ALPHA_TEST);
    if (GlExt().glActiveTextureARB) {
        GlExt().glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
    r->currentTextureSprite = 0;
    const GLint after = r->smoothing ? GL_LINEAR : GL_NEAREST;
    int x = 0;
    for (int column = 0; column < l->columns && column < kLayerTilesPerSide; ++column) {
        int y = 0;
        for (int row = 0; row < l->rows && row < kLayerTilesPerSide; ++row) {
            const int i = TileIndex(column, row);
            const int uw = l->tileUsedWidths[i], uh = l->tileUsedHeights[i];
            if (l->tileTextures[i] && l->tileTextureWidths[i] > 0 && l->tileTextureHeights[i] > 0) {
                const float u = static_cast<float>(uw) / l->tileTextureWidths[i];
                const float v = static_cast<float>(uh) / l->tileTextureHeights[i];
                const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
                const float x1 = x0 + uw, y1 = y0 + uh;
                glBindTexture(GL_TEXTURE_2D, l->tileTextures[i]);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
                // Counter-clockwise on screen, so front-facing; the picture's top at v.
                glBegin(GL_TRIANGLE_FAN);
                glTexCoord2f(0, 0);
                glVertex2f(x0, y1);
                glTexCoord2f(u, 0);
                glVertex2f(x1, y1);
                glTexCoord2f(u, v);
                glVertex2f(x1, y0);
                glTexCoord2f(0, v);
                glVertex2f(x0, y0);
                glEnd();
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, after);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, after);
            }
            y += uh;
        }
        x += l->tileUsedWidths[TileIndex(column, 0)];
    }
    glEnable(GL_ALPHA_TEST);
    SpriteBind(-1, -1, 0);
}

void Renderer::BackdropLayerDraw(int layer) {
    LayerDraw(layer);
}
