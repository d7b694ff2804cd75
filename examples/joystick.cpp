// Joystick.
//
// Shows how to find a joystick (JoystickCountGet, JoystickNameGet) and read it each frame:
// the stick's axes fly a ship, the hat nudges it, and buttons 0..7 light up while held.
// The gauge on the right shows where the stick stands.
//
// Run: build/examples/example_joystick (ESC ends it). Without a joystick at hand, SDL's
// virtual one stands in:
//   CORVANE_VIRTUAL_JOYSTICK="axes=0.7,-0.4;buttons=0,2" build/examples/example_joystick
#include "corvane.h"

namespace {

constexpr double kSpeed = 4;  // pixels per frame at full tilt
constexpr double kGaugeX = 540, kGaugeY = 120, kGaugeRadius = 60;

void Ship(double x, double y, double colour) {
    // An untextured polygon, filled as a fan from its first point. The points must go
    // round counter-clockwise as seen on the screen: the other way round is its back,
    // and backs are not drawn.
    PolyStart(-1);
    PolyPoint(x, y - 18, 0, 0, colour);
    PolyPoint(x - 14, y + 14, 0, 0, colour);
    PolyPoint(x, y + 6, 0, 0, colour);
    PolyPoint(x + 14, y + 14, 0, 0, colour);
    PolyEnd();
}

void Gauge(double stickX, double stickY) {
    for (double a = 0; a < 360; a += 3)
        PixelSet(kGaugeX + kGaugeRadius * MathCos(a), kGaugeY + kGaugeRadius * MathSin(a),
                 0x808080);
    LineDraw(kGaugeX - kGaugeRadius, kGaugeY, kGaugeX + kGaugeRadius, kGaugeY, 0x505050);
    LineDraw(kGaugeX, kGaugeY - kGaugeRadius, kGaugeX, kGaugeY + kGaugeRadius, 0x505050);
    RectDraw(kGaugeX + stickX * kGaugeRadius - 4, kGaugeY + stickY * kGaugeRadius - 4, 9, 9,
             0x40F0F0);
}

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    double x = 320, y = 300;
    for (;;) {
        RectDraw(0, 0, 640, 480, 0x281410);
        // Joysticks are counted once at start-up; number 0 is the first one.
        if (JoystickCountGet() < 1) {
            TextPrint(RtString("No joystick found: plug one in and start again."), 120, 230);
            FramePresent();
            continue;
        }
        TextPrint(JoystickNameGet(0), 20, 20);

        // Axes run from -1 to 1; a worn stick rarely rests at exactly 0, so ignore a little.
        double stickX = JoystickXGet(0), stickY = JoystickYGet(0);
        if (MathAbs(stickX) < 0.1) stickX = 0;
        if (MathAbs(stickY) < 0.1) stickY = 0;
        x = MathMin(600, MathMax(40, x + kSpeed * (stickX + JoystickPovXGet(0))));
        y = MathMin(440, MathMax(60, y + kSpeed * (stickY + JoystickPovYGet(0))));
        Ship(x, y, 0xF0C040);
        Gauge(stickX, stickY);

        // A button reads 128 while it is held.
        TextPrint(RtString("buttons"), 20, 440);
        for (double b = 0; b < 8; ++b) {
            const bool held = JoystickButtonGet(0, b) != 0;
            RectDraw(90 + b * 24, 436, 16, 16, held ? 0x20E040 : 0x404040);
        }
        FramePresent();
    }
}
