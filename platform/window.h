// The one program window with its OpenGL context. std types only: the runtime above the
// platform layer includes this header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct WindowSpec {
    std::string title;
    int x = 0, y = 0;     // outer position; ignored when centred
    bool centred = true;  // centre on the desktop
    int width = 640;      // client size; 0 takes the desktop size
    int height = 480;
    int samples = 0;  // multisample count, 0 = none
    bool visible = true;
};

// Desktop display size and depth (bits per pixel).
struct DisplayMode {
    int width = 0, height = 0, bits = 0;
};
DisplayMode DesktopMode();

// Starts the window system once (later calls only report); false when there is no display.
bool WindowSystemStart();

// Creates the window and, when none exists yet, the GL context (a compatibility context with
// double buffer, 24 depth and 8 stencil bits). An existing context is kept and made current on
// the new window, so textures survive. False when the window or context cannot be made.
bool WindowCreate(const WindowSpec& spec);
// Destroys the window; the context stays unless destroyContext.
void WindowDestroy(bool destroyContext);
bool WindowExists();

// The client size and outer position the system gave the window.
void WindowSize(int& width, int& height);
void WindowPosition(int& x, int& y);
void WindowMove(int x, int y);
void WindowResize(int width, int height);

void WindowTitleSet(const std::string& title);
std::string WindowTitle();
void WindowShow();
void WindowHide();
bool WindowVisible();
void WindowRaise();  // bring to the top and ask for the focus
bool WindowHasFocus();

// Full screen in exactly width x height (bits 0: any depth). False when no such mode exists;
// the window stays as it was.
bool WindowFullScreenEnter(int width, int height, int bits);
void WindowFullScreenLeave();
bool WindowIsFullScreen();

// The window's identity for the input layer: the SDL window id and the SDL window handle.
uint32_t WindowId();
void* WindowHandle();

// Whether a window manager decorates the window (a bare X server has none); a modal box
// shown without one could never be answered by anyone.
bool WindowManaged();

// GL.
void WindowSwap();
// An address for any name under GLX, known or not: it tells nothing about what the context
// offers.
void* GlProcAddress(const char* name);
bool GlContextCurrent();  // this thread has a current GL context
bool GlAccelerated();     // the platform's "rendered by hardware" answer for the current context
int GlSamples();          // multisample count of the current context, 0 = none
bool SwapIntervalSet(int interval);

// Modal warning box with an OK button.
void WarningBox(const std::string& caption, const std::string& text);
void Beep();

// Keeps the screen saver and monitor power-down off while the program runs.
void ScreenSaverInhibit();

// Window events, std types only. The pump reads SDL events one at a time; each is first
// handed to the platform observers (input devices), then reported here.
enum class WindowEventKind { Other, CloseRequest, FocusGained, FocusLost, Resized };
struct WindowEvent {
    WindowEventKind kind = WindowEventKind::Other;
    int width = 0, height = 0;  // Resized
};
// Takes one waiting event, if any; never blocks.
bool WindowEventPoll(WindowEvent& ev);

// The window's event queue as the runtime reads it; tests install a scripted one.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // Takes one waiting event, if any; never blocks.
    virtual bool Poll(WindowEvent& ev) = 0;
};
// The SDL queue (WindowEventPoll).
std::unique_ptr<WindowEvents> CreateWindowEvents();

}  // namespace platform
