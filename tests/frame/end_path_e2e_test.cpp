// Whole programs ending: their exit codes, log trace and the folder the end leaves behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace {

std::string Log() {
    return testsupport::ReadFile(testsupport::TempDir() + "/ErrorLog.txt");
}

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// Starts the wait program, returns its pid once its first frame has run (or -1).
pid_t StartWaiting(const std::string& arg) {
    const std::string path = testsupport::ProgramPath("frame", "end_wait");
    std::remove((testsupport::TempDir() + "/ErrorLog.txt").c_str());
    pid_t pid = fork();
    if (pid == 0) {
        execl(path.c_str(), path.c_str(), arg.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 200; ++i) {
        if (Log().find("waiting") != std::string::npos) return pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

// Exit code of pid, or -1 when it did not exit by itself within the time.
int WaitExit(pid_t pid, int ms) {
    for (int i = 0; i < ms / 20; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

}  // namespace

TEST(EndPathE2E, DebugErrorEndsWithTraceCodeAndTheExecutablesFolder) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const std::string path = testsupport::ProgramPath("frame", "end_error");
    testsupport::RunResult r = testsupport::RunProgram(path, {});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 9) << r.output;
    EXPECT_NE(r.output.find("runtime error 9 (array index out of range) in unit 7 line 120\n"),
              std::string::npos)
        << r.output;
    const std::string log = Log();
    EXPECT_NE(log.find("Init Finalized\r\n-End On Line\r\n9\r\n119\r\n120\r\n7\r\n"),
              std::string::npos)
        << log;
    const std::string exeFolder = path.substr(0, path.rfind('/') + 1);
    EXPECT_EQ(testsupport::ReadFile(testsupport::TempDir() + "/cwd.txt"), exeFolder);
}

TEST(EndPathE2E, ReleaseNormalEndWritesNoTrace) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    testsupport::RunResult r =
        testsupport::RunProgram(testsupport::ProgramPath("frame", "end_normal"), {});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output.find("runtime error"), std::string::npos) << r.output;
    const std::string log = Log();
    EXPECT_NE(log.find("game ran\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("-End On Line"), std::string::npos) << log;
}

TEST(EndPathE2E, CloseRequestEndsWithZeroAndTheTrace) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    // SIGTERM takes the program through the same end as a close request.
    pid_t pid = StartWaiting("debug");
    ASSERT_GT(pid, 0);
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid, 5000), 0);
    EXPECT_NE(Log().find("-End On Line\r\n0\r\n"), std::string::npos) << Log();
}

TEST(EndPathE2E, EndSignalsEndTheProgramInsideTheRuntimesWaits) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    struct Case {
        const char* wait;
        int signal;
    };
    for (const Case& c : {Case{"sleep", SIGTERM}, Case{"sleep", SIGINT}, Case{"key", SIGTERM},
                          Case{"key", SIGINT}, Case{"frames", SIGINT}, Case{"net", SIGTERM}}) {
        pid_t pid = StartWaiting(c.wait);
        ASSERT_GT(pid, 0) << c.wait;
        kill(pid, c.signal);
        // The sleep alone lasts a minute; the end must come well before.
        EXPECT_EQ(WaitExit(pid, 30000), 0) << c.wait << " " << c.signal;
    }
}

TEST(EndPathE2E, EscapeEndsWithZero) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    SKIP_WHEN_MISSING(std::system("command -v xdotool >/dev/null 2>&1") != 0, "no xdotool");
    pid_t pid = StartWaiting("");
    ASSERT_GT(pid, 0);
    const std::string cmd = "xdotool search --sync --all --pid " + std::to_string(pid) +
                            " --name ." + " windowfocus --sync key Escape >/dev/null 2>&1";
    int rc = -1;
    for (int i = 0; i < 10 && rc == -1; ++i) {
        (void)!std::system(cmd.c_str());
        int status = 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (waitpid(pid, &status, WNOHANG) == pid)
            rc = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    }
    if (rc == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    EXPECT_EQ(rc, 0);
}
