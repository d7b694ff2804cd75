// The joining side of the two-program session test. Joins the host named on the command line
// ("address port"), creates bob and carol, and walks through the session step by step with
// the host, printing what every command answered for the test to check. Bob's first message
// is the host's "to bob": a copy of his own broadcast would have come before it.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "corvane.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

namespace {

// Waits up to 30 s for a message; "<none>" when none came.
std::string Await(const RtString& player) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end) {
        const RtString m = NetMessageGet(player);
        if (m.Length() > 0) return std::string(m.Text(), m.Length());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return "<none>";
}

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

void GameMain() {
    RtStringArray args;
    StringSplit(runtimeState.commandLine, " ", args);
    const double joined = NetJoin(args(0), args(1));
    const RtString bob = NetPlayerCreate("bob");
    const RtString carol = NetPlayerCreate("carol");
    Say("join=" + std::to_string(int(joined)) + " bob=" + bob.c_str() + " carol=" + carol.c_str());

    NetMessageSend(bob, "0", "ready");
    const std::string toCarol = Await(carol);
    Say("carol-got=" + toCarol + " from=" + NetMessageSender().c_str());

    const int count = int(NetPlayerCount());
    std::string list;
    RtString alice = "0";
    for (int i = 0; i < count; ++i) {
        const RtString id = NetPlayerId(i);
        const RtString name = NetPlayerName(id);
        if (name == "alice") alice = id;
        list += std::string(i ? "," : "") + id.c_str() + ":" + name.c_str();
    }
    Say("players=" + std::to_string(count) + " " + list);

    const std::string toBob = Await(bob);
    Say("bob-got=" + toBob + " from=" + NetMessageSender().c_str());
    const std::string big = Await(carol);
    Say("carol-big=" + std::to_string(big.size()) +
        " whole=" + (big == std::string(1024, 'H') ? "1" : "0"));
    Say("bob-big=" + std::to_string(Await(bob).size()));
    const std::string before = NetMessageSender().c_str();
    const std::string empty = NetMessageGet(bob).c_str();
    Say("empty=" + std::to_string(empty.size()) +
        " sender-kept=" + (before == NetMessageSender().c_str() ? "1" : "0"));

    Say("sent-big=" +
        std::to_string(int(NetMessageSend(bob, alice, std::string(1024, 'J').c_str()))));

    // The host removes carol; then bob leaves by himself.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (NetPlayerName(carol) != "" && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Say("carol-gone=" + std::string(NetPlayerName(carol) == "" ? "1" : "0") +
        " count=" + std::to_string(int(NetPlayerCount())));
    NetPlayerKill(bob);
    Say("done");
    EndPath();
}
