// Sessions on the loopback, host and joiners in this process, each with its own thread:
//  - the round trip of a message host player -> joined player -> back (the joined side
//    echoes from a thread of its own), against the same round trip over a bare stream socket
//    pair, the reference;
//  - messages per second relayed by the host among 8 joined players, each session one player,
//    each message directed to the next player.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "net/session.h"
#include "platform/sockets.h"

namespace {

void BM_NetRoundTrip(benchmark::State& state) {
    NetSession host, joiner;
    if (!host.Host(0) || !joiner.Join("127.0.0.1", host.Port())) {
        state.SkipWithError("no loopback session");
        return;
    }
    const int32_t alice = host.PlayerCreate("alice");
    const int32_t bob = joiner.PlayerCreate("bob");
    std::atomic<bool> done{false};
    std::thread echo([&] {
        std::string text;
        int32_t from = 0;
        while (!done) {
            if (joiner.MessageGet(bob, text, from))
                joiner.MessageSend(bob, alice, text);
            else
                std::this_thread::yield();
        }
    });
    const std::string ping(32, 'p');
    std::string text;
    int32_t from = 0;
    for (auto _ : state) {
        host.MessageSend(alice, bob, ping);
        while (!host.MessageGet(alice, text, from)) std::this_thread::yield();
        benchmark::DoNotOptimize(text);
    }
    done = true;
    echo.join();
}
BENCHMARK(BM_NetRoundTrip)->UseRealTime();

// The reference: the same 32 + 17 bytes there and back over two connected stream sockets.
void BM_RawSocketRoundTrip(benchmark::State& state) {
    auto listen = platform::ListenSocket::Open(0);
    auto client = platform::StreamSocket::Connect("127.0.0.1", listen->Port(), 5000);
    std::unique_ptr<platform::StreamSocket> server;
    while (listen->Accept(server) != platform::SocketStatus::Ok) std::this_thread::yield();
    std::atomic<bool> done{false};
    std::thread echo([&] {
        char buf[64];
        while (!done) {
            size_t got = 0;
            if (server->Receive(buf, sizeof buf, got, 50) == platform::SocketStatus::Ok)
                server->SendAll(buf, got, 5000);
        }
    });
    char buf[49] = {};
    for (auto _ : state) {
        client->SendAll(buf, sizeof buf, 5000);
        size_t have = 0;
        while (have < sizeof buf) {
            size_t got = 0;
            client->Receive(buf + have, sizeof buf - have, got, 5000);
            have += got;
        }
    }
    done = true;
    echo.join();
}
BENCHMARK(BM_RawSocketRoundTrip)->UseRealTime();

void BM_NetRelayEightPlayers(benchmark::State& state) {
    constexpr int kPlayers = 8;
    constexpr int kBatch = 800;  // 100 per player, well inside every queue's bound
    NetSession host;
    if (!host.Host(0)) {
        state.SkipWithError("no loopback host");
        return;
    }
    std::vector<std::unique_ptr<NetSession>> joiners;
    std::vector<int32_t> ids;
    for (int i = 0; i < kPlayers; ++i) {
        joiners.push_back(std::make_unique<NetSession>());
        if (!joiners.back()->Join("127.0.0.1", host.Port())) {
            state.SkipWithError("join failed");
            return;
        }
        ids.push_back(joiners.back()->PlayerCreate("p" + std::to_string(i)));
    }
    const std::string text(64, 'm');
    std::string got;
    int32_t from = 0;
    for (auto _ : state) {
        for (int m = 0; m < kBatch; ++m) {
            const int i = m % kPlayers;
            while (!joiners[size_t(i)]->MessageSend(ids[size_t(i)], ids[size_t((i + 1) % kPlayers)],
                                                    text))
                std::this_thread::yield();
        }
        int received = 0;
        while (received < kBatch) {
            bool any = false;
            for (int i = 0; i < kPlayers; ++i)
                while (joiners[size_t(i)]->MessageGet(ids[size_t(i)], got, from)) {
                    ++received;
                    any = true;
                }
            if (!any) std::this_thread::yield();
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_NetRelayEightPlayers)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
