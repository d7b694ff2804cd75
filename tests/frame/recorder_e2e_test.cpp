// The fixed-step clock and the frame recorder, driven through the environment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frame/frame_set.h"
#include "frame/window_size_setting.h"
#include "gfx/png_io.h"
#include "support/test_support.h"
#include "tests/sound/wav_builder.h"

namespace {
bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

std::string Shell(const std::string& script, const std::string& file) {
    return testsupport::RunProgram("/bin/sh", {"-c", script, "sh", file}).output;
}

// Root mean square of mono samples in [from, to) seconds.
double Rms(const std::vector<int16_t>& pcm, int rate, double from, double to) {
    const size_t a = size_t(from * rate), b = std::min(pcm.size(), size_t(to * rate));
    double sum = 0;
    for (size_t i = a; i < b; ++i) sum += double(pcm[i]) * pcm[i];
    return b > a ? std::sqrt(sum / double(b - a)) : -1;
}
}  // namespace

TEST(WindowSizeParse, SidesFromWxHOthersRefused) {
    struct Case {
        const char* text;
        bool ok;
        int w, h;
    } cases[] = {{"800x600", true, 800, 600}, {"1X1", true, 1, 1},
                 {"800", false, 0, 0},        {"800x", false, 0, 0},
                 {"x600", false, 0, 0},       {"0x600", false, 0, 0},
                 {"800x-1", false, 0, 0},     {"800x600 ", false, 0, 0},
                 {"99999x2", false, 0, 0},    {"", false, 0, 0}};
    for (const Case& c : cases) {
        int w = 7, h = 9;
        EXPECT_EQ(WindowSizeParse(c.text, w, h), c.ok) << c.text;
        EXPECT_EQ(w, c.ok ? c.w : 7) << c.text;
        EXPECT_EQ(h, c.ok ? c.h : 9) << c.text;
    }
}

TEST(FrameSetParse, NumbersRangesAndTypos) {
    const FrameSet s = FrameSetParse("3, 10-12,x,9-8,0,-4,20-");
    ASSERT_EQ(s.ranges.size(), 2u);
    for (long f : {3L, 10L, 11L, 12L}) EXPECT_TRUE(s.Contains(f)) << f;
    for (long f : {0L, 2L, 4L, 9L, 13L, 20L}) EXPECT_FALSE(s.Contains(f)) << f;
    EXPECT_TRUE(FrameSetParse("").Empty());
}

TEST(RecorderE2E, FixedStepRepeatsExactlyAndSavesTheChosenFrames) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const std::string program = testsupport::ProgramPath("frame", "fixed_step");
    std::string outputs[2];
    for (int run = 0; run < 2; ++run) {
        const std::string dir = testsupport::MakeSubDir("rec" + std::to_string(run));
        auto r = testsupport::RunProgram(
            program, {},
            {"CORVANE_FIXED_STEP=1", "CORVANE_SHOTS=3,10-11", "CORVANE_SHOT_DIR=" + dir,
             "CORVANE_VIDEO=" + dir + "/all.mp4"},
            "", 60000);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        outputs[run] = r.output;
        // Every frame lasts one 60 Hz duration exactly.
        std::istringstream lines(r.output);
        std::string word;
        double previous = NAN;
        int frames = 0;
        while (lines >> word) {
            if (word != "t") continue;
            int n;
            double t;
            lines >> n >> t;
            if (!std::isnan(previous)) {
                EXPECT_NEAR(t - previous, 1000.0 / 60.0, 1e-5) << n;
            }
            previous = t;
            ++frames;
        }
        EXPECT_EQ(frames, 40);
        // Frame n was drawn in red 2n; the shot of frame n holds that picture.
        for (int n : {3, 10, 11}) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%06d.png", n);
            const std::string png = testsupport::ReadFile(dir + name);
            DecodedImage img;
            ASSERT_TRUE(PngDecode(reinterpret_cast<const uint8_t*>(png.data()), png.size(), name,
                                  -1, 4096, img))
                << name;
            EXPECT_EQ(img.width, 640);
            EXPECT_EQ(img.height, 480);
            EXPECT_EQ(img.pixels[0], 2 * n) << name;
            EXPECT_EQ(img.pixels[1], 0) << name;
        }
        EXPECT_TRUE(testsupport::ReadFile(dir + "/frame_000004.png").empty());
        // The video holds every frame.
        auto probe = testsupport::RunProgram(
            "/bin/sh", {"-c",
                        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                        "stream=nb_read_frames -of csv=p=0 \"$1\"",
                        "sh", dir + "/all.mp4"});
        EXPECT_EQ(probe.output, "40\n");
    }
    EXPECT_EQ(outputs[0], outputs[1]) << "the same times and the same seed on every run";
}

// The sound track follows the frame clock: the tone played as frame 31 is drawn sounds from
// 0.5 s of the video for its half second, however much faster than real time the run went.
TEST(RecorderE2E, TheVideosSoundIsTheMixInStepWithTheFrames) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    constexpr int kRate = 22050;
    const std::string dir = testsupport::MakeSubDir("recsound");
    std::vector<int16_t> tone(kRate / 2);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = int16_t(std::lrint(16000 * std::sin(2 * M_PI * 441.0 * double(i) / kRate)));
    ASSERT_TRUE(testsupport::WriteFile(dir + "/tone.wav", wavtest::Wav16(tone, 1, kRate)));
    auto r = testsupport::RunProgram(
        testsupport::ProgramPath("frame", "tone_record"), {dir + "/tone.wav"},
        {"CORVANE_FIXED_STEP=1", "SDL_AUDIODRIVER=dummy", "CORVANE_VIDEO=" + dir + "/tone.mp4"},
        dir, 60000);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // One track of each kind, as long as each other: 90 frames at 60 Hz.
    std::istringstream streams(
        Shell("ffprobe -v error -show_entries stream=codec_type,duration "
              "-of csv=p=0 \"$1\"",
              dir + "/tone.mp4"));
    std::map<std::string, double> length;
    for (std::string line; std::getline(streams, line);) {
        const size_t comma = line.find(',');
        if (comma != std::string::npos)
            length[line.substr(0, comma)] = std::atof(line.c_str() + comma + 1);
    }
    ASSERT_EQ(length.count("audio"), 1u) << r.output;
    EXPECT_NEAR(length["video"], 1.5, 0.02);
    EXPECT_NEAR(length["audio"], length["video"], 0.03);
    // Decoded (the encoder's start-up delay left out), mono at the mixer's rate.
    EXPECT_EQ(
        Shell("ffmpeg -v error -i \"$1\" -map 0:a:0 -ac 1 -f s16le \"$1.raw\"", dir + "/tone.mp4"),
        "");
    const std::string bytes = testsupport::ReadFile(dir + "/tone.mp4.raw");
    std::vector<int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    EXPECT_NEAR(double(pcm.size()) / kRate, 1.5, 0.05);  // the last AAC frame is padded
    EXPECT_LT(Rms(pcm, kRate, 0.05, 0.45), 300) << "silence before the play";
    EXPECT_NEAR(Rms(pcm, kRate, 0.55, 0.95), 16000 / std::sqrt(2.0), 1500) << "the tone";
    EXPECT_LT(Rms(pcm, kRate, 1.05, 1.45), 300) << "silence once it has ended";
    // It starts within a few milliseconds of frame 31's time and lasts its half second: the
    // device's own pulls took none of it.
    size_t onset = 0, end = pcm.size();
    while (onset < pcm.size() && std::abs(pcm[onset]) < 8000) ++onset;
    while (end > 0 && std::abs(pcm[end - 1]) < 8000) --end;
    EXPECT_NEAR(double(onset) / kRate, 0.5, 0.01);
    EXPECT_NEAR(double(end) / kRate, 1.0, 0.01);
}

TEST(RecorderE2E, WithoutAnAudioOutputTheVideoHasNoSoundAndSaysSo) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const std::string dir = testsupport::MakeSubDir("recnosound");
    auto r = testsupport::RunProgram(testsupport::ProgramPath("frame", "fixed_step"), {},
                                     {"CORVANE_FIXED_STEP=1", "SDL_AUDIODRIVER=no-such-driver",
                                      "CORVANE_VIDEO=" + dir + "/silent.mp4"},
                                     dir, 60000);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("warning: CORVANE_VIDEO: no audio output opened: the video has no "
                            "sound\n"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(Shell("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 \"$1\"",
                    dir + "/silent.mp4"),
              "video\n");
}
