// The requester and the hand-over to another program, end to end under the display: a real
// zenity chooser driven with xdotool, and a chained shell that looks for what the first
// program left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

testsupport::RunResult Shell(const std::string& command) {
    return testsupport::RunProgram("/bin/sh", {"-c", command}, {}, "", 30000);
}

// Polls until the file exists or the deadline passes.
bool WaitForFile(const std::string& path, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!testsupport::FileExists(path)) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Runs the requester program with the given mode and answers the chooser with keys; the
// answer is typed again while the chooser stays open (early keys can be lost while GTK
// builds the dialog). Returns the program's result file.
std::string Request(const std::string& name, const std::string& mode, const std::string& keys) {
    const std::string dir = testsupport::MakeSubDir(name);
    const std::string result = dir + "/result";
    auto run = std::async(std::launch::async, [&] {
        return testsupport::RunProgram(testsupport::ProgramPath("frame", "requester"),
                                       mode.empty() ? std::vector<std::string>{result}
                                                    : std::vector<std::string>{mode, result},
                                       // full screen needs a mode the display has: its own size
                                       {"SDL_AUDIODRIVER=dummy", "CORVANE_SCREEN=1024x768"}, "",
                                       120000);
    });
    const auto deadline = Clock::now() + std::chrono::seconds(90);
    while (!testsupport::FileExists(result) && Clock::now() < deadline) {
        std::string window = Shell("xdotool search --onlyvisible --class zenity | tail -1").output;
        while (!window.empty() && window.back() == '\n') window.pop_back();
        if (window.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        // Without a window manager nothing moves the keyboard focus to the new dialog.
        Shell("xdotool windowfocus " + window + " && " + keys);
        WaitForFile(result, std::chrono::seconds(10));
    }
    const testsupport::RunResult r = run.get();
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return testsupport::ReadFile(result);
}

}  // namespace

TEST(ProgramChainE2E, TheNextProgramStartsAfterTheWindowAndTheExtractionFolderAreGone) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const std::string dir = testsupport::MakeSubDir("chain");
    const testsupport::RunResult r =
        testsupport::RunProgram(testsupport::ProgramPath("frame", "chain_first"), {dir},
                                {"SDL_AUDIODRIVER=dummy"}, "", 60000);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(testsupport::ReadFile(dir + "/before"), "open\n") << "the check sees a live window";
    ASSERT_TRUE(WaitForFile(dir + "/after", std::chrono::seconds(30)));
    EXPECT_EQ(testsupport::ReadFile(dir + "/after"), "closed gone\n");
}

TEST(FileRequesterE2E, TheChosenPathComesBackAndEscapeGivesNoFile) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    SKIP_WHEN_MISSING(Shell("command -v zenity").exitCode != 0, "zenity is not installed");
    const std::string dir = testsupport::MakeSubDir("pick");
    ASSERT_TRUE(testsupport::WriteFile(dir + "/a b.txt", "x"));
    // Slow typing lets the location bar's completion settle after every character.
    const std::string path = dir + "/a b.txt";
    const std::string type =
        "xdotool key ctrl+l && xdotool type --delay 120 '" + path + "' && xdotool key Return";
    EXPECT_EQ(Request("pick_run", "", type), path + "\n0 0\n");
    EXPECT_EQ(Request("cancel_run", "", "xdotool key Escape"), "NO_FILE\n0 0\n");
    EXPECT_EQ(Request("save_run", "save", "xdotool key Escape"), "NO_FILE\n0 0\n");
}

TEST(FileRequesterE2E, AFullScreenWindowReturnsToFullScreen) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    SKIP_WHEN_MISSING(Shell("command -v zenity").exitCode != 0, "zenity is not installed");
    const std::string answer = Request("full_run", "full", "xdotool key Escape");
    if (answer.find("\n0 ") != std::string::npos) GTEST_SKIP() << "no full-screen mode here";
    EXPECT_EQ(answer, "NO_FILE\n1 1\n");
}
