#include "platform/media_player.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/media_decoder.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Pictures decoded ahead of the clock when nothing else drives the decoding.
constexpr size_t kPicturesAhead = 8;

class FfmpegPlayer : public MediaPlayer {
public:
    FfmpegPlayer(std::unique_ptr<MediaDecoder> decoder, AudioDevice* device, AudioStreamId stream)
        : decoder_(std::move(decoder)), device_(device), stream_(stream) {
        if (stream_) rate_ = device_->OutputRate(), channels_ = device_->OutputChannels();
        soundClock_ = stream_ != 0;
        worker_ = std::thread([this] { Work(); });
    }

    ~FfmpegPlayer() override {
        {
            std::lock_guard<std::mutex> lock(m_);
            quit_ = true;
        }
        wake_.notify_all();
        worker_.join();
        if (stream_) device_->StreamClose(stream_);
    }

    int64_t LengthMs() override { return decoder_->LengthMs(); }
    int64_t StartMs() override { return 0; }
    int64_t EndMs() override { return LengthMs(); }

    int64_t PositionMs() override {
        std::lock_guard<std::mutex> lock(m_);
        return PositionLocked();
    }

    void VolumeSet(int thousandths) override {
        if (!stream_) return;
        device_->StreamGainSet(stream_, std::clamp(thousandths, 0, 1000) / 1000.0f);
    }

    void SourceSize(int& width, int& height) override {
        width = decoder_->HasPicture() ? decoder_->Width() : 0;
        height = decoder_->HasPicture() ? decoder_->Height() : 0;
    }

    bool Play() override {
        {
            std::lock_guard<std::mutex> lock(m_);
            PositionLocked();
            if (ended_ || playing_) return true;
            playing_ = true;
            wallStart_ = Clock::now();
            if (stream_) device_->StreamPause(stream_, false);
        }
        wake_.notify_all();
        return true;
    }

    void Stop() override {
        std::lock_guard<std::mutex> lock(m_);
        if (!playing_) return;
        wallBaseMs_ = PositionLocked();
        playing_ = false;
        if (stream_) device_->StreamPause(stream_, true);
    }

    void SeekStart() override {
        {
            std::lock_guard<std::mutex> lock(m_);
            // The worker writes only under the lock, so nothing from before the seek can reach
            // the voice after the clear.
            playing_ = false;
            if (stream_) {
                device_->StreamPause(stream_, true);
                device_->StreamClear(stream_);
            }
            decoder_->Rewind();
            decoded_ = false;
            pending_.clear();
            pendingAt_ = 0;
            pictures_.clear();
            ended_ = false;
            soundClock_ = stream_ != 0;
            wallBaseMs_ = 0;
        }
        wake_.notify_all();
    }

    bool Audible() override { return stream_ != 0; }

    bool FrameTake(std::vector<uint8_t>& rgba, int& width, int& height) override {
        bool taken = false;
        {
            std::lock_guard<std::mutex> lock(m_);
            int64_t now = PositionLocked();
            while (!pictures_.empty() && (pictures_.front().timeMs <= now || ended_)) {
                rgba.swap(pictures_.front().rgba);
                width = pictures_.front().width;
                height = pictures_.front().height;
                pictures_.pop_front();
                taken = true;
            }
        }
        if (taken) wake_.notify_all();
        return taken;
    }

private:
    int64_t WallMs() const {
        if (!playing_) return wallBaseMs_;
        auto d = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - wallStart_);
        return wallBaseMs_ + d.count();
    }

    // The clock, with the switch from the voice's clock to the wall clock once the sound has
    // all been heard (a picture stream may run longer), and the stop at the end.
    int64_t PositionLocked() {
        const int64_t length = decoder_->LengthMs();
        if (ended_) return length;
        int64_t ms = 0;
        if (soundClock_) {
            ms = static_cast<int64_t>(device_->StreamPlayedFrames(stream_) * 1000 / rate_);
            bool soundDone = decoded_ && pendingAt_ >= pending_.size() &&
                             device_->StreamQueuedFrames(stream_) == 0;
            if (soundDone) {
                soundClock_ = false;
                wallBaseMs_ = ms;
                wallStart_ = Clock::now();
                if (!decoder_->HasPicture()) ms = length;  // nothing else will come
            }
        } else {
            ms = WallMs();
        }
        if (ms >= length) {
            ended_ = true;
            playing_ = false;
            wallBaseMs_ = length;
            if (stream_) device_->StreamPause(stream_, true);
            return length;
        }
        return ms;
    }

    bool PendingSound() const { return pendingAt_ < pending_.size(); }

    bool WorkDue() const {
        if (quit_) return true;
        if (!playing_ || decoded_) return playing_ && PendingSound();
        if (PendingSound()) return true;
        if (stream_) return true;  // the voice takes what its queue has room for
        return decoder_->HasPicture() && pictures_.size() < kPicturesAhead;
    }

    void Work() {
        std::vector<int16_t> pcm;
        std::vector<DecodedPicture> pictures;
        std::unique_lock<std::mutex> lock(m_);
        while (!quit_) {
            wake_.wait_for(lock, std::chrono::milliseconds(5), [this] { return WorkDue(); });
            if (quit_) break;
            if (!playing_) continue;
            if (PendingSound()) {
                size_t frames = (pending_.size() - pendingAt_) / channels_;
                size_t took = device_->StreamWrite(stream_, pending_.data() + pendingAt_, frames);
                pendingAt_ += took * channels_;
                if (PendingSound()) {
                    // The queue is full: let the mixer play some of it.
                    wake_.wait_for(lock, std::chrono::milliseconds(5), [this] { return quit_; });
                    if (decoder_->HasPicture() && pictures_.size() < kPicturesAhead &&
                        pending_.size() - pendingAt_ < static_cast<size_t>(rate_ * channels_))
                        DecodeStep(pcm, pictures);
                }
                continue;
            }
            if (decoded_) continue;
            if (!stream_ && !(decoder_->HasPicture() && pictures_.size() < kPicturesAhead))
                continue;
            DecodeStep(pcm, pictures);
        }
    }

    void DecodeStep(std::vector<int16_t>& pcm, std::vector<DecodedPicture>& pictures) {
        pcm.clear();
        pictures.clear();
        if (!decoder_->Step(pcm, decoder_->HasPicture() ? &pictures : nullptr)) decoded_ = true;
        if (!pcm.empty()) {
            if (pendingAt_ >= pending_.size()) {
                pending_.swap(pcm);
                pendingAt_ = 0;
            } else {
                pending_.insert(pending_.end(), pcm.begin(), pcm.end());
            }
        }
        for (auto& p : pictures) pictures_.push_back(std::move(p));
    }

    std::unique_ptr<MediaDecoder> decoder_;
    AudioDevice* device_;
    AudioStreamId stream_;
    int rate_ = 1, channels_ = 2;

    std::mutex m_;
    std::condition_variable wake_;
    bool quit_ = false;
    bool playing_ = false;
    bool ended_ = false;
    bool decoded_ = false;     // the decoder has nothing more
    bool soundClock_ = false;  // the position follows the voice's played frames
    int64_t wallBaseMs_ = 0;   // wall-clock position when play last started
    Clock::time_point wallStart_;
    std::vector<int16_t> pending_;  // decoded PCM the voice has not taken yet
    size_t pendingAt_ = 0;
    std::deque<DecodedPicture> pictures_;
    std::thread worker_;
};

MediaPlayerFactory gFactory = nullptr;

}  // namespace

std::unique_ptr<MediaPlayer> MediaPlayerOpenFfmpeg(const std::string& path, AudioDevice* device) {
    AudioStreamId stream = 0;
    if (device) {
        stream = device->StreamOpen(device->OutputRate(), device->OutputChannels());
        if (stream) device->StreamPause(stream, true);
    }
    auto decoder = MediaDecoder::Open(path, stream ? device->OutputRate() : 0,
                                      stream ? device->OutputChannels() : 2);
    if (!decoder || !decoder->HasSound()) {
        if (stream) device->StreamClose(stream);
        stream = 0;
    }
    if (!decoder) return nullptr;
    return std::make_unique<FfmpegPlayer>(std::move(decoder), device, stream);
}

std::unique_ptr<MediaPlayer> MediaPlayerOpen(const std::string& path, AudioDevice* device) {
    return gFactory ? gFactory(path, device) : MediaPlayerOpenFfmpeg(path, device);
}

void MediaPlayerFactorySet(MediaPlayerFactory factory) {
    gFactory = factory;
}

}  // namespace platform
