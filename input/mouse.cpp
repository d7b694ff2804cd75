// Mouse reads with the once-per-frame movement refresh, clamping and the pointer.
#include <algorithm>
#include <limits>

#include "gfx/renderer.h"
#include "input/input.h"
#include "runtime/runtime_state.h"

namespace {

int16_t Clamp16(int v) {
    return static_cast<int16_t>(std::clamp<int>(v, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

void CursorClient(platform::InputSystem& os, int& x, int& y) {
    int ox, oy;
    os.CursorScreen(x, y);
    os.ClientOrigin(ox, oy);
    x -= ox;
    y -= oy;
}

// Movement from the visible pointer: its client position against the runtime's.
void PointerMovement(InputState& s, platform::InputSystem& os, int& dx, int& dy) {
    int cx, cy;
    CursorClient(os, cx, cy);
    dx = cx - s.mouseX;
    dy = cy - s.mouseY;
    s.mouseX = cx;
    s.mouseY = cy;
}

void StoreLast(InputState& s, MouseReading& out, int dx, int dy, int wheel) {
    s.lastDx = out.dx = Clamp16(dx);
    s.lastDy = out.dy = Clamp16(dy);
    s.lastWheel = out.wheel = Clamp16(wheel);
}

// The hidden pointer without a device is parked here and its drift is the movement.
constexpr int kParkX = 200;
constexpr int kParkY = 200;

}  // namespace

bool MouseRead(InputState& s, MouseReading& out) {
    platform::InputSystem& os = Os();
    out = MouseReading{};
    if (!s.mouseRefresh) {
        out.dx = s.lastDx;
        out.dy = s.lastDy;
        out.wheel = s.lastWheel;
    }
    if (s.mouseDevice) {
        platform::MouseDeviceState d;
        if (!os.MouseRead(s.mouseDevice, d)) {
            if (!os.MouseAcquire(s.mouseDevice)) {
                os.MouseSetExclusive(s.mouseDevice,
                                     s.mouseCooperativeLevel == kMouseLevelExclusive);
                os.MouseAcquire(s.mouseDevice);
                out = MouseReading{};
                return false;
            }
            if (!os.MouseRead(s.mouseDevice, d)) return true;
        }
        if (!s.mouseRefresh) {
            s.heldDx += d.dx;
            s.heldDy += d.dy;
            s.heldDz += d.dz;
        } else {
            s.mouseRefresh = 0;
            d.dx += s.heldDx;
            d.dy += s.heldDy;
            d.dz += s.heldDz;
            s.heldDx = s.heldDy = s.heldDz = 0;
            int wheel = (d.dz > 0) - (d.dz < 0);
            int dx, dy;
            if (s.pointerShown) {
                PointerMovement(s, os, dx, dy);
            } else {
                dx = d.dx;
                dy = d.dy;
                s.mouseX += dx;
                s.mouseY += dy;
            }
            StoreLast(s, out, dx, dy, wheel);
        }
        out.button1 = d.buttons[0] != 0;
        out.button2 = d.buttons[1] != 0;
        out.button3 = d.buttons[2] != 0;
        return true;
    }
    if (s.mouseRefresh) {
        s.mouseRefresh = 0;
        int dx, dy;
        if (s.pointerShown) {
            PointerMovement(s, os, dx, dy);
        } else {
            int x, y;
            os.CursorScreen(x, y);
            os.CursorMoveScreen(kParkX, kParkY);
            dx = x - kParkX;
            dy = y - kParkY;
            s.mouseX += dx;
            s.mouseY += dy;
        }
        StoreLast(s, out, dx, dy, 0);
    }
    out.button1 = os.SystemMouseButton(0);
    out.button2 = os.SystemMouseButton(1);
    out.button3 = os.SystemMouseButton(2);
    return true;
}

void MouseReadClamped(InputState& s, MouseReading& out) {
    MouseRead(s, out);
    // The renderer's size in pixels; before it exists, the size start-up asks for.
    int w = runtimeState.screenWidth, h = runtimeState.screenHeight;
    if (const Renderer* r = runtimeState.renderer) {
        w = r->width;
        h = r->height;
    }
    if (s.mouseX > w - 1) s.mouseX = w - 1;
    if (s.mouseY > h - 1) s.mouseY = h - 1;
    if (s.mouseX < 0) s.mouseX = 0;
    if (s.mouseY < 0) s.mouseY = 0;
}

bool MouseAnyButtonDown(InputState& s) {
    MouseReading m;
    MouseRead(s, m);
    return m.button1 || m.button2 || m.button3;
}

void PointerShowSet(InputState& s, bool show) {
    platform::InputSystem& os = Os();
    if (s.mouseDevice) {
        os.MouseUnacquire(s.mouseDevice);
        s.mouseCooperativeLevel = show ? kMouseLevelShared : kMouseLevelExclusive;
        os.MouseSetExclusive(s.mouseDevice, !show);
        os.MouseAcquire(s.mouseDevice);
    }
    if (show) {
        if (!s.pointerShown) {
            int ox, oy;
            os.ClientOrigin(ox, oy);
            os.CursorMoveScreen(s.mouseX + ox, s.mouseY + oy);
        }
        os.CursorShow(true);
    } else {
        os.CursorShow(false);
    }
    s.pointerShown = show ? 1 : 0;
}
