#include "net/session.h"

#include <chrono>
#include <vector>

#include "core/number_text.h"
#include "platform/end_signals.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollBackstopMs = 100;  // the thread looks at its flags at least this often
constexpr int kReadsPerPass = 256;    // packets taken from one socket before the others
constexpr int kAcceptsPerPass = 64;

std::unique_ptr<platform::PacketSocket> PacketSocketOf(std::unique_ptr<platform::StreamSocket> s) {
    return std::make_unique<platform::PacketSocket>(std::move(s), kPacketMax, kNetPeerQueueBytes);
}

}  // namespace

int NetPortFromText(const std::string& text) {
    const int32_t port = ParseInt(text.c_str());
    return port < 1 ? kNetDefaultPort : port;
}

NetSession::NetSession() = default;

NetSession::~NetSession() {
    Stop();
}

int NetSession::Port() const {
    Lock lock(mutex_);
    return core_.Role() == SessionRole::Host ? port_ : 0;
}

bool NetSession::Running() const {
    Lock lock(mutex_);
    return !stopped_;
}

size_t NetSession::JoinRequestsKept() const {
    Lock lock(mutex_);
    return core_.JoinRequestCount();
}

void NetSession::Stop() {
    Lock lock(mutex_);
    if (thread_.joinable()) {
        if (core_.Role() == SessionRole::Joiner)
            for (int32_t id : core_.OwnPlayerIds())
                outbox_.push_back({kOwnConnection, PacketBuild(kPacketKill, 0, id, {})});
        stopRequest_ = true;
        waker_.Wake();
        while (!stopped_) changed_.wait_for(lock, std::chrono::milliseconds(kNetStopCheckMs));
        lock.unlock();
        thread_.join();
        lock.lock();
    }
    listener_.reset();
    connection_.reset();
    peers_.clear();
    outbox_.clear();
    core_.Reset(SessionRole::Idle);
    stopRequest_ = false;
    stopped_ = true;
    port_ = 0;
}

bool NetSession::Start(SessionRole role) {
    Lock lock(mutex_);
    core_.Reset(role);
    stopRequest_ = false;
    stopped_ = false;
    nextConnection_ = 1;
    thread_ = std::thread([this] { ThreadMain(); });
    return true;
}

bool NetSession::Host(int port) {
    Stop();
    if (port < 0 || port > 65535) return false;
    listener_ = platform::ListenSocket::Open(port);
    if (!listener_) return false;
    port_ = listener_->Port();
    return Start(SessionRole::Host);
}

bool NetSession::Join(const std::string& server, int port) {
    Stop();
    auto stream = platform::StreamSocket::Connect(server, port, kNetConnectTimeoutMs);
    if (!stream) return false;
    connection_ = PacketSocketOf(std::move(stream));
    return Start(SessionRole::Joiner);
}

int32_t NetSession::PlayerCreate(const std::string& name) {
    Lock lock(mutex_);
    if (core_.Role() == SessionRole::Host) return core_.PlayerAdd(kOwnConnection, name);
    const uint32_t token = core_.JoinQueue(name);
    waker_.Wake();
    const auto deadline = Clock::now() + std::chrono::milliseconds(answerWaitMs_);
    for (;;) {
        int32_t id = -1;
        if (core_.JoinAnswerTake(token, id)) return id;
        const auto now = Clock::now();
        // An end signal gives up the wait; the command's caller then takes the end path.
        if (now >= deadline || platform::EndSignalPending()) {
            core_.JoinAbandon(token);
            return -1;
        }
        changed_.wait_for(lock, std::min<Clock::duration>(
                                    deadline - now, std::chrono::milliseconds(kNetAnswerCheckMs)));
    }
}

bool NetSession::Request(uint8_t type, int32_t arg, Packet& reply) {
    Lock lock(mutex_);
    if (core_.OwnId() < 0) return false;
    Packet request;
    request.type = type;
    request.target = 0;
    request.sender = core_.OwnId();
    if (type != kPacketCount) Int32Append(request.payload, arg);
    if (core_.Role() == SessionRole::Host) return core_.Answer(request, reply);
    if (stopped_) return false;
    core_.Replies().clear();
    outbox_.push_back({kOwnConnection, PacketBuild(request)});
    waker_.Wake();
    const auto deadline = Clock::now() + std::chrono::milliseconds(answerWaitMs_);
    for (;;) {
        auto& replies = core_.Replies();
        while (!replies.empty()) {
            Packet p = std::move(replies.front());
            replies.pop_front();
            if (p.type == type) {
                reply = std::move(p);
                return true;
            }
        }
        const auto now = Clock::now();
        if (now >= deadline || stopped_ || platform::EndSignalPending()) return false;
        changed_.wait_for(lock, std::min<Clock::duration>(
                                    deadline - now, std::chrono::milliseconds(kNetAnswerCheckMs)));
    }
}

bool NetSession::PlayerCount(int32_t& count) {
    Packet reply;
    return Request(kPacketCount, 0, reply) && Int32Read(reply.payload, count);
}

bool NetSession::PlayerId(int32_t index, int32_t& id) {
    Packet reply;
    return Request(kPacketIdAt, index, reply) && Int32Read(reply.payload, id);
}

bool NetSession::PlayerName(int32_t id, std::string& name) {
    Packet reply;
    if (!Request(kPacketName, id, reply)) return false;
    name = reply.payload;
    return true;
}

void NetSession::PlayerKill(int32_t id) {
    Lock lock(mutex_);
    core_.PlayerKill(id, outbox_);
    waker_.Wake();
}

bool NetSession::MessageSend(int32_t sender, int32_t target, const std::string& text) {
    Lock lock(mutex_);
    if (stopped_ || outbox_.size() >= kQueuePacketsMax) return false;
    const bool sent = core_.MessageSend(sender, target, text, outbox_);
    if (!outbox_.empty()) waker_.Wake();
    return sent;
}

bool NetSession::MessageGet(int32_t player, std::string& text, int32_t& sender) {
    Lock lock(mutex_);
    Packet p;
    if (!core_.MessageTake(player, p)) return false;
    text = std::move(p.payload);
    sender = p.sender;
    return true;
}

void NetSession::ThreadMain() {
    // Whatever ends the loop, the thread reports stopped, so a stop's wait always ends.
    struct StoppedOnExit {
        NetSession* s;
        ~StoppedOnExit() {
            Lock lock(s->mutex_);
            s->stopped_ = true;
            s->changed_.notify_all();
        }
    } stoppedOnExit{this};
    try {
        ThreadLoop();
    } catch (...) {
        // Out of memory or a broken invariant: the session ends, the program goes on.
    }
}

bool NetSession::Write(const Outgoing& o) {
    platform::PacketSocket* s = nullptr;
    if (connection_ && o.connection == kOwnConnection) {
        s = connection_.get();
    } else {
        auto it = peers_.find(o.connection);
        if (it == peers_.end()) return true;  // already gone
        s = it->second.get();
    }
    const platform::SocketStatus r = s->Send(o.bytes);
    return r == platform::SocketStatus::Ok || r == platform::SocketStatus::WouldBlock;
}

void NetSession::ThreadLoop() {
    const bool hosting = listener_ != nullptr;
    Outbox sending;
    std::vector<std::pair<int, Packet>> arrived;
    std::vector<int> dropped;
    std::vector<platform::SocketPollEntry> entries;
    std::vector<int> entryConnection;  // -1 the waker, -2 the listener
    bool lost = false;                 // the joiner's connection is gone

    auto dropConnection = [&](int c) {
        if (c == kOwnConnection && !hosting) lost = true;
        dropped.push_back(c);
    };

    for (;;) {
        bool stopping = false;
        {
            Lock lock(mutex_);
            stopping = stopRequest_;
            if (!hosting && !stopping) core_.JoinPendingSend(outbox_);
            sending.swap(outbox_);
        }
        for (const auto& o : sending)
            if (!Write(o)) dropConnection(o.connection);
        sending.clear();
        if (stopping) {
            // The last packets (this program's players leaving) get one chance to go out.
            if (connection_) connection_->Flush();
            return;
        }

        entries.clear();
        entryConnection.clear();
        entries.push_back({waker_.Descriptor(), true, false});
        entryConnection.push_back(-1);
        if (listener_) {
            entries.push_back({listener_->Descriptor(), true, false});
            entryConnection.push_back(-2);
        }
        if (connection_) {
            entries.push_back({connection_->Descriptor(), true, connection_->WantsWrite()});
            entryConnection.push_back(kOwnConnection);
        }
        for (auto& [c, s] : peers_) {
            entries.push_back({s->Descriptor(), true, s->WantsWrite()});
            entryConnection.push_back(c);
        }
        platform::SocketPoll(entries, kPollBackstopMs);

        for (size_t i = 0; i < entries.size(); ++i) {
            const int c = entryConnection[i];
            if (c == -1) {
                if (entries[i].readable) waker_.Drain();
                continue;
            }
            if (c == -2) {
                if (!entries[i].readable) continue;
                for (int n = 0; n < kAcceptsPerPass; ++n) {
                    std::unique_ptr<platform::StreamSocket> s;
                    const platform::SocketStatus r = listener_->Accept(s);
                    if (r == platform::SocketStatus::AcceptFailed) {
                        listener_.reset();
                        connection_.reset();
                        return;
                    }
                    if (r != platform::SocketStatus::Ok) break;
                    if (peers_.size() >= kNetPeersMax) continue;  // closed at once
                    peers_[nextConnection_++] = PacketSocketOf(std::move(s));
                }
                continue;
            }
            platform::PacketSocket* s = c == kOwnConnection ? connection_.get() : peers_[c].get();
            if (entries[i].writable) {
                const platform::SocketStatus r = s->Flush();
                if (r != platform::SocketStatus::Ok && r != platform::SocketStatus::WouldBlock) {
                    dropConnection(c);
                    continue;
                }
            }
            if (!entries[i].readable) continue;
            std::string bytes;
            for (int n = 0; n < kReadsPerPass; ++n) {
                const platform::SocketStatus r = s->Receive(bytes);
                if (r == platform::SocketStatus::WouldBlock) break;
                Packet p;
                if (r != platform::SocketStatus::Ok ||
                    !PacketParse(bytes.data(), bytes.size(), p)) {
                    // Closed, failed, or not one of our packets: that peer is not trusted.
                    dropConnection(c);
                    break;
                }
                arrived.emplace_back(c, std::move(p));
            }
        }

        {
            Lock lock(mutex_);
            for (const auto& [c, p] : arrived) {
                if (hosting)
                    core_.HostReceive(c, p, outbox_);
                else
                    core_.JoinerReceive(p, outbox_);
            }
            for (int c : dropped)
                if (hosting) core_.ConnectionDrop(c);
            changed_.notify_all();
        }
        arrived.clear();
        for (int c : dropped) {
            if (c == kOwnConnection)
                connection_.reset();
            else
                peers_.erase(c);
        }
        dropped.clear();
        if (lost) return;
    }
}
