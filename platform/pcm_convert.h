// Turns sound-file PCM into the mixer's own form: interleaved signed 16-bit stereo at the
// output rate. Done once when a buffer is made, so mixing only adds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio.h"

namespace platform {

constexpr int kPcmRateMin = 1000;
constexpr int kPcmRateMax = 192000;

// True for the layouts the mixer plays: 8-bit unsigned, 16/24/32-bit signed or 32-bit float
// samples, 1 or 2 channels, 1,000..192,000 frames per second.
bool PcmFormatPlayable(const PcmFormat& format);

// Bytes of one frame (all channels of one instant); 0 for a layout that is not playable.
size_t PcmFrameBytes(const PcmFormat& format);

// Converts the whole frames of data (a trailing partial frame is dropped) to stereo at
// outputRate: mono is copied to both sides, other rates are resampled (linear interpolation
// going up, an averaging filter going down). False for an unplayable layout or no whole frame.
bool PcmConvert(const PcmFormat& format, const void* data, size_t bytes, int outputRate,
                std::vector<int16_t>& out);

}  // namespace platform
