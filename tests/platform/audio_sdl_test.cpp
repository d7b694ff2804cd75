// The SDL audio output end to end: SDL's disk driver writes what the callback mixed to a
// file, which must hold the played sound sample for sample; a driver that cannot open gives
// no device.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "platform/audio.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace

TEST(AudioSdl, DiskDriverReceivesTheMixedSound) {
    const std::string file = testsupport::MakeSubDir("disk") + "/out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    auto dev = platform::AudioDeviceOpen();
    ASSERT_TRUE(dev);
    EXPECT_EQ(dev->OutputRate(), 22050);
    EXPECT_EQ(dev->OutputChannels(), 2);

    constexpr size_t kFrames = 4410;  // a fifth of a second of a full-scale cosine, mono
    std::vector<int16_t> cosine(kFrames);
    for (size_t i = 0; i < kFrames; ++i)
        cosine[i] = int16_t(std::lrint(32767 * std::cos(2 * M_PI * 300.0 * i / 22050)));
    const int id = dev->BufferCreate({22050, 1, 16, false}, cosine.data(), kFrames * 2);
    ASSERT_NE(id, 0);
    dev->PanSet(id, 10000);  // right only
    ASSERT_TRUE(dev->Play(id));
    ASSERT_TRUE(WaitFor([&] { return !dev->Playing(id); }));
    const int64_t atEnd = platform::FileSizeAt(file);
    ASSERT_TRUE(WaitFor([&] { return platform::FileSizeAt(file) >= atEnd + 8192; }));
    dev.reset();

    const std::string raw = testsupport::ReadFile(file);
    const auto* s = reinterpret_cast<const int16_t*>(raw.data());
    const size_t frames = raw.size() / 4;
    size_t start = 0;
    while (start < frames && s[2 * start + 1] == 0) ++start;
    ASSERT_LE(start + kFrames + 100, frames);
    for (size_t i = 0; i < kFrames; ++i) {
        ASSERT_LE(std::abs(s[2 * (start + i)]), 1) << i;
        ASSERT_EQ(s[2 * (start + i) + 1], cosine[i]) << i;
    }
    for (size_t i = kFrames; i < kFrames + 100; ++i) ASSERT_EQ(s[2 * (start + i) + 1], 0) << i;
}

TEST(AudioSdl, ADriverThatCannotOpenGivesNoDevice) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(platform::AudioDeviceOpen(), nullptr);
}
