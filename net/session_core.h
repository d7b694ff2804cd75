// What a session knows and the rules it acts by, without sockets, threads or locks: the
// players and their message queues, the join requests, the reply queue, and what the host or
// a joiner does with each packet. The session feeds it packets and writes what it hands back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "net/packet.h"

// Connection 0 is this program itself on the host, and the host on a joiner; peers count
// from 1.
constexpr int kOwnConnection = 0;
// Every queue keeps at most this many packets; past it the oldest goes.
constexpr size_t kQueuePacketsMax = 1024;
// A join beyond these is refused (answered -1), so no peer can grow the table without end.
constexpr size_t kPlayersPerConnectionMax = 64;
constexpr size_t kPlayersMax = 4096;

enum class SessionRole { Idle, Host, Joiner };

struct SessionPlayer {
    int32_t id = -1;
    std::string name;
    int connection = kOwnConnection;
    std::deque<Packet> queue;  // received messages; only this program's players have any
};

struct JoinRequest {
    uint32_t token = 0;
    std::string name;
    bool sent = false;
};

// A packet for a connection.
struct Outgoing {
    int connection = kOwnConnection;
    std::string bytes;
};
using Outbox = std::vector<Outgoing>;

class SessionCore {
public:
    void Reset(SessionRole role);
    SessionRole Role() const { return role_; }

    // Host: a new player of connection, its id, or -1 when the tables are full.
    int32_t PlayerAdd(int connection, const std::string& name);
    // Host: a packet a peer sent. Anything a peer may not do (speak for another connection's
    // player, kill one) is ignored.
    void HostReceive(int connection, const Packet& p, Outbox& out);
    // Host: a peer is gone; its players go with it.
    void ConnectionDrop(int connection);

    // Joiner: a packet the host sent.
    void JoinerReceive(const Packet& p, Outbox& out);
    // Joiner: a join request waits for the session thread; returns its token.
    uint32_t JoinQueue(const std::string& name);
    // Joiner: the packets for the requests not sent yet, which are then marked sent.
    void JoinPendingSend(Outbox& out);
    // True once the request has its answer (an id, or -1 refused); the request is then gone.
    bool JoinAnswerTake(uint32_t token, int32_t& id);
    // The caller gave up waiting; a late answer then removes the player it made.
    void JoinAbandon(uint32_t token);
    size_t JoinRequestCount() const { return joins_.size(); }

    // The commands, on either side. A message needs one of this program's players as its
    // sender and a payload of at most 1,024 bytes; false when it cannot go anywhere.
    bool MessageSend(int32_t sender, int32_t target, std::string_view text, Outbox& out);
    void PlayerKill(int32_t id, Outbox& out);
    // The oldest message of one of this program's players.
    bool MessageTake(int32_t player, Packet& p);

    // The host's answers to requests 101 to 103 (index out of range: -1; no such id: "").
    int32_t Count() const { return static_cast<int32_t>(players_.size()); }
    int32_t IdAt(int32_t index) const;
    std::string NameOf(int32_t id) const;
    // The reply a request packet asks for.
    bool Answer(const Packet& request, Packet& reply) const;

    // Joiner: replies from the host, oldest first.
    std::deque<Packet>& Replies() { return replies_; }

    int32_t OwnId() const { return ownId_; }
    const std::vector<SessionPlayer>& Players() const { return players_; }
    // This program's players (on a joiner the only ones it keeps).
    std::vector<int32_t> OwnPlayerIds() const;

private:
    SessionPlayer* Find(int32_t id);
    const SessionPlayer* Find(int32_t id) const;
    void Deliver(SessionPlayer& to, const Packet& p, Outbox& out);
    void Broadcast(const Packet& p, Outbox& out);
    void Remove(int32_t id);
    void OwnIdRenew();

    SessionRole role_ = SessionRole::Idle;
    std::vector<SessionPlayer> players_;
    std::deque<JoinRequest> joins_;
    std::vector<std::pair<uint32_t, int32_t>> answers_;  // token, id: answered, not yet taken
    std::vector<uint32_t> abandoned_;                    // tokens sent and then given up
    std::deque<Packet> replies_;
    int32_t ownId_ = -1;
    int32_t nextId_ = 1;
    uint32_t nextToken_ = 1;
};

// Drops the oldest packet once the queue holds kQueuePacketsMax.
void QueueBounded(std::deque<Packet>& q, Packet p);
