// Helpers shared by every test executable.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// The private temporary folder of this test process (also exported as TMPDIR at start-up,
// so the runtime's log and extracted files land here and never collide between tests).
const std::string& TempDir();

// A fresh, empty sub-folder of TempDir().
std::string MakeSubDir(const std::string& name);

std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Path of a test program built from tests/<module>/programs/<name>.cpp.
std::string ProgramPath(const std::string& module, const std::string& name);

struct RunResult {
    int exitCode = -1;  // -1 when the program did not exit normally
    int signal = 0;     // the signal that ended it, if any
    bool timedOut = false;
    std::string output;  // stdout and stderr together
};

// Runs a program with extra environment entries ("NAME=value"), in folder cwd (empty: the
// current one), killing it after timeoutMs.
RunResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {}, const std::string& cwd = "",
                     int timeoutMs = 30000);

// A program started in the background, stdout and stderr collected; killed (and reaped) when
// the object goes, if it still runs.
class ProgramProcess {
public:
    ProgramProcess(const std::string& path, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {}, const std::string& cwd = "");
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    int Pid() const { return pid_; }
    bool Running();
    // Waits up to timeoutMs for the program to end; false when it still runs.
    bool WaitExit(int timeoutMs);
    // The exit code once it has ended normally, else -1.
    int ExitCode() const { return exitCode_; }
    // What it has written so far.
    const std::string& Output();

private:
    void Drain();
    int pid_ = -1;
    int pipe_ = -1;
    bool ended_ = false;
    int exitCode_ = -1;
    std::string output_;
};

// Whether this is CI's run (CI=true), where bootstrap has installed every tool the tests use.
bool InCi();

// Skips the test when something it needs is missing: a display, ffmpeg, xdotool, zenity, the
// media generator. Under CI, where bootstrap installs all of them, the test fails instead, so a
// machine missing a tool cannot pass whole groups unseen. Only for void functions (test bodies,
// SetUp).
#define SKIP_WHEN_MISSING(missing, why)                                                    \
    do {                                                                                   \
        if (missing) {                                                                     \
            if (testsupport::InCi()) FAIL() << why << " (CI=true: bootstrap installs it)"; \
            GTEST_SKIP() << why;                                                           \
        }                                                                                  \
    } while (0)

// Asks cond every pollMs until it holds or timeoutMs have passed; whether it held.
bool PollUntil(const std::function<bool()>& cond, int timeoutMs, int pollMs = 20);

}  // namespace testsupport
