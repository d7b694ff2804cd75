// Debugger detection and output, dynamic libraries, battery and console.
#include "platform/system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>

#include "platform/dynlib.h"
#include "support/test_support.h"

namespace {

// Runs body in a forked child and returns its exit status (-1 when it did not exit).
int InChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Child that makes this test process its tracer, the way a debugger attaches.
int Traced(const std::function<int()>& body) {
    return InChild([&] {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) return 99;
        return body();
    });
}

// Points stderr at a file for the rest of the (child) process.
void StderrTo(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 2);
    close(fd);
}

}  // namespace

TEST(PlatformSystem, DebuggerAttachedFollowsTheTracer) {
    EXPECT_EQ(InChild([] { return platform::DebuggerAttached() ? 1 : 0; }), 0);
    int traced = Traced([] { return platform::DebuggerAttached() ? 1 : 0; });
    if (traced == 99) GTEST_SKIP() << "ptrace not permitted here";
    EXPECT_EQ(traced, 1);
}

TEST(PlatformSystem, DebugOutputReachesStderrOnlyUnderATracer) {
    const std::string dir = testsupport::MakeSubDir("debugout");
    const std::string plain = dir + "/plain.txt", traced = dir + "/traced.txt";
    EXPECT_EQ(InChild([&] {
                  StderrTo(plain);
                  platform::DebugOutput("hidden");
                  return 0;
              }),
              0);
    EXPECT_EQ(testsupport::ReadFile(plain), "");
    int rc = Traced([&] {
        StderrTo(traced);
        platform::DebugOutput("TXshown");
        return 0;
    });
    if (rc == 99) GTEST_SKIP() << "ptrace not permitted here";
    EXPECT_EQ(testsupport::ReadFile(traced), "TXshown");
}

TEST(PlatformSystem, DynamicLibraryLookup) {
    void* m = platform::DynLibOpen("libm.so.6");
    ASSERT_NE(m, nullptr);
    auto cosFn = reinterpret_cast<double (*)(double)>(platform::DynLibSymbol(m, "cos"));
    ASSERT_NE(cosFn, nullptr);
    EXPECT_DOUBLE_EQ(cosFn(0.0), 1.0);
    EXPECT_EQ(platform::DynLibSymbol(m, "no_such_function_here"), nullptr);
    EXPECT_EQ(platform::DynLibSymbol(nullptr, "cos"), nullptr);
    EXPECT_EQ(platform::DynLibOpen("libno-such-library.so"), nullptr);
    // An empty name must not hand back the program itself.
    EXPECT_EQ(platform::DynLibOpen(""), nullptr);
}

TEST(PlatformSystem, BatteryAndTimeAreInRange) {
    int b = platform::BatteryPercent();
    EXPECT_TRUE((b >= 0 && b <= 100) || b == 255) << b;
    platform::LocalTime t = platform::LocalTimeNow();
    EXPECT_GE(t.year, 2020);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12);
    EXPECT_TRUE(t.day >= 1 && t.day <= 31);
    EXPECT_TRUE(t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59);
}

TEST(PlatformSystem, ConsoleOpenWithoutTerminalLeavesHarmlessStreams) {
    // No controlling terminal (new session) and standard input closed: nothing to connect,
    // but input must afterwards be a valid (empty) stream, not a free descriptor number.
    int rc = InChild([] {
        if (setsid() < 0) return 10;
        close(0);
        if (platform::ConsoleOpen()) return 11;
        if (fcntl(0, F_GETFD) == -1) return 12;
        char c;
        return read(0, &c, 1) == 0 ? 0 : 13;
    });
    EXPECT_EQ(rc, 0);
}
