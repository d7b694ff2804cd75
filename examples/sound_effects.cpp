// Sound effects.
//
// Shows SoundLoad (a WAV file into a sound slot, with room for three plays of it at once),
// SoundPlay with pan and volume, and SoundPlayingGet on the channel a play answers. Three
// speakers take turns: every 45 frames the chime sounds from the left, the middle or the
// right, and a speaker glows while its play is sounding. Keys 1, 2 and 3 play one at once.
//
// Run: build/examples/example_sound_effects (ESC ends it). media/chime.wav comes from
// scripts/make_example_sounds.py. Without an audio device every sound command is silent:
// SoundPlay answers -1 and nothing glows.
#include "corvane.h"

namespace {

constexpr double kChime = 0;
constexpr double kSpeakerX[3] = {120, 320, 520}, kSpeakerY = 240;
constexpr double kPan[3] = {-1, 0, 1}, kVolume[3] = {0.6, 1, 0.6};
const char* const kLabel[3] = {"pan -1 (left)", "pan 0", "pan 1 (right)"};

void Speaker(double x, bool sounding) {
    RectDraw(x - 40, kSpeakerY - 60, 80, 120, 0x383028);
    // The cone: a lit rim round a darker inside, and the dust cap in the middle.
    RectDraw(x - 30, kSpeakerY - 30, 60, 60, sounding ? 0x30C8FF : 0x605850);
    RectDraw(x - 16, kSpeakerY - 16, 32, 32, sounding ? 0x2090C0 : 0x484038);
    RectDraw(x - 6, kSpeakerY - 6, 12, 12, 0x201810);
}

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    // Three buffers: a slot can sound that many times at once before a play cuts another.
    const double loaded = SoundLoad(RtString("media/chime.wav"), kChime, 3);
    double channel[3] = {-1, -1, -1};
    double wasDown[3] = {0, 0, 0};
    for (double frame = 0;; ++frame) {
        // A play answers its channel; ask that channel later whether it still sounds.
        if (MathFmod(frame, 45) == 0) {
            const int turn = static_cast<int>(MathFmod(frame / 45, 3));
            channel[turn] = SoundPlay(kChime, kPan[turn], kVolume[turn]);
        }
        for (int k = 0; k < 3; ++k) {
            const double down = KeyGet(KEY_1 + k);
            if (down && !wasDown[k]) channel[k] = SoundPlay(kChime, kPan[k], kVolume[k]);
            wasDown[k] = down;
        }

        RectDraw(0, 0, 640, 480, 0x201410);
        TextPrint(RtString(loaded ? "chime.wav loaded into slot 0" : "chime.wav did not load"), 20,
                  20);
        double cellWidth = 0, cellHeight = 0;
        FontSizeGet(cellWidth, cellHeight);
        for (int k = 0; k < 3; ++k) {
            Speaker(kSpeakerX[k], channel[k] >= 0 && SoundPlayingGet(channel[k]) != 0);
            const RtString label(kLabel[k]);
            TextPrint(label, kSpeakerX[k] - StringLength(label) * cellWidth / 2, 340);
            TextPrint(RtString("channel"), kSpeakerX[k] - 40, 380);
            NumberPrint(channel[k], kSpeakerX[k] + 16, 380);
        }
        TextPrint(RtString("Keys 1, 2, 3 play a speaker now."), 200, 440);
        FramePresent();
    }
}
