// A whole program plays a piece through start-up's audio output: the disk driver's file must
// hold the tone at full volume for the piece's length; without a device, or without FFmpeg's
// libraries, the piece reports as not playing at once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "support/test_support.h"
#include "tests/sound/media_files.h"

namespace {

struct Outcome {
    double playing = -1, ended = -1, elapsed = -1;
    testsupport::RunResult run;
};

Outcome PlayWith(const std::string& piece, const std::vector<std::string>& env) {
    Outcome o;
    o.run = testsupport::RunProgram(testsupport::ProgramPath("sound", "music_play"), {piece}, env,
                                    "", 60000);
    size_t at = o.run.output.find("playing=");
    if (at != std::string::npos)
        std::sscanf(o.run.output.c_str() + at, "playing=%lf ended=%lf elapsed=%lf", &o.playing,
                    &o.ended, &o.elapsed);
    return o;
}

bool Ready() {
    const char* d = std::getenv("DISPLAY");
    return d && *d && media::HaveFfmpeg();
}

}  // namespace

TEST(MusicProgram, TheDiskDriverReceivesTheToneForThePiecesLength) {
    SKIP_WHEN_MISSING(!Ready(), "needs a display and the ffmpeg command");
    const std::string piece =
        media::Make("tone440.ogg",
                    "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=0.5 -c:a libvorbis");
    ASSERT_FALSE(piece.empty());
    const std::string raw = testsupport::MakeSubDir("musicdisk") + "/out.raw";
    Outcome o = PlayWith(piece, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + raw});
    ASSERT_EQ(o.run.exitCode, 0) << o.run.output;
    EXPECT_EQ(o.playing, 1) << o.run.output;
    EXPECT_EQ(o.ended, 1) << o.run.output;
    EXPECT_GE(o.elapsed, 450) << o.run.output;

    // 22,050 Hz stereo 16-bit: the tone's span, its pitch (zero crossings) and its level.
    const std::string bytes = testsupport::ReadFile(raw);
    const auto* s = reinterpret_cast<const int16_t*>(bytes.data());
    const size_t frames = bytes.size() / 4;
    size_t first = frames, last = 0, crossings = 0;
    int peak = 0;
    for (size_t i = 0; i < frames; ++i) {
        int v = s[2 * i];
        if (std::abs(v) > 200) {
            first = std::min(first, i);
            last = i;
        }
        peak = std::max(peak, std::abs(v));
        if (i > 0 && (s[2 * (i - 1)] < 0) != (v < 0) && first < frames) ++crossings;
        EXPECT_EQ(s[2 * i], s[2 * i + 1]) << "a mono piece sounds the same on both sides";
        if (s[2 * i] != s[2 * i + 1]) break;
    }
    ASSERT_LT(first, last) << "nothing but silence reached the output";
    EXPECT_NEAR(static_cast<double>(last - first), 11025.0, 400.0);
    EXPECT_NEAR(static_cast<double>(crossings), 440.0, 25.0);
    // The tone is made at 1/8 of full scale; full volume passes it unchanged.
    EXPECT_NEAR(peak, 4096, 400);
}

TEST(MusicProgram, WithoutADeviceThePieceReportsNotPlayingAndTheProgramGoesOn) {
    SKIP_WHEN_MISSING(!Ready(), "needs a display and the ffmpeg command");
    const std::string piece = media::Tone("silent.mp3", 2.0, "libmp3lame");
    ASSERT_FALSE(piece.empty());
    Outcome o = PlayWith(piece, {"SDL_AUDIODRIVER=no-such-driver"});
    EXPECT_EQ(o.run.exitCode, 0) << o.run.output;
    EXPECT_EQ(o.playing, 0) << o.run.output;
    EXPECT_LT(o.elapsed, 1000) << o.run.output;
}

TEST(MusicProgram, WithoutFfmpegThePieceReportsNotPlayingAndTheProgramSaysWhy) {
    SKIP_WHEN_MISSING(!Ready(), "needs a display and the ffmpeg command");
    const std::string piece = media::Tone("hidden.wav", 0.2);
    ASSERT_FALSE(piece.empty());
    // An empty file where the loader looks first for FFmpeg's base library: opening it fails.
    const std::string libs = testsupport::MakeSubDir("noffmpeg");
    ASSERT_TRUE(testsupport::WriteFile(libs + "/" CORVANE_TEST_AVUTIL_SONAME, ""));
    Outcome o = PlayWith(piece, {"SDL_AUDIODRIVER=dummy", "LD_LIBRARY_PATH=" + libs});
    EXPECT_EQ(o.run.exitCode, 0) << o.run.output;
    EXPECT_EQ(o.playing, 0) << o.run.output;
    EXPECT_NE(o.run.output.find(CORVANE_TEST_AVUTIL_SONAME), std::string::npos) << o.run.output;
}

TEST(MusicProgram, ALoopingPieceRestartsWhileTheProgramSitsInKeyWait) {
    SKIP_WHEN_MISSING(!Ready() || std::system("command -v xdotool >/dev/null 2>&1") != 0,
                      "needs a display, ffmpeg and xdotool");
    const std::string piece = media::Tone("burst.wav", 0.2);
    ASSERT_FALSE(piece.empty());
    const std::string dir = testsupport::MakeSubDir("musicwait");
    const std::string raw = dir + "/out.raw", out = dir + "/probe.out";
    const std::string script = R"SH(
P="$1"; PIECE="$2"; OUT="$3"
"$P" "$PIECE" > "$OUT" 2>&1 & A=$!
late() { [ "$(date +%s)" -gt "$1" ]; }
end=$(( $(date +%s) + 60 ))
until grep -q '^ready' "$OUT"; do late $end && break; sleep 0.05; done
W=""; until [ -n "$W" ]; do W=$(xdotool search --all --pid $A --name Corvane | head -1); late $end && break; sleep 0.05; done
sleep 1.8  # the piece loops a few times inside the wait before the key ends it
# A key can be lost while the window is still taking the focus: press again until it ends.
end=$(( $(date +%s) + 60 ))
while kill -0 $A 2>/dev/null && ! late $end; do
  xdotool windowfocus "$W" 2>/dev/null; xdotool key b
  for i in $(seq 1 40); do kill -0 $A 2>/dev/null || break; sleep 0.05; done
done
kill -0 $A 2>/dev/null && { echo "still-running"; kill -9 $A; }
wait $A; echo "exit=$?"
)SH";
    auto r = testsupport::RunProgram(
        "/bin/sh",
        {"-c", script, "sh", testsupport::ProgramPath("sound", "music_play"), piece, out},
        {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + raw, "MUSIC_WAIT=1"}, "", 120000);
    ASSERT_FALSE(r.timedOut) << r.output;
    const std::string probe = testsupport::ReadFile(out);
    EXPECT_NE(r.output.find("exit=0"), std::string::npos) << r.output << probe;
    EXPECT_NE(probe.find("waited playing=1"), std::string::npos) << probe;
    // Bursts of tone (200 ms) separated by the silence up to each 500 ms restart.
    const std::string bytes = testsupport::ReadFile(raw);
    const auto* s = reinterpret_cast<const int16_t*>(bytes.data());
    const size_t frames = bytes.size() / 4;
    int bursts = 0;
    size_t quiet = 22050;  // frames since the last loud one
    for (size_t i = 0; i < frames; ++i) {
        if (std::abs(s[2 * i]) > 200) {
            if (quiet > 2205) ++bursts;  // more than 100 ms of silence before it
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    EXPECT_GE(bursts, 3) << "the piece did not restart during the wait";
}
