// Two programs on the loopback: this test hosts through the commands, a built program joins
// (over IPv4 and over IPv6), and both walk through players, names, messages and kills.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "corvane.h"
#include "net/net_runtime.h"
#include "support/test_support.h"
#include "tests/net/net_test_helpers.h"

using nettest::WaitUntil;

namespace {

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// Waits (60 s: the other program starts a whole runtime first) for a message to player.
std::string Await(const RtString& player, int timeoutMs = 60000) {
    RtString m;
    if (!WaitUntil([&] { return (m = NetMessageGet(player)).Length() > 0; }, timeoutMs))
        return "<none>";
    return std::string(m.Text(), m.Length());
}

bool Has(const std::string& output, const std::string& line) {
    return output.find(line + "\n") != std::string::npos;
}

struct TwoPrograms : ::testing::TestWithParam<const char*> {
    void SetUp() override { NetStateCreate(); }
    void TearDown() override { NetShutdown(); }
};

}  // namespace

TEST_P(TwoPrograms, HostAndJoinerAgreeOnPlayersMessagesAndKills) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    if (std::string(GetParam()) == "::1" && !nettest::Ipv6Loopback())
        GTEST_SKIP() << "no IPv6 loopback";
    const int port = [] {
        auto l = platform::ListenSocket::Open(0);
        return l->Port();
    }();
    const std::string portText = std::to_string(port);
    ASSERT_EQ(NetHost(portText.c_str()), 1);
    const RtString alice = NetPlayerCreate("alice");
    ASSERT_EQ(alice, RtString("1"));

    testsupport::RunResult run;
    std::thread joiner([&] {
        run = testsupport::RunProgram(testsupport::ProgramPath("net", "joiner"),
                                      {GetParam(), portText}, {"SDL_AUDIODRIVER=dummy"},
                                      testsupport::MakeSubDir("joiner"), 120000);
    });

    EXPECT_EQ(Await(alice), "ready");
    const std::string bob = NetMessageSender().c_str();
    EXPECT_EQ(NetPlayerCount(), 3);
    EXPECT_EQ(NetPlayerName(bob.c_str()), RtString("bob"));
    const std::string carol = NetPlayerId(2).c_str();
    EXPECT_EQ(NetPlayerName(carol.c_str()), RtString("carol"));

    EXPECT_EQ(NetMessageSend(alice, bob.c_str(), "to bob"), 1);
    EXPECT_EQ(NetMessageSend(alice, "0", std::string(1024, 'H').c_str()), 1);
    EXPECT_EQ(Await(alice), std::string(1024, 'J'));  // not a copy of its own broadcast
    EXPECT_EQ(NetMessageSender(), RtString(bob.c_str()));

    NetPlayerKill(carol.c_str());
    EXPECT_TRUE(WaitUntil([] { return NetPlayerCount() == 1; }, 60000));  // bob leaves too
    joiner.join();

    const std::string& out = run.output;
    ASSERT_EQ(run.exitCode, 0) << out;
    EXPECT_TRUE(Has(out, "join=1 bob=" + bob + " carol=" + carol)) << out;
    EXPECT_TRUE(Has(out, "carol-got=ready from=" + bob)) << out;
    EXPECT_TRUE(Has(out, "players=3 1:alice," + bob + ":bob," + carol + ":carol")) << out;
    EXPECT_TRUE(Has(out, "bob-got=to bob from=1")) << out;
    EXPECT_TRUE(Has(out, "empty=0 sender-kept=1")) << out;
    EXPECT_TRUE(Has(out, "carol-big=1024 whole=1")) << out;
    EXPECT_TRUE(Has(out, "bob-big=1024")) << out;
    EXPECT_TRUE(Has(out, "sent-big=1")) << out;
    EXPECT_TRUE(Has(out, "carol-gone=1 count=2")) << out;
    EXPECT_TRUE(Has(out, "done")) << out;
}

INSTANTIATE_TEST_SUITE_P(NetSession, TwoPrograms, ::testing::Values("127.0.0.1", "::1"),
                         [](const auto& info) { return info.index == 0 ? "IPv4" : "IPv6"; });
