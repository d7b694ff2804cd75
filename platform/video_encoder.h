// Writes a stream of RGBA frames into a video file (H.264 in MP4 when the encoder exists,
// else MPEG-4 part 2), with a sound track of 16-bit stereo in AAC where one is asked for,
// through the FFmpeg libraries. Used by the frame recorder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class VideoEncoder {
public:
    virtual ~VideoEncoder() = default;
    // One frame of width x height RGBA pixels, rows top to bottom, as given at open. False
    // when encoding or writing failed; the file is then closed and later frames are dropped.
    virtual bool FrameWrite(const uint8_t* rgba) = 0;
    // Interleaved 16-bit stereo frames at the rate given at open, appended to the sound
    // track; the caller keeps them in step with the pictures. False as FrameWrite is; nothing
    // when the video has no sound.
    virtual bool SoundWrite(const int16_t* stereo, size_t frames) = 0;
    virtual bool HasSound() const = 0;
    // Flushes the encoder and finishes the file; also done by the destructor.
    virtual bool Finish() = 0;
};

// Null when the file cannot be created or no encoder opens; error says why. soundRate 0: no
// sound track. A video whose sound track cannot be made (no AAC encoder, a container that
// takes no AAC) still opens without one, error saying why.
std::unique_ptr<VideoEncoder> VideoEncoderOpen(const std::string& path, int width, int height,
                                               int framesPerSecond, int soundRate,
                                               std::string& error);

}  // namespace platform
