#include "platform/audio_mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/pcm_convert.h"

namespace platform {

namespace {

constexpr size_t kMixChunk = 1024;  // frames summed per pass over the voices
constexpr int32_t kUnityGain = 1 << 16;
constexpr int kStreamsMax = 16;

int32_t GainOf(double hundredthsDb) {
    return static_cast<int32_t>(std::lrint(std::pow(10.0, hundredthsDb / 2000.0) * kUnityGain));
}

// One sample scaled by a 16.16 gain, rounded to the nearest.
inline int32_t Scaled(int32_t sample, int32_t gain) {
    return (sample * gain + 0x8000) >> 16;
}

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

struct AudioMixer::Samples {
    std::vector<int16_t> data;  // stereo frames at the output rate
    size_t Frames() const { return data.size() / 2; }
};

struct AudioMixer::Voice {
    std::shared_ptr<const Samples> samples;  // null: a free entry
    size_t position = 0;                     // frames
    bool playing = false;
    int volume = 0;
    int pan = 0;
    int32_t gainLeft = kUnityGain;
    int32_t gainRight = kUnityGain;
};

// A bounded single-producer, single-consumer queue of frames. The writer moves writeCount;
// the consumer (the mixer, or a clear under the mixer's mutex) moves readCount.
struct AudioMixer::Stream {
    Stream(int r, int ch) : rate(r), channels(ch), capacity(StreamCapacityFor(r)) {
        ring.assign(capacity * size_t(ch), 0);
    }
    const int rate;
    const int channels;
    const size_t capacity;  // a power of two
    std::vector<int16_t> ring;
    std::atomic<uint64_t> writeCount{0};
    std::atomic<uint64_t> readCount{0};
    std::atomic<uint64_t> played{0};
    std::atomic<float> gain{1.0f};
    std::atomic<bool> paused{false};
    // Resampling state, the mixer's only. Going up: the frames at whole positions k and k + 1
    // and where between them the next output frame falls. Going down: the frames the output
    // frame covers, summed as they arrive.
    int32_t a[2] = {0, 0};
    int32_t b[2] = {0, 0};
    int loaded = 0;  // how many of a and b hold frames
    double phase = 0.0;
    int32_t sum[2] = {0, 0};
    int need = 0, taken = 0;

    bool Pop(uint64_t& r, uint64_t w, int32_t frame[2]) {
        if (r == w) return false;
        const int16_t* p = &ring[size_t(r & (capacity - 1)) * size_t(channels)];
        frame[0] = p[0];
        frame[1] = channels == 2 ? p[1] : p[0];
        ++r;
        return true;
    }

    // The next output frame at step input frames per output frame; false when the queue ran
    // dry first (the place is kept for the next call).
    bool Next(uint64_t& r, uint64_t w, double step, int32_t v[2]) {
        return step > 1.0 ? NextAveraged(r, w, step, v) : NextInterpolated(r, w, step, v);
    }

    // Same rate or going up: linear interpolation between the frames either side.
    bool NextInterpolated(uint64_t& r, uint64_t w, double step, int32_t v[2]) {
        while (loaded < 2 || phase >= 1.0) {
            if (loaded == 2) {  // move on one input frame
                a[0] = b[0];
                a[1] = b[1];
                loaded = 1;
                phase -= 1.0;
            }
            if (!Pop(r, w, loaded == 0 ? a : b)) return false;
            ++loaded;
        }
        for (int c = 0; c < 2; ++c)
            v[c] = static_cast<int32_t>(std::lrint(a[c] + (b[c] - a[c]) * phase));
        phase += step;
        return true;
    }

    // Going down: the mean of the input frames the output frame covers, so tones above the
    // output's half rate are damped rather than folded back into the audible range.
    bool NextAveraged(uint64_t& r, uint64_t w, double step, int32_t v[2]) {
        if (need == 0) {
            phase += step;
            need = static_cast<int>(phase);
            phase -= need;
            sum[0] = sum[1] = 0;
            taken = 0;
        }
        for (int32_t f[2]; taken < need; ++taken) {
            if (!Pop(r, w, f)) return false;
            sum[0] += f[0];
            sum[1] += f[1];
        }
        for (int c = 0; c < 2; ++c) v[c] = static_cast<int32_t>(std::lrint(double(sum[c]) / need));
        need = 0;
        return true;
    }

    void ResetResampler() {
        loaded = need = taken = 0;
        phase = 0.0;
    }
};

AudioMixer::AudioMixer(int outputRate)
    : outputRate_(outputRate > 0 ? outputRate : 22050), accumulator_(kMixChunk * 2) {
    voices_.reserve(1024);
    streams_.reserve(kStreamsMax);  // opening a stream never reallocates
}

AudioMixer::~AudioMixer() = default;

size_t AudioMixer::StreamCapacityFor(int rate) {
    size_t cap = 4096;
    while (cap < size_t(std::max(rate, 1))) cap *= 2;  // at least a second
    return cap;
}

void AudioMixer::GainsFor(int hundredthsDb, int pan, int32_t& left, int32_t& right) {
    const double v = std::clamp(hundredthsDb, -10000, 0);
    const int p = std::clamp(pan, -10000, 10000);
    left = GainOf(v - (p > 0 ? p : 0));
    right = GainOf(v - (p < 0 ? -p : 0));
}

AudioMixer::Voice* AudioMixer::VoiceAt(AudioBufferId id) {
    if (id <= 0 || size_t(id) > voices_.size() || !voices_[size_t(id) - 1].samples) return nullptr;
    return &voices_[size_t(id) - 1];
}

const AudioMixer::Voice* AudioMixer::VoiceAt(AudioBufferId id) const {
    return const_cast<AudioMixer*>(this)->VoiceAt(id);
}

AudioBufferId AudioMixer::VoiceInsert(std::shared_ptr<const Samples> samples) {
    for (size_t i = 0; i < voices_.size(); ++i) {
        if (!voices_[i].samples) {
            voices_[i] = Voice{};
            voices_[i].samples = std::move(samples);
            return AudioBufferId(i + 1);
        }
    }
    if (voices_.size() >= size_t(1) << 20) return 0;
    try {
        voices_.push_back(Voice{});
    } catch (const std::exception&) {  // out of memory
        return 0;
    }
    voices_.back().samples = std::move(samples);
    return AudioBufferId(voices_.size());
}

AudioBufferId AudioMixer::BufferCreate(const PcmFormat& format, const void* data, size_t bytes) {
    auto samples = std::make_shared<Samples>();
    try {
        if (!PcmConvert(format, data, bytes, outputRate_, samples->data)) return 0;
    } catch (const std::exception&) {  // out of memory
        return 0;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return VoiceInsert(std::move(samples));
}

AudioBufferId AudioMixer::BufferDuplicate(AudioBufferId source) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Voice* v = VoiceAt(source);
    if (!v) return 0;
    return VoiceInsert(v->samples);
}

void AudioMixer::BufferRelease(AudioBufferId id) {
    std::shared_ptr<const Samples> last;  // freed after the mutex is dropped
    std::lock_guard<std::mutex> lock(mutex_);
    if (Voice* v = VoiceAt(id)) {
        last = std::move(v->samples);
        *v = Voice{};
    }
}

bool AudioMixer::Play(AudioBufferId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    Voice* v = VoiceAt(id);
    if (!v) return false;
    v->playing = v->position < v->samples->Frames();
    return true;
}

void AudioMixer::Stop(AudioBufferId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Voice* v = VoiceAt(id)) v->playing = false;
}

void AudioMixer::Rewind(AudioBufferId id) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Voice* v = VoiceAt(id)) v->position = 0;
}

bool AudioMixer::Playing(AudioBufferId id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Voice* v = VoiceAt(id);
    return v && v->playing;
}

void AudioMixer::VolumeSet(AudioBufferId id, int hundredthsDb) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Voice* v = VoiceAt(id)) {
        v->volume = std::clamp(hundredthsDb, -10000, 0);
        GainsFor(v->volume, v->pan, v->gainLeft, v->gainRight);
    }
}

void AudioMixer::PanSet(AudioBufferId id, int pan) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Voice* v = VoiceAt(id)) {
        v->pan = std::clamp(pan, -10000, 10000);
        GainsFor(v->volume, v->pan, v->gainLeft, v->gainRight);
    }
}

AudioStreamId AudioMixer::StreamOpen(int rate, int channels) {
    if (rate < kPcmRateMin || rate > kPcmRateMax || (channels != 1 && channels != 2)) return 0;
    std::shared_ptr<Stream> s;
    try {
        s = std::make_shared<Stream>(rate, channels);
    } catch (const std::exception&) {  // out of memory
        return 0;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < streams_.size(); ++i) {
        if (!streams_[i]) {
            streams_[i] = std::move(s);
            return AudioStreamId(i + 1);
        }
    }
    if (streams_.size() >= kStreamsMax) return 0;
    streams_.push_back(std::move(s));
    return AudioStreamId(streams_.size());
}

std::shared_ptr<AudioMixer::Stream> AudioMixer::StreamAt(AudioStreamId id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (id <= 0 || size_t(id) > streams_.size()) return nullptr;
    return streams_[size_t(id) - 1];
}

size_t AudioMixer::StreamWrite(AudioStreamId id, const int16_t* samples, size_t frameCount) {
    std::shared_ptr<Stream> s = StreamAt(id);
    if (!s || !samples) return 0;
    const uint64_t w = s->writeCount.load(std::memory_order_relaxed);
    const uint64_t r = s->readCount.load(std::memory_order_acquire);
    const size_t room = s->capacity - size_t(w - r);
    const size_t n = std::min(room, frameCount);
    const size_t ch = size_t(s->channels);
    const size_t at = size_t(w & (s->capacity - 1));
    const size_t first = std::min(n, s->capacity - at);
    std::memcpy(&s->ring[at * ch], samples, first * ch * sizeof(int16_t));
    std::memcpy(s->ring.data(), samples + first * ch, (n - first) * ch * sizeof(int16_t));
    s->writeCount.store(w + n, std::memory_order_release);
    return n;
}

size_t AudioMixer::StreamQueuedFrames(AudioStreamId id) const {
    std::shared_ptr<Stream> s = StreamAt(id);
    if (!s) return 0;
    const uint64_t r = s->readCount.load(std::memory_order_acquire);
    return size_t(s->writeCount.load(std::memory_order_acquire) - r);
}

uint64_t AudioMixer::StreamPlayedFrames(AudioStreamId id) const {
    std::shared_ptr<Stream> s = StreamAt(id);
    return s ? s->played.load(std::memory_order_acquire) : 0;
}

void AudioMixer::StreamGainSet(AudioStreamId id, float gain) {
    if (auto s = StreamAt(id)) s->gain.store(gain == gain ? std::clamp(gain, 0.0f, 1.0f) : 0.0f);
}

void AudioMixer::StreamPause(AudioStreamId id, bool paused) {
    if (auto s = StreamAt(id)) s->paused.store(paused);
}

void AudioMixer::StreamClear(AudioStreamId id) {
    std::lock_guard<std::mutex> lock(mutex_);  // the consumer's side: the mixer is not running
    if (id <= 0 || size_t(id) > streams_.size() || !streams_[size_t(id) - 1]) return;
    Stream& s = *streams_[size_t(id) - 1];
    s.readCount.store(s.writeCount.load(std::memory_order_acquire), std::memory_order_release);
    s.played.store(0);
    s.ResetResampler();
}

void AudioMixer::StreamClose(AudioStreamId id) {
    std::shared_ptr<Stream> gone;  // freed after the mutex is dropped
    std::lock_guard<std::mutex> lock(mutex_);
    if (id <= 0 || size_t(id) > streams_.size()) return;
    gone = std::move(streams_[size_t(id) - 1]);
}

void AudioMixer::MixStream(Stream& s, int32_t* acc, size_t frames) {
    if (s.paused.load(std::memory_order_relaxed)) return;
    const int32_t gain =
        static_cast<int32_t>(std::lrint(s.gain.load(std::memory_order_relaxed) * kUnityGain));
    const uint64_t w = s.writeCount.load(std::memory_order_acquire);
    uint64_t r = s.readCount.load(std::memory_order_relaxed);
    const uint64_t r0 = r;
    const double step = double(s.rate) / double(outputRate_);
    for (size_t i = 0; i < frames; ++i) {
        int32_t v[2];
        if (!s.Next(r, w, step, v)) break;  // starved: wait for the writer
        acc[2 * i] += Scaled(v[0], gain);
        acc[2 * i + 1] += Scaled(v[1], gain);
    }
    if (r != r0) {
        s.readCount.store(r, std::memory_order_release);
        s.played.fetch_add(r - r0, std::memory_order_acq_rel);
    }
}

void AudioMixer::Mix(int16_t* out, size_t frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (frames > 0) {
        const size_t n = std::min(frames, kMixChunk);
        int32_t* acc = accumulator_.data();
        std::fill(acc, acc + 2 * n, 0);
        for (Voice& v : voices_) {
            if (!v.playing) continue;
            const size_t total = v.samples->Frames();
            const size_t m = std::min(n, total - v.position);
            const int16_t* src = v.samples->data.data() + 2 * v.position;
            const int32_t gl = v.gainLeft, gr = v.gainRight;
            for (size_t i = 0; i < m; ++i) {
                acc[2 * i] += Scaled(src[2 * i], gl);
                acc[2 * i + 1] += Scaled(src[2 * i + 1], gr);
            }
            v.position += m;
            if (v.position >= total) {  // played through: stopped, ready to play again
                v.playing = false;
                v.position = 0;
            }
        }
        for (auto& s : streams_)
            if (s) MixStream(*s, acc, n);
        for (size_t i = 0; i < 2 * n; ++i)
            out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
        out += 2 * n;
        frames -= n;
    }
}

}  // namespace platform

namespace platform {

bool AudioMixer::CaptureStart(int idleMs) {
    if (capturing_.load()) return true;
    captureQueue_.assign(kCaptureQueueFrames * 2, 0);
    captureIdleNs_ = int64_t(std::max(idleMs, 1)) * 1000000;
    captureLastNs_.store(SteadyNs());
    capturing_.store(true, std::memory_order_release);  // the queue is ready before this
    return true;
}

void AudioMixer::CaptureMix(int16_t* out, size_t frames) {
    Mix(out, frames);
    captureLastNs_.store(SteadyNs(), std::memory_order_relaxed);
    if (!capturing_.load(std::memory_order_relaxed)) return;
    // What does not fit is skipped by the device; the caller has it all.
    const uint64_t w = captureWritten_.load(std::memory_order_relaxed);
    const uint64_t r = captureRead_.load(std::memory_order_acquire);
    const size_t n = std::min(frames, kCaptureQueueFrames - size_t(w - r));
    for (size_t i = 0; i < n; ++i) {
        const size_t at = size_t((w + i) % kCaptureQueueFrames) * 2;
        captureQueue_[at] = out[2 * i];
        captureQueue_[at + 1] = out[2 * i + 1];
    }
    captureWritten_.store(w + n, std::memory_order_release);
}

void AudioMixer::DevicePull(int16_t* out, size_t frames) {
    if (!capturing_.load(std::memory_order_acquire)) return Mix(out, frames);
    const uint64_t w = captureWritten_.load(std::memory_order_acquire);
    uint64_t r = captureRead_.load(std::memory_order_relaxed);
    if (SteadyNs() - captureLastNs_.load(std::memory_order_relaxed) > captureIdleNs_) {
        // No frame for a while: what is queued is old, and the sounds go on in real time.
        captureRead_.store(w, std::memory_order_release);
        capturePrimed_ = false;
        return Mix(out, frames);
    }
    const size_t queued = size_t(w - r);
    if (!capturePrimed_ && queued >= kCapturePrimeFrames) capturePrimed_ = true;
    const size_t n = capturePrimed_ ? std::min(frames, queued) : 0;
    for (size_t i = 0; i < n; ++i, ++r) {
        const size_t at = size_t(r % kCaptureQueueFrames) * 2;
        out[2 * i] = captureQueue_[at];
        out[2 * i + 1] = captureQueue_[at + 1];
    }
    std::fill(out + 2 * n, out + 2 * frames, int16_t(0));
    if (n < frames) capturePrimed_ = false;
    captureRead_.store(r, std::memory_order_release);
}

}  // namespace platform
