// Test helper: asks a window to close the way a window manager's close button does (a
// WM_DELETE_WINDOW client message). xdotool can only destroy or kill, which is not a request.
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

void GameMain() {}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    void* x = dlopen("libX11.so.6", RTLD_NOW);
    if (!x) return 3;
    auto open = reinterpret_cast<Display* (*)(const char*)>(dlsym(x, "XOpenDisplay"));
    auto atom = reinterpret_cast<Atom (*)(Display*, const char*, Bool)>(dlsym(x, "XInternAtom"));
    auto send =
        reinterpret_cast<Status (*)(Display*, Window, Bool, long, XEvent*)>(dlsym(x, "XSendEvent"));
    auto flush = reinterpret_cast<int (*)(Display*)>(dlsym(x, "XFlush"));
    auto close = reinterpret_cast<int (*)(Display*)>(dlsym(x, "XCloseDisplay"));
    if (!open || !atom || !send || !flush || !close) return 4;
    Display* d = open(nullptr);
    if (!d) return 5;
    Window w = std::strtoul(argv[1], nullptr, 0);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = atom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(atom(d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    Status ok = send(d, w, False, NoEventMask, &ev);
    flush(d);
    close(d);
    return ok ? 0 : 6;
}
