// The audio output: one device and a mixer of our own. Sound buffers hold PCM converted once
// to the device format; duplicates share their first buffer's samples. Streamed voices carry
// decoded music and a video's sound from a worker thread through a bounded queue.
//
// No SDL type crosses this header. All buffer and capture calls come from the main thread;
// StreamWrite may come from any one thread per stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>

namespace platform {

// The layout of PCM samples as a sound file holds them.
struct PcmFormat {
    int rate = 0;           // frames per second, 1,000..192,000
    int channels = 0;       // 1 or 2
    int bitsPerSample = 0;  // 8 (unsigned), 16, 24, 32 (signed), or 32 with isFloat
    bool isFloat = false;
};

// Identifies a buffer or a stream; 0 is none.
using AudioBufferId = int;
using AudioStreamId = int;

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // The format the device was opened with (the mixer's output).
    virtual int OutputRate() const = 0;
    virtual int OutputChannels() const = 0;

    // ---- buffers ----
    // Converts bytes of the given format to the output format. 0 when the format is not one the
    // mixer plays or memory runs out.
    virtual AudioBufferId BufferCreate(const PcmFormat& format, const void* data, size_t bytes) = 0;
    // A buffer sharing source's samples, with its own position, volume and pan; 0 on failure.
    virtual AudioBufferId BufferDuplicate(AudioBufferId source) = 0;
    // Stops and forgets a buffer; the shared samples go with the last buffer that uses them.
    virtual void BufferRelease(AudioBufferId id) = 0;
    // Plays once from the current position (the end: nothing sounds). False for an unknown id.
    // A play that runs to the end stops there and leaves the position at the start again.
    virtual bool Play(AudioBufferId id) = 0;
    virtual void Stop(AudioBufferId id) = 0;  // keeps the position
    virtual void Rewind(AudioBufferId id) = 0;
    virtual bool Playing(AudioBufferId id) const = 0;
    // Hundredths of a decibel, -10,000..0: gain 10^(v / 2000).
    virtual void VolumeSet(AudioBufferId id, int hundredthsDb) = 0;
    // -10,000..10,000: below 0 attenuates the right channel by |pan| hundredths of a decibel,
    // above 0 the left.
    virtual void PanSet(AudioBufferId id, int pan) = 0;

    // ---- streamed voices ----
    // Interleaved signed 16-bit PCM at rate and channels (1 or 2); resampled by the mixer.
    virtual AudioStreamId StreamOpen(int rate, int channels) = 0;
    // Appends up to frameCount frames and returns how many the bounded queue took.
    virtual size_t StreamWrite(AudioStreamId id, const int16_t* samples, size_t frameCount) = 0;
    // Frames written but not yet mixed.
    virtual size_t StreamQueuedFrames(AudioStreamId id) const = 0;
    // Input frames the mixer has consumed since the open or the last clear: the play clock.
    virtual uint64_t StreamPlayedFrames(AudioStreamId id) const = 0;
    virtual void StreamGainSet(AudioStreamId id, float gain) = 0;  // linear, 0..1
    virtual void StreamPause(AudioStreamId id, bool paused) = 0;
    virtual void StreamClear(AudioStreamId id) = 0;  // drops what is queued
    virtual void StreamClose(AudioStreamId id) = 0;

    // ---- capture (the frame recorder) ----
    // From CaptureStart on, the mix moves only when CaptureMix asks, on the caller's thread:
    // it gives the next frames stereo frames of the mix, and the device plays those same
    // frames a moment later (through a short queue whose overflow the device skips; a run
    // faster than real time is heard in pieces). Once no CaptureMix has come for idleMs of
    // real time (a wait, a long load), the device mixes on its own until the next one, so
    // sounds never stand still for good. False where there is no mixer to capture.
    virtual bool CaptureStart(int idleMs) = 0;
    virtual void CaptureMix(int16_t* out, size_t frames) = 0;
};

// Opens the default output at 22,050 Hz, 16-bit, stereo through the installed factory (SDL
// audio unless a test replaced it). Null when no device opens.
std::unique_ptr<AudioDevice> AudioDeviceOpen();
// AudioDeviceOpen on a thread of its own: the result comes through the future. The thread
// frees what SDL keeps per thread before it ends (SDL frees that only for threads it made).
std::future<std::unique_ptr<AudioDevice>> AudioDeviceOpenInBackground();

using AudioDeviceFactory = std::unique_ptr<AudioDevice> (*)();
// Replaces the factory (tests); null restores the SDL one.
void AudioDeviceFactorySet(AudioDeviceFactory factory);

}  // namespace platform
