// A media player double that writes down every call the music commands make, in order. It
// either plays a scripted piece or passes each call on to a real FFmpeg player.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "corvane.h"
#include "platform/media_player.h"

namespace fake {

struct PlayerLog {
    std::vector<std::string> calls;   // "length", "seek", "play", "stop", "volume 500", "close"
    std::vector<double> seekTimes;    // TimerGet at each seek
    std::vector<std::string> opened;  // paths asked for
    // The scripted piece (when not wrapping a real player).
    int64_t length = 3000;
    int64_t position = 0;
    bool audible = true;
    bool openFails = false;
    bool wrapReal = false;
    platform::MediaPlayer* last = nullptr;

    void Clear() { *this = PlayerLog(); }
    // Calls since the last Take, then forgotten.
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }
};

inline PlayerLog playerLog;

class RecordingPlayer final : public platform::MediaPlayer {
public:
    explicit RecordingPlayer(std::unique_ptr<platform::MediaPlayer> real)
        : real_(std::move(real)) {}
    ~RecordingPlayer() override {
        playerLog.calls.push_back("close");
        if (playerLog.last == this) playerLog.last = nullptr;
    }
    int64_t LengthMs() override {
        playerLog.calls.push_back("length");
        return real_ ? real_->LengthMs() : playerLog.length;
    }
    int64_t StartMs() override { return 0; }
    int64_t EndMs() override { return real_ ? real_->EndMs() : playerLog.length; }
    int64_t PositionMs() override { return real_ ? real_->PositionMs() : playerLog.position; }
    void VolumeSet(int thousandths) override {
        playerLog.calls.push_back("volume " + std::to_string(thousandths));
        if (real_) real_->VolumeSet(thousandths);
    }
    void SourceSize(int& w, int& h) override {
        w = h = 0;
        if (real_) real_->SourceSize(w, h);
    }
    bool Play() override {
        playerLog.calls.push_back("play");
        return real_ ? real_->Play() : true;
    }
    void SeekStart() override {
        playerLog.calls.push_back("seek");
        playerLog.seekTimes.push_back(TimerGet());
        if (real_) real_->SeekStart();
    }
    void Stop() override {
        playerLog.calls.push_back("stop");
        if (real_) real_->Stop();
    }
    bool Audible() override { return real_ ? real_->Audible() : playerLog.audible; }
    bool FrameTake(std::vector<uint8_t>& rgba, int& w, int& h) override {
        return real_ && real_->FrameTake(rgba, w, h);
    }

private:
    std::unique_ptr<platform::MediaPlayer> real_;
};

inline std::unique_ptr<platform::MediaPlayer> RecordingOpen(const std::string& path,
                                                            platform::AudioDevice* device) {
    playerLog.opened.push_back(path);
    if (playerLog.openFails) return nullptr;
    std::unique_ptr<platform::MediaPlayer> real;
    if (playerLog.wrapReal) {
        real = platform::MediaPlayerOpenFfmpeg(path, device);
        if (!real) return nullptr;
    }
    auto p = std::make_unique<RecordingPlayer>(std::move(real));
    playerLog.last = p.get();
    return p;
}

}  // namespace fake
