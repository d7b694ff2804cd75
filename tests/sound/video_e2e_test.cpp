// VideoPlay in a real window: the picture fitted and centred over the game's last frame
// (pixels read back), a file with sound only, a missing file, and the keys that may or may
// not end a video (xdotool).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "support/test_support.h"
#include "tests/sound/media_files.h"

namespace {

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d && media::HaveFfmpeg();
}

struct Probe {
    int result = -1;
    double elapsed = -1;
    int width = 0, height = 0;
    std::string screen;  // the window as the screen shows it: rgb24 rows from the top
    std::string output;
    std::array<int, 3> At(int x, int y) const {
        size_t i = (static_cast<size_t>(y) * width + x) * 3;
        if (i + 2 >= screen.size()) return {-1, -1, -1};
        return {static_cast<unsigned char>(screen[i]), static_cast<unsigned char>(screen[i + 1]),
                static_cast<unsigned char>(screen[i + 2])};
    }
};

// Runs the probe and, once the video is over, grabs its window from the X server (what the
// screen shows, whatever the GL driver keeps in its buffers).
Probe RunProbe(const std::string& file, int w, int h) {
    const std::string script = R"SH(
P="$1"; OUT="$2"; RAW="$3"; W="$4"; H="$5"
"$P" > "$OUT" 2>&1 & A=$!
for i in $(seq 1 600); do grep -q '^result' "$OUT" && break; sleep 0.05; done
WIN=$(xdotool search --all --pid $A --name Corvane | head -1)
eval $(xdotool getwindowgeometry --shell "$WIN")
ffmpeg -nostdin -v error -y -f x11grab -video_size ${W}x${H} -i "$DISPLAY+$X,$Y" \
    -frames:v 1 -f rawvideo -pix_fmt rgb24 "$RAW"
kill -9 $A; wait $A
)SH";
    const std::string out = testsupport::TempDir() + "/video_probe.out";
    const std::string raw = testsupport::TempDir() + "/video_probe.rgb";
    std::remove(raw.c_str());
    auto r = testsupport::RunProgram(
        "/bin/sh",
        {"-c", script, "sh", testsupport::ProgramPath("sound", "video_probe"), out, raw,
         std::to_string(w), std::to_string(h)},
        {"SDL_AUDIODRIVER=dummy", "VIDEO_FILE=" + file, "VIDEO_W=" + std::to_string(w),
         "VIDEO_H=" + std::to_string(h), "VIDEO_MODE=once"},
        "", 90000);
    Probe p;
    p.output = r.output + testsupport::ReadFile(out);
    p.width = w;
    p.height = h;
    p.screen = testsupport::ReadFile(raw);
    std::istringstream in(testsupport::ReadFile(out));
    std::string word;
    for (std::string line; std::getline(in, line);) {
        std::istringstream ls(line);
        ls >> word;
        if (word == "result") ls >> p.result >> word >> p.elapsed;
    }
    return p;
}

bool IsRed(const std::array<int, 3>& c) {
    return c[0] > 200 && c[1] < 60 && c[2] < 60;
}
bool IsBlack(const std::array<int, 3>& c) {
    return c[0] < 30 && c[1] < 30 && c[2] < 30;
}
bool IsBlue(const std::array<int, 3>& c) {
    return c[0] < 60 && c[1] < 60 && c[2] > 190;
}

TEST(VideoE2E, PictureFitsAndCentresOverTheLastFrameSoundOnlyPlaysAndMissingGives3) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display and the ffmpeg command");
    std::string blue = media::Make("blue.mkv",
                                   "-f lavfi -i color=c=blue:size=320x240:rate=25:duration=1 "
                                   "-c:v mpeg4 -q:v 2");
    std::string tone = media::Tone("voice.mka", 1.0, "flac");
    ASSERT_FALSE(blue.empty());
    ASSERT_FALSE(tone.empty());
    const struct {
        const char* what;
        std::string file;
        int w, h;
        int result;
        int left, right;  // the picture's columns; outside them the red frame shows
        bool takesItsLength;
    } cases[] = {
        {"fills 640x480", blue, 640, 480, 0, 0, 640, true},
        {"centred in 800x480", blue, 800, 480, 0, 80, 720, true},
        {"sound only", tone, 640, 480, 0, 0, 0, true},
        {"missing", testsupport::TempDir() + "/none.mkv", 640, 480, 3, 0, 0, false},
    };
    for (const auto& c : cases) {
        Probe p = RunProbe(c.file, c.w, c.h);
        ASSERT_EQ(p.result, c.result) << c.what << "\n" << p.output;
        if (c.takesItsLength) {
            EXPECT_GE(p.elapsed, 900) << c.what;
        } else {
            EXPECT_LT(p.elapsed, 900) << c.what;
        }
        ASSERT_EQ(p.screen.size(), static_cast<size_t>(c.w) * c.h * 3) << c.what;
        const int y = c.h / 2;
        for (int x : {0, 78, 79, 80, 81, c.w / 2, c.w - 82, c.w - 81, c.w - 80, c.w - 1}) {
            auto colour = p.At(x, y);
            bool inside = x >= c.left && x < c.right;
            // Around the picture: the game's last frame where the driver lets it be read
            // back, else black; never the picture itself.
            bool ok = inside
                          ? IsBlue(colour)
                          : (c.right > c.left ? IsRed(colour) || IsBlack(colour) : IsRed(colour));
            EXPECT_TRUE(ok) << c.what << ": x " << x << " is " << colour[0] << "," << colour[1]
                            << "," << colour[2];
        }
        // The picture covers the whole height.
        if (c.right > c.left) {
            for (int row : {0, 1, c.h - 2, c.h - 1}) {
                auto colour = p.At(c.w / 2, row);
                EXPECT_TRUE(IsBlue(colour)) << c.what << ": row " << row << " is " << colour[0]
                                            << "," << colour[1] << "," << colour[2];
            }
        }
    }
}

TEST(VideoE2E, AKeyHeldAtTheStartDoesNotEndALoopingVideoANewPressDoes) {
    SKIP_WHEN_MISSING(!HaveDisplay() || std::system("command -v xdotool >/dev/null 2>&1") != 0,
                      "needs a display, ffmpeg and xdotool");
    std::string clip = media::Make("testsrc.mkv",
                                   "-f lavfi -i testsrc=size=320x240:rate=25:duration=0.5 "
                                   "-c:v mpeg4");
    ASSERT_FALSE(clip.empty());
    const std::string script = R"SH(
P="$1"; OUT="$2"
"$P" > "$OUT" 2>&1 & A=$!
for i in $(seq 1 600); do grep -q '^ready' "$OUT" && break; sleep 0.05; done
W=""; for i in $(seq 1 600); do W=$(xdotool search --all --pid $A --name Corvane | head -1); [ -n "$W" ] && break; sleep 0.05; done
xdotool windowfocus --sync "$W"; sleep 0.3
xdotool keydown a
for i in $(seq 1 600); do grep -q '^video-start' "$OUT" && break; sleep 0.05; done
sleep 1.5
grep -q '^video-end' "$OUT" || echo "held-key-kept-it-playing"
xdotool keyup a; sleep 0.5
grep -q '^video-end' "$OUT" || echo "release-kept-it-playing"
xdotool key b
for i in $(seq 1 600); do grep -q '^video-end' "$OUT" && break; sleep 0.05; done
for i in $(seq 1 200); do kill -0 $A 2>/dev/null || break; sleep 0.05; done
kill -0 $A 2>/dev/null && { echo "still-running"; kill -9 $A; }
wait $A; echo "exit=$?"
)SH";
    const std::string out = testsupport::TempDir() + "/video_hold.out";
    auto r = testsupport::RunProgram(
        "/bin/sh", {"-c", script, "sh", testsupport::ProgramPath("sound", "video_probe"), out},
        {"SDL_AUDIODRIVER=dummy", "VIDEO_FILE=" + clip, "VIDEO_MODE=hold"}, "", 120000);
    ASSERT_FALSE(r.timedOut) << r.output;
    const std::string probe = testsupport::ReadFile(out);
    EXPECT_NE(probe.find("video-start"), std::string::npos) << probe;
    EXPECT_NE(r.output.find("held-key-kept-it-playing"), std::string::npos) << r.output << probe;
    EXPECT_NE(r.output.find("release-kept-it-playing"), std::string::npos) << r.output << probe;
    EXPECT_NE(probe.find("video-end 0"), std::string::npos) << r.output << probe;
    EXPECT_NE(r.output.find("exit=0"), std::string::npos) << r.output;
}

}  // namespace
