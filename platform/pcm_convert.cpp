#include "platform/pcm_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace platform {

namespace {

// One sample as a 16-bit value (kept wider so averaging does not overflow).
int32_t SampleAt(const uint8_t* p, const PcmFormat& f) {
    switch (f.bitsPerSample) {
        case 8:
            return (int32_t(p[0]) - 128) * 256;
        case 16:
            return int16_t(uint16_t(p[0] | (p[1] << 8)));
        case 24: {
            const int32_t v =
                int32_t(uint32_t(p[0] << 8) | uint32_t(p[1] << 16) | uint32_t(p[2]) << 24);
            return v >> 16;
        }
        default: {
            const uint32_t u =
                uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
            if (!f.isFloat) return int32_t(u) >> 16;
            float x;
            std::memcpy(&x, &u, sizeof x);
            if (!(x == x)) return 0;  // NaN
            return int32_t(std::lrint(std::clamp(x * 32768.0f, -32768.0f, 32767.0f)));
        }
    }
}

int16_t Clamp16(double v) {
    return static_cast<int16_t>(std::lrint(std::clamp(v, -32768.0, 32767.0)));
}

}  // namespace

bool PcmFormatPlayable(const PcmFormat& f) {
    if (f.channels != 1 && f.channels != 2) return false;
    if (f.rate < kPcmRateMin || f.rate > kPcmRateMax) return false;
    if (f.isFloat) return f.bitsPerSample == 32;
    return f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 ||
           f.bitsPerSample == 32;
}

size_t PcmFrameBytes(const PcmFormat& f) {
    return PcmFormatPlayable(f) ? size_t(f.channels) * size_t(f.bitsPerSample / 8) : 0;
}

namespace {
bool ConvertInside(const PcmFormat& f, const void* data, size_t bytes, int outputRate,
                   std::vector<int16_t>& out) {
    const size_t frameBytes = PcmFrameBytes(f);
    if (frameBytes == 0 || outputRate <= 0 || (bytes > 0 && !data)) return false;
    const size_t inFrames = bytes / frameBytes;
    if (inFrames == 0) return false;
    const auto* src = static_cast<const uint8_t*>(data);
    const size_t sampleBytes = size_t(f.bitsPerSample / 8);

    // Decode to 16-bit stereo at the file's rate first.
    std::vector<int16_t> stereo;
    const bool sameRate = f.rate == outputRate;
    std::vector<int16_t>& dst = sameRate ? out : stereo;
    dst.assign(inFrames * 2, 0);
    for (size_t i = 0; i < inFrames; ++i) {
        const uint8_t* p = src + i * frameBytes;
        const int32_t l = SampleAt(p, f);
        const int32_t r = f.channels == 2 ? SampleAt(p + sampleBytes, f) : l;
        dst[2 * i] = static_cast<int16_t>(l);
        dst[2 * i + 1] = static_cast<int16_t>(r);
    }
    if (sameRate) return true;

    const uint64_t outFrames =
        std::max<uint64_t>(1, (uint64_t(inFrames) * uint64_t(outputRate)) / uint64_t(f.rate));
    out.assign(size_t(outFrames) * 2, 0);
    const double step = double(f.rate) / double(outputRate);  // input frames per output frame
    for (uint64_t o = 0; o < outFrames; ++o) {
        const double start = double(o) * step;
        for (int c = 0; c < 2; ++c) {
            double v;
            if (step <= 1.0) {
                const size_t i0 = std::min(size_t(start), inFrames - 1);
                const size_t i1 = std::min(i0 + 1, inFrames - 1);
                const double t = start - double(i0);
                v = stereo[2 * i0 + c] * (1.0 - t) + stereo[2 * i1 + c] * t;
            } else {
                // The mean over the input frames this output frame covers.
                const size_t i0 = std::min(size_t(start), inFrames - 1);
                const size_t i1 = std::clamp(size_t(start + step), i0 + 1, inFrames);
                double sum = 0;
                for (size_t i = i0; i < i1; ++i) sum += stereo[2 * i + c];
                v = sum / double(i1 - i0);
            }
            out[2 * o + c] = Clamp16(v);
        }
    }
    return true;
}
}  // namespace

bool PcmConvert(const PcmFormat& f, const void* data, size_t bytes, int outputRate,
                std::vector<int16_t>& out) {
    // Sizes come from the bytes present, but a big sound may still not fit in memory: that
    // is the loader's failure, not an abort.
    try {
        return ConvertInside(f, data, bytes, outputRate, out);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
}

}  // namespace platform
