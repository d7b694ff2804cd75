// Keyboard poll, key test and the typed-character reader.
#include <cstring>

#include "input/input.h"
#include "input/key_translate.h"

namespace {

class StateKeys final : public KeySource {
public:
    explicit StateKeys(InputState& s) : s_(s) {}
    bool KeyDown(int k) override { return ::KeyDown(s_, k); }
    int LayoutCharacter(int k) override { return Os().LayoutCharacter(k); }

private:
    InputState& s_;
};

KeyTranslator& translator() {
    static KeyTranslator t;
    return t;
}

}  // namespace

void KeyboardPoll(InputState& s) {
    platform::InputSystem& os = Os();
    if (!s.keyboardDevice) {
        os.SystemKeyboardState(s.keyState);
        return;
    }
    // The device has the keys; their queued events would only pile up.
    os.KeyEventsDiscard();
    if (!os.KeyboardAcquire(s.keyboardDevice)) os.KeyboardAcquire(s.keyboardDevice);
    // A keyboard that cannot be read has no key down, rather than keys stuck from before.
    if (!os.KeyboardRead(s.keyboardDevice, s.keyState)) std::memset(s.keyState, 0, 256);
}

bool KeyDown(InputState& s, int keyNumber) {
    int k = keyNumber & 0xFF;
    if (s.keyboardDevice) return (s.keyState[k] & 0x80) != 0;
    return Os().SystemVirtualKeyDown(s.keyToVirtualKey[k]);
}

int KeyTranslate(InputState& s) {
    KeyboardPoll(s);
    StateKeys keys(s);
    return translator().Next(keys);
}
