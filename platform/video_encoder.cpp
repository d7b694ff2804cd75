#include "platform/video_encoder.h"

#include <algorithm>

#include "platform/ffmpeg_library.h"

namespace platform {
namespace {

class FfmpegVideoEncoder final : public VideoEncoder {
public:
    ~FfmpegVideoEncoder() override {
        Finish();
        Ffmpeg().sws_freeContext(scale_);
        Ffmpeg().av_frame_free(&frame_);
        Ffmpeg().av_frame_free(&soundFrame_);
        Ffmpeg().av_packet_free(&packet_);
        Ffmpeg().avcodec_free_context(&codec_);
        Ffmpeg().avcodec_free_context(&sound_);
        if (format_) {
            if (format_->pb) Ffmpeg().avio_closep(&format_->pb);
            Ffmpeg().avformat_free_context(format_);
        }
    }

    bool Open(const std::string& path, int width, int height, int fps, int soundRate,
              std::string& error) {
        width_ = width;
        height_ = height;
        // The encoders' own progress lines would fill the program's output.
        Ffmpeg().av_log_set_level(AV_LOG_ERROR);
        if (Ffmpeg().avformat_alloc_output_context2(&format_, nullptr, nullptr, path.c_str()) < 0 ||
            !format_) {
            error = "unknown container for " + path;
            return false;
        }
        // H.264 plays everywhere; MPEG-4 part 2 is the encoder every FFmpeg build has.
        const AVCodec* codec = Ffmpeg().avcodec_find_encoder_by_name("libx264");
        if (!codec) codec = Ffmpeg().avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        if (!codec) {
            error = "no video encoder";
            return false;
        }
        stream_ = Ffmpeg().avformat_new_stream(format_, nullptr);
        codec_ = Ffmpeg().avcodec_alloc_context3(codec);
        if (!stream_ || !codec_) {
            error = "out of memory";
            return false;
        }
        codec_->width = width & ~1;  // 4:2:0 needs even sizes
        codec_->height = height & ~1;
        codec_->time_base = AVRational{1, fps > 0 ? fps : 60};
        codec_->framerate = AVRational{fps > 0 ? fps : 60, 1};
        codec_->pix_fmt = AV_PIX_FMT_YUV420P;
        codec_->gop_size = 120;
        // No reordered frames: every player then shows the first frame at time 0.
        codec_->max_b_frames = 0;
        if (format_->oformat->flags & AVFMT_GLOBALHEADER)
            codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (codec->id == AV_CODEC_ID_H264) {
            Ffmpeg().av_opt_set(codec_->priv_data, "preset", "veryfast", 0);
            Ffmpeg().av_opt_set(codec_->priv_data, "crf", "20", 0);
        } else {
            codec_->bit_rate = 4000000;
        }
        if (Ffmpeg().avcodec_open2(codec_, codec, nullptr) < 0 ||
            Ffmpeg().avcodec_parameters_from_context(stream_->codecpar, codec_) < 0) {
            error = "encoder does not open";
            return false;
        }
        stream_->time_base = codec_->time_base;
        // Without sound the video is still worth having; error says what is missing.
        const std::string soundWhy = soundRate > 0 ? SoundOpen(soundRate) : "";
        if (failed_) {
            error = soundWhy;
            return false;
        }
        if (!(format_->oformat->flags & AVFMT_NOFILE) &&
            Ffmpeg().avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) {
            error = "cannot create " + path;
            return false;
        }
        if (Ffmpeg().avformat_write_header(format_, nullptr) < 0) {
            error = "cannot write the header of " + path;
            return false;
        }
        headerWritten_ = true;
        frame_ = Ffmpeg().av_frame_alloc();
        packet_ = Ffmpeg().av_packet_alloc();
        if (!frame_ || !packet_) {
            error = "out of memory";
            return false;
        }
        frame_->format = codec_->pix_fmt;
        frame_->width = codec_->width;
        frame_->height = codec_->height;
        if (Ffmpeg().av_frame_get_buffer(frame_, 0) < 0) {
            error = "out of memory";
            return false;
        }
        scale_ = Ffmpeg().sws_getContext(codec_->width, codec_->height, AV_PIX_FMT_RGBA,
                                         codec_->width, codec_->height, AV_PIX_FMT_YUV420P,
                                         SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scale_) {
            error = "no colour conversion";
            return false;
        }
        error = soundWhy;
        return true;
    }

    bool FrameWrite(const uint8_t* rgba) override {
        if (failed_ || finished_) return false;
        if (Ffmpeg().av_frame_make_writable(frame_) < 0) return Fail();
        const uint8_t* src[1] = {rgba};
        const int srcStride[1] = {width_ * 4};
        Ffmpeg().sws_scale(scale_, src, srcStride, 0, codec_->height, frame_->data,
                           frame_->linesize);
        frame_->pts = nextPts_++;
        if (Ffmpeg().avcodec_send_frame(codec_, frame_) < 0) return Fail();
        return Drain(codec_, stream_);
    }

    bool SoundWrite(const int16_t* stereo, size_t frames) override {
        if (failed_ || finished_) return false;
        if (!sound_) return true;
        while (frames > 0) {
            if (soundFill_ == 0 && Ffmpeg().av_frame_make_writable(soundFrame_) < 0) return Fail();
            const size_t n = std::min(frames, size_t(soundFrameSize_ - soundFill_));
            auto* left = reinterpret_cast<float*>(soundFrame_->data[0]) + soundFill_;
            auto* right = reinterpret_cast<float*>(soundFrame_->data[1]) + soundFill_;
            for (size_t i = 0; i < n; ++i) {
                left[i] = stereo[2 * i] / 32768.0f;
                right[i] = stereo[2 * i + 1] / 32768.0f;
            }
            stereo += 2 * n;
            frames -= n;
            soundFill_ += int(n);
            if (soundFill_ == soundFrameSize_ && !SoundSend()) return false;
        }
        return true;
    }

    bool HasSound() const override { return sound_ != nullptr; }

    bool Finish() override {
        if (finished_) return !failed_;
        finished_ = true;
        if (!headerWritten_) return false;
        if (!failed_ && Ffmpeg().avcodec_send_frame(codec_, nullptr) >= 0) Drain(codec_, stream_);
        // The last, shorter sound frame: the track ends where the sound given ends.
        if (!failed_ && sound_ && (soundFill_ == 0 || SoundSend()) &&
            Ffmpeg().avcodec_send_frame(sound_, nullptr) >= 0)
            Drain(sound_, soundStream_);
        if (Ffmpeg().av_write_trailer(format_) < 0) failed_ = true;
        if (format_->pb) Ffmpeg().avio_closep(&format_->pb);
        return !failed_;
    }

private:
    bool Fail() {
        failed_ = true;
        return false;
    }

    // The sound track's encoder and stream, added before the header; why not where it fails.
    std::string SoundOpen(int rate) {
        if (Ffmpeg().avformat_query_codec(format_->oformat, AV_CODEC_ID_AAC,
                                          FF_COMPLIANCE_NORMAL) != 1)
            return "the container takes no AAC sound";
        const AVCodec* codec = Ffmpeg().avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!codec) return "no AAC encoder";
        sound_ = Ffmpeg().avcodec_alloc_context3(codec);
        if (!sound_) return "out of memory";
        sound_->sample_fmt = AV_SAMPLE_FMT_FLTP;  // the only layout FFmpeg's own AAC takes
        sound_->sample_rate = rate;
        Ffmpeg().av_channel_layout_default(&sound_->ch_layout, 2);
        sound_->bit_rate = 128000;
        sound_->time_base = AVRational{1, rate};
        if (format_->oformat->flags & AVFMT_GLOBALHEADER)
            sound_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (Ffmpeg().avcodec_open2(sound_, codec, nullptr) < 0) {
            Ffmpeg().avcodec_free_context(&sound_);
            return "the AAC encoder does not open";
        }
        soundStream_ = Ffmpeg().avformat_new_stream(format_, nullptr);
        soundFrame_ = Ffmpeg().av_frame_alloc();
        soundFrameSize_ = sound_->frame_size > 0 ? sound_->frame_size : 1024;
        if (soundFrame_) {
            soundFrame_->format = sound_->sample_fmt;
            soundFrame_->sample_rate = rate;
            soundFrame_->nb_samples = soundFrameSize_;
            Ffmpeg().av_channel_layout_default(&soundFrame_->ch_layout, 2);
        }
        if (!soundStream_ || !soundFrame_ ||
            Ffmpeg().avcodec_parameters_from_context(soundStream_->codecpar, sound_) < 0 ||
            Ffmpeg().av_frame_get_buffer(soundFrame_, 0) < 0) {
            // A stream once added stays in the file: fail the whole video rather than leave
            // an empty track.
            failed_ = true;
            return "out of memory";
        }
        soundStream_->time_base = sound_->time_base;
        return "";
    }

    bool SoundSend() {
        soundFrame_->nb_samples = soundFill_;
        soundFrame_->pts = soundPts_;
        soundPts_ += soundFill_;
        soundFill_ = 0;
        if (Ffmpeg().avcodec_send_frame(sound_, soundFrame_) < 0) return Fail();
        return Drain(sound_, soundStream_);
    }

    bool Drain(AVCodecContext* codec, AVStream* stream) {
        for (;;) {
            const int r = Ffmpeg().avcodec_receive_packet(codec, packet_);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
            if (r < 0) return Fail();
            if (packet_->duration <= 0) packet_->duration = 1;  // one frame: the last one too
            Ffmpeg().av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
            packet_->stream_index = stream->index;
            const int w = Ffmpeg().av_interleaved_write_frame(format_, packet_);
            Ffmpeg().av_packet_unref(packet_);
            if (w < 0) return Fail();
        }
    }

    AVFormatContext* format_ = nullptr;
    AVStream* stream_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* scale_ = nullptr;
    AVCodecContext* sound_ = nullptr;  // null: no sound track
    AVStream* soundStream_ = nullptr;
    AVFrame* soundFrame_ = nullptr;
    int soundFrameSize_ = 0;  // samples the encoder takes per frame
    int soundFill_ = 0;       // samples in soundFrame_ so far
    int64_t soundPts_ = 0;
    int width_ = 0;
    int height_ = 0;
    int64_t nextPts_ = 0;
    bool headerWritten_ = false;
    bool finished_ = false;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<VideoEncoder> VideoEncoderOpen(const std::string& path, int width, int height,
                                               int framesPerSecond, int soundRate,
                                               std::string& error) {
    if (width < 2 || height < 2) {
        error = "frame too small";
        return nullptr;
    }
    std::string why;
    if (!FfmpegLoad(&why)) {
        error = why;
        return nullptr;
    }
    auto encoder = std::make_unique<FfmpegVideoEncoder>();
    if (!encoder->Open(path, width, height, framesPerSecond, soundRate, error)) return nullptr;
    return encoder;
}

}  // namespace platform
