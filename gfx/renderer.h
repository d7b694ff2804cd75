// The one renderer: the window, its GL context and the drawing state the 2D commands share,
// with the stores it owns (sprite slots, alpha masks, background layers, the draw batch).
// runtimeState.renderer points to it from start-up to shutdown. It only draws and swaps;
// FramePresent paces the frames.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/draw_batch.h"
#include "gfx/offscreen_target.h"
#include "gfx/sprite_slot.h"

// The polygon PolyStart opened: x, y, u, v, r, g, b, a per point, drawn as a fan by PolyEnd.
struct PolygonBatch {
    std::vector<float> vertices;
    int slot = -1;      // -1: untextured
    bool valid = true;  // false: a slot past the table, nothing is drawn
};

class Renderer {
public:
    Renderer();
    virtual ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Window and context; false when either cannot be made. width/height 0 take the size the
    // system gives, colourBits 0 the desktop depth.
    bool WindowSetup(void* instance, int width, int height, int colourBits, int multisample);
    // Non-zero values replace the stored ones; then full screen or a window.
    void ScreenModeChange(int width, int height, int colourBits, bool full);
    bool FullScreenEnter();
    bool FullScreenLeave();  // always true
    void WindowDestroy();
    void WindowHide();
    // Viewport plus the whole fixed 2D state; width or height <= 0 means the whole window.
    void Viewport2D(int x, int y, int w, int h);
    // The size of what drawing lands on: the current target's picture when it draws into a
    // framebuffer (true), else the window (false). 2D coordinates count down from its top row.
    bool SurfaceSize(int& w, int& h) const;
    int SurfaceHeight() const;
    // The current target's picture size, on either path; false when drawing goes to the window.
    bool TargetPictureSize(int& w, int& h) const;
    void WindowSizeChange(int w, int h);
    void Smoothing(int flag);
    // Ends any off-screen target, flushes, swaps and clears the new back buffer.
    void Swap();
    // What every frame starts from: blending off, alpha 1, white, background layer 0, the
    // whole-window 2D viewport, no mip-mapped textures, the fixed-function pipeline.
    void FrameStateReset();

    // ---- fields, in their fixed order ----
    int currentTextureSprite = -1;     // slot bound on texture unit 0; -1 = none
    int currentSecondUnitSprite = -1;  // slot bound on texture unit 1; -1 = none
    int useMipmappedTexture = 0;

    // ---- texture store (gfx/texture_store.cpp, gfx/backdrop_layers.cpp) ----
    // Every slot starts empty; WindowDestroy() deletes every texture, the alpha masks and the
    // layers' tiles while the context still exists.
    void TextureStoreRelease();
    void BackdropLayerDraw(int layer);
    // Flushes the batch and ends drawing into an off-screen target, if one is current
    // (before every swap).
    void OffscreenEnd();
    std::vector<SpriteSlot> spriteTable;  // kSpriteSlotCount slots
    // One per slot (texture width x height bytes), made on the first collision test.
    std::vector<std::unique_ptr<uint8_t[]>> alphaMasks;
    std::array<BackdropLayer, kBackdropLayerCount> backdropLayers{};
    DrawBatch batch;
    PolygonBatch polygon;
    // ---- end texture store ----

    float currentAlpha = 1.0f;
    std::array<OffscreenTarget, kOffscreenTargetCount> offscreenTargets{};
    int currentOffscreenTarget = -1;  // -1 = drawing goes to the window
    uint8_t smoothing = 1;            // 1 = linear filtering in 2D, 0 = nearest
    void* windowHandle = nullptr;
    int width = 0;
    int height = 0;
    int colourBits = 0;
    uint8_t fullScreen = 0;
    int multisampleRequest = 0;
    int viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0;
    int spriteTransparentColour = 0x8000ff;
    int fontTransparentColour = 0;
    int framebufferAlphaBits = -1;  // the back buffer's alpha bits, read once; -1: not yet
    uint8_t initialised = 0;        // texture deletions are skipped while 0
    // Whether the window's depth buffer may hold anything since its last clear. Only the 3D
    // view writes depth (2D drawing never tests it), so the swap clears depth only after one:
    // on a software rasteriser that clear costs as much as the whole empty frame.
    bool depthBufferDirty = true;
    void* instanceHandle = nullptr;
    void* glContext = nullptr;

private:
    bool CreateWindowAndContext(int samples);
    void SoftwareRenderingCheck();
    int MultisampleFormat(int samples);
};

// ScreenSizeGet's integer form, for other modules.
void ScreenSizeGetInt(int& width, int& height);
