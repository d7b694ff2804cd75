#include "gfx/renderer.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/gl_ext.h"
#include "gfx/gl_function_check.h"
#include "gfx/offscreen_calls.h"
#include "platform/window.h"
#include "runtime/debug_output.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"

namespace {
const char* const kSoftwareCaption = "!!OpenGL Software Emulation!!";
// Latin-1, as the system has always shown it.
const char* const kSoftwareText =
    "Please update your GFX adapter's driver\n"
    "so it can render OpenGL by HARDWARE\n"
    "\n"
    "\n"
    "Bitte aktualisieren Sie Ihren\n"
    "Grafkkartentreiber, damit er OpenGL\n"
    "per HARDWARE unterst\xfctzt!";

// What the process does once, whichever renderer asks first.
struct RendererOnce {
    bool windowSystemStarted = false;
    bool rendererStringRead = false;
    std::string rendererString;
    bool softwareWarningShown = false;
};

RendererOnce& Once() {
    static RendererOnce s;
    return s;
}
}  // namespace

Renderer::Renderer()
    : spriteTable(kSpriteSlotCount, SpriteSlot{0, 0, -1, -1, 0, 0, 0, 0}),
      alphaMasks(kSpriteSlotCount) {}

Renderer::~Renderer() {
    OffscreenEnd();
    if (Offscreen().release) Offscreen().release(*this);
    WindowDestroy();
}

void Renderer::Smoothing(int flag) {
    smoothing = flag != 0 ? 1 : 0;
}

bool Renderer::CreateWindowAndContext(int samples) {
    platform::WindowSpec spec;
    spec.title = "Corvane";
    spec.width = width;
    spec.height = height;
    spec.samples = samples;
    spec.visible = false;
    depthBufferDirty = true;  // a new window's depth buffer holds whatever it holds
    return platform::WindowCreate(spec);
}

int Renderer::MultisampleFormat(int samples) {
    const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    bool listed = GlExtensionListed(ext, "GL_ARB_multisample");
    char line[256];
    GlExtLogLine(line, sizeof line, "GL_ARB_multisample", listed);
    ErrorLogAppend(line);
    if (!listed) return 0;
    // The window's visual fixes the sample count, so each try is a fresh window; the count
    // halves until a window with that many samples can be made.
    for (int n = samples; n > 0; n /= 2) {
        platform::WindowDestroy(true);
        if (CreateWindowAndContext(n)) return n;
    }
    return 0;
}

void Renderer::SoftwareRenderingCheck() {
    RendererOnce& rs = Once();
    if (rs.softwareWarningShown) return;
    if (!rs.rendererStringRead) {
        const char* r = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        rs.rendererString = r ? r : "";
        rs.rendererStringRead = true;
    }
    bool software = !platform::GlAccelerated() || rs.rendererString == "Mesa Windows GDI Driver";
    if (!software) return;
    rs.softwareWarningShown = true;
    // Without a window manager (a bare X server, a test run) nobody could answer a modal
    // box and start-up would hang; the log line is written either way.
    if (platform::WindowManaged()) platform::WarningBox(kSoftwareCaption, kSoftwareText);
    ErrorLogAppend("OpenGL Software Emulation");
}

bool Renderer::WindowSetup(void* instance, int w, int h, int bits, int multisample) {
    if (!Once().windowSystemStarted) {
        if (!platform::WindowSystemStart()) return false;
        Once().windowSystemStarted = true;
    }
    instanceHandle = instance;
    multisampleRequest = multisample;
    width = w;
    height = h;
    if (!CreateWindowAndContext(0)) return false;

    int ww = 0, wh = 0;
    platform::WindowSize(ww, wh);
    if (bits == 0) bits = platform::DesktopMode().bits;
    if (width == 0 || height == 0) {
        width = ww;
        height = wh;
    }
    colourBits = bits;
    fullScreen = 0;

    int request = multisampleRequest;
    multisampleRequest = 0;
    if (request != 0 && MultisampleFormat(request) == 0) {
        // No multisampled window could be made: back to a plain one.
        if (!platform::WindowExists() && !CreateWindowAndContext(0)) return false;
    }
    windowHandle = platform::WindowHandle();
    glContext = windowHandle;  // the platform keeps the context with the window

    SoftwareRenderingCheck();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    colourBits = bits;
    fullScreen = 0;

    GlEntryPointsLoad();
    GlFunctionCheckStart();

    platform::WindowShow();
    DebugOutLine("Viewport");
    Viewport2D(0, 0, 0, 0);
    DebugOutLine("GFX seem OK");
    initialised = 1;
    return true;
}

void Renderer::ScreenModeChange(int w, int h, int bits, bool full) {
    if (w != 0) width = w;
    if (h != 0) height = h;
    if (bits != 0) colourBits = bits;
    if (full)
        FullScreenEnter();
    else
        FullScreenLeave();
}

bool Renderer::FullScreenEnter() {
    const int desktopBits = platform::DesktopMode().bits;
    const int askBits = (colourBits != 0 && colourBits != desktopBits) ? colourBits : 0;
    bool ok = platform::WindowFullScreenEnter(width, height, askBits);
    if (!ok && askBits != 0) ok = platform::WindowFullScreenEnter(width, height, 0);
    if (!ok) {
        platform::Beep();
        ErrorLogAppend("No Fullscreen Mode available");
        FullScreenLeave();
        return false;
    }
    // The same window and context go full screen, so nothing needs re-creating.
    platform::WindowShow();
    platform::WindowRaise();
    Viewport2D(0, 0, 0, 0);
    fullScreen = 1;
    return true;
}

bool Renderer::FullScreenLeave() {
    if (fullScreen) platform::WindowFullScreenLeave();
    if (platform::WindowExists()) {
        platform::WindowResize(width, height);
        if (fullScreen) {
            platform::DisplayMode d = platform::DesktopMode();
            platform::WindowMove((d.width - width) / 2, (d.height - height) / 2);
        }
        platform::WindowShow();
        platform::WindowRaise();
    }
    Viewport2D(0, 0, 0, 0);
    fullScreen = 0;
    return true;
}

void Renderer::WindowDestroy() {
    TextureStoreRelease();
    if (fullScreen) platform::WindowFullScreenLeave();
    fullScreen = 0;
    platform::WindowDestroy(true);
    windowHandle = nullptr;
    glContext = nullptr;
    initialised = 0;
}

void Renderer::WindowHide() {
    if (fullScreen) {
        platform::WindowFullScreenLeave();
        fullScreen = 0;
    }
    platform::WindowHide();
}

void Renderer::WindowSizeChange(int w, int h) {
    width = w;
    height = h;
    Viewport2D(0, 0, 0, 0);
}

void Renderer::Viewport2D(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) {
        x = 0;
        y = 0;
        w = width;
        h = height;
    }
    viewportX = x;
    viewportY = y;
    viewportWidth = w;
    viewportHeight = h;
    if (!platform::WindowExists()) return;
    glViewport(x, SurfaceHeight() - h - y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glDisable(GL_FOG);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_DITHER);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_POLYGON_OFFSET_POINT);
    glDisable(GL_AUTO_NORMAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    smoothing = 1;

    // No sprite on either texture unit.
    if (GlExt().glActiveTextureARB) {
        GlExt().glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, 0);
        GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    currentTextureSprite = -1;
    currentSecondUnitSprite = -1;
}

bool Renderer::SurfaceSize(int& w, int& h) const {
    if (currentOffscreenTarget >= 0 && Offscreen().surfaceSize &&
        Offscreen().surfaceSize(*this, currentOffscreenTarget, w, h))
        return true;
    w = width;
    h = height;
    return false;
}

int Renderer::SurfaceHeight() const {
    int w = 0, h = 0;
    SurfaceSize(w, h);
    return h;
}

bool Renderer::TargetPictureSize(int& w, int& h) const {
    const int n = currentOffscreenTarget;
    if (n < 0 || n >= kOffscreenTargetCount) return false;
    const int s = offscreenTargets[n].spriteSlot;
    if (!SpriteSlotValid(s)) return false;
    w = spriteTable[s].pictureWidth;
    h = spriteTable[s].pictureHeight;
    return w > 0 && h > 0;
}

void Renderer::Swap() {
    OffscreenEnd();
    platform::WindowSwap();
    glClear(GL_COLOR_BUFFER_BIT | (depthBufferDirty ? GL_DEPTH_BUFFER_BIT : 0));
    depthBufferDirty = false;
}

void Renderer::FrameStateReset() {
    // Fixed function first, so background layer 0 is not drawn through last frame's shader.
    if (GlExt().glUseProgramObjectARB) GlExt().glUseProgramObjectARB(0);
    glEnable(GL_BLEND);
    glDisable(GL_BLEND);
    currentAlpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    BackdropLayerDraw(0);
    Viewport2D(0, 0, 0, 0);
    useMipmappedTexture = 0;
}

void ScreenSizeGetInt(int& w, int& h) {
    Renderer* r = runtimeState.renderer;
    w = r ? r->width : 0;
    h = r ? r->height : 0;
}
