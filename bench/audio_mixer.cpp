// The mixer's cost per second of audio: 32 buffer voices at different volumes and pans (the
// most a game keeps sounding), optionally with one resampled 44.1 kHz music stream, mixed in
// the device's 512-frame pulls. The "core_percent" counter is the share of one core the mixing
// takes while playing in real time: 100 x (time per second of audio) / 1 s.
#include "platform/audio_mixer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr size_t kPull = 512;

void BM_Mix32Voices(benchmark::State& state) {
    const bool withStream = state.range(0) != 0;
    platform::AudioMixer mixer(kRate);
    std::mt19937 rng(7);
    std::vector<int16_t> noise(size_t(kRate) * 2 * 4);  // four seconds of stereo
    for (auto& v : noise) v = int16_t(int(rng() % 20000) - 10000);
    std::vector<int> voices;
    for (int i = 0; i < 32; ++i) {
        const int id =
            i == 0 ? mixer.BufferCreate({kRate, 2, 16, false}, noise.data(), noise.size() * 2)
                   : mixer.BufferDuplicate(voices[0]);
        mixer.VolumeSet(id, -(i * 97) % 3000);
        mixer.PanSet(id, (i * 613) % 20001 - 10000);
        voices.push_back(id);
    }
    int stream = 0;
    std::vector<int16_t> music(2 * 44100 / 10);
    if (withStream) stream = mixer.StreamOpen(44100, 2);

    std::vector<int16_t> out(kPull * 2);
    for (auto _ : state) {
        for (int id : voices)
            if (!mixer.Playing(id)) mixer.Play(id);
        for (size_t done = 0; done < size_t(kRate); done += kPull) {
            if (withStream && mixer.StreamQueuedFrames(stream) < 44100 / 10)
                mixer.StreamWrite(stream, music.data(), music.size() / 2);
            mixer.Mix(out.data(), kPull);
        }
        benchmark::DoNotOptimize(out.data());
    }
    // One iteration is one second of audio.
    state.counters["core_percent"] =
        benchmark::Counter(double(state.iterations()) / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Mix32Voices)->Arg(0)->Arg(1)->ArgName("stream")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
