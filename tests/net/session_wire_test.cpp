// A session against peers written here from the packet layout alone, byte by byte: a message
// to every player travels with target -1, whichever side sends or relays it, and arrives.
#include <gtest/gtest.h>

#include <future>

#include "net/session.h"
#include "tests/net/net_test_helpers.h"

using nettest::RawPacket;
using nettest::RawPeer;
using nettest::WaitUntil;
using nettest::WireField;

namespace {

constexpr size_t kTypeAt = 4, kLengthAt = 5, kTargetAt = 9, kSenderAt = 13, kPayloadAt = 17;
const std::string kMagic = "CRVN";

std::string Message(int32_t target, int32_t sender, const std::string& text) {
    return RawPacket(kMagic, 3, static_cast<int32_t>(text.size()), target, sender, text);
}

// Reads frames until one of type; its bytes, or "" at the deadline.
std::string NextOfType(RawPeer& peer, uint8_t type) {
    std::string p;
    while (peer.ReadFrame(p))
        if (p.size() >= kPayloadAt && static_cast<uint8_t>(p[kTypeAt]) == type) return p;
    return "";
}

std::string PayloadOf(const std::string& p) {
    return p.size() < kPayloadAt ? "" : p.substr(kPayloadAt, WireField(p, kLengthAt));
}

std::string NextMessage(NetSession& s, int32_t player, int32_t& sender) {
    std::string text;
    if (!WaitUntil([&] { return s.MessageGet(player, text, sender); })) return "<none>";
    return text;
}

// A raw joiner on the host: sends a join by hand and reads the new id off the answer.
int32_t RawJoin(RawPeer& peer, int port, const std::string& name) {
    if (!peer.Connect("127.0.0.1", port)) return -1;
    std::string join = std::string("\x07\0\0\0\0\0\0\0", 8) + name;
    join.resize(152, '\0');
    if (!peer.SendFrame(RawPacket(kMagic, 1, 152, 0, -1, join))) return -1;
    const std::string answer = NextOfType(peer, 2);
    return answer.empty() ? -1 : WireField(answer, kTargetAt);
}

}  // namespace

TEST(NetSessionWire, AJoinerTakesBroadcastsFromAHostThatSendsMinusOne) {
    auto listener = platform::ListenSocket::Open(0);
    ASSERT_NE(listener, nullptr);
    NetSession joiner;
    joiner.AnswerWaitSet(30000);
    ASSERT_TRUE(joiner.Join("127.0.0.1", listener->Port()));
    RawPeer host;
    ASSERT_TRUE(
        WaitUntil([&] { return listener->Accept(host.socket) == platform::SocketStatus::Ok; }));

    auto bob = std::async(std::launch::async, [&] { return joiner.PlayerCreate("bob"); });
    const std::string join = NextOfType(host, 1);
    ASSERT_EQ(PayloadOf(join).size(), 152u);
    ASSERT_TRUE(host.SendFrame(RawPacket(kMagic, 2, 4, 7, 0, PayloadOf(join).substr(0, 4))));
    ASSERT_EQ(bob.get(), 7);

    // The host's own player 1 speaks to everyone, then to bob alone.
    ASSERT_TRUE(host.SendFrame(Message(-1, 1, "hello all")));
    ASSERT_TRUE(host.SendFrame(Message(7, 1, "hello bob")));
    int32_t sender = 0;
    EXPECT_EQ(NextMessage(joiner, 7, sender), "hello all");
    EXPECT_EQ(sender, 1);
    EXPECT_EQ(NextMessage(joiner, 7, sender), "hello bob");

    // Bob's own broadcast leaves as -1 too.
    ASSERT_TRUE(joiner.MessageSend(7, -1, "bob to all"));
    const std::string out = NextOfType(host, 3);
    EXPECT_EQ(WireField(out, kTargetAt), -1);
    EXPECT_EQ(WireField(out, kSenderAt), 7);
    EXPECT_EQ(PayloadOf(out), "bob to all");
}

TEST(NetSessionWire, TheHostSendsAndRelaysBroadcastsAsMinusOne) {
    NetSession host;
    ASSERT_TRUE(host.Host(0));
    const int32_t alice = host.PlayerCreate("alice");
    ASSERT_GT(alice, 0);
    RawPeer one, two;
    const int32_t idOne = RawJoin(one, host.Port(), "one");
    const int32_t idTwo = RawJoin(two, host.Port(), "two");
    ASSERT_GT(idOne, 0);
    ASSERT_GT(idTwo, 0);

    ASSERT_TRUE(host.MessageSend(alice, -1, "from alice"));
    for (RawPeer* peer : {&one, &two}) {
        const std::string p = NextOfType(*peer, 3);
        EXPECT_EQ(p.substr(kTargetAt, 4), "\xff\xff\xff\xff");
        EXPECT_EQ(WireField(p, kSenderAt), alice);
        EXPECT_EQ(PayloadOf(p), "from alice");
    }

    ASSERT_TRUE(one.SendFrame(Message(-1, idOne, "from one")));
    const std::string relayed = NextOfType(two, 3);
    EXPECT_EQ(WireField(relayed, kTargetAt), -1);
    EXPECT_EQ(WireField(relayed, kSenderAt), idOne);
    EXPECT_EQ(PayloadOf(relayed), "from one");
    int32_t sender = 0;
    EXPECT_EQ(NextMessage(host, alice, sender), "from one");
    EXPECT_EQ(sender, idOne);
    // No echo to the sender: the next thing it reads is a later directed message.
    ASSERT_TRUE(host.MessageSend(alice, idOne, "just you"));
    const std::string direct = NextOfType(one, 3);
    EXPECT_EQ(WireField(direct, kTargetAt), idOne);
    EXPECT_EQ(PayloadOf(direct), "just you");
}
