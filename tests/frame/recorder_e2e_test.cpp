// The fixed-step clock and the frame recorder, driven through the environment.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "frame/frame_set.h"
#include "frame/window_size_setting.h"
#include "gfx/png_io.h"
#include "support/test_support.h"

namespace {
bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
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
    if (!HaveDisplay()) GTEST_SKIP() << "needs a display";
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
