#include "platform/packet_framing.h"

namespace platform {

void FrameAppend(std::string& out, std::string_view packet) {
    const uint32_t n = static_cast<uint32_t>(packet.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    out.append(packet);
}

FrameDecoder::Result FrameDecoder::Next(std::string& packet) {
    if (refused_) return Result::TooLong;
    const size_t held = buffer_.size() - start_;
    if (held < kFrameLengthSize) return Result::NeedMore;
    const auto* p = reinterpret_cast<const unsigned char*>(buffer_.data() + start_);
    const uint32_t n =
        uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    if (n > maxPacket_) {
        refused_ = true;
        buffer_.clear();
        start_ = 0;
        return Result::TooLong;
    }
    if (held < kFrameLengthSize + n) return Result::NeedMore;
    packet.assign(buffer_.data() + start_ + kFrameLengthSize, n);
    start_ += kFrameLengthSize + n;
    // Compact once the taken part dominates, so the buffer never grows with the traffic.
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    } else if (start_ > 65536 && start_ * 2 > buffer_.size()) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    return Result::Packet;
}

}  // namespace platform
