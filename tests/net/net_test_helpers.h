// Helpers of the network tests: polling with a deadline, descriptor and memory counts, and a
// raw peer that writes whatever bytes a test wants onto a connection.
#pragma once

#include <malloc.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "net/packet.h"
#include "platform/packet_framing.h"
#include "platform/sockets.h"

namespace nettest {

// Polls until done() or the deadline (at least 30 s, so a loaded machine still passes).
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Whether this machine's loopback speaks IPv6 (some containers have none).
inline bool Ipv6Loopback() {
    auto l = platform::ListenSocket::Open(0);
    return l && platform::StreamSocket::Connect("::1", l->Port(), 5000) != nullptr;
}

inline size_t OpenDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

// Heap bytes this process holds live, in KiB: what its queues and buffers keep, without the
// pages the allocator's per-thread arenas leave resident after a burst (the resident size moves
// by tens of megabytes with thread timing alone).
inline long HeapInUseKb() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}

// A peer speaking raw bytes: frames of its choosing, or no framing at all.
struct RawPeer {
    std::unique_ptr<platform::StreamSocket> socket;

    bool Connect(const std::string& host, int port) {
        socket = platform::StreamSocket::Connect(host, port, 10000);
        return socket != nullptr;
    }
    bool SendBytes(const std::string& bytes) {
        return socket->SendAll(bytes.data(), bytes.size(), 10000) == platform::SocketStatus::Ok;
    }
    bool SendFrame(const std::string& packet) {
        std::string frame;
        platform::FrameAppend(frame, packet);
        return SendBytes(frame);
    }
    // The next frame, read by hand (4-byte little-endian length, then the packet); false at
    // the deadline or when the connection ends first.
    bool ReadFrame(std::string& packet, int timeoutMs = 30000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        auto fill = [&](size_t want) {
            while (pending.size() < want) {
                if (std::chrono::steady_clock::now() > end) return false;
                char buf[4096];
                size_t got = 0;
                const auto r = socket->Receive(buf, sizeof buf, got, 100);
                if (r == platform::SocketStatus::Ok)
                    pending.append(buf, got);
                else if (r != platform::SocketStatus::TimedOut &&
                         r != platform::SocketStatus::WouldBlock)
                    return false;
            }
            return true;
        };
        if (!fill(4)) return false;
        const auto* b = reinterpret_cast<const unsigned char*>(pending.data());
        const size_t n = b[0] | b[1] << 8 | b[2] << 16 | size_t(b[3]) << 24;
        if (n > (1u << 20) || !fill(4 + n)) return false;
        packet = pending.substr(4, n);
        pending.erase(0, 4 + n);
        return true;
    }
    std::string pending;  // bytes read past the last frame

    // True once the other side has closed (reading and discarding what it still sends).
    bool ClosedByPeer(int timeoutMs = 30000) {
        char buf[4096];
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            size_t got = 0;
            const auto r = socket->Receive(buf, sizeof buf, got, 100);
            if (r == platform::SocketStatus::Closed || r == platform::SocketStatus::Failed)
                return true;
        }
        return false;
    }
};

// The 32-bit little-endian field at offset of a packet read off the wire (0 when too short).
inline int32_t WireField(const std::string& packet, size_t offset) {
    if (packet.size() < offset + 4) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(packet.data() + offset);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

// A packet with a header the test shapes by hand.
inline std::string RawPacket(const std::string& magic, uint8_t type, int32_t length, int32_t target,
                             int32_t sender, const std::string& payload) {
    std::string p = magic;
    p.push_back(static_cast<char>(type));
    Int32Append(p, length);
    Int32Append(p, target);
    Int32Append(p, sender);
    return p + payload;
}

}  // namespace nettest
