// Network packets as they arrive: the stream framing cut into the pieces the input's first
// byte picks, every whole frame parsed as a session packet, join payloads parsed; a parsed
// packet must build back to exactly its bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/packet.h"
#include "platform/packet_framing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = 1 + data[0] % 64;
    const char* p = reinterpret_cast<const char*>(data + 1);
    size_t left = size - 1;
    platform::FrameDecoder decoder(kPacketMax);
    std::string frame;
    while (left > 0) {
        const size_t n = left < piece ? left : piece;
        decoder.Feed(p, n);
        p += n;
        left -= n;
        for (;;) {
            const auto r = decoder.Next(frame);
            if (r != platform::FrameDecoder::Result::Packet) break;
            if (frame.size() > kPacketMax) __builtin_trap();
            Packet packet;
            if (!PacketParse(frame.data(), frame.size(), packet)) continue;
            if (PacketBuild(packet) != frame) __builtin_trap();
            uint32_t token = 0;
            std::string name;
            if (JoinPayloadParse(packet.payload, token, name) && name.size() > kPlayerNameMax)
                __builtin_trap();
            int32_t v = 0;
            Int32Read(packet.payload, v);
        }
    }
    // The same bytes as one datagram.
    Packet whole;
    PacketParse(reinterpret_cast<const char*>(data), size, whole);
    return 0;
}
