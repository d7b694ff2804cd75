// An INI file as a save game.
//
// Shows IniOpen, IniGet and IniPut: the program counts how often it has been started and
// keeps a colour the player picked, in savegame.ini beside the program. Each start adds a
// lamp to the row; C picks the next colour. The file is written back when the program ends
// (here by itself after five seconds, or on ESC), so nothing is lost between runs.
//
// Run: build/examples/example_save_game, several times. savegame.ini then reads
//   [player]
//   runs=3
//   colour=0
#include "corvane.h"

namespace {

constexpr double kColours[4] = {0x30C0F0, 0x40E060, 0xF07050, 0xE0E040};
constexpr double kMaxLamps = 16;

// IniGet gives text ("NO_DATA" for a missing key); this turns its leading digits into a
// number, 0 when there are none.
double WholeNumber(const RtString& text) {
    double value = 0;
    for (double i = 0; i < StringLength(text); ++i) {
        const double code = StringCode(StringMid(text, i, 1));
        if (code < '0' || code > '9') break;
        value = value * 10 + (code - '0');
    }
    return value;
}

RtString Text(double value) {
    return NumberFormat(0, 0, value);
}

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    // Relative paths count from the program's own folder: start-up changes into it.
    IniOpen(RtString("savegame.ini"));
    const double runs = WholeNumber(IniGet(RtString("player"), RtString("runs"))) + 1;
    double colour = MathMod(WholeNumber(IniGet(RtString("player"), RtString("colour"))), 4);
    IniPut(RtString("player"), RtString("runs"), Text(runs));
    IniPut(RtString("player"), RtString("colour"), Text(colour));

    double cWas = 0;
    const double start = TimerGet();
    while (TimerGet() - start < 5000) {
        const double cDown = KeyGet(KEY_C);
        if (cDown && !cWas) {
            colour = MathMod(colour + 1, 4);
            IniPut(RtString("player"), RtString("colour"), Text(colour));
        }
        cWas = cDown;

        RectDraw(0, 0, 640, 480, 0x2A1810);
        TextPrint(RtString(runs == 1 ? "First start: welcome!" : "Welcome back. Start number"), 40,
                  60);
        if (runs > 1) NumberPrint(runs, 256, 60);
        TextPrint(RtString("One lamp for every start (savegame.ini keeps the count):"), 40, 120);
        for (double i = 0; i < kMaxLamps; ++i) {
            const double lit = i < runs ? kColours[static_cast<int>(colour)] : 0x403028;
            RectDraw(40 + i * 36, 150, 28, 28, lit);
        }
        TextPrint(RtString("C: next colour. The program ends by itself in five seconds."), 40, 220);
        FramePresent();
    }
    // The end path writes the INI data back to savegame.ini.
    ProgramEnd();
}
