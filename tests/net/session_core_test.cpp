// The session's rules without sockets: relay by the host, who may do what, the bounds on
// every table and queue, and what happens to answers nobody waits for.
#include "net/session_core.h"

#include <gtest/gtest.h>

namespace {

Packet Parsed(const Outgoing& o) {
    Packet p;
    EXPECT_TRUE(PacketParse(o.bytes.data(), o.bytes.size(), p));
    return p;
}

Packet Message(int32_t sender, int32_t target, const std::string& text) {
    Packet p;
    p.type = kPacketMessage;
    p.sender = sender;
    p.target = target;
    p.payload = text;
    return p;
}

struct HostFixture : ::testing::Test {
    SessionCore host;
    Outbox out;
    int32_t alice = 0, bob = 0, carol = 0;
    void SetUp() override {
        host.Reset(SessionRole::Host);
        alice = host.PlayerAdd(kOwnConnection, "alice");
        bob = host.PlayerAdd(1, "bob");
        carol = host.PlayerAdd(2, "carol");
    }
};

}  // namespace

TEST_F(HostFixture, IdsAreNewUniqueAndNeverZero) {
    EXPECT_GT(alice, 0);
    EXPECT_NE(alice, bob);
    EXPECT_NE(bob, carol);
    host.PlayerKill(bob, out);
    const int32_t dave = host.PlayerAdd(1, "dave");
    EXPECT_GT(dave, carol);  // a freed id is not given again
    EXPECT_EQ(host.OwnId(), alice);
}

TEST_F(HostFixture, EveryPlayerButTheSenderGetsABroadcastAddressedToAll) {
    ASSERT_TRUE(host.MessageSend(alice, -1, "hi all", out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].connection, 1);
    EXPECT_EQ(Parsed(out[0]).target, -1);
    EXPECT_EQ(out[1].connection, 2);
    EXPECT_EQ(Parsed(out[1]).target, -1);
    EXPECT_EQ(Parsed(out[1]).sender, alice);
    EXPECT_EQ(Parsed(out[1]).payload, "hi all");
    Packet p;
    EXPECT_FALSE(host.MessageTake(alice, p));  // no copy for the sender

    // Relayed as it came; a connection with two players gets it once, the sender's own
    // connection only for its other player.
    const int32_t bob2 = host.PlayerAdd(1, "bob2");
    host.PlayerAdd(2, "carol2");
    out.clear();
    host.HostReceive(1, Message(bob, -1, "from bob"), out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].connection, 2);
    EXPECT_EQ(out[1].connection, 1);  // for bob2
    for (const auto& o : out) {
        EXPECT_EQ(Parsed(o).target, -1);
        EXPECT_EQ(Parsed(o).sender, bob);
    }
    ASSERT_TRUE(host.MessageTake(alice, p));
    EXPECT_EQ(p.payload, "from bob");
    EXPECT_EQ(p.sender, bob);
    out.clear();
    host.PlayerKill(bob2, out);
    out.clear();
    host.HostReceive(1, Message(bob, -1, "again"), out);
    ASSERT_EQ(out.size(), 1u);  // bob's connection has nobody else now
    EXPECT_EQ(out[0].connection, 2);
}

TEST_F(HostFixture, ADirectedMessageGoesOnlyToItsTarget) {
    host.HostReceive(2, Message(carol, bob, "psst"), out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].connection, 1);
    EXPECT_EQ(Parsed(out[0]).sender, carol);
    out.clear();
    EXPECT_FALSE(host.MessageSend(alice, 999, "nobody", out));
    EXPECT_TRUE(out.empty());
}

TEST_F(HostFixture, APeerSpeaksAndKillsOnlyForItsOwnPlayers) {
    host.HostReceive(1, Message(carol, alice, "I am carol"), out);  // bob's peer lies
    host.HostReceive(1, Message(alice, -1, "I am alice"), out);
    EXPECT_TRUE(out.empty());
    Packet p;
    EXPECT_FALSE(host.MessageTake(alice, p));
    Packet kill;
    kill.type = kPacketKill;
    kill.sender = carol;
    host.HostReceive(1, kill, out);
    EXPECT_EQ(host.Count(), 3);
    kill.sender = bob;
    host.HostReceive(1, kill, out);
    EXPECT_EQ(host.Count(), 2);
    EXPECT_EQ(host.NameOf(bob), "");
    // The host's own program may remove anyone; the owner is told.
    host.PlayerKill(carol, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].connection, 2);
    EXPECT_EQ(Parsed(out[0]).type, kPacketKill);
    EXPECT_EQ(Parsed(out[0]).sender, carol);
    EXPECT_EQ(host.Count(), 1);
}

TEST_F(HostFixture, RequestsAreAnsweredFromThePlayerList) {
    const auto ask = [&](uint8_t type, int32_t arg) {
        Packet r;
        r.type = type;
        r.sender = bob;
        Int32Append(r.payload, arg);
        out.clear();
        host.HostReceive(1, r, out);
        EXPECT_EQ(out.size(), 1u);
        return out.empty() ? Packet() : Parsed(out[0]);
    };
    int32_t v = 0;
    Packet a = ask(kPacketCount, 0);
    EXPECT_EQ(a.target, bob);
    ASSERT_TRUE(Int32Read(a.payload, v));
    EXPECT_EQ(v, 3);
    ASSERT_TRUE(Int32Read(ask(kPacketIdAt, 2).payload, v));
    EXPECT_EQ(v, carol);
    ASSERT_TRUE(Int32Read(ask(kPacketIdAt, 3).payload, v));
    EXPECT_EQ(v, -1);
    ASSERT_TRUE(Int32Read(ask(kPacketIdAt, -1).payload, v));
    EXPECT_EQ(v, -1);
    EXPECT_EQ(ask(kPacketName, alice).payload, "alice");
    EXPECT_EQ(ask(kPacketName, 12345).payload, "");
}

TEST_F(HostFixture, ADroppedConnectionTakesItsPlayersAlong) {
    host.PlayerAdd(1, "bob2");
    host.ConnectionDrop(1);
    EXPECT_EQ(host.Count(), 2);
    EXPECT_EQ(host.IdAt(0), alice);
    EXPECT_EQ(host.IdAt(1), carol);
}

TEST_F(HostFixture, JoinsAreAnsweredAndTheTablesAreBounded) {
    Packet join;
    join.type = kPacketJoin;
    join.payload = JoinPayloadBuild(77, std::string(200, 'q'));
    host.HostReceive(3, join, out);
    ASSERT_EQ(out.size(), 1u);
    const Packet answer = Parsed(out[0]);
    EXPECT_EQ(answer.type, kPacketJoinAnswer);
    EXPECT_GT(answer.target, carol);
    EXPECT_EQ(host.NameOf(answer.target), std::string(127, 'q'));
    int32_t token = 0;
    ASSERT_TRUE(Int32Read(answer.payload, token));
    EXPECT_EQ(token, 77);
    // A join with a malformed payload is no join.
    out.clear();
    join.payload = "short";
    host.HostReceive(3, join, out);
    EXPECT_TRUE(out.empty());
    // One connection cannot fill the table: past its share the answer is -1.
    join.payload = JoinPayloadBuild(1, "x");
    for (size_t i = 0; i < kPlayersPerConnectionMax + 10; ++i) host.HostReceive(4, join, out);
    EXPECT_EQ(Parsed(out.back()).target, -1);
    EXPECT_EQ(host.Count(), static_cast<int32_t>(3 + 1 + kPlayersPerConnectionMax));
}

TEST_F(HostFixture, AQueueKeepsTheNewest1024Messages) {
    for (int i = 0; i < 1500; ++i) host.HostReceive(1, Message(bob, alice, std::to_string(i)), out);
    Packet p;
    int n = 0;
    std::string first;
    while (host.MessageTake(alice, p)) {
        if (n++ == 0) first = p.payload;
    }
    EXPECT_EQ(n, 1024);
    EXPECT_EQ(first, "476");
}

TEST(NetSessionCore, AJoinerKeepsOnlyWhatItsOwnRequestsMade) {
    SessionCore joiner;
    joiner.Reset(SessionRole::Joiner);
    Outbox out;
    const uint32_t t1 = joiner.JoinQueue("bob");
    const uint32_t t2 = joiner.JoinQueue("late");
    joiner.JoinPendingSend(out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(Parsed(out[0]).type, kPacketJoin);
    out.clear();
    joiner.JoinPendingSend(out);
    EXPECT_TRUE(out.empty());  // each request goes once

    auto answer = [](uint32_t token, int32_t id) {
        Packet a;
        a.type = kPacketJoinAnswer;
        a.target = id;
        Int32Append(a.payload, static_cast<int32_t>(token));
        return a;
    };
    joiner.JoinerReceive(answer(t1, 5), out);
    int32_t id = 0;
    ASSERT_TRUE(joiner.JoinAnswerTake(t1, id));
    EXPECT_EQ(id, 5);
    EXPECT_EQ(joiner.OwnId(), 5);
    EXPECT_FALSE(joiner.JoinAnswerTake(t1, id));  // taken once, then gone

    // The second waiter gave up; its late answer must not leave a player nobody knows.
    joiner.JoinAbandon(t2);
    EXPECT_EQ(joiner.JoinRequestCount(), 0u);
    joiner.JoinerReceive(answer(t2, 6), out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(Parsed(out[0]).type, kPacketKill);
    EXPECT_EQ(Parsed(out[0]).sender, 6);
    EXPECT_EQ(joiner.OwnPlayerIds(), std::vector<int32_t>{5});
    // An answer for no request at all is ignored.
    out.clear();
    joiner.JoinerReceive(answer(999, 7), out);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(joiner.OwnPlayerIds(), std::vector<int32_t>{5});
}

TEST(NetSessionCore, AJoinerRoutesMessagesKillsAndRepliesAndBoundsThem) {
    SessionCore joiner;
    joiner.Reset(SessionRole::Joiner);
    Outbox out;
    const uint32_t t = joiner.JoinQueue("bob");
    joiner.JoinPendingSend(out);
    Packet a;
    a.type = kPacketJoinAnswer;
    a.target = 9;
    Int32Append(a.payload, static_cast<int32_t>(t));
    joiner.JoinerReceive(a, out);
    joiner.JoinerReceive(Message(1, 9, "to bob"), out);
    joiner.JoinerReceive(Message(1, 10, "to a stranger"), out);
    joiner.JoinerReceive(Message(1, -1, "to all"), out);
    joiner.JoinerReceive(Message(9, -1, "bob's own"), out);
    Packet p;
    ASSERT_TRUE(joiner.MessageTake(9, p));
    EXPECT_EQ(p.payload, "to bob");
    ASSERT_TRUE(joiner.MessageTake(9, p));
    EXPECT_EQ(p.payload, "to all");
    EXPECT_EQ(p.sender, 1);
    EXPECT_FALSE(joiner.MessageTake(9, p));  // no echo of its own broadcast
    EXPECT_FALSE(joiner.MessageTake(10, p));
    // Only its own players may send; a message goes to the host as given.
    out.clear();
    EXPECT_FALSE(joiner.MessageSend(1, -1, "as someone else", out));
    EXPECT_FALSE(joiner.MessageSend(9, -1, std::string(1025, 'l'), out));
    ASSERT_TRUE(joiner.MessageSend(9, -1, std::string(1024, 'l'), out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes.size(), 1041u);
    for (int i = 0; i < 1100; ++i) {
        Packet r;
        r.type = kPacketCount;
        joiner.JoinerReceive(r, out);
    }
    EXPECT_EQ(joiner.Replies().size(), kQueuePacketsMax);
    Packet kill;
    kill.type = kPacketKill;
    kill.sender = 9;
    joiner.JoinerReceive(kill, out);
    EXPECT_TRUE(joiner.OwnPlayerIds().empty());
    EXPECT_EQ(joiner.OwnId(), -1);
}

TEST(NetSessionCore, PendingJoinRequestsAreBounded) {
    SessionCore joiner;
    joiner.Reset(SessionRole::Joiner);
    for (int i = 0; i < 5000; ++i) joiner.JoinQueue("x");
    EXPECT_EQ(joiner.JoinRequestCount(), kQueuePacketsMax);
}
