// Music commands: the rules alone, the player calls they make (through a recording double),
// loop restarts driven by FramePresent (running and paused), failures that must leave the
// music stopped, and the pointer steps around opening a piece.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>

#include "corvane.h"
#include "input/input.h"
#include "runtime/frame_calls.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/window_events.h"
#include "sound/music_rules.h"
#include "sound/music_runtime.h"
#include "sound/music_state.h"
#include "tests/input/fake_input.h"
#include "tests/sound/fake_audio.h"
#include "tests/sound/media_files.h"
#include "tests/sound/player_double.h"

namespace {

using Calls = std::vector<std::string>;

TEST(MusicRules, MinimumLengthLoopDueAndVolumeSends) {
    const struct {
        int64_t reported;
        double length;
    } lengths[] = {{0, 500}, {-5, 500}, {200, 500}, {499, 500}, {500, 500}, {3000, 3000}};
    for (const auto& c : lengths) {
        EXPECT_EQ(MusicLengthFrom(c.reported), c.length) << c.reported;
    }

    EXPECT_FALSE(MusicLoopDue(0, 1e9));  // not looping
    EXPECT_FALSE(MusicLoopDue(1000, 999.9));
    EXPECT_TRUE(MusicLoopDue(1000, 1000));
    EXPECT_TRUE(MusicLoopDue(1000, 5000));

    // The last value sent, then each request: sent or not, and what.
    double last = -1.0;
    const struct {
        double v;
        bool sent;
        int value;
    } volumes[] = {{0.5, true, 500},  {0.5, false, 0},    {0.2999, true, 299}, {1.0, true, 1000},
                   {1.5, true, 1500}, {-0.2, true, -200}, {NAN, true, 0},      {0.0, true, 0}};
    for (const auto& c : volumes) {
        int send = -7;
        EXPECT_EQ(MusicVolumeChange(last, c.v, send), c.sent) << c.v;
        if (c.sent) {
            EXPECT_EQ(send, c.value) << c.v;
        }
    }
}

TEST(MusicRules, VideoFitsTheWindowKeepingItsShapeAndIsCentred) {
    const struct {
        int sw, sh, cw, ch;
        VideoRect r;
    } cases[] = {
        {320, 240, 640, 480, {0, 0, 640, 480}},  {320, 240, 800, 480, {80, 0, 640, 480}},
        {320, 240, 640, 600, {0, 60, 640, 480}}, {240, 320, 640, 480, {140, 0, 360, 480}},
        {333, 200, 640, 480, {0, 48, 640, 384}}, {1920, 1080, 641, 480, {0, 60, 641, 360}},
    };
    for (const auto& c : cases) {
        VideoRect r;
        ASSERT_TRUE(VideoFitRect(c.sw, c.sh, c.cw, c.ch, r));
        EXPECT_EQ(r.x, c.r.x) << c.sw << "x" << c.sh << " in " << c.cw << "x" << c.ch;
        EXPECT_EQ(r.y, c.r.y) << c.sw << "x" << c.sh << " in " << c.cw << "x" << c.ch;
        EXPECT_EQ(r.width, c.r.width) << c.sw << "x" << c.sh << " in " << c.cw << "x" << c.ch;
        EXPECT_EQ(r.height, c.r.height) << c.sw << "x" << c.sh << " in " << c.cw << "x" << c.ch;
    }
    // Sound only: no picture, nothing to divide by.
    VideoRect r;
    EXPECT_FALSE(VideoFitRect(0, 0, 640, 480, r));
    EXPECT_FALSE(VideoFitRect(320, 0, 640, 480, r));
}

class MusicCommands : public ::testing::Test {
protected:
    void SetUp() override {
        fake::playerLog.Clear();
        platform::MediaPlayerFactorySet(fake::RecordingOpen);
        MusicAudioDeviceShare(&audio);
        auto d = std::make_unique<fake::Devices>();
        input = d.get();
        InputSystemInstall(std::move(d));
        MusicRuntimeStart();
        piece = testsupport::TempDir() + "/piece.mp3";
        testsupport::WriteFile(piece, "not decoded by the double");
    }
    void TearDown() override {
        MusicStop();
        platform::MediaPlayerFactorySet(nullptr);
        MusicAudioDeviceShare(nullptr);
        InputSystemInstall(nullptr);
        runtimeState.paused = false;
    }
    // Calls FramePresent until `restarts` seeks after the first have been seen (deadline 30 s).
    void PresentUntilRestarts(size_t restarts) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (fake::playerLog.seekTimes.size() < restarts + 1 &&
               std::chrono::steady_clock::now() < deadline) {
            FramePresent();
            ProgramSleep(2);
        }
    }

    fake::AudioOut audio;
    fake::Devices* input = nullptr;
    std::string piece;
};

TEST_F(MusicCommands, PlayOpensSeeksPlaysAtFullVolumeAndAnEarlierVolumeIsLost) {
    MusicVolumeSet(0.5);  // no piece yet: nothing to send it to
    EXPECT_TRUE(fake::playerLog.calls.empty());
    MusicPlay(StdToRt(piece), 1);
    ASSERT_EQ(fake::playerLog.opened, Calls{piece});
    EXPECT_EQ(fake::playerLog.Take(), (Calls{"length", "seek", "play", "volume 1000"}));
    EXPECT_EQ(Music().volume, 1.0);

    MusicVolumeSet(0.5);
    MusicVolumeSet(0.5);
    MusicVolumeSet(0.25);
    EXPECT_EQ(fake::playerLog.Take(), (Calls{"volume 500", "volume 250"}));
    EXPECT_EQ(MusicPlayingGet(), 1);

    // A second piece stops and closes the first before anything else.
    MusicPlay(StdToRt(piece), 0);
    Calls c = fake::playerLog.Take();
    ASSERT_GE(c.size(), 2u);
    EXPECT_EQ(c[0], "stop");
    EXPECT_EQ(c[1], "close");
    EXPECT_EQ(c.back(), "volume 1000");

    MusicStop();
    EXPECT_EQ(fake::playerLog.Take(), (Calls{"stop", "close"}));
    EXPECT_EQ(MusicPlayingGet(), 0);
    MusicVolumeSet(0.7);  // stopped: nothing to send to
    EXPECT_TRUE(fake::playerLog.calls.empty());
}

TEST_F(MusicCommands, PlayingGetFollowsThePositionOfAPieceThatDoesNotLoop) {
    fake::playerLog.length = 2000;
    MusicPlay(StdToRt(piece), 0.9);  // the loop flag is an integer: 0.9 is 0
    EXPECT_EQ(Music().loopEnd, 0.0);
    const struct {
        int64_t position;
        double playing;
    } cases[] = {{0, 1}, {1999, 1}, {2000, 0}, {2500, 0}};
    for (const auto& c : cases) {
        fake::playerLog.position = c.position;
        EXPECT_EQ(MusicPlayingGet(), c.playing) << c.position;
    }
    // It ends, but stays loaded until the next play or stop; the loop check leaves it alone.
    fake::playerLog.Take();
    FramePresent();
    EXPECT_TRUE(fake::playerLog.calls.empty());
}

TEST_F(MusicCommands, AShortPieceLoopsEvery500MsRemeasuredThenPlaySeekPlay) {
    fake::playerLog.length = 200;
    MusicPlay(StdToRt(piece), 1);
    fake::playerLog.Take();
    PresentUntilRestarts(3);
    const auto& t = fake::playerLog.seekTimes;
    ASSERT_EQ(t.size(), 4u);
    for (size_t i = 1; i < t.size(); ++i) {
        EXPECT_GE(t[i] - t[i - 1], 499.0) << i;
        EXPECT_LT(t[i] - t[i - 1], 650.0) << i;
    }
    Calls c = fake::playerLog.Take();
    ASSERT_EQ(c.size(), 12u);
    for (size_t i = 0; i < c.size(); i += 4)
        EXPECT_EQ((Calls{c[i], c[i + 1], c[i + 2], c[i + 3]}),
                  (Calls{"length", "play", "seek", "play"}));
    EXPECT_EQ(MusicPlayingGet(), 1);
}

TEST_F(MusicCommands, FailuresLeaveTheMusicStoppedWithNoRestartsDue) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    std::string junk = testsupport::TempDir() + "/junk.ogg";
    testsupport::WriteFile(junk, std::string(3000, 'x'));
    std::string tone = media::Tone("short.mp3", 0.3, "libmp3lame");
    ASSERT_FALSE(tone.empty());
    const struct {
        const char* what;
        std::string name;
        bool realPlayer;
        bool noDevice;
        size_t opens;
    } cases[] = {
        {"unresolvable", testsupport::TempDir() + "/nowhere.mp3", false, false, 0},
        {"empty name", "", false, false, 0},
        {"longer than any path the lookup takes", std::string(5000, 'a'), false, false, 0},
        {"not a media file", junk, true, false, 1},
        {"no audio device", tone, true, true, 1},
    };
    for (const auto& c : cases) {
        fake::playerLog.Clear();
        fake::playerLog.wrapReal = c.realPlayer;
        if (c.noDevice) {
            MusicAudioDeviceShare(nullptr);
            Music().ownDevice.reset();
            Music().deviceTried = false;
            platform::AudioDeviceFactorySet(
                [] { return std::unique_ptr<platform::AudioDevice>(); });
        }
        MusicPlay(StdToRt(c.name), 1);
        EXPECT_EQ(fake::playerLog.opened.size(), c.opens) << c.what;
        EXPECT_FALSE(Music().player) << c.what;
        EXPECT_EQ(Music().loopEnd, 0.0) << c.what;
        EXPECT_EQ(MusicPlayingGet(), 0) << c.what;
        MusicLoopCheck();
        MusicVolumeSet(0.3);
        EXPECT_EQ(MusicPlayingGet(), 0) << c.what;
        platform::AudioDeviceFactorySet(nullptr);
        MusicAudioDeviceShare(&audio);
    }
}

TEST_F(MusicCommands, ALongNameIsResolvedWhole) {
    // A loose file whose path is far past a short fixed buffer, within what the lookup takes.
    std::string dir = testsupport::TempDir();
    while (dir.size() < 900) {
        dir += "/" + std::string(120, 'd');
        ::mkdir(dir.c_str(), 0700);
    }
    std::string name = dir + "/long-named-piece.ogg";
    ASSERT_TRUE(testsupport::WriteFile(name, "x"));
    ASSERT_GT(name.size(), 1000u);
    MusicPlay(StdToRt(name), 0);
    EXPECT_EQ(fake::playerLog.opened, Calls{name});
    EXPECT_EQ(Music().name, name);
}

TEST_F(MusicCommands, PointerEndsAsItWasAndIsPutAtTheRuntimesPosition) {
    InputState& in = Input();
    const struct { bool shown; } cases[] = {{true}, {false}};
    for (const auto& c : cases) {
        PointerShowSet(in, c.shown);
        in.mouseX = 40;
        in.mouseY = 30;
        input->cursorX = input->cursorY = 0;
        MusicPlay(StdToRt(piece), 0);
        EXPECT_EQ(in.pointerShown, c.shown ? 1 : 0);
        EXPECT_EQ(input->pointerVisible, c.shown);
        // Hidden while the piece opens, so showing it again (or, for a hidden one, showing it
        // once) puts the system pointer at the runtime's position.
        EXPECT_EQ(input->cursorX, input->originX + 40) << c.shown;
        EXPECT_EQ(input->cursorY, input->originY + 30) << c.shown;
    }
    runtimeState.paused = true;
    MusicPlay(StdToRt(piece), 0);
    EXPECT_FALSE(runtimeState.paused);
}

TEST_F(MusicCommands, EndPathStepClosesThePiece) {
    MusicPlay(StdToRt(piece), 1);
    fake::playerLog.Take();
    ShutdownRunAll();
    EXPECT_EQ(fake::playerLog.Take(), (Calls{"stop", "close"}));
    EXPECT_EQ(MusicPlayingGet(), 0);
    MusicRuntimeStart();
}

// Real files through the FFmpeg player: a 3-second piece restarts about every 3 s, from the
// start, while frames are presented and while the program sits paused in FramePresent.
struct LoopCase {
    const char* file;
    const char* codec;
    bool paused;
};
class MusicLoops : public MusicCommands, public ::testing::WithParamInterface<LoopCase> {};

void PausedCheck() {
    MusicLoopCheck();
    if (fake::playerLog.seekTimes.size() >= 3) runtimeState.paused = false;
}

TEST_P(MusicLoops, ThreeSecondPieceRestartsEveryThreeSecondsFromTheStart) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    const LoopCase& c = GetParam();
    std::string path = media::Tone(c.file, 3.0, c.codec);
    ASSERT_FALSE(path.empty());
    fake::playerLog.wrapReal = true;
    MusicPlay(StdToRt(path), 1);
    ASSERT_TRUE(fake::playerLog.last);
    EXPECT_NEAR(static_cast<double>(Music().player->LengthMs()), 3000.0, 20.0);
    if (c.paused) {
        FrameCallRegister(FrameCall::MusicCheck, PausedCheck);
        runtimeState.paused = true;
        auto started = std::chrono::steady_clock::now();
        FramePresent();  // returns once PausedCheck has seen two restarts
        FrameCallRegister(FrameCall::MusicCheck, MusicLoopCheck);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    } else {
        PresentUntilRestarts(2);
    }
    const auto& t = fake::playerLog.seekTimes;
    ASSERT_EQ(t.size(), 3u);
    for (size_t i = 1; i < t.size(); ++i) {
        EXPECT_GE(t[i] - t[i - 1], 2980.0) << i;
        EXPECT_LT(t[i] - t[i - 1], 3250.0) << i;  // the pause loop looks every 100 ms
    }
    // Heard from the start again: the voice was cleared at each seek and plays on.
    EXPECT_LT(Music().player->PositionMs(), 400);
    auto v = audio.Snapshot(audio.LastStream());
    EXPECT_EQ(v.clears, 3);
    EXPECT_FALSE(v.paused);
    EXPECT_EQ(MusicPlayingGet(), 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, MusicLoops,
                         ::testing::Values(LoopCase{"loop.mp3", "libmp3lame", false},
                                           LoopCase{"loop.ogg", "libvorbis", true}),
                         [](const auto& info) {
                             return std::string(info.param.paused ? "paused_" : "running_") +
                                    (info.param.file + 5);
                         });

}  // namespace
