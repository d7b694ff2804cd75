// Start-up, the log, focus pauses and close requests, run as real programs under X.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "support/test_support.h"

using testsupport::ProgramPath;
using testsupport::ReadFile;
using testsupport::RunProgram;
using testsupport::TempDir;

namespace {

const std::vector<std::string> kEnv = {"SDL_AUDIODRIVER=dummy"};

std::map<std::string, std::string> KeyValues(const std::string& out) {
    std::map<std::string, std::string> kv;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq != std::string::npos) kv[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return kv;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        v.push_back(line);
    }
    return v;
}

class WindowE2E : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WHEN_MISSING(!std::getenv("DISPLAY"), "needs an X display (xvfb-run)");
    }
};

TEST_F(WindowE2E, StartUpLogTimerFrameTimeAndFolder) {
    const std::string log = TempDir() + "/ErrorLog.txt";
    ASSERT_TRUE(testsupport::WriteFile(log, "left from an earlier run\r\n"));
    const std::string cwd = testsupport::MakeSubDir("elsewhere");
    auto r =
        RunProgram(ProgramPath("frame", "startup_probe"), {"-x", "two words"}, kEnv, cwd, 60000);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    auto kv = KeyValues(r.output);

    EXPECT_LT(std::stod(kv["timer"]), 50.0) << "TimerGet counts from the end of start-up";
    EXPECT_EQ(std::stod(kv["frametime0"]), 1.0);
    // The frame time is the time between the last two frame starts (how long that is
    // depends on the machine's load: the pacing rule itself is checked with a fake clock in
    // PaceToSlot.FramesWithLittleWorkAreOneFrameDurationApart, the figure in bench/).
    double ft = std::stod(kv["frametime2"]);
    const double gap = std::stod(kv["framegap"]);
    EXPECT_GT(gap, 0.0);
    EXPECT_NEAR(ft, gap, 0.001);
    EXPECT_EQ(kv["size"], "640x480");
    EXPECT_EQ(kv["title"], "Corvane prog_1");
    EXPECT_EQ(kv["visible"], "1");
    EXPECT_EQ(kv["cwd"], CORVANE_TEST_BIN_DIR "/programs/");
    EXPECT_EQ(kv["cmd"], "[-x \"two words\"]");
    // Start-up's progress lines belong to the debug output, not to the game's stdout.
    EXPECT_EQ(r.output.find("FBO"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("GFX seem OK"), std::string::npos) << r.output;

    std::string text = ReadFile(log);
    EXPECT_EQ(text.find("earlier run"), std::string::npos);
    auto lines = Lines(text);
    const std::vector<std::string> init = {"Init GFX",     "Init Input",  "Init Sound",
                                           "Init Network", "Init Window", "Init Finalized"};
    size_t at = 0, extLines = 0, gfxIndex = 0, inputIndex = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (at < init.size() && lines[i] == init[at]) {
            if (at == 0) gfxIndex = i;
            if (at == 1) inputIndex = i;
            ++at;
        } else if (lines[i].rfind("ext: ", 0) == 0) {
            EXPECT_EQ(at, 1u) << "entry points are loaded between Init GFX and Init Input";
            EXPECT_EQ(lines[i].size(), 5u + 35u + 3u + 6u) << lines[i];
            ++extLines;
        }
    }
    EXPECT_EQ(at, init.size()) << text;
    EXPECT_EQ(lines.front(), "Init GFX");
    EXPECT_EQ(lines.back(), "Init Finalized");
    // 10 multitexture, 15 shader, 10 framebuffer entry points on this Mesa.
    EXPECT_EQ(extLines, 35u) << text;
    EXPECT_GT(inputIndex, gfxIndex + 35);
    EXPECT_NE(text.find("ext: glActiveTextureARB                    [  OK]"), std::string::npos);
}

TEST_F(WindowE2E, HiddenStartStillRuns) {
    auto r = RunProgram(ProgramPath("frame", "hidden_start"), {}, kEnv, "", 60000);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    auto kv = KeyValues(r.output);
    EXPECT_EQ(kv["visible"], "0");
    EXPECT_EQ(kv["frames"], "30");
}

// Two copies of a frame counter: A pauses on focus loss, B has auto-pause off. Focus moves
// with xdotool; the close requests come from the helper, as a window manager sends them.
TEST_F(WindowE2E, FocusPausesAndCloseRequestEndsWithZero) {
    const std::string t = testsupport::MakeSubDir("focus");
    const std::string script = R"SH(
set -u
P="$1"; CLOSE="$2"; T="$3"
count() { grep '^frames' "$1" | tail -1 | cut -d' ' -f2; }
waitframes() { for i in $(seq 1 600); do c=$(count "$1"); [ -n "$c" ] && [ "$c" -ge "$2" ] && return 0; sleep 0.05; done; return 1; }
win() { for i in $(seq 1 600); do w=$(xdotool search --all --pid "$1" --name Corvane 2>/dev/null | head -1); [ -n "$w" ] && echo "$w" && return 0; sleep 0.05; done; return 1; }
"$P" > "$T/a.out" 2>&1 & A=$!
WA=$(win $A) || { echo "no window A"; exit 1; }
waitframes "$T/a.out" 10 || { echo "A not running"; cat "$T/a.out"; exit 1; }
xdotool windowfocus --sync "$WA"; sleep 0.3
echo "t1=$(xdotool getwindowname "$WA")"
"$P" noautopause > "$T/b.out" 2>&1 & B=$!
WB=$(win $B) || { echo "no window B"; exit 1; }
waitframes "$T/b.out" 10 || { echo "B not running"; exit 1; }
xdotool windowfocus --sync "$WB"; sleep 0.5
echo "t2=$(xdotool getwindowname "$WA")"
c1=$(count "$T/a.out"); sleep 0.6; c2=$(count "$T/a.out")
echo "held=$c1,$c2"
xdotool windowfocus --sync "$WA"; sleep 0.5
echo "t3=$(xdotool getwindowname "$WA")"
echo "bt=$(xdotool getwindowname "$WB")"
b1=$(count "$T/b.out"); c3=$(count "$T/a.out"); sleep 0.3; c4=$(count "$T/a.out"); b2=$(count "$T/b.out")
echo "resumed=$c3,$c4"
echo "bran=$b1,$b2"
xdotool windowfocus --sync "$WB"; sleep 0.3
echo "t4=$(xdotool getwindowname "$WA")"
"$CLOSE" "$WA"; wait $A; echo "aexit=$?"
"$CLOSE" "$WB"; wait $B; echo "bexit=$?"
)SH";
    auto r = RunProgram("/bin/sh",
                        {"-c", script, "sh", ProgramPath("frame", "frame_counter"),
                         ProgramPath("frame", "close_request"), t},
                        kEnv, "", 90000);
    ASSERT_FALSE(r.timedOut) << r.output;
    auto kv = KeyValues(r.output);
    EXPECT_EQ(kv["t1"], "Corvane prog_1") << r.output;
    EXPECT_EQ(kv["t2"], "Corvane prog_1 <pause>") << r.output;
    auto pair = [](const std::string& s) {
        auto c = s.find(',');
        return std::make_pair(std::stol(s.substr(0, c)), std::stol(s.substr(c + 1)));
    };
    ASSERT_FALSE(kv["held"].empty()) << r.output;
    auto held = pair(kv["held"]);
    EXPECT_EQ(held.first, held.second) << "FramePresent holds while paused";
    EXPECT_EQ(kv["t3"], "Corvane prog_1");
    auto resumed = pair(kv["resumed"]);
    EXPECT_GT(resumed.second, resumed.first) << "frames go on after the focus returns";
    EXPECT_EQ(kv["bt"], "Corvane prog_1") << "auto-pause off: the title never changes";
    auto bran = pair(kv["bran"]);
    EXPECT_GT(bran.second, bran.first) << "auto-pause off: frames go on without the focus";
    EXPECT_EQ(kv["t4"], "Corvane prog_1 <pause>");
    EXPECT_EQ(kv["aexit"], "0") << "a close request ends a paused program with 0";
    EXPECT_EQ(kv["bexit"], "0") << "a close request ends a running program with 0";
}

TEST_F(WindowE2E, NoDisplayStopsWithAMessageAndNonZeroExit) {
    auto r = RunProgram(
        ProgramPath("frame", "startup_probe"), {},
        {"SDL_AUDIODRIVER=dummy", "DISPLAY=:4711", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11"}, "",
        30000);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("could not be created"), std::string::npos) << r.output;
    auto lines = Lines(ReadFile(TempDir() + "/ErrorLog.txt"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Init GFX");
}

}  // namespace
