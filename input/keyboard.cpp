// Keyboard poll, key test and the typed-character reader.
#include <cstring>

#include "input/input.h"
#include "input/key_translate.h"

namespace {

// A seen press lasts to the frame poll after next: the frame's own test after the poll that
// saw it and every reader in the frame that follows.
constexpr uint8_t kPressFrames = 2;
constexpr uint8_t kAllReaders = kKeyReaderKeyGet | kKeyReaderTyping;

bool Down(uint8_t state) {
    return (state & 0x80) != 0;
}

class StateKeys final : public KeySource {
public:
    explicit StateKeys(InputState& s) : s_(s) {}
    bool KeyDown(int k) override { return KeyDownFor(s_, k, kKeyReaderTyping); }
    int LayoutCharacter(int k) override { return Os().LayoutCharacter(k); }
    // A tap already up again takes the Shift of its own press, not the Shift of now.
    bool ShiftFor(int k) override {
        if (!s_.keyboardDevice || Down(s_.keyState[k & 0xFF]))
            return KeyDownNow(s_, 42) || KeyDownNow(s_, 54);
        return s_.keyPressShifted[k & 0xFF];
    }

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
    uint8_t before[256];
    std::memcpy(before, s.keyState, 256);
    // A keyboard that cannot be read has no key down, rather than keys stuck from before.
    if (!os.KeyboardRead(s.keyboardDevice, s.keyState)) std::memset(s.keyState, 0, 256);
    // The device reads a tap as down at one read only; whichever poll that is, the press must
    // reach the readers and the frame's tests that come after it.
    const bool shift = Down(s.keyState[42]) || Down(s.keyState[54]);
    for (int k = 0; k < 256; ++k) {
        if (Down(s.keyState[k]) && !Down(before[k])) {
            s.keyPressFrames[k] = kPressFrames;
            s.keyPressUnread[k] = kAllReaders;
            s.keyPressShifted[k] = shift;
        }
    }
}

void KeyboardFramePoll(InputState& s) {
    for (int k = 0; k < 256; ++k) {
        if (s.keyPressFrames[k] > 0 && --s.keyPressFrames[k] == 0) s.keyPressUnread[k] = 0;
    }
    KeyboardPoll(s);
}

bool KeyDown(InputState& s, int keyNumber) {
    int k = keyNumber & 0xFF;
    if (s.keyboardDevice) return Down(s.keyState[k]) || s.keyPressFrames[k] > 0;
    return Os().SystemVirtualKeyDown(s.keyToVirtualKey[k]);
}

bool KeyDownNow(InputState& s, int keyNumber) {
    int k = keyNumber & 0xFF;
    if (s.keyboardDevice) return Down(s.keyState[k]);
    return Os().SystemVirtualKeyDown(s.keyToVirtualKey[k]);
}

bool KeyDownFor(InputState& s, int keyNumber, KeyReader reader) {
    int k = keyNumber & 0xFF;
    if (!s.keyboardDevice) return Os().SystemVirtualKeyDown(s.keyToVirtualKey[k]);
    bool unread = (s.keyPressUnread[k] & reader) != 0;
    s.keyPressUnread[k] &= static_cast<uint8_t>(~reader);
    return Down(s.keyState[k]) || unread;
}

int KeyTranslate(InputState& s) {
    KeyboardPoll(s);
    StateKeys keys(s);
    return translator().Next(keys);
}
