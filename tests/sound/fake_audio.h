// An audio device that plays its streamed voices against the real clock (optionally faster)
// and remembers what reached it, so players run without a sound card.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/audio.h"

namespace fake {

class AudioOut final : public platform::AudioDevice {
public:
    explicit AudioOut(double speed = 1.0, size_t queueFrames = 8192)
        : speed_(speed), capacity_(queueFrames) {}

    struct Voice {
        int rate = 0, channels = 0;
        uint64_t written = 0;  // frames taken since the last clear
        double played = 0;     // frames the "mixer" has consumed since the last clear
        uint64_t totalWritten = 0;
        uint64_t loudSamples = 0;  // samples above a whisper: proof the sound is not silence
        bool paused = false;
        float gain = 1.0f;
        int clears = 0;
        std::chrono::steady_clock::time_point at = std::chrono::steady_clock::now();
    };

    // A copy of voice id's record, brought up to now.
    Voice Snapshot(platform::AudioStreamId id) {
        std::lock_guard<std::mutex> lock(m_);
        return Advance(id);
    }
    int OpenVoices() {
        std::lock_guard<std::mutex> lock(m_);
        return static_cast<int>(voices_.size());
    }
    platform::AudioStreamId LastStream() {
        std::lock_guard<std::mutex> lock(m_);
        return next_ - 1;
    }

    int OutputRate() const override { return 22050; }
    int OutputChannels() const override { return 2; }
    platform::AudioBufferId BufferCreate(const platform::PcmFormat&, const void*, size_t) override {
        return 0;
    }
    platform::AudioBufferId BufferDuplicate(platform::AudioBufferId) override { return 0; }
    void BufferRelease(platform::AudioBufferId) override {}
    bool Play(platform::AudioBufferId) override { return false; }
    void Stop(platform::AudioBufferId) override {}
    void Rewind(platform::AudioBufferId) override {}
    bool Playing(platform::AudioBufferId) const override { return false; }
    void VolumeSet(platform::AudioBufferId, int) override {}
    void PanSet(platform::AudioBufferId, int) override {}

    platform::AudioStreamId StreamOpen(int rate, int channels) override {
        std::lock_guard<std::mutex> lock(m_);
        Voice v;
        v.rate = rate;
        v.channels = channels;
        voices_[next_] = v;
        return next_++;
    }
    size_t StreamWrite(platform::AudioStreamId id, const int16_t* samples, size_t frames) override {
        std::lock_guard<std::mutex> lock(m_);
        Voice& v = Advance(id);
        uint64_t queued = v.written - static_cast<uint64_t>(v.played);
        size_t room = queued >= capacity_ ? 0 : capacity_ - static_cast<size_t>(queued);
        size_t took = std::min(room, frames);
        for (size_t i = 0; i < took * v.channels; ++i)
            if (std::abs(samples[i]) > 300) ++v.loudSamples;
        v.written += took;
        v.totalWritten += took;
        return took;
    }
    size_t StreamQueuedFrames(platform::AudioStreamId id) const override {
        std::lock_guard<std::mutex> lock(m_);
        Voice& v = Advance(id);
        return static_cast<size_t>(v.written - static_cast<uint64_t>(v.played));
    }
    uint64_t StreamPlayedFrames(platform::AudioStreamId id) const override {
        std::lock_guard<std::mutex> lock(m_);
        return static_cast<uint64_t>(Advance(id).played);
    }
    void StreamGainSet(platform::AudioStreamId id, float gain) override {
        std::lock_guard<std::mutex> lock(m_);
        Advance(id).gain = gain;
    }
    void StreamPause(platform::AudioStreamId id, bool paused) override {
        std::lock_guard<std::mutex> lock(m_);
        Advance(id).paused = paused;
    }
    void StreamClear(platform::AudioStreamId id) override {
        std::lock_guard<std::mutex> lock(m_);
        Voice& v = Advance(id);
        v.written = 0;
        v.played = 0;
        ++v.clears;
    }
    void StreamClose(platform::AudioStreamId id) override {
        std::lock_guard<std::mutex> lock(m_);
        voices_.erase(id);
    }
    // Plays against the clock, so there is no mix to capture.
    bool CaptureStart(int) override { return false; }
    void CaptureMix(int16_t*, size_t) override {}

private:
    // Consumes what the clock says has been played since the last look.
    Voice& Advance(platform::AudioStreamId id) const {
        Voice& v = voices_[id];
        auto now = std::chrono::steady_clock::now();
        double seconds = std::chrono::duration<double>(now - v.at).count();
        v.at = now;
        if (!v.paused)
            v.played = std::min<double>(static_cast<double>(v.written),
                                        v.played + seconds * v.rate * speed_);
        return v;
    }

    double speed_;
    size_t capacity_;
    mutable std::mutex m_;
    mutable std::map<platform::AudioStreamId, Voice> voices_;
    platform::AudioStreamId next_ = 1;
};

}  // namespace fake
