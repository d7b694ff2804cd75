// The sound-effect commands: buffer counts and slot numbers, how plays choose their buffer,
// channel numbers and the playing query, the volume and pan mapping, stopping, failed loads
// and a missing device.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "corvane.h"
#include "files/archive.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "sound/sound_state.h"
#include "tests/files/sbx_test_archive.h"
#include "tests/sound/sound_fixture.h"

using namespace soundtest;

namespace {
constexpr size_t kLength = 2205;  // a tenth of a second
}

TEST_F(SoundTest, BufferCountsAndSlotNumbersAreClamped) {
    const RtString file = Wav("a.wav", Cosine(kLength));
    struct Case {
        double slot, count;
        int wantSlot, wantBuffers;
    } cases[] = {{0, 0, 0, 1},     {1, -3, 1, 1},   {2, 9, 2, 4},      {500, 2, 127, 2},
                 {5.9, 2.9, 5, 2}, {-0.5, 3, 0, 3}, {1e300, 1, 127, 1}};
    for (const Case& c : cases) {
        ASSERT_EQ(SoundLoad(file, c.slot, c.count), 1) << c.slot;
        EXPECT_EQ(Sound()->slots[c.wantSlot].bufferCount, c.wantBuffers) << c.slot;
        // Every buffer takes one overlapping play, then the first is cut (or, alone, refused).
        for (int b = 0; b < c.wantBuffers; ++b)
            EXPECT_EQ(SoundPlay(c.slot, 0, 1), c.wantSlot * 256 + b) << c.slot;
        EXPECT_EQ(SoundPlay(c.slot, 0, 1), c.wantBuffers == 1 ? -1 : c.wantSlot * 256) << c.slot;
        SoundStopAll();
    }
    // Negative slots load and play nothing, and touch no slot.
    ASSERT_EQ(SoundLoad(file, 0, 1), 1);
    for (double bad : {-1.0, -300.0, -1e300, std::nan("")}) {
        EXPECT_EQ(SoundLoad(file, bad, 1), 0) << bad;
        EXPECT_EQ(SoundPlay(bad, 0, 1), -1) << bad;
    }
    EXPECT_EQ(Sound()->slots[0].bufferCount, 1);
}

TEST_F(SoundTest, PlaysChooseFreeBuffersAndCutTheOldestOnlyWhenAllSound) {
    const RtString file = Wav("a.wav", Cosine(kLength));
    // One buffer: the second play is refused while the first sounds, allowed once it ended.
    ASSERT_EQ(SoundLoad(file, 7, 1), 1);
    EXPECT_EQ(SoundPlay(7, 0, 1), 7 * 256);
    EXPECT_EQ(SoundPlay(7, 0, 1), -1);
    Advance(kLength);
    EXPECT_EQ(SoundPlayingGet(7 * 256), 0);
    EXPECT_EQ(SoundPlay(7, 0, 1), 7 * 256);

    // Four buffers played five times: the fifth restarts the first one from its start.
    ASSERT_EQ(SoundLoad(file, 8, 4), 1);
    for (int b = 0; b < 4; ++b) EXPECT_EQ(SoundPlay(8, 0, 1), 8 * 256 + b);
    Advance(1000);
    EXPECT_EQ(SoundPlay(8, 0, 1), 8 * 256);
    Advance(kLength - 500);  // the other three have ended by now; the restarted one has not
    EXPECT_EQ(SoundPlayingGet(8 * 256), 1);
    for (int b = 1; b < 4; ++b) EXPECT_EQ(SoundPlayingGet(8 * 256 + b), 0) << b;
    Advance(500);
    EXPECT_EQ(SoundPlayingGet(8 * 256), 0);
}

TEST_F(SoundTest, ChannelsNameSlotAndBufferWhileTheySound) {
    ASSERT_EQ(SoundLoad(Wav("a.wav", Cosine(kLength)), 3, 3), 1);
    ASSERT_EQ(SoundLoad(Wav("b.wav", Cosine(kLength)), 127, 1), 1);
    EXPECT_EQ(SoundPlay(3, 0, 1), 768);
    Advance(10);
    EXPECT_EQ(SoundPlay(3, 0, 1), 769);
    EXPECT_EQ(SoundPlay(3, 0, 1), 770);
    EXPECT_EQ(SoundPlay(127, 0, 1), 127 * 256);
    EXPECT_EQ(SoundPlayingGet(770), 1);
    EXPECT_EQ(SoundPlayingGet(127 * 256), 1);
    // Slots the commands cannot reach, buffers the slot lacks, and nonsense answer 0.
    for (double c : {128.0 * 256, 2047.0 * 256, 1e12, 3.0 * 256 + 3, -1.0, -770.0, std::nan("")})
        EXPECT_EQ(SoundPlayingGet(c), 0) << c;
    Advance(kLength - 5);
    EXPECT_EQ(SoundPlayingGet(768), 0);
    EXPECT_EQ(SoundPlayingGet(770), 1);
    Advance(10);
    EXPECT_EQ(SoundPlayingGet(770), 0);
}

TEST_F(SoundTest, VolumeAndPanMapToDecibels) {
    const auto cosine = Cosine(kLength);
    ASSERT_EQ(SoundLoad(Wav("a.wav", cosine), 1, 1), 1);
    struct Case {
        double volume, pan, leftDb, rightDb;
    } cases[] = {
        {1, 0, 0, 0},    {0.5, 0, -50, -50},  {1, -1, 0, -100},      {1, 1, -100, 0},
        {2, 5, -100, 0}, {-1, 0, -100, -100}, {0.75, 0.5, -75, -25}, {0.999, -0.25, -1, -26},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SoundPlay(1, c.pan, c.volume), 256) << c.volume << " " << c.pan;
        const auto out = Advance(kLength);
        const double gl = std::pow(10.0, c.leftDb / 20), gr = std::pow(10.0, c.rightDb / 20);
        for (size_t i = 0; i < kLength; ++i) {
            ASSERT_LE(std::abs(out[2 * i] - std::lrint(cosine[i] * gl)), 1) << c.volume << " " << i;
            ASSERT_LE(std::abs(out[2 * i + 1] - std::lrint(cosine[i] * gr)), 1)
                << c.pan << " " << i;
        }
    }
}

TEST_F(SoundTest, OverlappingCopiesSumAndClip) {
    const auto cosine = Cosine(kLength);
    ASSERT_EQ(SoundLoad(Wav("a.wav", cosine), 2, 2), 1);
    EXPECT_EQ(SoundPlay(2, 0, 1), 512);
    EXPECT_EQ(SoundPlay(2, 0, 1), 513);
    const auto out = Advance(kLength);
    for (size_t i = 0; i < kLength; ++i)
        ASSERT_EQ(out[2 * i], std::clamp(2 * cosine[i], -32768, 32767)) << i;
}

TEST_F(SoundTest, StopAllStopsAndRewinds) {
    std::vector<int16_t> ramp(kLength);
    for (size_t i = 0; i < kLength; ++i) ramp[i] = int16_t(i + 1);
    ASSERT_EQ(SoundLoad(Wav("a.wav", ramp), 4, 2), 1);
    SoundPlay(4, 0, 1);
    SoundPlay(4, 0, 1);
    Advance(100);
    SoundStopAll();
    EXPECT_EQ(SoundPlayingGet(1024), 0);
    EXPECT_EQ(SoundPlayingGet(1025), 0);
    EXPECT_EQ(Advance(1)[0], 0);
    EXPECT_EQ(SoundPlay(4, 0, 1), 1025);  // the last play's buffer is free: it is used again
    EXPECT_EQ(Advance(1)[0], 1);          // from the start
}

TEST_F(SoundTest, DuplicatesThatCannotBeMadeAreNotCounted) {
    Mixer()->failDuplicates = true;
    ASSERT_EQ(SoundLoad(Wav("a.wav", Cosine(kLength)), 6, 4), 1);
    EXPECT_EQ(Sound()->slots[6].bufferCount, 1);
    EXPECT_EQ(SoundPlay(6, 0, 1), 6 * 256);
    EXPECT_EQ(SoundPlay(6, 0, 1), -1);
    EXPECT_EQ(SoundPlayingGet(6 * 256 + 1), 0);
}

TEST_F(SoundTest, FailedLoadsLeaveTheSlotEmpty) {
    const RtString good = Wav("a.wav", Cosine(kLength));
    testsupport::WriteFile(dir + "/bad.wav", "RIFF\x10\0\0\0WAVEdata\x04\0\0\0abcd");
    testsupport::WriteFile(dir + "/adpcm.wav",
                           wavtest::Riff(wavtest::Chunk("fmt ", wavtest::FmtBody(2, 1, 22050, 4)) +
                                         wavtest::Chunk("data", "abcd")));
    for (const std::string name : {"missing.wav", "bad.wav", "adpcm.wav", "", "a.wav/x"}) {
        ASSERT_EQ(SoundLoad(good, 9, 2), 1);
        SoundPlay(9, 0, 1);
        const std::string path = name.empty() ? name : dir + "/" + name;
        EXPECT_EQ(SoundLoad(RtString(path.c_str()), 9, 2), 0) << name;
        EXPECT_EQ(SoundPlayingGet(9 * 256), 0) << name;  // the old sound was stopped
        EXPECT_EQ(SoundPlay(9, 0, 1), -1) << name;
        EXPECT_EQ(Advance(1)[0], 0) << name;
    }
}

TEST_F(SoundTest, LongNamesAndLongArchiveEntryNamesLoad) {
    // A loose file deeper than 256 characters.
    std::string deep = dir;
    while (deep.size() < 400) {
        deep += "/" + std::string(40, 'd');
        ASSERT_EQ(mkdir(deep.c_str(), 0700), 0);
    }
    const std::string loose = deep + "/sound.wav";
    ASSERT_TRUE(testsupport::WriteFile(loose, wavtest::Wav16(Cosine(kLength), 1, 22050)));
    EXPECT_EQ(SoundLoad(RtString(loose.c_str()), 0, 1), 1);

    // An archive entry whose name alone is longer than 240 characters, read in memory.
    const std::string entry = std::string(240, 'n') + ".wav";
    const std::string archive = dir + "/shoebox.sbx";
    ASSERT_TRUE(testsupport::WriteFile(
        archive,
        sbxtest::Build({sbxtest::Packed(entry, wavtest::Wav16(Cosine(kLength), 1, 22050))})));
    ArchiveStartup(archive);
    ArchiveShoeboxSet(archive, archive);
    EXPECT_EQ(SoundLoad(RtString(("media/" + entry).c_str()), 1, 1), 1);
    EXPECT_EQ(Sound()->slots[1].fileName, "media/" + entry);
    EXPECT_EQ(SoundPlay(1, 0, 1), 256);
    ArchiveShutdown();
}

TEST_F(SoundTest, ShutdownEmptiesEverySlotAndSilencesTheCommands) {
    const RtString file = Wav("a.wav", Cosine(kLength));
    ASSERT_EQ(SoundLoad(file, 0, 4), 1);
    ASSERT_EQ(SoundLoad(file, 127, 4), 1);
    SoundPlay(127, 0, 1);
    ShutdownRunAll();  // the step start-up registered
    Mixer() = nullptr;
    EXPECT_EQ(Sound(), nullptr);
    EXPECT_EQ(SoundLoad(file, 0, 1), 0);
    EXPECT_EQ(SoundPlay(127, 0, 1), -1);
    EXPECT_EQ(SoundPlayingGet(127 * 256), 0);
    SoundStopAll();
}

TEST(SoundWithoutDevice, EveryCommandIsSilent) {
    const std::string dir = testsupport::MakeSubDir("nodevice");
    ASSERT_TRUE(testsupport::WriteFile(dir + "/a.wav", wavtest::Wav16(Cosine(kLength), 1, 22050)));
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);  // the real output, which cannot open
    platform::AudioDeviceFactorySet(nullptr);
    SoundRecordCreate();
    EXPECT_FALSE(SoundStart());
    EXPECT_EQ(SoundLoad(RtString((dir + "/a.wav").c_str()), 0, 2), 0);
    EXPECT_EQ(SoundPlay(0, 0, 1), -1);
    EXPECT_EQ(SoundPlayingGet(0), 0);
    SoundStopAll();
    SoundShutdown();
    // And before start-up or after the end, the same.
    EXPECT_EQ(SoundLoad(RtString((dir + "/a.wav").c_str()), 0, 2), 0);
    EXPECT_EQ(SoundPlay(0, 0, 1), -1);
}

TEST(SoundStartedInBackground, TheFirstCommandWaitsForTheOutputAndShutdownForTheOpening) {
    const std::string dir = testsupport::MakeSubDir("background");
    const std::string path = dir + "/a.wav";
    ASSERT_TRUE(testsupport::WriteFile(path, wavtest::Wav16(Cosine(kLength), 1, 22050)));
    // An output that takes its time to open, as a probed audio server does: it opens only
    // once the test is about to give the command, so the command comes while it opens.
    static std::atomic<bool> commandComing;
    commandComing = false;
    platform::AudioDeviceFactorySet([] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!commandComing && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return MakeMixer();
    });
    SoundRecordCreate();
    SoundStartInBackground();
    commandComing = true;
    EXPECT_EQ(SoundLoad(RtString(path.c_str()), 0, 1), 1);  // not refused for want of output
    EXPECT_EQ(SoundPlay(0, 0, 1), 0);
    EXPECT_NE(Mixer(), nullptr);
    SoundShutdown();
    // Ending while the output is still opening closes it once it has opened.
    commandComing = false;
    SoundRecordCreate();
    SoundStartInBackground();
    commandComing = true;
    SoundShutdown();
    EXPECT_EQ(SoundLoad(RtString(path.c_str()), 0, 1), 0);
    platform::AudioDeviceFactorySet(nullptr);
    Mixer() = nullptr;
}
