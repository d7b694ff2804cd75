// The input system over SDL2. The device layer is SDL's joystick and haptic subsystems plus
// the window's keyboard and mouse; the system layer reads the same sources through the
// layout (virtual keys) and the global pointer, as the fall-backs expect.
#include "platform/input_devices.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/virtual_joystick_spec.h"

namespace platform {

struct KeyboardDevice {
    int unused = 0;
};

struct MouseDevice {
    bool exclusive = false;
    bool acquired = false;
};

struct JoystickDevice {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickGUID guid{};
    SDL_Haptic* haptic = nullptr;
    bool hapticTried = false;
    int effect = -1;
};

namespace {

int ScancodeOfVirtualKey(int vk);

uint32_t HatToHundredths(Uint8 hat) {
    switch (hat) {
        case SDL_HAT_UP:
            return 0;
        case SDL_HAT_RIGHTUP:
            return 4500;
        case SDL_HAT_RIGHT:
            return 9000;
        case SDL_HAT_RIGHTDOWN:
            return 13500;
        case SDL_HAT_DOWN:
            return 18000;
        case SDL_HAT_LEFTDOWN:
            return 22500;
        case SDL_HAT_LEFT:
            return 27000;
        case SDL_HAT_LEFTUP:
            return 31500;
        default:
            return 0xFFFFFFFFu;
    }
}

class SdlInputSystem final : public InputSystem {
public:
    explicit SdlInputSystem(void* window) : window_(static_cast<SDL_Window*>(window)) {
        SDL_AddEventWatch(&SdlInputSystem::Watch, this);
    }

    ~SdlInputSystem() override {
        SDL_DelEventWatch(&SdlInputSystem::Watch, this);
        for (auto* js : systemJoysticks_) {
            if (js) SDL_JoystickClose(js);
        }
        if (devicesStarted_) DevicesStop();
    }

    bool DevicesStart() override {
        if (devicesStarted_) return true;
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
        // Before anyone counts joysticks, so the program sees it like a plugged-in one.
        VirtualJoystickFromEnvironment();
        hapticStarted_ = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
        devicesStarted_ = true;
        return true;
    }

    void DevicesStop() override {
        if (!devicesStarted_) return;
        if (hapticStarted_) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        devicesStarted_ = false;
        hapticStarted_ = false;
    }

    // ---- keyboard ----
    KeyboardDevice* KeyboardCreate() override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
        return new KeyboardDevice;
    }

    // SDL keeps the key state only while the window has the focus and clears it when the focus
    // goes, which is the foreground access the device layer promises.
    bool KeyboardAcquire(KeyboardDevice* dev) override {
        return dev && SDL_WasInit(SDL_INIT_VIDEO);
    }

    bool KeyboardRead(KeyboardDevice* dev, uint8_t state[256]) override {
        if (!dev) return false;
        ReadKeyState(state);
        return true;
    }

    bool KeyEventsDiscard() override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
        SDL_PumpEvents();
        if (!SDL_HasEvents(SDL_KEYDOWN, SDL_TEXTINPUT)) return false;
        SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
        return true;
    }

    void KeyboardRelease(KeyboardDevice* dev) override { delete dev; }

    // ---- mouse ----
    MouseDevice* MouseCreate() override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
        return new MouseDevice;
    }

    bool MouseSetExclusive(MouseDevice* dev, bool exclusive) override {
        if (!dev) return false;
        dev->exclusive = exclusive;
        return true;
    }

    bool MouseAcquire(MouseDevice* dev) override {
        if (!dev) return false;
        if (SDL_SetRelativeMouseMode(dev->exclusive ? SDL_TRUE : SDL_FALSE) != 0) return false;
        if (!dev->acquired) {
            // Movement from before the acquisition is not the program's.
            SDL_PumpEvents();
            SDL_GetRelativeMouseState(nullptr, nullptr);
            wheel_ = 0;
        }
        dev->acquired = true;
        return true;
    }

    void MouseUnacquire(MouseDevice* dev) override {
        if (!dev || !dev->acquired) return;
        if (dev->exclusive) SDL_SetRelativeMouseMode(SDL_FALSE);
        dev->acquired = false;
    }

    bool MouseRead(MouseDevice* dev, MouseDeviceState& out) override {
        out = MouseDeviceState{};
        if (!dev || !dev->acquired) return false;
        SDL_PumpEvents();
        int dx = 0, dy = 0;
        Uint32 mask = SDL_GetRelativeMouseState(&dx, &dy);
        out.dx = dx;
        out.dy = dy;
        out.dz = wheel_;
        wheel_ = 0;
        out.buttons[0] = (mask & SDL_BUTTON_LMASK) ? 0x80 : 0;
        out.buttons[1] = (mask & SDL_BUTTON_RMASK) ? 0x80 : 0;
        out.buttons[2] = (mask & SDL_BUTTON_MMASK) ? 0x80 : 0;
        out.buttons[3] = (mask & SDL_BUTTON_X1MASK) ? 0x80 : 0;
        return true;
    }

    void MouseRelease(MouseDevice* dev) override {
        MouseUnacquire(dev);
        delete dev;
    }

    // ---- joysticks ----
    int JoystickAttachedCount() override {
        if (!devicesStarted_) return 0;
        return std::max(0, SDL_NumJoysticks());
    }

    JoystickDevice* JoystickOpen(int index, std::string& name) override {
        if (!devicesStarted_) return nullptr;
        SDL_Joystick* js = SDL_JoystickOpen(index);
        if (!js) return nullptr;
        auto* dev = new JoystickDevice;
        dev->joystick = js;
        dev->guid = SDL_JoystickGetGUID(js);
        const char* n = SDL_JoystickName(js);
        std::string product = n ? n : "";
        // The OS gives one name; it stands for both the instance and the product.
        name = product + ", " + product;
        return dev;
    }

    bool JoystickPoll(JoystickDevice* dev) override {
        if (!dev || !dev->joystick) return false;
        SDL_JoystickUpdate();
        return SDL_JoystickGetAttached(dev->joystick) == SDL_TRUE;
    }

    bool JoystickReacquire(JoystickDevice* dev) override {
        if (!dev || !devicesStarted_) return false;
        if (dev->joystick && SDL_JoystickGetAttached(dev->joystick)) return true;
        CloseHaptic(dev);
        if (dev->joystick) SDL_JoystickClose(dev->joystick);
        dev->joystick = nullptr;
        SDL_JoystickUpdate();
        int count = SDL_NumJoysticks();
        for (int i = 0; i < count; ++i) {
            SDL_JoystickGUID g = SDL_JoystickGetDeviceGUID(i);
            if (std::memcmp(&g, &dev->guid, sizeof g) != 0) continue;
            // Already open elsewhere means it is another device of the same model.
            if (SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(i))) continue;
            dev->joystick = SDL_JoystickOpen(i);
            if (dev->joystick) return true;
        }
        return false;
    }

    void JoystickRead(JoystickDevice* dev, JoystickDeviceState& out) override {
        out = JoystickDeviceState{};
        for (auto& p : out.pov) p = 0xFFFFFFFFu;
        if (!dev || !dev->joystick) return;
        SDL_Joystick* js = dev->joystick;
        int axes = SDL_JoystickNumAxes(js);
        int32_t* axis[8] = {&out.x,  &out.y,  &out.z,          &out.rx,
                            &out.ry, &out.rz, &out.sliders[0], &out.sliders[1]};
        for (int a = 0; a < 8 && a < axes; ++a) *axis[a] = SDL_JoystickGetAxis(js, a);
        int hats = SDL_JoystickNumHats(js);
        for (int h = 0; h < 4 && h < hats; ++h)
            out.pov[h] = HatToHundredths(SDL_JoystickGetHat(js, h));
        int buttons = SDL_JoystickNumButtons(js);
        for (int b = 0; b < 32 && b < buttons; ++b) {
            out.buttons[b] = SDL_JoystickGetButton(js, b) ? 0x80 : 0;
        }
    }

    bool JoystickHasForce(JoystickDevice* dev) override {
        if (!dev || !dev->joystick || !hapticStarted_) return false;
        if (!dev->hapticTried) {
            dev->hapticTried = true;
            if (SDL_JoystickIsHaptic(dev->joystick) == 1) {
                dev->haptic = SDL_HapticOpenFromJoystick(dev->joystick);
            }
        }
        return dev->haptic && (SDL_HapticQuery(dev->haptic) & SDL_HAPTIC_CONSTANT);
    }

    void JoystickForce(JoystickDevice* dev, int32_t dirX, int32_t dirY, int32_t magnitude,
                       uint32_t durationMs) override {
        if (!JoystickHasForce(dev)) return;
        SDL_HapticStopAll(dev->haptic);
        // One effect per device: the previous one is replaced, so repeated calls cannot run
        // the device out of effect slots.
        if (dev->effect >= 0) SDL_HapticDestroyEffect(dev->haptic, dev->effect);
        dev->effect = -1;
        if (SDL_HapticQuery(dev->haptic) & SDL_HAPTIC_GAIN) SDL_HapticSetGain(dev->haptic, 100);
        SDL_HapticEffect effect;
        std::memset(&effect, 0, sizeof effect);
        effect.type = SDL_HAPTIC_CONSTANT;
        effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
        effect.constant.direction.dir[0] = dirX;
        effect.constant.direction.dir[1] = dirY;
        effect.constant.length = durationMs;
        magnitude = std::clamp(magnitude, 0, 10000);
        effect.constant.level = static_cast<Sint16>(magnitude * 32767 / 10000);
        dev->effect = SDL_HapticNewEffect(dev->haptic, &effect);
        if (dev->effect >= 0) SDL_HapticRunEffect(dev->haptic, dev->effect, 1);
    }

    void JoystickRelease(JoystickDevice* dev) override {
        if (!dev) return;
        CloseHaptic(dev);
        if (dev->joystick) SDL_JoystickClose(dev->joystick);
        delete dev;
    }

    // ---- system layer ----
    bool SystemVirtualKeyDown(int virtualKey) override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
        SDL_PumpEvents();
        int numkeys = 0;
        const Uint8* ks = SDL_GetKeyboardState(&numkeys);
        bool down = false;
        auto test = [&](int sc) {
            if (sc <= 0 || sc >= SDL_NUM_SCANCODES) return;
            if (sc < numkeys && ks[sc]) down = true;
            if (pressedSinceAsked_[sc]) down = true;
            pressedSinceAsked_[sc] = false;
        };
        // Virtual keys that stand for either of a pair of physical keys.
        switch (virtualKey) {
            case 13:
                test(SDL_SCANCODE_RETURN);
                test(SDL_SCANCODE_KP_ENTER);
                break;
            case 16:
                test(SDL_SCANCODE_LSHIFT);
                test(SDL_SCANCODE_RSHIFT);
                break;
            case 17:
                test(SDL_SCANCODE_LCTRL);
                test(SDL_SCANCODE_RCTRL);
                break;
            case 18:
                test(SDL_SCANCODE_LALT);
                test(SDL_SCANCODE_RALT);
                break;
            default:
                test(ScancodeOfVirtualKey(virtualKey));
                break;
        }
        return down;
    }

    void SystemKeyboardState(uint8_t state[256]) override {
        if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PumpEvents();
        ReadKeyState(state);
    }

    int LayoutCharacter(int keyNumber) override {
        int usage = KeyNumberToUsage(keyNumber);
        if (usage == 0 || !SDL_WasInit(SDL_INIT_VIDEO)) return 0;
        SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(usage));
        SDL_Keymod m = SDL_GetModState();
        KeyModifiers mods;
        mods.shift = m & KMOD_SHIFT;
        mods.ctrl = m & KMOD_CTRL;
        mods.alt = m & KMOD_ALT;
        mods.capsLock = m & KMOD_CAPS;
        mods.numLock = m & KMOD_NUM;
        return LayoutKeyToCharacter(key, mods);
    }

    void CursorScreen(int& x, int& y) override {
        x = y = 0;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
        SDL_PumpEvents();
        // Over our window its own motion events are the truth: on X11 the global state is
        // only read again after raw pointer events, and while a button holds the pointer
        // grabbed it can stand still for the whole drag.
        SDL_Window* w = Window();
        if (w && SDL_GetMouseFocus() == w) {
            int wx = 0, wy = 0;
            SDL_GetMouseState(&x, &y);
            SDL_GetWindowPosition(w, &wx, &wy);
            x += wx;
            y += wy;
            return;
        }
        SDL_GetGlobalMouseState(&x, &y);
    }

    void ClientOrigin(int& x, int& y) override {
        x = y = 0;
        if (SDL_Window* w = Window()) SDL_GetWindowPosition(w, &x, &y);
    }

    void CursorMoveScreen(int x, int y) override {
        if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_WarpMouseGlobal(x, y);
    }

    void CursorShow(bool show) override {
        if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }

    bool SystemMouseButton(int button) override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
        Uint32 mask = SDL_GetGlobalMouseState(nullptr, nullptr);
        static constexpr Uint32 kMasks[3] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK};
        return button >= 0 && button < 3 && (mask & kMasks[button]);
    }

    int SystemJoystickCount() override {
        if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return 0;
        return std::max(0, SDL_NumJoysticks());
    }

    std::string SystemJoystickName(int n) override {
        if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return "";
        const char* name = SDL_JoystickNameForIndex(n);
        return name ? name : "";
    }

    bool SystemJoystickRead(int n, SystemJoystickState& out) override {
        out = SystemJoystickState{};
        if (n < 0 || n > 1 || !SDL_WasInit(SDL_INIT_JOYSTICK)) return false;
        SDL_JoystickUpdate();
        SDL_Joystick*& js = systemJoysticks_[n];
        if (js && !SDL_JoystickGetAttached(js)) {
            SDL_JoystickClose(js);
            js = nullptr;
        }
        if (!js && n < SDL_NumJoysticks()) js = SDL_JoystickOpen(n);
        if (!js) return false;
        out.x = static_cast<uint32_t>(SDL_JoystickGetAxis(js, 0) + 32768);
        out.y = static_cast<uint32_t>(SDL_JoystickGetAxis(js, 1) + 32768);
        out.z = static_cast<uint32_t>(SDL_JoystickGetAxis(js, 2) + 32768);
        uint32_t pov =
            SDL_JoystickNumHats(js) > 0 ? HatToHundredths(SDL_JoystickGetHat(js, 0)) : 0xFFFFFFFFu;
        out.pov = pov == 0xFFFFFFFFu ? 0xFFFFu : pov;
        int buttons = std::min(32, SDL_JoystickNumButtons(js));
        for (int b = 0; b < buttons; ++b) {
            if (SDL_JoystickGetButton(js, b)) out.buttons |= 1u << b;
        }
        return true;
    }

    void SleepMs(int ms) override {
        if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
    }

private:
    static int SDLCALL Watch(void* self, SDL_Event* e) {
        auto* sys = static_cast<SdlInputSystem*>(self);
        if (e->type == SDL_KEYDOWN && !e->key.repeat) {
            int sc = e->key.keysym.scancode;
            if (sc > 0 && sc < SDL_NUM_SCANCODES)
                sys->pressedSinceAsked_[sc] = sys->pressedSincePoll_[sc] = true;
        } else if (e->type == SDL_MOUSEWHEEL) {
            int y = e->wheel.y;
            if (e->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            sys->wheel_ += y;
        }
        return 1;
    }

    SDL_Window* Window() {
        if (window_) return window_;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
        if (SDL_Window* w = SDL_GetKeyboardFocus()) return w;
        return SDL_GetMouseFocus();
    }

    void ReadKeyState(uint8_t state[256]) {
        std::memset(state, 0, 256);
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
        int numkeys = 0;
        const Uint8* ks = SDL_GetKeyboardState(&numkeys);
        for (int k = 0; k < 256; ++k) {
            int u = KeyNumberToUsage(k);
            if (u > 0 && u < numkeys && ks[u]) state[k] = 0x80;
            // A tap that went down and up between two polls still reads as down once.
            if (u > 0 && u < SDL_NUM_SCANCODES && pressedSincePoll_[u]) state[k] = 0x80;
        }
        pressedSincePoll_.fill(false);
    }

    void CloseHaptic(JoystickDevice* dev) {
        if (dev->haptic) SDL_HapticClose(dev->haptic);
        dev->haptic = nullptr;
        dev->hapticTried = false;
        dev->effect = -1;
    }

    SDL_Window* window_;
    bool devicesStarted_ = false;
    bool hapticStarted_ = false;
    int wheel_ = 0;
    std::array<bool, SDL_NUM_SCANCODES> pressedSinceAsked_{};
    std::array<bool, SDL_NUM_SCANCODES> pressedSincePoll_{};
    std::array<SDL_Joystick*, 2> systemJoysticks_{};
};

// Virtual keys name keys by meaning: letters, digits and named keys are looked up through the
// current layout; the punctuation keys, whose meaning differs between layouts, stand for the
// physical keys the fall-back key table gives them.
int ScancodeOfVirtualKey(int vk) {
    auto viaLayout = [](SDL_Keycode k) { return static_cast<int>(SDL_GetScancodeFromKey(k)); };
    if (vk >= '0' && vk <= '9') return viaLayout(vk);
    if (vk >= 'A' && vk <= 'Z') return viaLayout(vk - 'A' + 'a');
    if (vk >= 96 && vk <= 105) {
        static constexpr int kPad[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                         SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                         SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                         SDL_SCANCODE_KP_9};
        return kPad[vk - 96];
    }
    if (vk >= 112 && vk <= 123) return SDL_SCANCODE_F1 + (vk - 112);
    switch (vk) {
        case 8:
            return SDL_SCANCODE_BACKSPACE;
        case 9:
            return SDL_SCANCODE_TAB;
        case 27:
            return SDL_SCANCODE_ESCAPE;
        case 28:
            return SDL_SCANCODE_INTERNATIONAL4;  // the convert key
        case 32:
            return SDL_SCANCODE_SPACE;
        case 33:
            return SDL_SCANCODE_PAGEUP;
        case 34:
            return SDL_SCANCODE_PAGEDOWN;
        case 35:
            return SDL_SCANCODE_END;
        case 36:
            return SDL_SCANCODE_HOME;
        case 37:
            return SDL_SCANCODE_LEFT;
        case 38:
            return SDL_SCANCODE_UP;
        case 39:
            return SDL_SCANCODE_RIGHT;
        case 40:
            return SDL_SCANCODE_DOWN;
        case 45:
            return SDL_SCANCODE_INSERT;
        case 46:
            return SDL_SCANCODE_DELETE;
        case 91:
            return SDL_SCANCODE_LGUI;
        case 92:
            return SDL_SCANCODE_RGUI;
        case 93:
            return SDL_SCANCODE_APPLICATION;
        case 106:
            return SDL_SCANCODE_KP_MULTIPLY;
        case 107:
            return SDL_SCANCODE_KP_PLUS;
        case 109:
            return SDL_SCANCODE_KP_MINUS;
        case 110:
            return SDL_SCANCODE_KP_PERIOD;
        case 111:
            return SDL_SCANCODE_KP_DIVIDE;
        case 144:
            return SDL_SCANCODE_NUMLOCKCLEAR;
        case 145:
            return SDL_SCANCODE_SCROLLLOCK;
        case 186:
            return SDL_SCANCODE_LEFTBRACKET;
        case 187:
            return SDL_SCANCODE_RIGHTBRACKET;
        case 188:
            return SDL_SCANCODE_COMMA;
        case 189:
            return SDL_SCANCODE_SLASH;
        case 190:
            return SDL_SCANCODE_PERIOD;
        case 191:
            return SDL_SCANCODE_BACKSLASH;
        case 192:
            return SDL_SCANCODE_SEMICOLON;
        case 219:
            return SDL_SCANCODE_MINUS;
        case 220:
            return SDL_SCANCODE_GRAVE;
        case 221:
            return SDL_SCANCODE_EQUALS;
        case 222:
            return SDL_SCANCODE_APOSTROPHE;
        case 226:
            return SDL_SCANCODE_NONUSBACKSLASH;
        default:
            return 0;
    }
}

}  // namespace

std::unique_ptr<InputSystem> CreateInputSystem(void* window) {
    return std::make_unique<SdlInputSystem>(window);
}

// ---- virtual joysticks ----
namespace {
std::vector<SDL_Joystick*>& virtualHandles() {
    static std::vector<SDL_Joystick*> v;
    return v;
}
SDL_Joystick* VirtualHandle(int index) {
    auto& v = virtualHandles();
    if (index < 0 || index >= static_cast<int>(v.size())) return nullptr;
    return v[index];
}
}  // namespace

int VirtualJoystickAttach() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return -1;
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 32, 1);
    if (index < 0) return -1;
    SDL_Joystick* js = SDL_JoystickOpen(index);
    if (!js) return -1;
    auto& v = virtualHandles();
    if (static_cast<int>(v.size()) <= index) v.resize(index + 1, nullptr);
    v[index] = js;
    return index;
}

void VirtualJoystickSet(int index, int axis, int16_t value) {
    if (SDL_Joystick* js = VirtualHandle(index)) SDL_JoystickSetVirtualAxis(js, axis, value);
}

void VirtualJoystickSetButton(int index, int button, bool down) {
    if (SDL_Joystick* js = VirtualHandle(index)) {
        SDL_JoystickSetVirtualButton(js, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
}

void VirtualJoystickSetHat(int index, uint8_t hat) {
    if (SDL_Joystick* js = VirtualHandle(index)) SDL_JoystickSetVirtualHat(js, 0, hat);
}

void VirtualJoystickDetach(int index) {
    if (SDL_Joystick* js = VirtualHandle(index)) {
        SDL_JoystickClose(js);
        virtualHandles()[index] = nullptr;
    }
    SDL_JoystickDetachVirtual(index);
}

}  // namespace platform
