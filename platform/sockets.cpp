#include "platform/sockets.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

bool NonBlockingSet(int fd) {
    const int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Waits for one descriptor; true when it is ready (or in error, which the next call reports).
bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = poll(&p, 1, timeoutMs);
        if (r > 0) return true;
        if (r == 0) return false;
        if (errno != EINTR) return true;
    }
}

SocketStatus ErrnoStatus(int e) {
    if (e == EAGAIN || e == EWOULDBLOCK) return SocketStatus::WouldBlock;
    return SocketStatus::Failed;
}

// One non-blocking connect to one address, finished within the deadline.
int ConnectOne(const addrinfo& a, Clock::time_point deadline, SocketStatus& why) {
    const int fd = socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a.ai_protocol);
    if (fd < 0) {
        why = SocketStatus::Failed;
        return -1;
    }
    if (connect(fd, a.ai_addr, a.ai_addrlen) == 0) return fd;
    if (errno != EINPROGRESS) {
        why = SocketStatus::Failed;
        close(fd);
        return -1;
    }
    if (!WaitFor(fd, POLLOUT, MsLeft(deadline))) {
        why = SocketStatus::TimedOut;
        close(fd);
        return -1;
    }
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
        why = SocketStatus::Failed;
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

StreamSocket::~StreamSocket() {
    if (fd_ >= 0) close(fd_);
}

std::unique_ptr<StreamSocket> StreamSocket::Connect(const std::string& host, int port,
                                                    int timeoutMs, SocketStatus* status) {
    SocketStatus why = SocketStatus::Failed;
    auto give = [&](std::unique_ptr<StreamSocket> s) {
        if (status) *status = s ? SocketStatus::Ok : why;
        return s;
    };
    if (port <= 0 || port > 65535) return give(nullptr);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    // Loopback names and literal addresses must resolve without a configured interface too.
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        hints.ai_flags = AI_NUMERICSERV;
        if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) return give(nullptr);
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ConnectOne(*a, deadline, why);
        if (fd < 0 && MsLeft(deadline) == 0) break;
    }
    freeaddrinfo(found);
    if (fd < 0) return give(nullptr);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return give(std::make_unique<StreamSocket>(fd));
}

SocketStatus StreamSocket::SendSome(const void* data, size_t n, size_t& got) {
    got = 0;
    for (;;) {
        const ssize_t r = send(fd_, data, n, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (r >= 0) {
            got = static_cast<size_t>(r);
            return SocketStatus::Ok;
        }
        if (errno == EINTR) continue;
        return ErrnoStatus(errno);
    }
}

SocketStatus StreamSocket::SendAll(const void* data, size_t n, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        size_t got = 0;
        const SocketStatus s = SendSome(p, n, got);
        if (s == SocketStatus::Ok) {
            p += got;
            n -= got;
            continue;
        }
        if (s != SocketStatus::WouldBlock) return s;
        if (!WaitFor(fd_, POLLOUT, MsLeft(deadline))) return SocketStatus::TimedOut;
    }
    return SocketStatus::Ok;
}

SocketStatus StreamSocket::Receive(void* data, size_t n, size_t& got, int timeoutMs) {
    got = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const ssize_t r = recv(fd_, data, n, MSG_DONTWAIT);
        if (r > 0) {
            got = static_cast<size_t>(r);
            return SocketStatus::Ok;
        }
        if (r == 0) return n == 0 ? SocketStatus::Ok : SocketStatus::Closed;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return SocketStatus::Failed;
        if (timeoutMs <= 0) return SocketStatus::WouldBlock;
        if (!WaitFor(fd_, POLLIN, MsLeft(deadline))) return SocketStatus::TimedOut;
    }
}

ListenSocket::~ListenSocket() {
    if (fd_ >= 0) close(fd_);
}

std::unique_ptr<ListenSocket> ListenSocket::Open(int port) {
    if (port < 0 || port > 65535) return nullptr;
    const int one = 1, zero = 0;
    // Dual-stack first, so both 127.0.0.1 and ::1 reach the one socket; IPv4 alone otherwise.
    int fd = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0) {
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &zero, sizeof zero);
        sockaddr_in6 a{};
        a.sin6_family = AF_INET6;
        a.sin6_addr = in6addr_any;
        a.sin6_port = htons(static_cast<uint16_t>(port));
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return nullptr;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        a.sin_port = htons(static_cast<uint16_t>(port));
        if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            close(fd);
            return nullptr;
        }
    }
    if (listen(fd, 64) != 0) {
        close(fd);
        return nullptr;
    }
    sockaddr_storage bound{};
    socklen_t len = sizeof bound;
    int actual = port;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len) == 0) {
        if (bound.ss_family == AF_INET6)
            actual = ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
        else if (bound.ss_family == AF_INET)
            actual = ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    }
    return std::unique_ptr<ListenSocket>(new ListenSocket(fd, actual));
}

SocketStatus ListenSocket::Accept(std::unique_ptr<StreamSocket>& out) {
    for (;;) {
        const int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            const int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            out = std::make_unique<StreamSocket>(fd);
            return SocketStatus::Ok;
        }
        switch (errno) {
            case EINTR:
                continue;
            // Nothing waiting, or one connection that failed before we took it, or out of
            // descriptors for now: the socket itself is still good.
            case EAGAIN:
            case ECONNABORTED:
            case EPROTO:
            case EPERM:
            case EMFILE:
            case ENFILE:
            case ENOBUFS:
            case ENOMEM:
                return SocketStatus::WouldBlock;
            default:
                return SocketStatus::AcceptFailed;
        }
    }
}

PacketSocket::PacketSocket(std::unique_ptr<StreamSocket> stream, size_t maxPacket,
                           size_t maxQueuedBytes)
    : stream_(std::move(stream)), decoder_(maxPacket), maxQueued_(maxQueuedBytes) {
    NonBlockingSet(stream_->Descriptor());
}

SocketStatus PacketSocket::Send(std::string_view packet) {
    if (out_.size() + kFrameLengthSize + packet.size() > maxQueued_) return SocketStatus::Full;
    std::string frame;
    FrameAppend(frame, packet);
    out_.insert(out_.end(), frame.begin(), frame.end());
    const SocketStatus s = Flush();
    return s == SocketStatus::WouldBlock ? SocketStatus::Ok : s;
}

SocketStatus PacketSocket::Flush() {
    char chunk[16384];
    while (!out_.empty()) {
        const size_t n = out_.size() < sizeof chunk ? out_.size() : sizeof chunk;
        std::copy(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(n), chunk);
        size_t got = 0;
        const SocketStatus s = stream_->SendSome(chunk, n, got);
        if (s != SocketStatus::Ok) return s;
        out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(got));
        if (got < n) return SocketStatus::WouldBlock;
    }
    return SocketStatus::Ok;
}

SocketStatus PacketSocket::Receive(std::string& packet) {
    for (;;) {
        switch (decoder_.Next(packet)) {
            case FrameDecoder::Result::Packet:
                return SocketStatus::Ok;
            case FrameDecoder::Result::TooLong:
                return SocketStatus::BadFrame;
            case FrameDecoder::Result::NeedMore:
                break;
        }
        if (peerClosed_) return SocketStatus::Closed;
        char chunk[8192];
        size_t got = 0;
        const SocketStatus s = stream_->Receive(chunk, sizeof chunk, got, 0);
        if (s == SocketStatus::Closed) {
            peerClosed_ = true;
            continue;
        }
        if (s != SocketStatus::Ok) return s;
        decoder_.Feed(chunk, got);
    }
}

SocketWaker::SocketWaker() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SocketWaker::~SocketWaker() {
    if (fd_ >= 0) close(fd_);
}

void SocketWaker::Wake() {
    const uint64_t one = 1;
    if (fd_ >= 0) {
        const ssize_t r = write(fd_, &one, sizeof one);
        (void)r;  // a full counter is already a pending wake
    }
}

void SocketWaker::Drain() {
    uint64_t v = 0;
    if (fd_ >= 0) {
        const ssize_t r = read(fd_, &v, sizeof v);
        (void)r;  // nothing pending is fine
    }
}

int SocketPoll(std::vector<SocketPollEntry>& entries, int timeoutMs) {
    std::vector<pollfd> fds(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        fds[i].fd = entries[i].descriptor;
        fds[i].events = static_cast<short>((entries[i].wantRead ? POLLIN : 0) |
                                           (entries[i].wantWrite ? POLLOUT : 0));
        fds[i].revents = 0;
    }
    int r;
    do {
        r = poll(fds.data(), fds.size(), timeoutMs);
    } while (r < 0 && errno == EINTR);
    for (size_t i = 0; i < entries.size(); ++i) {
        const short ev = r > 0 ? fds[i].revents : 0;
        entries[i].readable = (ev & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
        entries[i].writable = (ev & (POLLOUT | POLLERR)) != 0;
    }
    return r;
}

bool LocalAddressesList(std::vector<std::string>& out) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    std::vector<std::string> v6;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !(i->ifa_flags & IFF_UP)) continue;
        char text[INET6_ADDRSTRLEN] = {};
        if (i->ifa_addr->sa_family == AF_INET) {
            const auto* a = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
            if (inet_ntop(AF_INET, &a->sin_addr, text, sizeof text)) out.push_back(text);
        } else if (i->ifa_addr->sa_family == AF_INET6) {
            const auto* a = reinterpret_cast<const sockaddr_in6*>(i->ifa_addr);
            if (inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text)) v6.push_back(text);
        }
    }
    freeifaddrs(list);
    out.insert(out.end(), v6.begin(), v6.end());
    return true;
}

}  // namespace platform
