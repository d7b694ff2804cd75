// Sessions over the loopback, host and joiners in this process, each with its own thread and
// sockets: what the players see on both sides, raw peers that misbehave, many joins and
// leaves, and the stop that must end the thread whatever it is doing.
#include "net/session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>

#include "corvane.h"
#include "net/net_runtime.h"
#include "net/net_state.h"
#include "tests/net/net_test_helpers.h"

using nettest::RawPacket;
using nettest::RawPeer;
using nettest::WaitUntil;

namespace {

int FreePort() {
    auto l = platform::ListenSocket::Open(0);
    return l ? l->Port() : 0;
}

int32_t CountSeenBy(NetSession& s) {
    int32_t n = -1;
    return s.PlayerCount(n) ? n : -1;
}

std::string NextMessage(NetSession& s, int32_t player, int32_t* sender = nullptr) {
    std::string text;
    int32_t from = 0;
    if (!WaitUntil([&] { return s.MessageGet(player, text, from); })) return "<none>";
    if (sender) *sender = from;
    return text;
}

struct Loopback : ::testing::TestWithParam<const char*> {
    NetSession host;
    int32_t alice = -1;
    void SetUp() override {
        if (std::string(GetParam()) == "::1" && !nettest::Ipv6Loopback())
            GTEST_SKIP() << "no IPv6 loopback";
        ASSERT_TRUE(host.Host(0));
        alice = host.PlayerCreate("alice");
        ASSERT_GT(alice, 0);
    }
    const char* Address() const { return GetParam(); }
};

}  // namespace

TEST_P(Loopback, PlayersMessagesAndKillsAgreeOnBothSides) {
    NetSession joiner;
    ASSERT_TRUE(joiner.Join(Address(), host.Port()));
    const int32_t bob = joiner.PlayerCreate("bob");
    const int32_t carol = joiner.PlayerCreate("carol");
    ASSERT_GT(bob, alice);
    ASSERT_GT(carol, bob);

    EXPECT_EQ(CountSeenBy(joiner), 3);
    EXPECT_EQ(CountSeenBy(host), 3);
    int32_t id = 0;
    std::string name;
    for (int32_t i = 0; i < 3; ++i) {
        int32_t fromHost = 0;
        ASSERT_TRUE(joiner.PlayerId(i, id));
        ASSERT_TRUE(host.PlayerId(i, fromHost));
        EXPECT_EQ(id, fromHost);
    }
    ASSERT_TRUE(joiner.PlayerName(alice, name));
    EXPECT_EQ(name, "alice");
    ASSERT_TRUE(host.PlayerName(carol, name));
    EXPECT_EQ(name, "carol");

    // Directed, then to every player: the sender gets no copy.
    ASSERT_TRUE(host.MessageSend(alice, bob, "to bob"));
    int32_t sender = 0;
    EXPECT_EQ(NextMessage(joiner, bob, &sender), "to bob");
    EXPECT_EQ(sender, alice);
    ASSERT_TRUE(joiner.MessageSend(bob, -1, "bob to all"));
    EXPECT_EQ(NextMessage(host, alice, &sender), "bob to all");
    EXPECT_EQ(sender, bob);
    EXPECT_EQ(NextMessage(joiner, carol, &sender), "bob to all");
    const std::string big(1024, 'B');
    ASSERT_TRUE(joiner.MessageSend(carol, alice, big));
    EXPECT_EQ(NextMessage(host, alice), big);
    std::string text;
    EXPECT_FALSE(joiner.MessageGet(bob, text, sender));  // no copy of its own broadcast

    // The host removes carol: the joiner's record goes too; the joiner removes bob.
    host.PlayerKill(carol);
    EXPECT_TRUE(WaitUntil([&] { return !joiner.MessageSend(carol, alice, "x"); }));
    joiner.PlayerKill(bob);
    EXPECT_TRUE(WaitUntil([&] { return CountSeenBy(host) == 1; }));
    ASSERT_TRUE(host.PlayerName(bob, name));
    EXPECT_EQ(name, "");
}

TEST_P(Loopback, AClosedPeerIsDroppedWithItsPlayers) {
    RawPeer peer;
    ASSERT_TRUE(peer.Connect(Address(), host.Port()));
    ASSERT_TRUE(peer.SendFrame(PacketBuild(kPacketJoin, 0, -1, JoinPayloadBuild(1, "raw"))));
    ASSERT_TRUE(WaitUntil([&] { return CountSeenBy(host) == 2; }));
    peer.socket.reset();  // gone without a word
    EXPECT_TRUE(WaitUntil([&] { return CountSeenBy(host) == 1; }));
}

INSTANTIATE_TEST_SUITE_P(NetSession, Loopback, ::testing::Values("127.0.0.1", "::1"),
                         [](const auto& info) { return info.index == 0 ? "IPv4" : "IPv6"; });

TEST(NetSession, AJoinWithNoHostAnswersMinusOneAfterAbout5Seconds) {
    NetSession joiner;
    const int port = FreePort();
    EXPECT_FALSE(joiner.Join("127.0.0.1", port));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(joiner.PlayerCreate("nobody"), -1);
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(s, 4.0);
    EXPECT_LE(s, 15.0);
    EXPECT_EQ(joiner.JoinRequestsKept(), 0u);  // the abandoned request is not kept
    int32_t n = 0;
    EXPECT_FALSE(joiner.PlayerCount(n));  // no own player: fails at once
}

TEST(NetSession, RequestsFailAtOnceWhenTheHostHasGone) {
    auto host = std::make_unique<NetSession>();
    ASSERT_TRUE(host->Host(0));
    NetSession joiner;
    ASSERT_TRUE(joiner.Join("127.0.0.1", host->Port()));
    const int32_t bob = joiner.PlayerCreate("bob");
    ASSERT_GT(bob, 0);
    host.reset();
    ASSERT_TRUE(WaitUntil([&] { return !joiner.Running(); }));
    const auto start = std::chrono::steady_clock::now();
    int32_t n = 0;
    EXPECT_FALSE(joiner.PlayerCount(n));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_FALSE(joiner.MessageSend(bob, -1, "lost"));
}

TEST(NetSession, StopEndsTheThreadAlsoWithAPeerThatNeverReads) {
    auto host = std::make_unique<NetSession>();
    ASSERT_TRUE(host->Host(0));
    const int32_t alice = host->PlayerCreate("alice");
    RawPeer peer;
    ASSERT_TRUE(peer.Connect("127.0.0.1", host->Port()));
    ASSERT_TRUE(peer.SendFrame(PacketBuild(kPacketJoin, 0, -1, JoinPayloadBuild(1, "deaf"))));
    ASSERT_TRUE(WaitUntil([&] { return CountSeenBy(*host) == 2; }));
    int32_t deaf = 0;
    ASSERT_TRUE(host->PlayerId(1, deaf));
    // Fill the socket and the queue towards a peer that reads nothing.
    for (int i = 0; i < 3000; ++i) host->MessageSend(alice, deaf, std::string(1024, 'f'));
    const size_t before = nettest::OpenDescriptors();
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        host.reset();
        stopped = true;
    });
    const bool ended = WaitUntil([&] { return stopped.load(); });
    if (ended)
        stopper.join();
    else
        stopper.detach();
    ASSERT_TRUE(ended);
    EXPECT_LT(nettest::OpenDescriptors(), before);  // listener and peer closed
    EXPECT_TRUE(peer.ClosedByPeer());
}

TEST(NetSession, RawPeersSendingGarbageAreCutOffAndTheHostGoesOn) {
    NetSession host;
    ASSERT_TRUE(host.Host(0));
    const int32_t alice = host.PlayerCreate("alice");
    NetSession joiner;
    ASSERT_TRUE(joiner.Join("127.0.0.1", host.Port()));
    const int32_t bob = joiner.PlayerCreate("bob");
    ASSERT_GT(bob, 0);
    const auto stillServes = [&](const std::string& tag) {
        EXPECT_EQ(CountSeenBy(joiner), 2) << tag;
        EXPECT_TRUE(joiner.MessageSend(bob, alice, tag)) << tag;
        // The random peer's own players may have written to alice too: look for bob's.
        std::string text;
        int32_t from = 0;
        EXPECT_TRUE(WaitUntil([&] {
            return host.MessageGet(alice, text, from) && from == bob && text == tag;
        })) << tag;
    };
    stillServes("warm-up");
    const long heapBefore = nettest::HeapInUseKb();

    const std::string body(10, 'b');
    const std::pair<const char*, std::string> garbage[] = {
        {"length over 1024", RawPacket("CRVN", 3, 5000, alice, 1, std::string(1024, 'x'))},
        {"length disagrees", RawPacket("CRVN", 3, 20, alice, 1, body)},
        {"magic wrong", RawPacket("XRVN", 3, 10, alice, 1, body)},
        {"header only half", RawPacket("CRVN", 3, 10, alice, 1, body).substr(0, 9)},
    };
    for (const auto& [what, packet] : garbage) {
        RawPeer peer;
        ASSERT_TRUE(peer.Connect("127.0.0.1", host.Port()));
        ASSERT_TRUE(peer.SendFrame(packet));
        EXPECT_TRUE(peer.ClosedByPeer()) << what;
        stillServes(what);
    }
    {
        // A frame announced longer than any packet: not our framing at all.
        RawPeer peer;
        ASSERT_TRUE(peer.Connect("127.0.0.1", host.Port()));
        ASSERT_TRUE(peer.SendBytes(std::string("\xff\xff\xff\x7f", 4) + "CRVN"));
        EXPECT_TRUE(peer.ClosedByPeer()) << "frame length";
        stillServes("frame length");
    }
    {
        // A packet cut in the middle: the rest never comes, the peer goes quiet, then closes.
        RawPeer peer;
        ASSERT_TRUE(peer.Connect("127.0.0.1", host.Port()));
        std::string frame;
        platform::FrameAppend(frame, PacketBuild(kPacketMessage, alice, 1, body));
        ASSERT_TRUE(peer.SendBytes(frame.substr(0, frame.size() / 2)));
        stillServes("cut, peer waiting");
        peer.socket.reset();
        stillServes("cut, peer closed");
    }

    // 10,000 well-framed packets of random type, ids and payload.
    std::mt19937 rng(2024);
    const uint8_t types[] = {1, 2, 3, 4, 101, 102, 103, 0, 5, 255};
    RawPeer peer;
    ASSERT_TRUE(peer.Connect("127.0.0.1", host.Port()));
    int reconnects = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string payload(rng() % 1025, '\0');
        for (auto& c : payload) c = static_cast<char>(rng());
        if (rng() % 4 == 0) payload = JoinPayloadBuild(rng(), payload.substr(0, 20));
        const int32_t target = rng() % 2 ? static_cast<int32_t>(rng() % 8) - 1 : int32_t(rng());
        const int32_t sender = rng() % 2 ? static_cast<int32_t>(rng() % 8) : int32_t(rng());
        const std::string p = PacketBuild(types[rng() % 10], target, sender, payload);
        if (!peer.SendFrame(p)) {  // dropped for not reading its answers: come back
            ++reconnects;
            ASSERT_TRUE(peer.Connect("127.0.0.1", host.Port()));
        }
    }
    int32_t seen = 0;
    EXPECT_TRUE(joiner.PlayerCount(seen));  // answered while the flood is still connected
    EXPECT_GE(seen, 2);
    // And it closes in the middle of a packet.
    std::string frame;
    platform::FrameAppend(frame, PacketBuild(kPacketMessage, -1, 1, std::string(500, 'm')));
    peer.SendBytes(frame.substr(0, 300));
    peer.socket.reset();
    EXPECT_TRUE(WaitUntil([&] { return CountSeenBy(host) == 2; }));  // its joins left with it
    stillServes("closed mid-packet");

    const long grownKb = nettest::HeapInUseKb() - heapBefore;
    EXPECT_LT(grownKb, 32 * 1024) << "reconnects " << reconnects;
    std::string name;
    ASSERT_TRUE(host.PlayerName(bob, name));
    EXPECT_EQ(name, "bob");  // nothing the peers sent removed or renamed a player
}

TEST(NetSession, TwoHundredJoinsAndLeavesLeakNothing) {
    NetSession host;
    ASSERT_TRUE(host.Host(0));
    const int32_t alice = host.PlayerCreate("alice");
    const bool v6 = nettest::Ipv6Loopback();
    const size_t fdsBefore = nettest::OpenDescriptors();
    for (int cycle = 0; cycle < 200; ++cycle) {
        NetSession joiner;
        ASSERT_TRUE(joiner.Join(cycle % 2 && v6 ? "::1" : "127.0.0.1", host.Port())) << cycle;
        const int32_t id = joiner.PlayerCreate("cycle" + std::to_string(cycle));
        ASSERT_GT(id, 0) << cycle;
        ASSERT_TRUE(joiner.MessageSend(id, alice, "hello"));
        ASSERT_EQ(NextMessage(host, alice), "hello");
    }  // each joiner leaves as it goes out of scope
    ASSERT_TRUE(WaitUntil([&] { return CountSeenBy(host) == 1; }));
    int32_t only = 0;
    ASSERT_TRUE(host.PlayerId(0, only));
    EXPECT_EQ(only, alice);
    EXPECT_TRUE(WaitUntil([&] { return nettest::OpenDescriptors() == fdsBefore; }))
        << nettest::OpenDescriptors() << " open, " << fdsBefore << " before";
}

namespace {
// The commands over the module's own session, with a second session in this process as the
// other program.
struct NetCommands : ::testing::Test {
    void SetUp() override { NetStateCreate(); }
    void TearDown() override { NetShutdown(); }
};
}  // namespace

TEST_F(NetCommands, HostTextIdsAndTheRememberedSender) {
    const int port = FreePort();
    ASSERT_EQ(NetHost(std::to_string(port).c_str()), 1);
    EXPECT_EQ(NetPlayerCount(), 0);  // no own player yet
    const RtString alice = NetPlayerCreate("alice");
    NetSession joiner;
    ASSERT_TRUE(joiner.Join(nettest::Ipv6Loopback() ? "::1" : "127.0.0.1", port));
    const int32_t bob = joiner.PlayerCreate("bob");
    ASSERT_GT(bob, 0);
    const RtString bobText = std::to_string(bob).c_str();
    EXPECT_EQ(NetPlayerCount(), 2);
    EXPECT_EQ(NetPlayerId(1), bobText);
    EXPECT_EQ(NetPlayerId(2), RtString("-1"));
    EXPECT_EQ(NetPlayerName(bobText), RtString("bob"));
    EXPECT_EQ(NetMessageSender(), RtString("-1"));

    ASSERT_TRUE(joiner.MessageSend(bob, -1, "hi"));
    RtString got;
    ASSERT_TRUE(WaitUntil([&] { return (got = NetMessageGet(alice)).Length() > 0; }));
    EXPECT_EQ(got, RtString("hi"));
    EXPECT_EQ(NetMessageSender(), bobText);
    EXPECT_EQ(NetMessageGet(alice), RtString(""));  // empty queue: "", sender unchanged
    EXPECT_EQ(NetMessageSender(), bobText);

    EXPECT_EQ(NetMessageSend(alice, "0", "to all"), 1);  // 0: every player
    EXPECT_EQ(NextMessage(joiner, bob), "to all");
    EXPECT_EQ(NetMessageSend(alice, "12345", "nobody"), 0);
    EXPECT_EQ(NetMessageSend(bobText, "0", "not mine"), 0);
    EXPECT_EQ(NetPlayerKill("-3"), 1);
    EXPECT_EQ(NetPlayerCount(), 2);
}

TEST_F(NetCommands, LocalAddressesLeaveTheSessionAlone) {
    const int port = FreePort();
    ASSERT_EQ(NetHost(std::to_string(port).c_str()), 1);
    const RtString alice = NetPlayerCreate("alice");
    NetSession joiner;
    ASSERT_TRUE(joiner.Join("127.0.0.1", port));
    const int32_t bob = joiner.PlayerCreate("bob");
    const std::string list = NetLocalAddresses().c_str();
    EXPECT_NE(("|" + list + "|").find("|127.0.0.1|"), std::string::npos) << list;
    EXPECT_EQ(NetPlayerCount(), 2);
    ASSERT_TRUE(joiner.MessageSend(bob, -1, "still here"));
    RtString got;
    EXPECT_TRUE(WaitUntil([&] { return (got = NetMessageGet(alice)).Length() > 0; }));
}

TEST_F(NetCommands, ShutdownTellsTheHostAndEndsTheThread) {
    NetSession host;
    ASSERT_TRUE(host.Host(0));
    host.PlayerCreate("alice");
    ASSERT_EQ(NetJoin("localhost", std::to_string(host.Port()).c_str()), 1);
    const RtString bob = NetPlayerCreate("bob");
    ASSERT_NE(bob, RtString("-1"));
    ASSERT_EQ(CountSeenBy(host), 2);
    NetShutdown();
    EXPECT_EQ(Net(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return CountSeenBy(host) == 1; }));
    // Without the state every command answers its failure value.
    EXPECT_EQ(NetPlayerCreate("late"), RtString("-1"));
    EXPECT_EQ(NetMessageGet(bob), RtString(""));
    EXPECT_EQ(NetHost("1"), 0);
    NetStateCreate();  // for TearDown
}
