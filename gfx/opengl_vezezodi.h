// The one renderer object: the window, its GL context and the drawing state the 2D commands
// share. runtimeState.renderer points to it from start-up to shutdown.
#pragma once

#include <cstdint>

struct SpriteSlot;
struct BackdropLayer;
struct OffscreenTarget;

class OpenGLVezezodi {
public:
    OpenGLVezezodi();
    virtual ~OpenGLVezezodi();
    OpenGLVezezodi(const OpenGLVezezodi&) = delete;
    OpenGLVezezodi& operator=(const OpenGLVezezodi&) = delete;

    // Window and context; false when either cannot be made. width/height 0 take the size the
    // system gives, colourBits 0 the desktop depth.
    bool WindowSetup(void* instance, int width, int height, int colourBits, int framesPerSecond,
                     int multisample);
    // Non-zero values replace the stored ones; then full screen or a window.
    void ScreenModeChange(int width, int height, int colourBits, bool full);
    bool FullScreenEnter();
    bool FullScreenLeave();  // always true
    void WindowDestroy();
    void WindowHide();
    // Viewport plus the whole fixed 2D state; width or height <= 0 means the whole window.
    void Viewport2D(int x, int y, int w, int h);
    void WindowSizeChange(int w, int h);
    void Smoothing(int flag);
    void FrameRate(int framesPerSecond);
    // Swaps, clears and paces to the frame rate; the milliseconds spent plus one.
    double SwapAndPace();
    // What every frame starts from: blending off, alpha 1, white, background layer 0, the
    // whole-window 2D viewport, no mip-mapped textures, the fixed-function pipeline.
    void FrameStateReset();

    // Frame duration for a rate: 1000 / fps, or 2 ms when fps <= 0.
    static double FrameDurationFor(int framesPerSecond);

    // ---- fields, in their fixed order ----
    float* scratchVertices = nullptr;  // x, y, z, u, v per vertex (text printing, 3D)
    int scratchVertexCount = 0;
    int scratchVertexCapacity = 0;
    int scratchGrowthStep = 1024;
    int scratchMinimumCapacity = 4096;
    int currentTextureSprite = -1;     // slot bound on texture unit 0; -1 = none
    int currentSecondUnitSprite = -1;  // slot bound on texture unit 1; -1 = none
    int useMipmappedTexture = 0;

    // ---- texture store (gfx) ----
    // Sprite table, alpha masks, background layers and off-screen targets live here. The
    // constructor calls TextureStoreCreate(), WindowDestroy() calls TextureStoreRelease()
    // (delete every texture, free the alpha masks, clear the layers), and each frame's reset
    // calls BackdropLayerDraw(0). Interim no-op versions are weak symbols in
    // opengl_vezezodi.cpp; a definition elsewhere in gfx/ replaces them.
    void TextureStoreCreate();
    void TextureStoreRelease();
    void BackdropLayerDraw(int layer);
    // Ends drawing into an off-screen target, if one is current (before every swap).
    void OffscreenEnd();
    SpriteSlot* spriteTable = nullptr;        // kSpriteSlotCount slots
    uint8_t** alphaMasks = nullptr;           // one per slot, made on the first collision test
    BackdropLayer* backdropLayers = nullptr;  // kBackdropLayerCount layers
    // ---- end texture store ----

    float currentAlpha = 1.0f;
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
    uint8_t initialised = 0;  // texture deletions are skipped while 0
    double nextFrameTime = 0.0;
    double frameDuration = 1000.0 / 60.0;
    void* instanceHandle = nullptr;
    void* glContext = nullptr;

private:
    bool CreateWindowAndContext(int samples);
    void SoftwareRenderingCheck();
    int MultisampleFormat(int samples);
};

// ScreenSizeGet's integer form, for other modules.
void ScreenSizeGetInt(int& width, int& height);
