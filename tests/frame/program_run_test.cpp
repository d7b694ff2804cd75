// ProgramRun against real child processes: exit codes, arguments, descriptors, zombies.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "corvane.h"
#include "support/test_support.h"

namespace {

double Start(const std::string& line, double wait, double& code) {
    code = -7;
    return ProgramRun(RtString(line.c_str()), wait, 1, code);
}

// Children of this process in /proc, running or ended but not yet reaped (zombies).
int Children() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string stat = testsupport::ReadFile(e.path().string() + "/stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == getpid())
            ++n;
    }
    return n;
}

}  // namespace

TEST(ProgramRun, ExitCodesSignalsAndMissingPrograms) {
    double code = 0;
    struct Case {
        const char* line;
        double started, code;
    } cases[] = {
        {"/bin/sh -c 'exit 0'", 1, 0},
        {"sh -c 'exit 3'", 1, 3},
        {"sh -c 'exit 255'", 1, 255},
        {"sh -c 'kill -9 $$'", 1, 128 + 9},
        {"no-such-program-anywhere", 0, 0},
        {"/no/such/path", 0, 0},
        {"", 0, 0},
        {"sh -c 'unterminated", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Start(c.line, 1, code), c.started) << c.line;
        EXPECT_EQ(code, c.code) << c.line;
    }
}

TEST(ProgramRun, ArgumentsArriveAsWordsAndNoDescriptorLeaks) {
    const std::string dir = testsupport::MakeSubDir("run");
    double code = 0;
    ASSERT_EQ(Start("sh -c 'printf \"[%s]\" \"$@\" > " + dir + "/argv' x \"a b\" 'c\"d' '' \\$HOME",
                    1, code),
              1);
    EXPECT_EQ(testsupport::ReadFile(dir + "/argv"), "[a b][c\"d][][$HOME]");

    // A descriptor opened without close-on-exec must still not reach the child.
    const int leaky = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 3);
    ASSERT_EQ(Start("sh -c 'ls /proc/self/fd > " + dir + "/fds'", 1, code), 1);
    ::close(leaky);
    // ls itself holds the folder it lists open: 0, 1 (the redirect), 2 and that one.
    std::string fds = testsupport::ReadFile(dir + "/fds");
    int count = 0;
    for (char ch : fds) count += ch == '\n';
    EXPECT_EQ(count, 4) << fds;
}

TEST(ProgramRun, AChildNotWaitedForLeavesNoZombie) {
    double code = 0;
    for (int i = 0; i < 5; ++i) ASSERT_EQ(Start("sh -c 'exit 4'", 0, code), 1);
    EXPECT_EQ(code, 0) << "no wait: no exit code";
    // Each child ends at once; once reaped it is gone from /proc, while a zombie would stay
    // this process's child for good.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (Children() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(Children(), 0);
}
