// Writes a stream of RGBA frames into a video file (H.264 in MP4 when the encoder exists,
// else MPEG-4 part 2) through the FFmpeg libraries. Used by the frame recorder.
#pragma once

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
    // Flushes the encoder and finishes the file; also done by the destructor.
    virtual bool Finish() = 0;
};

// Null when the file cannot be created or no encoder opens; error says why.
std::unique_ptr<VideoEncoder> VideoEncoderOpen(const std::string& path, int width, int height,
                                               int framesPerSecond, std::string& error);

}  // namespace platform
