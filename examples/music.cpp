// Music.
//
// Shows MusicPlay (one piece at a time, here looping), MusicVolumeSet for a fade-in over the
// first three seconds, MusicPlayingGet for the lamp, and MusicStop: Space stops the piece
// and starts it again. Music is anything FFmpeg opens (MP3, Ogg Vorbis, FLAC, Opus); it is
// decoded while it plays, so a long piece costs no loading time.
//
// Run: build/examples/example_music (ESC ends it). The piece is the show's media/music.mp3.
#include "corvane.h"

namespace {

constexpr double kFadeMs = 3000;
constexpr double kBarX = 120, kBarY = 260, kBarWidth = 400;

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    const RtString piece("media/music.mp3");
    MusicPlay(piece, 1);
    double startedAt = TimerGet();
    double spaceWas = 0;
    for (;;) {
        const double spaceDown = KeyGet(KEY_SPACE);
        if (spaceDown && !spaceWas) {
            if (MusicPlayingGet()) {
                MusicStop();
            } else {
                MusicPlay(piece, 1);
                startedAt = TimerGet();
            }
        }
        spaceWas = spaceDown;

        // Every MusicPlay starts at full volume: set the volume after it, every frame of the
        // fade.
        const double volume = MathMin(1, (TimerGet() - startedAt) / kFadeMs);
        MusicVolumeSet(volume);

        RectDraw(0, 0, 640, 480, 0x2A1A12);
        TextPrint(RtString("media/music.mp3"), 120, 120);
        const bool playing = MusicPlayingGet() != 0;
        RectDraw(120, 160, 24, 24, playing ? 0x30D050 : 0x2020A0);
        TextPrint(RtString(playing ? "playing (Space stops it)" : "stopped (Space plays it)"), 156,
                  168);
        TextPrint(RtString("volume"), kBarX, kBarY - 16);
        RectDraw(kBarX, kBarY, kBarWidth, 20, 0x403830);
        if (playing) RectDraw(kBarX, kBarY, kBarWidth * volume, 20, 0x30B0F0);
        FramePresent();
    }
}
