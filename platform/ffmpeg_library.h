// FFmpeg opened on first use: the runtime does not link it, so a program that never plays music
// or video, or records one, never loads its libraries (about a hundred shared objects with
// their dependencies). Only platform's decoder and encoder include this header; nothing above
// platform sees FFmpeg's types.
#pragma once

#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace platform {

// Every FFmpeg function the decoder and encoder call, with the library that holds it.
#define CORVANE_FFMPEG_FUNCTIONS(X)             \
    X(avutil, av_channel_layout_default)        \
    X(avutil, av_channel_layout_uninit)         \
    X(avutil, av_frame_alloc)                   \
    X(avutil, av_frame_free)                    \
    X(avutil, av_frame_get_buffer)              \
    X(avutil, av_frame_make_writable)           \
    X(avutil, av_frame_unref)                   \
    X(avutil, av_log_set_level)                 \
    X(avutil, av_opt_set)                       \
    X(avutil, av_rescale_q)                     \
    X(swresample, swr_alloc_set_opts2)          \
    X(swresample, swr_convert)                  \
    X(swresample, swr_free)                     \
    X(swresample, swr_get_out_samples)          \
    X(swresample, swr_init)                     \
    X(swresample, swr_set_matrix)               \
    X(swscale, sws_freeContext)                 \
    X(swscale, sws_getCachedContext)            \
    X(swscale, sws_getContext)                  \
    X(swscale, sws_scale)                       \
    X(avcodec, av_packet_alloc)                 \
    X(avcodec, av_packet_free)                  \
    X(avcodec, av_packet_get_side_data)         \
    X(avcodec, av_packet_rescale_ts)            \
    X(avcodec, av_packet_unref)                 \
    X(avcodec, avcodec_alloc_context3)          \
    X(avcodec, avcodec_find_decoder)            \
    X(avcodec, avcodec_find_encoder)            \
    X(avcodec, avcodec_find_encoder_by_name)    \
    X(avcodec, avcodec_free_context)            \
    X(avcodec, avcodec_open2)                   \
    X(avcodec, avcodec_parameters_from_context) \
    X(avcodec, avcodec_parameters_to_context)   \
    X(avcodec, avcodec_receive_frame)           \
    X(avcodec, avcodec_receive_packet)          \
    X(avcodec, avcodec_send_frame)              \
    X(avcodec, avcodec_send_packet)             \
    X(avformat, av_find_best_stream)            \
    X(avformat, av_interleaved_write_frame)     \
    X(avformat, av_read_frame)                  \
    X(avformat, av_write_trailer)               \
    X(avformat, avformat_alloc_output_context2) \
    X(avformat, avformat_close_input)           \
    X(avformat, avformat_find_stream_info)      \
    X(avformat, avformat_free_context)          \
    X(avformat, avformat_new_stream)            \
    X(avformat, avformat_open_input)            \
    X(avformat, avformat_query_codec)           \
    X(avformat, avformat_write_header)          \
    X(avformat, avio_closep)                    \
    X(avformat, avio_open)

struct FfmpegFunctions {
#define CORVANE_FFMPEG_POINTER(library, name) decltype(&::name) name = nullptr;
    CORVANE_FFMPEG_FUNCTIONS(CORVANE_FFMPEG_POINTER)
#undef CORVANE_FFMPEG_POINTER
};

// Opens the libraries and resolves every function, once for the whole program (the first call
// from any thread does it, the others wait). False when a library or a function is missing:
// why goes to stderr once, and into *why on every call that asks. Music, video and recording
// then fail to open as they do for a file that cannot be read.
bool FfmpegLoad(std::string* why = nullptr);

// The resolved functions; only after FfmpegLoad has returned true.
const FfmpegFunctions& Ffmpeg();

}  // namespace platform
