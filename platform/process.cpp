#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace platform {

std::string ProgramFind(const std::string& name) {
    if (name.empty()) return "";
    auto runnable = [](const std::string& p) {
        struct stat st;
        return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos) return runnable(name) ? name : "";
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string candidate = end > start ? dirs.substr(start, end - start) : ".";
        candidate += '/';
        candidate += name;
        if (runnable(candidate)) return candidate;
        start = end + 1;
    }
    return "";
}

int ProcessStart(const std::vector<std::string>& argv, bool captureOutput, int* outputFd) {
    if (argv.empty() || argv[0].empty()) return -1;
    // posix_spawnp reports a missing program only through the child's exit status on some
    // paths; looking it up first makes "not started" an answer, not a child exiting 127.
    const std::string program = ProgramFind(argv[0]);
    if (program.empty()) return -1;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (captureOutput) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    // Descriptors the runtime's libraries opened without close-on-exec stay ours.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // The child starts with the default signal dispositions, not the ones the runtime set.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attr, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, program.c_str(), &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (captureOutput) {
        ::close(pipeFds[1]);
        if (rc != 0) {
            ::close(pipeFds[0]);
        } else if (outputFd) {
            *outputFd = pipeFds[0];
        } else {
            ::close(pipeFds[0]);
        }
    }
    return rc == 0 ? static_cast<int>(pid) : -1;
}

int ProcessId() {
    return static_cast<int>(::getpid());
}

int ProcessWait(int pid) {
    if (pid <= 0) return -1;
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, 0);
        if (r == pid) break;
        if (r < 0 && errno == EINTR) continue;
        return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

void ProcessReapLater(int pid) {
    if (pid <= 0) return;
    // One small thread per child asleep in waitpid: it reaps exactly that child, so a wait
    // on another child elsewhere never loses its exit status to a global reaper.
    std::thread([pid] { ProcessWait(pid); }).detach();
}

std::string DescriptorReadAll(int fd, size_t maxBytes) {
    std::string out;
    if (fd < 0) return out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (out.size() < maxBytes) out.append(buf, std::min<size_t>(n, maxBytes - out.size()));
    }
    ::close(fd);
    return out;
}

}  // namespace platform
