#include "platform/media_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/ffmpeg_library.h"

namespace platform {

namespace {

struct FormatCloser {
    void operator()(AVFormatContext* f) const { Ffmpeg().avformat_close_input(&f); }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { Ffmpeg().avcodec_free_context(&c); }
};
struct SwrCloser {
    void operator()(SwrContext* s) const { Ffmpeg().swr_free(&s); }
};
struct SwsCloser {
    void operator()(SwsContext* s) const { Ffmpeg().sws_freeContext(s); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { Ffmpeg().av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { Ffmpeg().av_packet_free(&p); }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;

CodecPtr CodecOpen(AVStream* st) {
    const AVCodec* codec = Ffmpeg().avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) return nullptr;
    CodecPtr c(Ffmpeg().avcodec_alloc_context3(codec));
    if (!c || Ffmpeg().avcodec_parameters_to_context(c.get(), st->codecpar) < 0) return nullptr;
    c->pkt_timebase = st->time_base;
    c->thread_count = 1;  // the worker is the one thread a piece gets
    if (Ffmpeg().avcodec_open2(c.get(), codec, nullptr) < 0) return nullptr;
    return c;
}

int64_t ToMs(int64_t v, AVRational tb) {
    return Ffmpeg().av_rescale_q(v, tb, AVRational{1, 1000});
}

}  // namespace

struct MediaDecoder::Impl {
    std::string path;
    int outRate = 0, outChannels = 2;
    FormatPtr fmt;
    int audioIndex = -1, videoIndex = -1;
    CodecPtr audio, video;
    std::unique_ptr<SwrContext, SwrCloser> swr;
    std::unique_ptr<SwsContext, SwsCloser> sws;
    std::unique_ptr<AVFrame, FrameCloser> frame{Ffmpeg().av_frame_alloc()};
    std::unique_ptr<AVPacket, PacketCloser> packet{Ffmpeg().av_packet_alloc()};
    int width = 0, height = 0;
    int64_t startUs = 0;  // the earliest stream start: time 0 of the positions
    int64_t lengthMs = 0;
    bool eof = false;      // no more packets; the decoders are being drained
    bool drained = false;  // nothing left at all
    std::vector<uint8_t> scratch;

    bool OpenStreams() {
        AVFormatContext* raw = nullptr;
        if (Ffmpeg().avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return false;
        fmt.reset(raw);
        if (Ffmpeg().avformat_find_stream_info(fmt.get(), nullptr) < 0) return false;
        audioIndex =
            Ffmpeg().av_find_best_stream(fmt.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        videoIndex = -1;
        for (unsigned i = 0; i < fmt->nb_streams; ++i) {
            AVStream* st = fmt->streams[i];
            // Cover art inside a music file is a picture stream of one frame: not a video.
            if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) && st->codecpar->width > 0 &&
                st->codecpar->height > 0) {
                videoIndex = static_cast<int>(i);
                break;
            }
        }
        if (audioIndex >= 0) {
            audio = CodecOpen(fmt->streams[audioIndex]);
            if (!audio || audio->sample_rate <= 0 || audio->ch_layout.nb_channels <= 0) {
                audio.reset();
                audioIndex = -1;
            }
        }
        if (videoIndex >= 0) {
            video = CodecOpen(fmt->streams[videoIndex]);
            if (!video) {
                videoIndex = -1;
            } else {
                width = video->width;
                height = video->height;
            }
        }
        if (audioIndex < 0 && videoIndex < 0) return false;
        startUs = fmt->start_time != AV_NOPTS_VALUE ? fmt->start_time : 0;
        if (audioIndex >= 0 && outRate > 0) {
            AVChannelLayout outLayout;
            Ffmpeg().av_channel_layout_default(&outLayout, outChannels);
            SwrContext* s = nullptr;
            int r = Ffmpeg().swr_alloc_set_opts2(&s, &outLayout, AV_SAMPLE_FMT_S16, outRate,
                                                 &audio->ch_layout, audio->sample_fmt,
                                                 audio->sample_rate, 0, nullptr);
            Ffmpeg().av_channel_layout_uninit(&outLayout);
            // A mono piece goes to both sides at its own level, not 3 dB down as a centre
            // channel folded into stereo would be.
            if (r >= 0 && audio->ch_layout.nb_channels == 1) {
                const double unity[2] = {1.0, 1.0};  // one input channel per output row
                Ffmpeg().swr_set_matrix(s, unity, 1);
            }
            if (r < 0 || Ffmpeg().swr_init(s) < 0) {
                Ffmpeg().swr_free(&s);
                return false;
            }
            swr.reset(s);
        }
        eof = drained = false;
        return true;
    }

    void Close() {
        swr.reset();
        sws.reset();
        audio.reset();
        video.reset();
        fmt.reset();
    }

    // Container figures for MP3 and bit-rate estimates count whole frames and the encoder's
    // padding; counting what the demuxer hands the decoder, less the samples it marks to be
    // skipped, gives the length a listener hears without decoding a sample.
    int64_t SoundSamplesCounted() {
        AVStream* st = fmt->streams[audioIndex];
        int64_t samples = 0;
        bool durationsKnown = true;
        while (Ffmpeg().av_read_frame(fmt.get(), packet.get()) >= 0) {
            if (packet->stream_index == audioIndex) {
                if (packet->duration <= 0) durationsKnown = false;
                int64_t n = Ffmpeg().av_rescale_q(packet->duration, st->time_base,
                                                  AVRational{1, audio->sample_rate});
                size_t size = 0;
                const uint8_t* skip =
                    Ffmpeg().av_packet_get_side_data(packet.get(), AV_PKT_DATA_SKIP_SAMPLES, &size);
                if (skip && size >= 8) {
                    uint32_t front = 0, back = 0;
                    std::memcpy(&front, skip, 4);
                    std::memcpy(&back, skip + 4, 4);
                    n -= static_cast<int64_t>(front) + back;
                }
                samples += std::max<int64_t>(n, 0);
            }
            Ffmpeg().av_packet_unref(packet.get());
        }
        return durationsKnown ? samples : -1;
    }

    int64_t StreamMs(int index) const {
        AVStream* st = fmt->streams[index];
        if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
            return ToMs(st->duration, st->time_base);
        return -1;
    }

    // True when it read packets to count (the file must then be opened again to play).
    bool MeasureLength() {
        bool counted = false;
        int64_t ms = 0;
        if (videoIndex >= 0) {
            // Containers that keep one duration for all streams (Matroska) give the pictures'
            // length only there.
            int64_t pictureMs = StreamMs(videoIndex);
            if (pictureMs < 0 && fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0)
                pictureMs = fmt->duration / 1000;
            ms = std::max(ms, pictureMs);
        }
        if (audioIndex >= 0) {
            bool estimate = fmt->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE ||
                            std::strcmp(fmt->iformat->name, "mp3") == 0;
            int64_t soundMs = estimate ? -1 : StreamMs(audioIndex);
            if (soundMs < 0) {
                counted = true;
                int64_t samples = SoundSamplesCounted();
                if (samples >= 0) soundMs = samples * 1000 / audio->sample_rate;
            }
            ms = std::max(ms, soundMs);
        }
        if (ms <= 0 && fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0)
            ms = fmt->duration / 1000;
        lengthMs = std::max<int64_t>(ms, 0);
        return counted;
    }

    void SoundOut(std::vector<int16_t>& pcm, const uint8_t** in, int inSamples) {
        int room = Ffmpeg().swr_get_out_samples(swr.get(), inSamples);
        if (room <= 0) return;
        size_t at = pcm.size();
        pcm.resize(at + static_cast<size_t>(room) * outChannels);
        uint8_t* out = reinterpret_cast<uint8_t*>(pcm.data() + at);
        int got = Ffmpeg().swr_convert(swr.get(), &out, room, in, inSamples);
        pcm.resize(at + static_cast<size_t>(std::max(got, 0)) * outChannels);
    }

    void PictureOut(std::vector<DecodedPicture>& pictures) {
        AVFrame* f = frame.get();
        sws.reset(Ffmpeg().sws_getCachedContext(
            sws.release(), f->width, f->height, static_cast<AVPixelFormat>(f->format), f->width,
            f->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!sws) return;
        DecodedPicture p;
        p.width = f->width;
        p.height = f->height;
        p.rgba.resize(static_cast<size_t>(f->width) * f->height * 4);
        uint8_t* dst[4] = {p.rgba.data(), nullptr, nullptr, nullptr};
        int stride[4] = {f->width * 4, 0, 0, 0};
        Ffmpeg().sws_scale(sws.get(), f->data, f->linesize, 0, f->height, dst, stride);
        AVStream* st = fmt->streams[videoIndex];
        int64_t ts = f->best_effort_timestamp;
        if (ts == AV_NOPTS_VALUE) ts = f->pts;
        p.timeMs = ts == AV_NOPTS_VALUE ? 0 : ToMs(ts, st->time_base) - startUs / 1000;
        pictures.push_back(std::move(p));
    }

    // Takes every frame the decoder has ready.
    void Receive(AVCodecContext* c, bool isSound, std::vector<int16_t>& pcm,
                 std::vector<DecodedPicture>* pictures) {
        while (Ffmpeg().avcodec_receive_frame(c, frame.get()) >= 0) {
            if (isSound) {
                if (swr)
                    SoundOut(pcm, const_cast<const uint8_t**>(frame->extended_data),
                             frame->nb_samples);
            } else if (pictures) {
                PictureOut(*pictures);
            }
            Ffmpeg().av_frame_unref(frame.get());
        }
    }

    bool Step(std::vector<int16_t>& pcm, std::vector<DecodedPicture>* pictures) {
        if (drained) return false;
        if (!eof) {
            int r = Ffmpeg().av_read_frame(fmt.get(), packet.get());
            if (r >= 0) {
                AVCodecContext* c = nullptr;
                bool isSound = false;
                if (packet->stream_index == audioIndex && swr) {
                    c = audio.get();
                    isSound = true;
                } else if (packet->stream_index == videoIndex && pictures) {
                    c = video.get();
                }
                // A damaged packet is skipped; the decoder carries on with the next one.
                if (c && Ffmpeg().avcodec_send_packet(c, packet.get()) >= 0)
                    Receive(c, isSound, pcm, pictures);
                Ffmpeg().av_packet_unref(packet.get());
                return true;
            }
            eof = true;
        }
        if (audio && swr) {
            Ffmpeg().avcodec_send_packet(audio.get(), nullptr);
            Receive(audio.get(), true, pcm, pictures);
            SoundOut(pcm, nullptr, 0);
        }
        if (video && pictures) {
            Ffmpeg().avcodec_send_packet(video.get(), nullptr);
            Receive(video.get(), false, pcm, pictures);
        }
        drained = true;
        return false;
    }
};

MediaDecoder::MediaDecoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MediaDecoder::~MediaDecoder() = default;

std::unique_ptr<MediaDecoder> MediaDecoder::Open(const std::string& path, int outRate,
                                                 int outChannels) {
    if (!FfmpegLoad()) return nullptr;
    Ffmpeg().av_log_set_level(AV_LOG_QUIET);
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->outRate = outRate;
    impl->outChannels = outChannels == 1 ? 1 : 2;
    if (!impl->frame || !impl->packet) return nullptr;
    if (!impl->OpenStreams()) return nullptr;
    if (impl->MeasureLength()) {
        // The counting pass read to the end; start again from a fresh open.
        impl->Close();
        if (!impl->OpenStreams()) return nullptr;
    }
    return std::unique_ptr<MediaDecoder>(new MediaDecoder(std::move(impl)));
}

bool MediaDecoder::HasSound() const {
    return impl_->audioIndex >= 0;
}
bool MediaDecoder::HasPicture() const {
    return impl_->videoIndex >= 0;
}
int MediaDecoder::Width() const {
    return impl_->width;
}
int MediaDecoder::Height() const {
    return impl_->height;
}
int64_t MediaDecoder::LengthMs() const {
    return impl_->lengthMs;
}

bool MediaDecoder::Step(std::vector<int16_t>& pcm, std::vector<DecodedPicture>* pictures) {
    return impl_->Step(pcm, pictures);
}

bool MediaDecoder::Rewind() {
    // A fresh open rather than a seek: every container then starts exactly as it first did
    // (encoder delay skipped again, no half-decoded frame left over).
    impl_->Close();
    if (impl_->OpenStreams()) return true;
    impl_->drained = impl_->eof = true;
    return false;
}

}  // namespace platform
