// Sound commands over the pure mixer: start-up's sound steps with a device factory that gives
// a mixer the test drives itself, so time moves only when the test mixes.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/rt_string.h"
#include "platform/audio_mixer.h"
#include "sound/sound_runtime.h"
#include "support/test_support.h"
#include "tests/sound/wav_builder.h"

namespace soundtest {

class TestMixer : public platform::AudioMixer {
public:
    TestMixer() : AudioMixer(22050) {}
    platform::AudioBufferId BufferDuplicate(platform::AudioBufferId id) override {
        return failDuplicates ? 0 : AudioMixer::BufferDuplicate(id);
    }
    bool failDuplicates = false;
};

inline TestMixer*& Mixer() {
    static TestMixer* m = nullptr;
    return m;
}

inline std::unique_ptr<platform::AudioDevice> MakeMixer() {
    auto m = std::make_unique<TestMixer>();
    Mixer() = m.get();
    return m;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        platform::AudioDeviceFactorySet(&MakeMixer);
        SoundRecordCreate();
        ASSERT_TRUE(SoundStart());
    }
    void TearDown() override {
        SoundShutdown();
        platform::AudioDeviceFactorySet(nullptr);
        Mixer() = nullptr;
    }

    // Writes a 16-bit mono file at the output rate; returns its path as a runtime string.
    RtString Wav(const std::string& name, const std::vector<int16_t>& mono) {
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(testsupport::WriteFile(path, wavtest::Wav16(mono, 1, 22050)));
        return RtString(path.c_str());
    }

    // Moves time on by frames and returns what was mixed (stereo).
    std::vector<int16_t> Advance(size_t frames) {
        std::vector<int16_t> out(frames * 2);
        Mixer()->Mix(out.data(), frames);
        return out;
    }

    std::string dir;
};

inline std::vector<int16_t> Cosine(size_t frames, double amplitude = 32767) {
    std::vector<int16_t> s(frames);
    for (size_t i = 0; i < frames; ++i)
        s[i] = int16_t(std::lrint(amplitude * std::cos(2 * M_PI * 350.0 * double(i) / 22050)));
    return s;
}

}  // namespace soundtest
