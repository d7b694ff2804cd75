// TCP for the network commands: stream sockets (name resolution, connect with a time-out,
// IPv4 and IPv6), a packet-mode socket that delivers each written packet whole, listening
// with non-blocking accept, polling many sockets at once, a waker that interrupts a poll, and
// the machine's local addresses. Every descriptor is close-on-exec and no write raises
// SIGPIPE. Only std types cross this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/packet_framing.h"

namespace platform {

// The outcomes a socket operation reports.
enum class SocketStatus {
    Ok,
    WouldBlock,    // nothing now; try again after a poll
    Closed,        // the peer closed the connection (an orderly end)
    TimedOut,      // the time-out passed first
    AcceptFailed,  // the listening socket can accept no more
    BadFrame,      // a packet-mode peer sent a frame over the limit: it is not one of ours
    Full,          // a packet-mode socket's outgoing queue is over its bound
    Failed,        // any other error (refused, reset, unreachable, no such name)
};

// A connected TCP stream socket; closes its descriptor when destroyed.
class StreamSocket {
public:
    explicit StreamSocket(int fd) : fd_(fd) {}
    ~StreamSocket();
    StreamSocket(const StreamSocket&) = delete;
    StreamSocket& operator=(const StreamSocket&) = delete;

    // Resolves host (a name, an IPv4 or an IPv6 address) and connects to the first address
    // that answers within timeoutMs overall. Null on failure, with why in status.
    static std::unique_ptr<StreamSocket> Connect(const std::string& host, int port, int timeoutMs,
                                                 SocketStatus* status = nullptr);

    // Writes all n bytes, waiting up to timeoutMs for room each time the socket is full.
    SocketStatus SendAll(const void* data, size_t n, int timeoutMs);
    // Writes what the socket takes now; got receives the count (WouldBlock: none taken).
    SocketStatus SendSome(const void* data, size_t n, size_t& got);
    // Waits up to timeoutMs (0: not at all) for bytes and reads up to n of them into got.
    // Closed when the peer has closed and nothing is left.
    SocketStatus Receive(void* data, size_t n, size_t& got, int timeoutMs);

    int Descriptor() const { return fd_; }

private:
    int fd_;
};

// A listening TCP socket. Non-blocking: Accept never waits.
class ListenSocket {
public:
    ~ListenSocket();
    ListenSocket(const ListenSocket&) = delete;
    ListenSocket& operator=(const ListenSocket&) = delete;

    // Listens on port of every local address, IPv6 and IPv4 alike when the system allows
    // (port 0: one the system picks). Null on failure.
    static std::unique_ptr<ListenSocket> Open(int port);
    // A waiting connection (Ok), none now (WouldBlock), or AcceptFailed when the socket
    // cannot go on (a transient failure of one connection reports WouldBlock).
    SocketStatus Accept(std::unique_ptr<StreamSocket>& out);

    int Port() const { return port_; }
    int Descriptor() const { return fd_; }

private:
    ListenSocket(int fd, int port) : fd_(fd), port_(port) {}
    int fd_;
    int port_;
};

// Packet mode over a stream socket: each packet written arrives whole, alone, in one Receive.
// Non-blocking; the owner polls the descriptor. Outgoing bytes wait in a bounded queue.
class PacketSocket {
public:
    PacketSocket(std::unique_ptr<StreamSocket> stream, size_t maxPacket, size_t maxQueuedBytes);

    // Queues one packet and writes what the socket takes now. Full when the queue would pass
    // its bound (the peer is not reading), Failed when the connection is gone.
    SocketStatus Send(std::string_view packet);
    // Writes queued bytes without waiting.
    SocketStatus Flush();
    bool WantsWrite() const { return !out_.empty(); }
    // The next whole packet: Ok, WouldBlock (none complete yet), Closed (the peer closed;
    // a packet cut off by the close is dropped), BadFrame or Failed.
    SocketStatus Receive(std::string& packet);

    int Descriptor() const { return stream_->Descriptor(); }
    StreamSocket& Stream() { return *stream_; }

private:
    std::unique_ptr<StreamSocket> stream_;
    FrameDecoder decoder_;
    std::deque<char> out_;
    size_t maxQueued_;
    bool peerClosed_ = false;
};

// Interrupts a poll from another thread: its descriptor becomes readable on Wake.
class SocketWaker {
public:
    SocketWaker();
    ~SocketWaker();
    SocketWaker(const SocketWaker&) = delete;
    SocketWaker& operator=(const SocketWaker&) = delete;
    void Wake();
    void Drain();
    int Descriptor() const { return fd_; }

private:
    int fd_;
};

struct SocketPollEntry {
    int descriptor = -1;
    bool wantRead = true;
    bool wantWrite = false;
    bool readable = false;  // set by SocketPoll; also set on hang-up and error, so a read
    bool writable = false;  // reports what happened
};
// Waits up to timeoutMs (negative: no limit) for any entry to become ready; any number of
// entries. Returns the number ready, 0 on time-out, -1 on error.
int SocketPoll(std::vector<SocketPollEntry>& entries, int timeoutMs);

// The numeric addresses of the machine's interfaces that are up, IPv4 then IPv6 as the
// system lists them. False when they cannot be listed.
bool LocalAddressesList(std::vector<std::string>& out);

}  // namespace platform
