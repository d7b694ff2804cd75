// The mixer as plain code: the volume and pan law, the saturating sum, one-shot play
// positions, the load-time conversion of every playable layout, and streamed voices.
#include "platform/audio_mixer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "platform/pcm_convert.h"

using platform::AudioMixer;
using platform::PcmFormat;

namespace {

constexpr int kRate = 22050;

// A full-scale 16-bit stereo sine at the output rate (no conversion on load).
std::vector<int16_t> Sine(size_t frames, double hz = 441.0) {
    std::vector<int16_t> s(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const int16_t v = int16_t(std::lrint(32767 * std::sin(2 * M_PI * hz * i / kRate)));
        s[2 * i] = s[2 * i + 1] = v;
    }
    return s;
}

int BufferOf(AudioMixer& m, const std::vector<int16_t>& stereo) {
    return m.BufferCreate({kRate, 2, 16, false}, stereo.data(), stereo.size() * 2);
}

std::vector<int16_t> MixFrames(AudioMixer& m, size_t frames) {
    std::vector<int16_t> out(frames * 2, 123);
    m.Mix(out.data(), frames);
    return out;
}

}  // namespace

TEST(AudioMixer, VolumeAndPanFollowTheDecibelLawWithinOneStep) {
    struct Case {
        int volume, pan;
        double leftDb, rightDb;
    } cases[] = {
        {0, 0, 0, 0},        {-5000, 0, -50, -50},   {0, -10000, 0, -100},
        {0, 10000, -100, 0}, {-600, 2500, -31, -6},  {-10000, 0, -100, -100},
        {0, -300, 0, -3},    {1000, 20000, -100, 0},  // out of range: clamped
    };
    const auto sine = Sine(2000);
    for (const Case& c : cases) {
        AudioMixer m(kRate);
        const int id = BufferOf(m, sine);
        ASSERT_NE(id, 0);
        m.VolumeSet(id, c.volume);
        m.PanSet(id, c.pan);
        ASSERT_TRUE(m.Play(id));
        const auto out = MixFrames(m, 2000);
        const double gl = std::pow(10.0, c.leftDb / 20), gr = std::pow(10.0, c.rightDb / 20);
        int worst = 0;
        for (size_t i = 0; i < 2000; ++i) {
            worst = std::max(worst, std::abs(out[2 * i] - int(std::lrint(sine[2 * i] * gl))));
            worst = std::max(worst, std::abs(out[2 * i + 1] - int(std::lrint(sine[2 * i] * gr))));
        }
        EXPECT_LE(worst, 1) << "volume " << c.volume << " pan " << c.pan;
    }
}

TEST(AudioMixer, OverlappingVoicesSumAndClip) {
    AudioMixer m(kRate);
    const auto sine = Sine(1000);
    const int a = BufferOf(m, sine);
    const int b = m.BufferDuplicate(a);
    ASSERT_NE(b, 0);
    ASSERT_NE(b, a);
    m.VolumeSet(b, -600);  // about half
    m.Play(a);
    m.Play(b);
    const auto out = MixFrames(m, 1000);
    const double half = std::pow(10.0, -6.0 / 20);
    int clipped = 0;
    for (size_t i = 0; i < 1000; ++i) {
        const long want = std::clamp(std::lrint(sine[2 * i] + sine[2 * i] * half), -32768L, 32767L);
        ASSERT_LE(std::abs(out[2 * i] - want), 1) << i;
        clipped += std::abs(out[2 * i]) >= 32767;
    }
    EXPECT_GT(clipped, 100);  // the peaks really went over
}

TEST(AudioMixer, OneShotPlaysKeepStopAndRewindPositions) {
    AudioMixer m(kRate);
    std::vector<int16_t> ramp(2 * 300);
    for (int i = 0; i < 300; ++i) ramp[2 * i] = ramp[2 * i + 1] = int16_t(i + 1);
    const int id = BufferOf(m, ramp);
    m.Play(id);
    EXPECT_EQ(MixFrames(m, 100)[198], 100);
    m.Stop(id);
    EXPECT_FALSE(m.Playing(id));
    EXPECT_EQ(MixFrames(m, 10)[0], 0);  // stopped: silence
    m.Play(id);                         // on from frame 100
    EXPECT_EQ(MixFrames(m, 1)[0], 101);
    m.Rewind(id);
    EXPECT_EQ(MixFrames(m, 1)[0], 1);
    auto rest = MixFrames(m, 400);  // plays out, then silence
    EXPECT_EQ(rest[2 * 298], 300);
    EXPECT_EQ(rest[2 * 299], 0);
    EXPECT_FALSE(m.Playing(id));
    m.Play(id);  // a finished play starts over
    EXPECT_TRUE(m.Playing(id));
    EXPECT_EQ(MixFrames(m, 1)[0], 1);

    m.BufferRelease(id);
    EXPECT_FALSE(m.Play(id));
    EXPECT_FALSE(m.Playing(id));
    EXPECT_EQ(m.BufferDuplicate(id), 0);
}

// While the recorder captures, the mix moves only through CaptureMix and the device plays
// those very frames once enough are queued; it mixes on its own again only when captures stop.
TEST(AudioMixerCapture, TheDevicePlaysWhatWasCapturedAndMixesNothingItself) {
    AudioMixer m(kRate);
    std::vector<int16_t> ramp(2 * 20000);
    for (int i = 0; i < 20000; ++i) ramp[2 * i] = ramp[2 * i + 1] = int16_t(i % 30000 + 1);
    m.Play(BufferOf(m, ramp));
    ASSERT_TRUE(m.CaptureStart(60000));
    std::vector<int16_t> pulled(2 * 512, 7);
    m.DevicePull(pulled.data(), 512);  // nothing queued yet: silence, the voice stays put
    EXPECT_EQ(pulled[0], 0);
    std::vector<int16_t> captured(2 * 1500);
    m.CaptureMix(captured.data(), 1500);
    EXPECT_EQ(captured[0], 1);
    EXPECT_EQ(captured[2 * 1499 + 1], 1500);
    for (int chunk = 0; chunk < 2; ++chunk) {
        m.DevicePull(pulled.data(), 512);
        for (size_t i = 0; i < 512; ++i)
            ASSERT_EQ(pulled[2 * i], captured[2 * (chunk * 512 + i)]) << chunk << " " << i;
    }
    m.DevicePull(pulled.data(), 512);  // 476 left, then silence while the queue refills
    EXPECT_EQ(pulled[2 * 475], 1500);
    EXPECT_EQ(pulled[2 * 476], 0);
    m.CaptureMix(captured.data(), 1);
    EXPECT_EQ(captured[0], 1501) << "the device's pulls moved the mix";
    // More than the queue holds: the device skips the overflow, the capture keeps it all.
    std::vector<int16_t> big(2 * (AudioMixer::kCaptureQueueFrames + 100));
    m.CaptureMix(big.data(), AudioMixer::kCaptureQueueFrames + 100);
    EXPECT_EQ(big.back(), 1502 + int(AudioMixer::kCaptureQueueFrames) + 99);
}

TEST(AudioMixerCapture, WithoutCapturesForTheIdleTimeTheDeviceMixesAgain) {
    AudioMixer m(kRate);
    std::vector<int16_t> ramp(2 * 5000);
    for (int i = 0; i < 5000; ++i) ramp[2 * i] = ramp[2 * i + 1] = int16_t(i + 1);
    m.Play(BufferOf(m, ramp));
    ASSERT_TRUE(m.CaptureStart(1));
    std::vector<int16_t> frames(2 * 2000);
    m.CaptureMix(frames.data(), 2000);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    m.DevicePull(frames.data(), 100);  // the queued 2000 are stale: dropped, the voice goes on
    EXPECT_EQ(frames[0], 2001);
    m.CaptureMix(frames.data(), 1);
    EXPECT_EQ(frames[0], 2101);
}

TEST(PcmConvert, EveryPlayableLayoutReachesSixteenBitStereo) {
    struct Case {
        PcmFormat f;
        std::vector<uint8_t> bytes;
        std::vector<int16_t> want;  // stereo
    } cases[] = {
        {{kRate, 1, 8, false}, {0xC0, 0x00, 0x80}, {16384, 16384, -32768, -32768, 0, 0}},
        {{kRate, 2, 16, false}, {0x00, 0x40, 0x00, 0x80}, {16384, -32768}},
        {{kRate, 1, 24, false}, {0x00, 0x00, 0x40, 0xFF, 0xFF, 0xFF}, {16384, 16384, -1, -1}},
        {{kRate, 2, 32, false}, {0, 0, 0, 0x40, 0, 0, 0, 0xC0}, {16384, -16384}},
        {{kRate, 1, 32, true}, {0, 0, 0, 0x3F, 0, 0, 0, 0x40}, {16384, 16384, 32767, 32767}},
        {{kRate, 2, 16, false}, {1, 0, 2, 0, 3}, {1, 2}},  // a partial frame is dropped
    };
    for (const Case& c : cases) {
        std::vector<int16_t> out;
        ASSERT_TRUE(platform::PcmConvert(c.f, c.bytes.data(), c.bytes.size(), kRate, out))
            << c.f.bitsPerSample;
        EXPECT_EQ(out, c.want) << c.f.bitsPerSample << " bits, " << c.f.channels << " channels";
    }
    const PcmFormat refused[] = {{kRate, 1, 12, false}, {kRate, 3, 16, false},
                                 {999, 1, 16, false},   {192001, 1, 16, false},
                                 {kRate, 1, 16, true},  {kRate, 0, 8, false}};
    AudioMixer m(kRate);
    const uint8_t some[64] = {};
    for (const PcmFormat& f : refused) EXPECT_EQ(m.BufferCreate(f, some, sizeof some), 0);
    EXPECT_EQ(m.BufferCreate({kRate, 2, 16, false}, some, 3), 0);  // no whole frame
}

TEST(PcmConvert, OtherRatesAreResampledKeepingLengthAndLevel) {
    for (int rate : {8000, 11025, 44100, 48000, 192000}) {
        std::vector<int16_t> in(size_t(rate), 1000);  // one second of mono at a steady level
        std::vector<int16_t> out;
        ASSERT_TRUE(
            platform::PcmConvert({rate, 1, 16, false}, in.data(), in.size() * 2, kRate, out));
        EXPECT_NEAR(double(out.size()) / 2, kRate, 2) << rate;
        for (int16_t v : out) ASSERT_EQ(v, 1000) << rate;
    }
}

TEST(AudioMixerStream, QueueIsBoundedAndCountsWhatItPlays) {
    AudioMixer m(kRate);
    const int id = m.StreamOpen(kRate, 2);
    ASSERT_NE(id, 0);
    const size_t cap = AudioMixer::StreamCapacityFor(kRate);
    std::vector<int16_t> in((cap + 500) * 2);
    for (size_t i = 0; i < cap + 500; ++i) in[2 * i] = in[2 * i + 1] = int16_t(i % 30000);
    EXPECT_EQ(m.StreamWrite(id, in.data(), cap + 500), cap);
    EXPECT_EQ(m.StreamQueuedFrames(id), cap);

    auto out = MixFrames(m, 1000);  // same rate: frame for frame
    for (size_t i = 0; i < 1000; ++i) ASSERT_EQ(out[2 * i], int16_t(i)) << i;
    EXPECT_EQ(m.StreamPlayedFrames(id) + m.StreamQueuedFrames(id), cap);

    m.StreamPause(id, true);
    const uint64_t played = m.StreamPlayedFrames(id);
    EXPECT_EQ(MixFrames(m, 500)[0], 0);
    EXPECT_EQ(m.StreamPlayedFrames(id), played);
    m.StreamPause(id, false);

    m.StreamGainSet(id, 0.5f);
    out = MixFrames(m, 10);
    EXPECT_NEAR(out[2], (1000 + 1) * 0.5, 1);

    m.StreamClear(id);
    EXPECT_EQ(m.StreamQueuedFrames(id), 0u);
    EXPECT_EQ(m.StreamPlayedFrames(id), 0u);
    EXPECT_EQ(MixFrames(m, 10)[0], 0);
    m.StreamClose(id);
    EXPECT_EQ(m.StreamWrite(id, in.data(), 10), 0u);
    EXPECT_EQ(m.StreamOpen(500, 2), 0);
    EXPECT_EQ(m.StreamOpen(kRate, 3), 0);
}

TEST(AudioMixerStream, OtherRatesAreResampledAndMonoFillsBothSides) {
    for (int rate : {11025, 44100, 48000}) {
        AudioMixer m(kRate);
        const int id = m.StreamOpen(rate, 1);
        std::vector<int16_t> in(size_t(rate) / 2, -2000);  // half a second
        ASSERT_EQ(m.StreamWrite(id, in.data(), in.size()), in.size());
        const auto out = MixFrames(m, kRate / 4);
        for (int16_t v : out) ASSERT_EQ(v, -2000) << rate;
        // A quarter of a second of output took a quarter of a second of input.
        EXPECT_NEAR(double(m.StreamPlayedFrames(id)), rate / 4.0, 3) << rate;
    }
}

TEST(AudioMixerStream, AWriterThreadLosesAndRepeatsNothing) {
    AudioMixer m(kRate);
    const int id = m.StreamOpen(kRate, 1);
    constexpr size_t kTotal = 200000;  // several trips round the ring
    std::thread writer([&] {
        std::vector<int16_t> block(777);
        size_t sent = 0;
        while (sent < kTotal) {
            const size_t n = std::min(block.size(), kTotal - sent);
            for (size_t i = 0; i < n; ++i) block[i] = int16_t(1 + (sent + i) % 20000);  // never 0
            sent += m.StreamWrite(id, block.data(), n);
            if (sent < kTotal) std::this_thread::yield();
        }
    });
    std::vector<int16_t> heard;
    std::vector<int16_t> out(2 * 256);
    while (m.StreamPlayedFrames(id) < kTotal) {
        m.Mix(out.data(), 256);
        for (size_t i = 0; i < 256; ++i)
            if (out[2 * i] != 0) heard.push_back(out[2 * i]);  // 0: the writer fell behind
    }
    writer.join();
    ASSERT_EQ(heard.size(), kTotal - 1);  // the last frame waits for a successor
    for (size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], int16_t(1 + i % 20000)) << i;
}

TEST(AudioMixerResampling, TonesAboveTheOutputsHalfRateAreDampedNotFolded) {
    // 44.1 kHz sources: a 1 kHz tone passes, a 20 kHz tone (which would fold back to 2 kHz)
    // is held well down, both for buffers converted at load and for streamed voices.
    for (double hz : {1000.0, 20000.0}) {
        std::vector<int16_t> tone(44100 / 2);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = int16_t(std::lrint(20000 * std::sin(2 * M_PI * hz * double(i) / 44100)));
        AudioMixer m(kRate);
        const int buffer = m.BufferCreate({44100, 1, 16, false}, tone.data(), tone.size() * 2);
        m.Play(buffer);
        const auto fromBuffer = MixFrames(m, 5000);
        m.Stop(buffer);
        const int stream = m.StreamOpen(44100, 1);
        m.StreamWrite(stream, tone.data(), tone.size());
        const auto fromStream = MixFrames(m, 5000);
        for (const auto* out : {&fromBuffer, &fromStream}) {
            int top = 0;
            for (size_t i = 1000; i < 5000; ++i) top = std::max(top, std::abs(int((*out)[2 * i])));
            if (hz < 10000) {
                EXPECT_GT(top, 19000) << (out == &fromBuffer ? "buffer" : "stream");
            } else {
                EXPECT_LT(top, 5000) << (out == &fromBuffer ? "buffer" : "stream");
            }
        }
    }
}
