// The keyboard and mouse commands.
#include "core/int_convert.h"
#include "corvane.h"
#include "input/input.h"

double KeyGet(double key) {
    InputState& s = Input();
    KeyboardPoll(s);
    return KeyDownFor(s, ToInt(key) & 0xFF, kKeyReaderKeyGet) ? 1.0 : 0.0;
}

RtString KeyCharGet() {
    int c = KeyTranslate(Input());
    if (c == 0) return RtString();
    char text[2] = {static_cast<char>(c), '\0'};
    return RtString(text);
}

void KeyWait() {
    KeyWaitCharacter(Input());
}

void MouseStateGet(double& x, double& y, double& button1, double& button2) {
    InputState& s = Input();
    MouseReading m;
    MouseReadClamped(s, m);
    x = s.mouseX;
    y = s.mouseY;
    button1 = m.button1 ? 1.0 : 0.0;
    button2 = m.button2 ? 1.0 : 0.0;
}

double MouseAxisGet(double index) {
    MouseReading m;
    MouseRead(Input(), m);
    switch (ToInt(index)) {
        case 0:
            return m.dx;
        case 1:
            return m.dy;
        case 2:
            return m.wheel;
        case 3:
            return m.button1 ? 1.0 : 0.0;
        case 4:
            return m.button2 ? 1.0 : 0.0;
        case 5:
            return m.button3 ? 1.0 : 0.0;
        default:
            return 0.0;
    }
}

void MouseSet(double x, double y) {
    InputState& s = Input();
    s.mouseX = ToInt(x);
    s.mouseY = ToInt(y);
}

// A NaN flag is non-zero, so it shows the pointer.
void PointerShow(double flag) {
    PointerShowSet(Input(), flag != 0.0);
}

void MouseWait() {
    MouseWaitClick(Input());
}
