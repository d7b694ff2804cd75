#include "net/session_core.h"

#include <algorithm>

void QueueBounded(std::deque<Packet>& q, Packet p) {
    while (q.size() >= kQueuePacketsMax) q.pop_front();
    q.push_back(std::move(p));
}

void SessionCore::Reset(SessionRole role) {
    *this = SessionCore();
    role_ = role;
}

SessionPlayer* SessionCore::Find(int32_t id) {
    for (auto& p : players_)
        if (p.id == id) return &p;
    return nullptr;
}

const SessionPlayer* SessionCore::Find(int32_t id) const {
    for (const auto& p : players_)
        if (p.id == id) return &p;
    return nullptr;
}

void SessionCore::OwnIdRenew() {
    ownId_ = -1;
    for (const auto& p : players_)
        if (p.connection == kOwnConnection) ownId_ = p.id;
}

void SessionCore::Remove(int32_t id) {
    players_.erase(std::remove_if(players_.begin(), players_.end(),
                                  [id](const SessionPlayer& p) { return p.id == id; }),
                   players_.end());
    if (ownId_ == id) OwnIdRenew();
}

std::vector<int32_t> SessionCore::OwnPlayerIds() const {
    std::vector<int32_t> ids;
    for (const auto& p : players_)
        if (p.connection == kOwnConnection) ids.push_back(p.id);
    return ids;
}

int32_t SessionCore::PlayerAdd(int connection, const std::string& name) {
    if (players_.size() >= kPlayersMax || nextId_ == INT32_MAX) return -1;
    const auto mine = std::count_if(players_.begin(), players_.end(), [&](const SessionPlayer& p) {
        return p.connection == connection;
    });
    if (static_cast<size_t>(mine) >= kPlayersPerConnectionMax) return -1;
    SessionPlayer p;
    p.id = nextId_++;
    p.name = name.substr(0, kPlayerNameMax);
    p.connection = connection;
    players_.push_back(std::move(p));
    if (connection == kOwnConnection) ownId_ = players_.back().id;
    return players_.back().id;
}

void SessionCore::Deliver(SessionPlayer& to, const Packet& p, Outbox& out) {
    if (to.connection == kOwnConnection) {
        Packet copy = p;
        copy.target = to.id;
        QueueBounded(to.queue, std::move(copy));
    } else {
        out.push_back({to.connection, PacketBuild(kPacketMessage, to.id, p.sender, p.payload)});
    }
}

void SessionCore::Broadcast(const Packet& p, Outbox& out) {
    // The packet keeps target -1 on the wire, once per connection that has a player other
    // than the sender: a receiver hands it to its own players, so programs that do not know
    // each other's ids still agree on it.
    std::vector<int> reached;
    for (auto& to : players_) {
        if (to.id == p.sender) continue;
        if (to.connection == kOwnConnection) {
            Deliver(to, p, out);
        } else if (std::find(reached.begin(), reached.end(), to.connection) == reached.end()) {
            reached.push_back(to.connection);
            out.push_back({to.connection, PacketBuild(kPacketMessage, -1, p.sender, p.payload)});
        }
    }
}

bool SessionCore::MessageSend(int32_t sender, int32_t target, std::string_view text, Outbox& out) {
    if (role_ == SessionRole::Idle || text.size() > kPacketPayloadMax) return false;
    const SessionPlayer* from = Find(sender);
    if (!from || from->connection != kOwnConnection) return false;
    if (role_ == SessionRole::Joiner) {
        out.push_back({kOwnConnection, PacketBuild(kPacketMessage, target, sender, text)});
        return true;
    }
    Packet p;
    p.type = kPacketMessage;
    p.target = target;
    p.sender = sender;
    p.payload.assign(text);
    if (target == -1) {
        Broadcast(p, out);
        return true;
    }
    SessionPlayer* to = Find(target);
    if (!to) return false;
    Deliver(*to, p, out);
    return true;
}

void SessionCore::PlayerKill(int32_t id, Outbox& out) {
    if (id < 0) return;
    SessionPlayer* p = Find(id);
    if (!p) return;
    if (role_ == SessionRole::Host) {
        // The program that owns the player drops its record too.
        if (p->connection != kOwnConnection)
            out.push_back({p->connection, PacketBuild(kPacketKill, 0, id, {})});
        Remove(id);
    } else if (role_ == SessionRole::Joiner) {
        out.push_back({kOwnConnection, PacketBuild(kPacketKill, 0, id, {})});
        Remove(id);
    }
}

bool SessionCore::MessageTake(int32_t player, Packet& p) {
    SessionPlayer* to = Find(player);
    if (!to || to->connection != kOwnConnection || to->queue.empty()) return false;
    p = std::move(to->queue.front());
    to->queue.pop_front();
    return true;
}

int32_t SessionCore::IdAt(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= players_.size()) return -1;
    return players_[static_cast<size_t>(index)].id;
}

std::string SessionCore::NameOf(int32_t id) const {
    const SessionPlayer* p = Find(id);
    return p ? p->name : std::string();
}

bool SessionCore::Answer(const Packet& request, Packet& reply) const {
    reply = Packet();
    reply.type = request.type;
    reply.target = request.sender;
    int32_t arg = 0;
    switch (request.type) {
        case kPacketCount:
            Int32Append(reply.payload, Count());
            return true;
        case kPacketIdAt:
            if (!Int32Read(request.payload, arg)) return false;
            Int32Append(reply.payload, IdAt(arg));
            return true;
        case kPacketName:
            if (!Int32Read(request.payload, arg)) return false;
            reply.payload = NameOf(arg);
            return true;
        default:
            return false;
    }
}

void SessionCore::HostReceive(int connection, const Packet& p, Outbox& out) {
    if (role_ != SessionRole::Host || connection == kOwnConnection) return;
    const SessionPlayer* from = Find(p.sender);
    const bool senderIsTheirs = from && from->connection == connection;
    switch (p.type) {
        case kPacketJoin: {
            uint32_t token = 0;
            std::string name;
            if (!JoinPayloadParse(p.payload, token, name)) return;
            const int32_t id = PlayerAdd(connection, name);
            std::string payload;
            Int32Append(payload, static_cast<int32_t>(token));
            out.push_back({connection, PacketBuild(kPacketJoinAnswer, id, 0, payload)});
            return;
        }
        case kPacketMessage: {
            if (!senderIsTheirs) return;
            if (p.target == -1) {
                Broadcast(p, out);
            } else if (SessionPlayer* to = Find(p.target)) {
                Deliver(*to, p, out);
            }
            return;
        }
        case kPacketKill:
            if (senderIsTheirs) Remove(p.sender);
            return;
        case kPacketCount:
        case kPacketIdAt:
        case kPacketName: {
            Packet reply;
            if (Answer(p, reply)) out.push_back({connection, PacketBuild(reply)});
            return;
        }
        default:
            return;  // a type of no meaning here
    }
}

void SessionCore::ConnectionDrop(int connection) {
    if (connection == kOwnConnection) return;
    players_.erase(
        std::remove_if(players_.begin(), players_.end(),
                       [connection](const SessionPlayer& p) { return p.connection == connection; }),
        players_.end());
}

uint32_t SessionCore::JoinQueue(const std::string& name) {
    JoinRequest r;
    r.token = nextToken_++;
    if (nextToken_ == 0) nextToken_ = 1;
    r.name = name.substr(0, kPlayerNameMax);
    // Nobody may pile up requests without end; the oldest unanswered one goes.
    while (joins_.size() >= kQueuePacketsMax) joins_.pop_front();
    joins_.push_back(std::move(r));
    return joins_.back().token;
}

void SessionCore::JoinPendingSend(Outbox& out) {
    for (auto& r : joins_) {
        if (r.sent) continue;
        out.push_back(
            {kOwnConnection, PacketBuild(kPacketJoin, 0, -1, JoinPayloadBuild(r.token, r.name))});
        r.sent = true;
    }
}

bool SessionCore::JoinAnswerTake(uint32_t token, int32_t& id) {
    for (auto it = answers_.begin(); it != answers_.end(); ++it) {
        if (it->first != token) continue;
        id = it->second;
        answers_.erase(it);
        return true;
    }
    return false;
}

void SessionCore::JoinAbandon(uint32_t token) {
    for (auto it = joins_.begin(); it != joins_.end(); ++it) {
        if (it->token != token) continue;
        if (it->sent) {
            if (abandoned_.size() >= kQueuePacketsMax) abandoned_.erase(abandoned_.begin());
            abandoned_.push_back(token);
        }
        joins_.erase(it);
        return;
    }
}

void SessionCore::JoinerReceive(const Packet& p, Outbox& out) {
    if (role_ != SessionRole::Joiner) return;
    switch (p.type) {
        case kPacketJoinAnswer: {
            int32_t t = 0;
            if (!Int32Read(p.payload, t)) return;
            const auto token = static_cast<uint32_t>(t);
            auto waiting = std::find_if(joins_.begin(), joins_.end(), [&](const JoinRequest& r) {
                return r.token == token && r.sent;
            });
            if (waiting != joins_.end()) {
                if (p.target >= 0 && !Find(p.target)) {
                    SessionPlayer mine;
                    mine.id = p.target;
                    mine.name = waiting->name;
                    players_.push_back(std::move(mine));
                    ownId_ = p.target;
                }
                answers_.emplace_back(token, p.target >= 0 ? p.target : -1);
                joins_.erase(waiting);
                return;
            }
            // Nobody waits for this one any more: the player it made must not linger.
            auto gone = std::find(abandoned_.begin(), abandoned_.end(), token);
            if (gone != abandoned_.end()) {
                abandoned_.erase(gone);
                if (p.target >= 0)
                    out.push_back({kOwnConnection, PacketBuild(kPacketKill, 0, p.target, {})});
            }
            return;
        }
        case kPacketMessage: {
            if (p.target != -1) {
                if (SessionPlayer* to = Find(p.target)) QueueBounded(to->queue, p);
                return;
            }
            // Every player here but the sender, as on the host.
            for (auto& to : players_)
                if (to.id != p.sender) Deliver(to, p, out);
            return;
        }
        case kPacketKill:
            Remove(p.sender);
            return;
        case kPacketCount:
        case kPacketIdAt:
        case kPacketName:
            QueueBounded(replies_, p);
            return;
        default:
            return;
    }
}
