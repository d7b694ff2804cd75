// Music decode speed: a 60-second stereo piece (MP3 and Ogg Vorbis, made by the ffmpeg
// command) decoded and resampled to the mixer's 22,050 Hz stereo 16-bit PCM by the player's
// decoder, against the ffmpeg command decoding the same file to the same raw PCM (its
// start-up included, so the ratio is slightly in the decoder's favour for short files).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/log_file.h"
#include "platform/media_decoder.h"

namespace {

std::string Piece(const std::string& ext, const std::string& codec) {
    std::string path = platform::TempFolder() + "/corvane-bench-piece." + ext;
    if (platform::FileIsReadable(path)) return path;
    std::string cmd =
        "ffmpeg -nostdin -v error -y -f lavfi -i sine=frequency=440:sample_rate=44100:duration=60 "
        "-f lavfi -i anoisesrc=duration=60:amplitude=0.05:sample_rate=44100 -filter_complex "
        "'amix=inputs=2,pan=stereo|c0=c0|c1=c0' -c:a " +
        codec + " '" + path + "'";
    return std::system(cmd.c_str()) == 0 ? path : "";
}

void Decoder(benchmark::State& state, const std::string& ext, const std::string& codec) {
    std::string path = Piece(ext, codec);
    if (path.empty()) {
        state.SkipWithError("ffmpeg could not make the piece");
        return;
    }
    std::vector<int16_t> pcm;
    size_t frames = 0;
    for (auto _ : state) {
        auto d = platform::MediaDecoder::Open(path, 22050, 2);
        if (!d) {
            state.SkipWithError("the decoder refused the piece");
            return;
        }
        frames = 0;
        for (;;) {
            pcm.clear();
            bool more = d->Step(pcm, nullptr);
            frames += pcm.size() / 2;
            if (!more) break;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.counters["frames"] = static_cast<double>(frames);
}

void Command(benchmark::State& state, const std::string& ext, const std::string& codec) {
    std::string path = Piece(ext, codec);
    if (path.empty()) {
        state.SkipWithError("ffmpeg could not make the piece");
        return;
    }
    std::string cmd = "ffmpeg -nostdin -v error -threads 1 -i '" + path +
                      "' -f s16le -acodec pcm_s16le -ar 22050 -ac 2 - > /dev/null";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("the ffmpeg command failed");
            return;
        }
    }
}

BENCHMARK_CAPTURE(Decoder, mp3, "mp3", "libmp3lame")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Command, mp3, "mp3", "libmp3lame")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decoder, ogg, "ogg", "libvorbis")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Command, ogg, "ogg", "libvorbis")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
