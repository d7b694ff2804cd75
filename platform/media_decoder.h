// One media file decoded step by step over FFmpeg: sound as interleaved signed 16-bit PCM in
// the format asked for, pictures as RGBA at the source size, each stamped with its time from
// the first sample. No thread of its own: the player runs it on its worker, the benchmark in
// a plain loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct DecodedPicture {
    int64_t timeMs = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

class MediaDecoder {
public:
    // outRate 0: the sound is not decoded (nothing would hear it). outChannels 1 or 2.
    // Null when FFmpeg cannot open the file or it holds neither sound nor pictures.
    static std::unique_ptr<MediaDecoder> Open(const std::string& path, int outRate,
                                              int outChannels);
    ~MediaDecoder();
    MediaDecoder(const MediaDecoder&) = delete;
    MediaDecoder& operator=(const MediaDecoder&) = delete;

    bool HasSound() const;
    bool HasPicture() const;
    int Width() const;
    int Height() const;
    // Measured once at open: the sound's exact sample count where the container's figure is
    // only an estimate or includes encoder padding, else the streams' own durations.
    int64_t LengthMs() const;

    // Reads and decodes one packet: PCM is appended to pcm, a finished picture to pictures
    // (when given). False once the file is exhausted and the decoders are drained.
    bool Step(std::vector<int16_t>& pcm, std::vector<DecodedPicture>* pictures);
    // Back to the first sample; false when the file cannot be read again.
    bool Rewind();

    struct Impl;

private:
    explicit MediaDecoder(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
