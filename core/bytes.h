// Little- and big-endian integers read from bytes, whatever the host's order: the one place
// the file formats, the packets and the archive take their fields from.
#pragma once

#include <cstdint>

inline uint16_t BytesLe16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t BytesLe32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint32_t BytesBe32(const unsigned char* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}
