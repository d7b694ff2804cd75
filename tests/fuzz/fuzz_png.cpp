// PNG decoder. A mutated chunk would almost never keep its CRC and libpng stops at the first
// bad one, so every chunk's CRC is recomputed before decoding: the mutations reach the
// decoder instead of the checksum test.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/decoded_image.h"
#include "gfx/png_io.h"

namespace {

uint32_t Crc(const uint8_t* p, size_t n) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
            table[i] = c;
        }
        ready = true;
    }
    uint32_t c = 0xffffffffu;
    for (size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xff] ^ (c >> 8);
    return ~c;
}

void FixCrcs(std::vector<uint8_t>& b) {
    size_t at = 8;
    while (at + 12 <= b.size()) {
        const uint32_t len = uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 |
                             uint32_t(b[at + 2]) << 8 | b[at + 3];
        if (len > b.size() - at - 12) break;
        const uint32_t c = Crc(&b[at + 4], len + 4);
        uint8_t* out = &b[at + 8 + len];
        for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(c >> (24 - 8 * i));
        at += 12 + len;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    FixCrcs(bytes);
    DecodedImage img;
    const int transparent = size % 2 ? 0x000000 : kNoTransparentColour;
    // A 4,096-pixel texture limit, as a small graphics card has: pictures up to the decoder's
    // own budget (256 MiB) would put the sanitizers' copy over the run's memory limit.
    if (PngDecode(bytes.data(), bytes.size(), "fuzz", transparent, 4096, img)) {
        if (img.pixels.size() != static_cast<size_t>(img.width) * img.height * 4) __builtin_trap();
    }
    return 0;
}
