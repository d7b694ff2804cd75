// One network session: its sockets, its background thread and the state the commands share
// with it under one mutex. The thread owns every socket and does all the I/O; the commands
// hand it packets and wait for its answers, never holding the mutex while they wait.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "net/session_core.h"
#include "platform/sockets.h"

constexpr int kNetDefaultPort = 26000;
constexpr int kNetAnswerWaitMs = 5000;  // join and request answers
constexpr int kNetAnswerCheckMs = 20;   // how often a command looks for its answer
constexpr int kNetStopCheckMs = 50;     // how often a stop looks for the thread's end
constexpr int kNetConnectTimeoutMs = 10000;
// A peer whose unsent packets pass this many bytes is not reading: it is dropped.
constexpr size_t kNetPeerQueueBytes = kQueuePacketsMax * (kPacketMax + 4);
constexpr size_t kNetPeersMax = 1024;

class NetSession {
public:
    NetSession();
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Each start stops the running session first (Stop). port 0: one the system picks.
    bool Host(int port);
    bool Join(const std::string& server, int port);
    // Tells this program's players' leave to the host (joiner), stops the thread (the stop
    // flag, then a check every 50 ms until it reports stopped), closes the sockets and
    // empties every list.
    void Stop();

    // The port a host listens on (0 when not hosting).
    int Port() const;
    // False once the thread has ended (never started, stopped, or its connection lost).
    bool Running() const;

    // The new player's id, or -1 (refused, or no answer within the wait).
    int32_t PlayerCreate(const std::string& name);
    // Requests 101 to 103; false when there is no own player or no reply came in time.
    bool PlayerCount(int32_t& count);
    bool PlayerId(int32_t index, int32_t& id);
    bool PlayerName(int32_t id, std::string& name);
    void PlayerKill(int32_t id);
    // True when the packet went to the connection (joiner) or to its players (host).
    bool MessageSend(int32_t sender, int32_t target, const std::string& text);
    bool MessageGet(int32_t player, std::string& text, int32_t& sender);

    // How long joins and requests wait (tests shorten it).
    void AnswerWaitSet(int ms) { answerWaitMs_ = ms; }
    // For tests: how many join requests are still kept.
    size_t JoinRequestsKept() const;

private:
    using Lock = std::unique_lock<std::mutex>;
    bool Start(SessionRole role);
    bool Request(uint8_t type, int32_t arg, Packet& reply);
    void ThreadMain();
    void ThreadLoop();
    // The thread's side: writes a packet to a connection; false when it must be dropped.
    bool Write(const Outgoing& o);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    SessionCore core_;
    Outbox outbox_;  // packets the commands hand the thread
    bool stopRequest_ = false;
    bool stopped_ = true;
    int answerWaitMs_ = kNetAnswerWaitMs;
    int port_ = 0;

    std::thread thread_;
    platform::SocketWaker waker_;
    // The thread's own while it runs; opened before it starts, closed after it ends.
    std::unique_ptr<platform::ListenSocket> listener_;
    std::unique_ptr<platform::PacketSocket> connection_;
    std::map<int, std::unique_ptr<platform::PacketSocket>> peers_;
    int nextConnection_ = 1;
};

// Port text as the commands take it: atoi rules, below 1 the default port.
int NetPortFromText(const std::string& text);
