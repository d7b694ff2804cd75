// The FFmpeg player against a fake audio device: lengths from the decoded stream, every
// sample reaching the voice, the play clock, seek and stop, pictures, and files it must
// refuse or survive.
#include "platform/media_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/sound/fake_audio.h"
#include "tests/sound/media_files.h"

namespace {

using Ms = std::chrono::milliseconds;

// Plays until the position reaches the end (deadline 30 s); the largest step backwards of the
// position on the way, and the pictures taken, are reported.
struct PlayOutcome {
    bool reachedEnd = false;
    int64_t backwards = 0;
    int pictures = 0;
    int width = 0, height = 0;
    size_t rgbaBytes = 0;
};
PlayOutcome PlayToEnd(platform::MediaPlayer& p) {
    PlayOutcome out;
    EXPECT_TRUE(p.Play());
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int64_t last = 0;
    std::vector<uint8_t> rgba;
    while (std::chrono::steady_clock::now() < deadline) {
        int64_t pos = p.PositionMs();
        out.backwards = std::max(out.backwards, last - pos);
        last = pos;
        if (p.FrameTake(rgba, out.width, out.height)) {
            ++out.pictures;
            out.rgbaBytes = rgba.size();
        }
        if (pos >= p.EndMs()) {
            out.reachedEnd = true;
            break;
        }
        std::this_thread::sleep_for(Ms(2));
    }
    return out;
}

struct FormatCase {
    const char* file;
    const char* options;
    bool picture;
};

class MediaPlayerFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(MediaPlayerFormats, LengthIsTheHeardLengthAndEverySampleReachesTheVoice) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    const FormatCase& c = GetParam();
    std::string path = media::Make(c.file, c.options);
    ASSERT_FALSE(path.empty());
    fake::AudioOut out(4.0);
    auto p = platform::MediaPlayerOpen(path, &out);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->Audible());
    EXPECT_NEAR(static_cast<double>(p->LengthMs()), 1000.0, 20.0) << c.file;
    EXPECT_EQ(p->StartMs(), 0);
    EXPECT_EQ(p->PositionMs(), 0);
    int w = -1, h = -1;
    p->SourceSize(w, h);
    EXPECT_EQ(w, c.picture ? 320 : 0);
    EXPECT_EQ(h, c.picture ? 240 : 0);

    PlayOutcome o = PlayToEnd(*p);
    EXPECT_TRUE(o.reachedEnd) << c.file;
    EXPECT_EQ(o.backwards, 0) << "the clock went backwards";
    auto v = out.Snapshot(out.LastStream());
    EXPECT_NEAR(static_cast<double>(v.totalWritten), 22050.0, 22050.0 * 0.04) << c.file;
    EXPECT_GT(v.loudSamples, v.totalWritten / 2) << "the tone came out as silence";
    if (c.picture) {
        EXPECT_GT(o.pictures, 0);
        EXPECT_EQ(o.width, 320);
        EXPECT_EQ(o.height, 240);
        EXPECT_EQ(o.rgbaBytes, 320u * 240u * 4u);
    } else {
        EXPECT_EQ(o.pictures, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MediaPlayerFormats,
    ::testing::Values(
        FormatCase{"tone.mp3", "-f lavfi -i sine=f=440:r=44100:d=1 -c:a libmp3lame", false},
        FormatCase{"tone.ogg", "-f lavfi -i sine=f=440:r=44100:d=1 -c:a libvorbis", false},
        FormatCase{"tone.flac", "-f lavfi -i sine=f=440:r=44100:d=1", false},
        FormatCase{"tone.wav", "-f lavfi -i sine=f=440:r=22050:d=1", false},
        FormatCase{"tone.opus", "-f lavfi -i sine=f=440:r=48000:d=1 -c:a libopus", false},
        FormatCase{"clip.mkv",
                   "-f lavfi -i testsrc=size=320x240:rate=25:duration=1 -f lavfi -i "
                   "sine=f=440:d=1 -c:v mpeg4 -c:a flac",
                   true}),
    [](const auto& info) {
        std::string n = info.param.file;
        for (char& ch : n)
            if (ch == '.') ch = '_';
        return n;
    });

TEST(MediaPlayer, StopKeepsThePositionAndSeekStartPlaysThePieceAgainFromZero) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    std::string path = media::Tone("again.ogg", 1.0, "libvorbis");
    ASSERT_FALSE(path.empty());
    fake::AudioOut out(2.0);
    auto p = platform::MediaPlayerOpen(path, &out);
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->Play());
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (p->PositionMs() < 300 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(Ms(2));
    p->Stop();
    int64_t held = p->PositionMs();
    EXPECT_GE(held, 300);
    EXPECT_LT(held, 1000);
    std::this_thread::sleep_for(Ms(100));
    EXPECT_EQ(p->PositionMs(), held) << "a stopped piece moved on";

    p->SeekStart();
    EXPECT_EQ(p->PositionMs(), 0);
    EXPECT_EQ(out.Snapshot(out.LastStream()).clears, 1);
    uint64_t before = out.Snapshot(out.LastStream()).totalWritten;
    PlayOutcome o = PlayToEnd(*p);
    EXPECT_TRUE(o.reachedEnd);
    // The whole piece again, not the rest of it: nothing decoded before the seek survives.
    uint64_t again = out.Snapshot(out.LastStream()).totalWritten - before;
    EXPECT_NEAR(static_cast<double>(again), 22050.0, 22050.0 * 0.04);
    // At the end play does nothing; the position stays at the end.
    EXPECT_TRUE(p->Play());
    EXPECT_EQ(p->PositionMs(), p->EndMs());
}

TEST(MediaPlayer, VolumeGoesToTheVoiceAsLinearGainClampedToRange) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    std::string path = media::Tone("gain.wav", 0.2);
    ASSERT_FALSE(path.empty());
    fake::AudioOut out;
    auto p = platform::MediaPlayerOpen(path, &out);
    ASSERT_TRUE(p);
    const struct {
        int thousandths;
        float gain;
    } cases[] = {{500, 0.5f}, {1000, 1.0f}, {0, 0.0f}, {1500, 1.0f}, {-20, 0.0f}, {250, 0.25f}};
    for (const auto& c : cases) {
        p->VolumeSet(c.thousandths);
        EXPECT_FLOAT_EQ(out.Snapshot(out.LastStream()).gain, c.gain) << c.thousandths;
    }
}

TEST(MediaPlayer, WithoutADevicePiecesAreSilentAndRunToTheirLengthByTheWallClock) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    std::string tone = media::Tone("quiet.mp3", 0.6, "libmp3lame");
    std::string clip = media::Make("quiet.mkv",
                                   "-f lavfi -i testsrc=size=160x120:rate=25:duration=0.6 "
                                   "-f lavfi -i sine=d=0.6 -c:v mpeg4 -c:a flac");
    ASSERT_FALSE(tone.empty());
    ASSERT_FALSE(clip.empty());
    for (const std::string& path : {tone, clip}) {
        auto p = platform::MediaPlayerOpen(path, nullptr);
        ASSERT_TRUE(p) << path;
        EXPECT_FALSE(p->Audible());
        auto t0 = std::chrono::steady_clock::now();
        PlayOutcome o = PlayToEnd(*p);
        EXPECT_TRUE(o.reachedEnd) << path;
        EXPECT_GE(std::chrono::steady_clock::now() - t0, Ms(550)) << path;
        if (path == clip) {
            EXPECT_GT(o.pictures, 0);
        }
    }
}

TEST(MediaPlayer, PicturesThatOutlastTheSoundGoOnByTheWallClockToTheEnd) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    std::string clip = media::Make("short-sound.mkv",
                                   "-f lavfi -i testsrc=size=160x120:rate=25:duration=1.5 "
                                   "-f lavfi -i sine=d=0.3 -c:v mpeg4 -c:a flac");
    ASSERT_FALSE(clip.empty());
    fake::AudioOut out;
    auto p = platform::MediaPlayerOpen(clip, &out);
    ASSERT_TRUE(p);
    EXPECT_NEAR(static_cast<double>(p->LengthMs()), 1500.0, 50.0);
    auto t0 = std::chrono::steady_clock::now();
    PlayOutcome o = PlayToEnd(*p);
    EXPECT_TRUE(o.reachedEnd);
    EXPECT_EQ(o.backwards, 0);
    // Neither stuck where the sound stopped nor rushed to the end.
    EXPECT_GE(std::chrono::steady_clock::now() - t0, Ms(1350));
    EXPECT_GE(o.pictures, 20);
    EXPECT_NEAR(static_cast<double>(out.Snapshot(out.LastStream()).totalWritten), 0.3 * 22050,
                0.3 * 22050 * 0.05);
}

TEST(MediaPlayer, UnreadableFilesAreRefusedAndATruncatedOneEndsEarlyWithoutHanging) {
    SKIP_WHEN_MISSING(!media::HaveFfmpeg(), "needs the ffmpeg command");
    std::string whole = media::Tone("cut.mp3", 2.0, "libmp3lame");
    ASSERT_FALSE(whole.empty());
    std::string bytes = testsupport::ReadFile(whole);
    std::string cut = testsupport::TempDir() + "/cut-short.mp3";
    ASSERT_TRUE(testsupport::WriteFile(cut, bytes.substr(0, bytes.size() * 2 / 5)));
    std::string junk = testsupport::TempDir() + "/junk.mp3";
    std::string noise(5000, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
    ASSERT_TRUE(testsupport::WriteFile(junk, noise));
    std::string empty = testsupport::TempDir() + "/empty.ogg";
    ASSERT_TRUE(testsupport::WriteFile(empty, ""));

    fake::AudioOut out(4.0);
    for (const std::string& bad : {junk, empty, testsupport::TempDir() + "/missing.ogg"}) {
        EXPECT_FALSE(platform::MediaPlayerOpen(bad, &out)) << bad;
        EXPECT_EQ(out.OpenVoices(), 0) << "a refused file kept its voice: " << bad;
    }
    auto p = platform::MediaPlayerOpen(cut, &out);
    ASSERT_TRUE(p);
    EXPECT_NEAR(static_cast<double>(p->LengthMs()), 800.0, 80.0);
    PlayOutcome o = PlayToEnd(*p);
    EXPECT_TRUE(o.reachedEnd);
}

}  // namespace
