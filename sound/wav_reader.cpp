#include "sound/wav_reader.h"

#include <algorithm>
#include <cstring>

#include "core/bytes.h"
#include "platform/pcm_convert.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The sub-format identifier's last 12 bytes, shared by every standard sub-format.
constexpr uint8_t kSubFormatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                        0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

constexpr auto U16 = BytesLe16;
constexpr auto U32 = BytesLe32;
bool Is(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// The format of a "fmt " chunk body; false when the mixer cannot play it.
bool FormatRead(const uint8_t* body, uint64_t size, platform::PcmFormat& f) {
    if (size < 16) return false;
    uint16_t tag = U16(body);
    const uint16_t channels = U16(body + 2);
    const uint32_t rate = U32(body + 4);
    const uint16_t blockAlign = U16(body + 12);
    const uint16_t bits = U16(body + 14);
    if (tag == kFormatExtensible) {
        // cbSize 22: valid bits, channel mask, then the sub-format identifier.
        if (size < 40 || U16(body + 16) < 22) return false;
        const uint8_t* sub = body + 24;
        if (U32(sub) > 0xFFFF || std::memcmp(sub + 4, kSubFormatTail, 12) != 0) return false;
        tag = U16(sub);
    }
    if (tag != kFormatPcm && tag != kFormatFloat) return false;
    if (rate > uint32_t(platform::kPcmRateMax)) return false;
    f.rate = int(rate);
    f.channels = channels;
    f.bitsPerSample = bits;
    f.isFloat = tag == kFormatFloat;
    if (!platform::PcmFormatPlayable(f)) return false;
    return blockAlign == platform::PcmFrameBytes(f);
}

}  // namespace

bool WavParse(const uint8_t* bytes, size_t size, WavSound& out) {
    out = WavSound{};
    if (!bytes || size < 12 || !Is(bytes, "RIFF") || !Is(bytes + 8, "WAVE")) return false;
    const uint64_t end = size;
    uint64_t at = 12;
    bool haveFormat = false;
    platform::PcmFormat format;
    while (at + 8 <= end) {
        const uint8_t* header = bytes + at;
        const uint64_t length = U32(header + 4);
        const uint64_t body = at + 8;
        const uint64_t left = end - body;
        if (haveFormat && Is(header, "data")) {
            out.format = format;
            out.data = bytes + body;
            out.bytes = size_t(std::min(length, left));
            return true;
        }
        if (length > left) return false;
        if (!haveFormat && Is(header, "fmt ")) {
            if (!FormatRead(bytes + body, length, format)) return false;
            haveFormat = true;
        }
        at = body + length + (length & 1);  // chunks are padded to an even size
    }
    return false;
}
