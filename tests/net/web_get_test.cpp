// WebGet against Python's own HTTP server and against raw servers written here that split,
// cut short or withhold their answers.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <mutex>
#include <random>
#include <thread>

#include "corvane.h"
#include "net/session.h"
#include "net/web_fetch.h"
#include "support/test_support.h"
#include "tests/net/net_test_helpers.h"

using nettest::WaitUntil;

namespace {

// Accepts connections one after another, keeps each request's bytes and answers as told.
class RawHttpServer {
public:
    using Respond = std::function<void(platform::StreamSocket&, const std::atomic<bool>& quit)>;
    explicit RawHttpServer(Respond respond)
        : listen_(platform::ListenSocket::Open(0)), respond_(std::move(respond)) {
        thread_ = std::thread([this] { Serve(); });
    }
    ~RawHttpServer() {
        quit_ = true;
        thread_.join();
    }
    int Port() const { return listen_ ? listen_->Port() : 0; }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    void Serve() {
        while (!quit_ && listen_) {
            std::vector<platform::SocketPollEntry> e{{listen_->Descriptor(), true, false}};
            platform::SocketPoll(e, 50);
            std::unique_ptr<platform::StreamSocket> s;
            if (listen_->Accept(s) != platform::SocketStatus::Ok) continue;
            std::string request;
            char buf[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                size_t got = 0;
                if (s->Receive(buf, sizeof buf, got, 10000) != platform::SocketStatus::Ok) break;
                request.append(buf, got);
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(request);
            }
            respond_(*s, quit_);
        }
    }
    std::unique_ptr<platform::ListenSocket> listen_;
    Respond respond_;
    std::atomic<bool> quit_{false};
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

void Send(platform::StreamSocket& s, const std::string& bytes) {
    s.SendAll(bytes.data(), bytes.size(), 10000);
}

// The queue of the loopback connection from localPort to remotePort as the kernel lists it
// (IPv4, or IPv6 for a dual-stack listener's side): rx (arrived, not yet read) or tx (sent,
// not yet acknowledged); -1 when it is not listed.
long TcpQueue(int localPort, int remotePort, bool rx) {
    for (const char* name : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream table(name);
        std::string line;
        std::getline(table, line);  // the column names
        while (std::getline(table, line)) {
            unsigned local = 0, remote = 0, state = 0;
            unsigned long tx = 0, rxBytes = 0;
            if (std::sscanf(line.c_str(), " %*d: %*[0-9A-F]:%X %*[0-9A-F]:%X %X %lX:%lX", &local,
                            &remote, &state, &tx, &rxBytes) == 5 &&
                int(local) == localPort && int(remote) == remotePort)
                return long(rx ? rxBytes : tx);
        }
    }
    return -1;
}

int PortOf(int fd, bool peer) {
    sockaddr_in6 a{};  // an IPv4 address's port sits where an IPv6 one's does
    socklen_t n = sizeof a;
    const int r = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&a), &n)
                       : getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    return r == 0 ? ntohs(a.sin6_port) : -1;
}

// Waits until the client has read everything sent to it so far, so what is sent next arrives
// in a read of its own.
bool ReadByClient(platform::StreamSocket& s) {
    const int server = PortOf(s.Descriptor(), false), client = PortOf(s.Descriptor(), true);
    return WaitUntil([&] {
        return TcpQueue(server, client, false) == 0 && TcpQueue(client, server, true) == 0;
    });
}

struct WebGetTest : ::testing::Test {
    std::string dir, target;
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        target = dir + "/got.bin";
        ASSERT_TRUE(testsupport::WriteFile(target, "old contents"));
    }
    double Get(int port, const std::string& path = "/file") {
        return WebGet("127.0.0.1", path.c_str(), port, target.c_str());
    }
    std::string Target() const { return testsupport::ReadFile(target); }
};

}  // namespace

TEST_F(WebGetTest, FetchesAMegabyteFromPythonsHttpServerByteForByte) {
    std::string body(1 << 20, '\0');
    std::mt19937 rng(5);
    for (auto& c : body) c = static_cast<char>(rng());
    const std::string served = testsupport::MakeSubDir("served");
    ASSERT_TRUE(testsupport::WriteFile(served + "/big.bin", body));
    const int port = [] {
        auto l = platform::ListenSocket::Open(0);
        return l->Port();
    }();
    // One request served, then the server ends.
    const std::string script =
        "import http.server,sys\n"
        "s=http.server.HTTPServer(('127.0.0.1'," +
        std::to_string(port) +
        "),http.server.SimpleHTTPRequestHandler)\n"
        "s.handle_request()\n";
    testsupport::RunResult run;
    std::thread server([&] {
        run = testsupport::RunProgram("/usr/bin/python3", {"-c", script}, {}, served, 60000);
    });
    double result = 0;
    const bool fetched = WaitUntil([&] { return (result = Get(port, "/big.bin")) == 1; });
    server.join();
    ASSERT_TRUE(fetched) << run.output;
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string got = Target();
    ASSERT_EQ(got.size(), body.size());
    EXPECT_TRUE(got == body);
}

TEST_F(WebGetTest, SendsTheRequestAsOneHttp10Get) {
    RawHttpServer server(
        [](platform::StreamSocket& s, const auto&) { Send(s, "HTTP/1.0 200 OK\r\n\r\nhello"); });
    ASSERT_EQ(Get(server.Port(), "/dir/a.txt?q=1"), 1);
    EXPECT_EQ(Target(), "hello");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /dir/a.txt?q=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\n"
              "User-Agent: Corvane game\r\n\r\n");
}

TEST_F(WebGetTest, AHeaderEndSplitAcrossTwoReadsLeavesExactlyTheBody) {
    const std::string body = "\r\n\r\nthe body\n\n";
    std::atomic<bool> split{false};
    RawHttpServer server([&](platform::StreamSocket& s, const auto&) {
        Send(s, "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r");
        split = ReadByClient(s);
        Send(s, "\n" + body);
    });
    ASSERT_EQ(Get(server.Port()), 1);
    EXPECT_TRUE(split) << "the client never read the first part on its own";
    EXPECT_EQ(Target(), body);
}

TEST_F(WebGetTest, AServerClosingAfterTheHeaderGivesAnEmptyFile) {
    RawHttpServer server(
        [](platform::StreamSocket& s, const auto&) { Send(s, "HTTP/1.0 204 No Content\r\n\r\n"); });
    ASSERT_EQ(Get(server.Port()), 1);
    EXPECT_EQ(Target(), "");
}

TEST_F(WebGetTest, NoWholeAnswerLeavesTheOldFile) {
    int answer = 0;
    RawHttpServer server([&](platform::StreamSocket& s, const auto&) {
        if (answer++ == 1) Send(s, "HTTP/1.0 200 OK\r\nX: cut");
    });
    EXPECT_EQ(Get(server.Port()), 0);  // closed without a byte
    EXPECT_EQ(Get(server.Port()), 0);  // closed inside the header
    EXPECT_EQ(Target(), "old contents");
    const int closedPort = [] {
        auto l = platform::ListenSocket::Open(0);
        return l->Port();
    }();
    EXPECT_EQ(Get(closedPort), 0);  // a port nobody listens on: refused
    EXPECT_EQ(Target(), "old contents");
}

TEST_F(WebGetTest, ABodyShorterThanAnnouncedIsNoWholeAnswer) {
    int answer = 0;
    RawHttpServer server([&](platform::StreamSocket& s, const auto&) {
        if (answer++ == 0)
            Send(s, "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(50, 'h'));
        else
            Send(s, "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nwhole");
    });
    EXPECT_EQ(Get(server.Port()), 0);
    EXPECT_EQ(Target(), "old contents");
    EXPECT_EQ(Get(server.Port()), 1);
    EXPECT_EQ(Target(), "whole");
}

TEST_F(WebGetTest, ASilentServerTimesOut) {
    RawHttpServer server([](platform::StreamSocket&, const std::atomic<bool>& quit) {
        while (!quit) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    });
    EXPECT_FALSE(WebFetch("127.0.0.1", "/", server.Port(), target, 500));
    // The command's own time-out: 10 s.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(server.Port()), 0);
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(s, 8.0);
    EXPECT_LE(s, 30.0);
    EXPECT_EQ(Target(), "old contents");
}

TEST_F(WebGetTest, TextThatWouldChangeTheRequestIsRefusedUnsent) {
    RawHttpServer server(
        [](platform::StreamSocket& s, const auto&) { Send(s, "HTTP/1.0 200 OK\r\n\r\nok"); });
    EXPECT_EQ(Get(server.Port(), "/a\r\nX-Injected: 1\r\n"), 0);
    EXPECT_EQ(Get(server.Port(), "/a b"), 0);
    EXPECT_EQ(WebGet("127.0.0.1\r\nX: 1", "/", server.Port(), target.c_str()), 0);
    EXPECT_EQ(Target(), "old contents");
    ASSERT_EQ(Get(server.Port(), "/fine"), 1);
    ASSERT_EQ(server.Requests().size(), 1u);  // the refused ones never reached the server
    EXPECT_EQ(server.Requests()[0].rfind("GET /fine HTTP/1.0\r\n", 0), 0u);
}

TEST_F(WebGetTest, ADownloadDuringASessionLeavesTheSessionRunning) {
    NetSession host;
    ASSERT_TRUE(host.Host(0));
    const int32_t alice = host.PlayerCreate("alice");
    NetSession joiner;
    ASSERT_TRUE(joiner.Join("127.0.0.1", host.Port()));
    const int32_t bob = joiner.PlayerCreate("bob");
    RawHttpServer server(
        [](platform::StreamSocket& s, const auto&) { Send(s, "HTTP/1.0 200 OK\r\n\r\npayload"); });
    ASSERT_EQ(Get(server.Port()), 1);
    EXPECT_EQ(Target(), "payload");
    ASSERT_TRUE(joiner.MessageSend(bob, alice, "after the download"));
    std::string text;
    int32_t sender = 0;
    EXPECT_TRUE(WaitUntil([&] { return host.MessageGet(alice, text, sender); }));
    EXPECT_EQ(text, "after the download");
    EXPECT_TRUE(host.Running());
    EXPECT_TRUE(joiner.Running());
}
