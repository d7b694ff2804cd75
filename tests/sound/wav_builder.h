// Builds WAV files byte by byte for tests, independently of the reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wavtest {

inline void Put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A chunk: id, size, body and the pad byte of an odd body. size overrides the size field.
inline std::string Chunk(const std::string& id, const std::string& body, int64_t size = -1) {
    std::string c = id;
    Put32(c, size < 0 ? uint32_t(body.size()) : uint32_t(size));
    c += body;
    if (body.size() % 2) c += '\0';
    return c;
}

// A "fmt " body of 16 bytes (extra empty: plain PCM) or more.
inline std::string FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                           const std::string& extra = "", int blockAlign = -1) {
    std::string b;
    const uint16_t align = blockAlign < 0 ? uint16_t(channels * bits / 8) : uint16_t(blockAlign);
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    return b + extra;
}

// The 24 extra bytes of WAVE_FORMAT_EXTENSIBLE for sub-format tag (1 PCM, 3 float).
inline std::string ExtensibleExtra(uint16_t subTag, uint16_t validBits) {
    std::string e;
    Put16(e, 22);
    Put16(e, validBits);
    Put32(e, 3);  // front left and right
    Put32(e, subTag);
    const uint8_t tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                              0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    e.append(reinterpret_cast<const char*>(tail), 12);
    return e;
}

inline std::string Riff(const std::string& chunks) {
    std::string f = "RIFF";
    Put32(f, uint32_t(4 + chunks.size()));
    return f + "WAVE" + chunks;
}

inline std::string Samples16(const std::vector<int16_t>& s) {
    std::string b;
    for (int16_t v : s) Put16(b, uint16_t(v));
    return b;
}

// A plain 16-bit PCM file of interleaved samples.
inline std::string Wav16(const std::vector<int16_t>& samples, int channels, int rate) {
    return Riff(Chunk("fmt ", FmtBody(1, uint16_t(channels), uint32_t(rate), 16)) +
                Chunk("data", Samples16(samples)));
}

}  // namespace wavtest
