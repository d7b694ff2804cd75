// The mixer behind every audio device, as plain code: voices over shared converted samples,
// streamed voices fed through bounded single-producer queues, and a saturating sum into
// interleaved signed 16-bit stereo. The device's callback calls DevicePull, which mixes
// unless the frame recorder captures; tests call Mix directly to move time on.
//
// One mutex guards the voice and stream tables. The main thread holds it only for constant
// work (flags, positions, a table entry); conversion happens before it is taken and freed
// memory is released after it is dropped, so the mixing thread never waits long and never
// frees memory itself. StreamWrite takes it only to find its queue.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio.h"

namespace platform {

class AudioMixer : public AudioDevice {
public:
    explicit AudioMixer(int outputRate);
    ~AudioMixer() override;
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    int OutputRate() const override { return outputRate_; }
    int OutputChannels() const override { return 2; }

    AudioBufferId BufferCreate(const PcmFormat& format, const void* data, size_t bytes) override;
    AudioBufferId BufferDuplicate(AudioBufferId source) override;
    void BufferRelease(AudioBufferId id) override;
    bool Play(AudioBufferId id) override;
    void Stop(AudioBufferId id) override;
    void Rewind(AudioBufferId id) override;
    bool Playing(AudioBufferId id) const override;
    void VolumeSet(AudioBufferId id, int hundredthsDb) override;
    void PanSet(AudioBufferId id, int pan) override;

    AudioStreamId StreamOpen(int rate, int channels) override;
    size_t StreamWrite(AudioStreamId id, const int16_t* samples, size_t frameCount) override;
    size_t StreamQueuedFrames(AudioStreamId id) const override;
    uint64_t StreamPlayedFrames(AudioStreamId id) const override;
    void StreamGainSet(AudioStreamId id, float gain) override;
    void StreamPause(AudioStreamId id, bool paused) override;
    void StreamClear(AudioStreamId id) override;
    void StreamClose(AudioStreamId id) override;

    bool CaptureStart(int idleMs) override;
    void CaptureMix(int16_t* out, size_t frames) override;

    // Fills frames stereo frames (2 x frames samples) with the sum of what is playing.
    void Mix(int16_t* out, size_t frames);
    // The device's pull (its own thread): the mix, or while capturing what CaptureMix queued.
    void DevicePull(int16_t* out, size_t frames);

    // Frames the capture's queue to the device holds, and how many it gathers before it
    // plays again after running dry (so a pull that comes early does not chop the sound).
    static constexpr size_t kCaptureQueueFrames = 4096;
    static constexpr size_t kCapturePrimeFrames = 1024;

    // The 16.16 fixed-point gains a volume and a pan give the left and right channels.
    static void GainsFor(int hundredthsDb, int pan, int32_t& left, int32_t& right);

    // Frames a stream's queue holds at most.
    static size_t StreamCapacityFor(int rate);

private:
    struct Samples;
    struct Voice;
    struct Stream;

    Voice* VoiceAt(AudioBufferId id);
    const Voice* VoiceAt(AudioBufferId id) const;
    std::shared_ptr<Stream> StreamAt(AudioStreamId id) const;
    AudioBufferId VoiceInsert(std::shared_ptr<const Samples> samples);
    void MixStream(Stream& s, int32_t* acc, size_t frames);

    const int outputRate_;
    mutable std::mutex mutex_;
    std::vector<Voice> voices_;  // id - 1; an entry without samples is free
    std::vector<std::shared_ptr<Stream>> streams_;
    std::vector<int32_t> accumulator_;

    // Capture: the main thread writes the queue, the device's thread reads it.
    std::atomic<bool> capturing_{false};
    std::atomic<int64_t> captureLastNs_{0};  // steady clock of the last CaptureMix
    int64_t captureIdleNs_ = 0;
    std::vector<int16_t> captureQueue_;  // stereo frames, kCaptureQueueFrames of them
    std::atomic<uint64_t> captureWritten_{0};
    std::atomic<uint64_t> captureRead_{0};
    bool capturePrimed_ = false;  // the device thread's own
};

}  // namespace platform
