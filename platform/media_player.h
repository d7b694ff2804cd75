// A media file played the way the runtime drives music and video: open, ask the length and
// the position in milliseconds, seek to the start, play, stop (which keeps the position),
// set a volume, close. Sound goes to a streamed voice of the audio device from a decoding
// thread; pictures come out as RGBA at the source size for the main thread to draw.
//
// No FFmpeg type crosses this header. All calls come from the main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace platform {

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;  // stops and closes

    // Milliseconds of the longest played stream; 0 when the file does not say and cannot be
    // measured.
    virtual int64_t LengthMs() = 0;
    virtual int64_t StartMs() = 0;  // always 0: positions count from the first sample
    virtual int64_t EndMs() = 0;    // start + length
    // The play clock: the device's played frames when the sound is heard, else the wall clock
    // from play; stays at the end once it got there.
    virtual int64_t PositionMs() = 0;
    // 0..1000, linear; values outside are clamped.
    virtual void VolumeSet(int thousandths) = 0;
    // The picture size; 0 x 0 without a picture stream.
    virtual void SourceSize(int& width, int& height) = 0;
    // Plays from the position; true when the file has something to play. At the end: nothing.
    virtual bool Play() = 0;
    virtual void SeekStart() = 0;  // back to 0, and stopped
    virtual void Stop() = 0;       // keeps the position
    // True when the file's sound reaches the audio device.
    virtual bool Audible() = 0;
    // The newest picture whose time has come, when it is newer than the last one taken.
    virtual bool FrameTake(std::vector<uint8_t>& rgba, int& width, int& height) = 0;
};

// Opens path for playing through device (null: no sound, pictures by the wall clock). Null
// when the file cannot be opened or holds neither sound nor pictures.
std::unique_ptr<MediaPlayer> MediaPlayerOpen(const std::string& path, AudioDevice* device);

using MediaPlayerFactory = std::unique_ptr<MediaPlayer> (*)(const std::string& path,
                                                            AudioDevice* device);
// Replaces the opener (tests); null restores the FFmpeg one.
void MediaPlayerFactorySet(MediaPlayerFactory factory);
// The FFmpeg opener itself, for test doubles that wrap it.
std::unique_ptr<MediaPlayer> MediaPlayerOpenFfmpeg(const std::string& path, AudioDevice* device);

}  // namespace platform
