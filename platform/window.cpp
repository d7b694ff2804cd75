#include "platform/window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/sdl_events.h"

namespace platform {

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;

void SetGlAttributes(int samples) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    if (samples > 0) {
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
    }
}

std::string Latin1ToUtf8(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
}  // namespace

bool WindowSystemStart() {
    return SdlVideoStart();
}

DisplayMode DesktopMode() {
    DisplayMode m;
    if (!SdlVideoStart()) return m;
    SDL_DisplayMode dm{};
    if (SDL_GetDesktopDisplayMode(0, &dm) == 0) {
        m.width = dm.w;
        m.height = dm.h;
        m.bits = static_cast<int>(SDL_BITSPERPIXEL(dm.format));
        // 32-bit formats with padding report 24 bits per pixel of colour.
        if (m.bits == 0) m.bits = 24;
    }
    return m;
}

bool WindowCreate(const WindowSpec& spec) {
    if (!SdlVideoStart()) return false;
    if (window) WindowDestroy(false);
    SetGlAttributes(spec.samples);
    int w = spec.width, h = spec.height;
    if (w <= 0 || h <= 0) {
        DisplayMode d = DesktopMode();
        if (w <= 0) w = d.width > 0 ? d.width : 640;
        if (h <= 0) h = d.height > 0 ? d.height : 480;
    }
    int x = spec.centred ? SDL_WINDOWPOS_CENTERED : spec.x;
    int y = spec.centred ? SDL_WINDOWPOS_CENTERED : spec.y;
    Uint32 flags = SDL_WINDOW_OPENGL | (spec.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    window = SDL_CreateWindow(spec.title.c_str(), x, y, w, h, flags);
    if (!window) return false;
    if (context && SDL_GL_MakeCurrent(window, context) != 0) {
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (!context) {
        context = SDL_GL_CreateContext(window);
        if (!context || SDL_GL_MakeCurrent(window, context) != 0) {
            if (context) SDL_GL_DeleteContext(context);
            context = nullptr;
            SDL_DestroyWindow(window);
            window = nullptr;
            return false;
        }
    }
    // The frame loop paces itself; a blocking swap would add to its waits.
    SDL_GL_SetSwapInterval(0);
    return true;
}

void WindowDestroy(bool destroyContext) {
    if (destroyContext && context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
}

bool WindowExists() {
    return window != nullptr;
}

void WindowSize(int& width, int& height) {
    width = height = 0;
    if (window) SDL_GetWindowSize(window, &width, &height);
}

void WindowPosition(int& x, int& y) {
    x = y = 0;
    if (window) SDL_GetWindowPosition(window, &x, &y);
}

void WindowMove(int x, int y) {
    if (window) SDL_SetWindowPosition(window, x, y);
}

void WindowResize(int width, int height) {
    if (window && width > 0 && height > 0) SDL_SetWindowSize(window, width, height);
}

void WindowTitleSet(const std::string& title) {
    if (window) SDL_SetWindowTitle(window, title.c_str());
}

std::string WindowTitle() {
    return window ? SDL_GetWindowTitle(window) : "";
}

void WindowShow() {
    if (window) SDL_ShowWindow(window);
}

void WindowHide() {
    if (window) SDL_HideWindow(window);
}

bool WindowVisible() {
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0;
}

void WindowRaise() {
    if (window) SDL_RaiseWindow(window);
}

bool WindowHasFocus() {
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool WindowFullScreenEnter(int width, int height, int bits) {
    if (!window) return false;
    const int n = SDL_GetNumDisplayModes(0);
    SDL_DisplayMode pick{};
    bool found = false;
    // An exact size is required; the depth only when one is asked for, else any depth.
    for (int pass = 0; pass < 2 && !found; ++pass) {
        for (int i = 0; i < n; ++i) {
            SDL_DisplayMode m{};
            if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
            if (m.w != width || m.h != height) continue;
            if (pass == 0 && bits != 0 && static_cast<int>(SDL_BITSPERPIXEL(m.format)) != bits)
                continue;
            pick = m;
            found = true;
            break;
        }
    }
    if (!found) return false;
    if (SDL_SetWindowDisplayMode(window, &pick) != 0) return false;
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

void WindowFullScreenLeave() {
    if (window && WindowIsFullScreen()) SDL_SetWindowFullscreen(window, 0);
}

bool WindowIsFullScreen() {
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

uint32_t WindowId() {
    return window ? SDL_GetWindowID(window) : 0;
}
void* WindowHandle() {
    return window;
}

bool WindowManaged() {
    if (!window) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    if (std::strcmp(driver, "wayland") == 0) return true;
    if (std::strcmp(driver, "x11") != 0) return false;
    // A window manager frames its windows; a bare X server leaves the extents at 0.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) return false;
    return top > 0 || left > 0 || bottom > 0 || right > 0;
}

void WindowSwap() {
    if (window) SDL_GL_SwapWindow(window);
}

void* GlProcAddress(const char* name) {
    if (!name || !SdlVideoStart()) return nullptr;
    return SDL_GL_GetProcAddress(name);
}

bool GlContextCurrent() {
    return SDL_GL_GetCurrentContext() != nullptr;
}

bool GlAccelerated() {
    // SDL answers "accelerated" for every GLX visual, so the renderer's own name decides:
    // Mesa's software rasterisers name themselves.
    const char* r = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!r) return true;
    for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR "})
        if (std::strstr(r, soft)) return false;
    return true;
}

int GlSamples() {
    int v = 0;
    if (SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &v) != 0) return 0;
    return v;
}

bool SwapIntervalSet(int interval) {
    return SDL_GL_SetSwapInterval(interval) == 0;
}

void WarningBox(const std::string& caption, const std::string& text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, Latin1ToUtf8(caption).c_str(),
                             Latin1ToUtf8(text).c_str(), window);
}

void Beep() {
    if (isatty(STDERR_FILENO)) {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
}

void ScreenSaverInhibit() {
    SDL_DisableScreenSaver();
}

bool WindowEventPoll(WindowEvent& ev) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    SdlEventNotify(e);
    ev = WindowEvent{};
    if (e.type == SDL_QUIT) {
        ev.kind = WindowEventKind::CloseRequest;
    } else if (e.type == SDL_WINDOWEVENT && window &&
               e.window.windowID == SDL_GetWindowID(window)) {
        switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                ev.kind = WindowEventKind::CloseRequest;
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                ev.kind = WindowEventKind::FocusGained;
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                // Hiding the window takes its focus too; a hidden program keeps running.
                if (SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN) break;
                ev.kind = WindowEventKind::FocusLost;
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                ev.kind = WindowEventKind::Resized;
                ev.width = e.window.data1;
                ev.height = e.window.data2;
                break;
            default:
                break;
        }
    }
    return true;
}

namespace {
class SdlWindowEvents final : public WindowEvents {
public:
    bool Poll(WindowEvent& ev) override { return WindowEventPoll(ev); }
};
}  // namespace

std::unique_ptr<WindowEvents> CreateWindowEvents() {
    return std::make_unique<SdlWindowEvents>();
}

}  // namespace platform
