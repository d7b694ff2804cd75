#include "support/test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace testsupport {

const std::string& TempDir() {
    static const std::string dir = [] {
        // A death-test child re-runs the binary: it must share its parent's folder.
        if (const char* inherited = std::getenv("CORVANE_TEST_TMP")) return std::string(inherited);
        const char* base = std::getenv("CORVANE_TEST_TMP_BASE");
        std::string pattern = std::string(base ? base : "/tmp") + "/corvane-test-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        const char* made = mkdtemp(buf.data());
        std::string d = made ? made : "/tmp";
        setenv("CORVANE_TEST_TMP", d.c_str(), 1);
        return d;
    }();
    return dir;
}

bool InCi() {
    const char* ci = std::getenv("CI");
    return ci && (std::strcmp(ci, "true") == 0 || std::strcmp(ci, "1") == 0);
}

std::string MakeSubDir(const std::string& name) {
    std::string path = TempDir() + "/" + name;
    mkdir(path.c_str(), 0700);
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string ProgramPath(const std::string& module, const std::string& name) {
    return std::string(CORVANE_TEST_BIN_DIR) + "/programs/" + module + "_" + name;
}

namespace {

// Starts path with args, env entries added and cwd as its folder, its stdout and stderr into
// one pipe whose reading end comes back in readFd. The child's pid, or -1.
pid_t SpawnCapturing(const std::string& path, const std::vector<std::string>& args,
                     const std::vector<std::string>& env, const std::string& cwd, int& readFd) {
    int fds[2];
    readFd = -1;
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        for (const auto& e : env) putenv(strdup(e.c_str()));
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return -1;
    }
    readFd = fds[0];
    fcntl(readFd, F_SETFL, O_NONBLOCK);
    return pid;
}

}  // namespace

RunResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                     const std::vector<std::string>& env, const std::string& cwd, int timeoutMs) {
    RunResult result;
    int out = -1;
    const pid_t pid = SpawnCapturing(path, args, env, cwd, out);
    if (pid < 0) return result;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    bool done = false;
    char buf[4096];
    while (!done) {
        ssize_t n;
        while ((n = read(out, buf, sizeof buf)) > 0) result.output.append(buf, n);
        if (waitpid(pid, &status, WNOHANG) == pid) {
            done = true;
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
            done = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ssize_t n;
    while ((n = read(out, buf, sizeof buf)) > 0) result.output.append(buf, n);
    close(out);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

ProgramProcess::ProgramProcess(const std::string& path, const std::vector<std::string>& args,
                               const std::vector<std::string>& env, const std::string& cwd) {
    pid_ = SpawnCapturing(path, args, env, cwd, pipe_);
    if (pid_ < 0) ended_ = true;
}

ProgramProcess::~ProgramProcess() {
    if (!ended_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (pipe_ >= 0) close(pipe_);
}

void ProgramProcess::Drain() {
    if (pipe_ < 0) return;
    char buf[4096];
    ssize_t n;
    while ((n = read(pipe_, buf, sizeof buf)) > 0) output_.append(buf, n);
}

bool ProgramProcess::Running() {
    Drain();
    if (ended_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    ended_ = true;
    if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
    Drain();
    return false;
}

bool ProgramProcess::WaitExit(int timeoutMs) {
    return PollUntil([this] { return !Running(); }, timeoutMs, 10);
}

const std::string& ProgramProcess::Output() {
    Drain();
    return output_;
}

bool PollUntil(const std::function<bool()>& cond, int timeoutMs, int pollMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (cond()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
    }
}

}  // namespace testsupport
