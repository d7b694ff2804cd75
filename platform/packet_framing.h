// The packet-mode framing on a byte stream: each packet goes as a 4-byte little-endian length
// followed by its bytes. Pure logic: the packet socket feeds it what arrives and takes whole
// packets out; tests and the fuzz test drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

constexpr size_t kFrameLengthSize = 4;

// Appends packet's frame (length, then bytes) to out.
void FrameAppend(std::string& out, std::string_view packet);

class FrameDecoder {
public:
    explicit FrameDecoder(size_t maxPacket) : maxPacket_(maxPacket) {}

    enum class Result { Packet, NeedMore, TooLong };
    // Adds bytes that arrived.
    void Feed(const char* data, size_t n) { buffer_.append(data, n); }
    // Takes the next whole packet out. TooLong: a length over the limit came; the stream is
    // not one of ours and stays refused (every later call answers TooLong).
    Result Next(std::string& packet);
    // Bytes held: an unfinished frame (or several finished ones not yet taken).
    size_t Buffered() const { return buffer_.size() - start_; }

private:
    size_t maxPacket_;
    std::string buffer_;
    size_t start_ = 0;
    bool refused_ = false;
};

}  // namespace platform
