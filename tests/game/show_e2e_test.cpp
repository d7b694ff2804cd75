// The built show run from a copy of its folder: a missing map ends it with runtime error 9
// through the end path; missing pictures, fonts and music leave the fall-backs and the show
// goes on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// A copy of build/zan3 with only the named media files beside it.
std::string ShowCopy(const std::string& name, std::initializer_list<const char*> media) {
    const std::string dir = testsupport::MakeSubDir(name);
    fs::copy_file(std::string(CORVANE_TEST_BIN_DIR) + "/zan3", dir + "/zan3");
    fs::create_directory(dir + "/media");
    for (const char* m : media)
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/media/" + m, dir + "/media/" + m);
    return dir;
}

// Runs the show with its trace on until its output holds needle, it exits, or the deadline
// passes; a show still running then is killed.
struct TraceRun {
    std::string output;
    bool found = false;
    int exitCode = -1;  // -1 while running when it was stopped
};
TraceRun RunUntil(const std::string& dir, const std::string& needle, int deadlineSeconds) {
    TraceRun r;
    int fds[2];
    if (pipe(fds) != 0) return r;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        setenv("ZAN3_TRACE", "1", 1);
        const std::string exe = dir + "/zan3";
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(deadlineSeconds);
    int status = 0;
    bool exited = false;
    char buf[4096];
    while (!exited && std::chrono::steady_clock::now() < deadline) {
        ssize_t n;
        while ((n = read(fds[0], buf, sizeof buf)) > 0) r.output.append(buf, n);
        if (r.output.find(needle) != std::string::npos) {
            r.found = true;
            break;
        }
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (!exited) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    } else if (WIFEXITED(status)) {
        r.exitCode = WEXITSTATUS(status);
    }
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) r.output.append(buf, n);
    r.found = r.found || r.output.find(needle) != std::string::npos;
    close(fds[0]);
    return r;
}

TEST(ShowRun, MissingMapEndsWithRuntimeErrorNine) {
    const std::string dir = ShowCopy("no_map", {"Lucida Console 112x88.png", "Splash 480x240.png",
                                                "image 1.2.png", "image 2.2.png", "map.png"});
    const TraceRun r = RunUntil(dir, "StageMapOn", 90);
    // The intro plays, the first show frame loads the map and the end path exits with 9.
    EXPECT_NE(r.output.find("ShowStart"), std::string::npos) << r.output;
    EXPECT_FALSE(r.found) << r.output;
    EXPECT_EQ(r.exitCode, 9) << r.output;
}

TEST(ShowRun, MissingPicturesFontsAndMusicLeaveTheFallBacks) {
    const std::string dir = ShowCopy("map_only", {"map.txt"});
    const TraceRun r = RunUntil(dir, "StageItemsOn", 120);
    EXPECT_TRUE(r.found) << r.output;
    EXPECT_EQ(r.exitCode, -1) << "the show ended early:\n" << r.output;
}

}  // namespace
