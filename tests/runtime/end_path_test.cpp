// The end path, its ordered shutdown and the error log. Ends run in death-test children; the
// parent checks the exit code and what the child left in the log.
#include "runtime/end_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/fatal.h"
#include "corvane.h"
#include "platform/paths.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "support/lock_holder.h"
#include "support/test_support.h"

namespace {

std::string RecordPath() {
    return testsupport::TempDir() + "/shutdown-record.txt";
}

void Record(const std::string& what) {
    std::ofstream(RecordPath(), std::ios::app) << what << "\n";
}

template <int N>
void RecordStep() {
    Record(std::to_string(N));
}

std::string ExeFolder() {
    std::string p = platform::ExecutablePath();
    return p.substr(0, p.rfind('/') + 1);
}

class EndPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ErrorLogReset();
        std::remove(RecordPath().c_str());
    }
};

}  // namespace

TEST_F(EndPathTest, LogLinesAreCrLfTerminatedAndNullIsWrittenAsNull) {
    ErrorLogAppend("first");
    ErrorLogAppend(static_cast<const char*>(nullptr));
    ErrorLogAppend(std::string("third"));
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()), "first\r\nNULL\r\nthird\r\n");
    EXPECT_EQ(ErrorLogPath(), testsupport::TempDir() + "/ErrorLog.txt");
    ErrorLogReset();
    EXPECT_FALSE(testsupport::FileExists(ErrorLogPath()));
}

TEST_F(EndPathTest, LockedLogDelaysAboutHalfASecondAndDropsTheLine) {
    ErrorLogAppend("before");
    testsupport::LockHolder other;
    ASSERT_NO_FATAL_FAILURE(other.Hold(ErrorLogPath()));
    auto t0 = std::chrono::steady_clock::now();
    ErrorLogAppend("dropped");
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    other.Release();
    EXPECT_GE(ms, 400);
    EXPECT_LT(ms, 1500);
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()), "before\r\n");
}

TEST_F(EndPathTest, LinkPlantedAtTheLogIsNotFollowed) {
    const std::string target = testsupport::TempDir() + "/victim.txt";
    ASSERT_TRUE(testsupport::WriteFile(target, "precious"));
    ASSERT_EQ(symlink(target.c_str(), ErrorLogPath().c_str()), 0);
    ErrorLogAppend("attack");
    EXPECT_EQ(testsupport::ReadFile(target), "precious");
    ErrorLogReset();  // removes the link, not its target
    EXPECT_TRUE(testsupport::FileExists(target));
    ErrorLogAppend("fresh");
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()), "fresh\r\n");
}

TEST_F(EndPathTest, RuntimeErrorLineSaysWhatFailedAndWhere) {
    CoreFatalHandlerSet(RuntimeError);
    RtNumberArray a;
    a.Dim(10);
    const int line = __LINE__ + 1;
    EXPECT_EXIT(a(12), ::testing::ExitedWithCode(9),
                "error: runtime error 9 \\(array index out of range\\) in unit 0 line 0: "
                "index 12, size 10, at .*end_path_test.cpp:" +
                    std::to_string(line));
    double v = 0;
    EXPECT_EXIT(FileReadByte(2, v), ::testing::ExitedWithCode(3),
                "runtime error 3 .* line 0: channel 2: not open");
    EXPECT_EXIT(FileReadByte(9, v), ::testing::ExitedWithCode(7),
                "runtime error 7 .*: channel 9 does not exist \\(0..7\\)");
    CoreFatalHandlerSet(nullptr);
}

TEST_F(EndPathTest, SecondLiveProgramKeepsItsOwnLogAndLeavesTheFirstOne) {
    // This process is the first program (its log started in SetUp); the death-test child is
    // a second one starting while it runs.
    const std::string shared = testsupport::TempDir() + "/ErrorLog.txt";
    ErrorLogAppend("first program");
    EXPECT_EXIT(
        {
            ErrorLogReset();
            ErrorLogAppend("second program");
            const std::string own = ErrorLogPath();
            std::exit(own != shared && testsupport::ReadFile(own) == "second program\r\n" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "warning: ErrorLog: another running program keeps .*/ErrorLog.txt; this program's log "
        "is .*/ErrorLog-[0-9]+.txt");
    EXPECT_EQ(testsupport::ReadFile(shared), "first program\r\n");
    ErrorLogReset();  // a program alone starts the shared log afresh
    EXPECT_EQ(ErrorLogPath(), shared);
    EXPECT_FALSE(testsupport::FileExists(shared));
}

TEST(EndPathTrace, LinesAndExitCodes) {
    EXPECT_EQ(EndPathTraceLines(9, 120, 120, 3),
              (std::vector<std::string>{"-End On Line", "9", "119", "120", "3"}));
    EXPECT_EQ(EndPathTraceLines(2.9, -4.5, NAN, 1e300),
              (std::vector<std::string>{"-End On Line", "2", "-5", "0", "2147483647"}));
    EXPECT_EQ(EndPathExitCode(0), 0);
    EXPECT_EQ(EndPathExitCode(20), 20);
    EXPECT_EQ(EndPathExitCode(0.5), 0);
    EXPECT_EQ(EndPathExitCode(256), 255);  // would wrap to 0, a success
    EXPECT_EQ(EndPathExitCode(-1), 255);
    EXPECT_EQ(EndPathExitCode(NAN), 0);
}

TEST(Shutdown, RunsEveryStepOnceInTheFixedOrder) {
    std::vector<int> order;
    static std::vector<int>* sink;
    sink = &order;
    // Registered out of order on purpose; Sound stays without a function.
    ShutdownRegister(ShutdownStep::MainWindow, [] { sink->push_back(10); });
    ShutdownRegister(ShutdownStep::Renderer, [] { sink->push_back(5); });
    ShutdownRegister(ShutdownStep::IniWriteBack, [] { sink->push_back(0); });
    ShutdownRegister(ShutdownStep::Archives, [] { sink->push_back(9); });
    ShutdownRegister(ShutdownStep::Input, [] { sink->push_back(6); });
    ShutdownRegister(ShutdownStep::FileChannels, [] { sink->push_back(1); });
    ShutdownRegister(ShutdownStep::CurrentFolder, [] { sink->push_back(2); });
    ShutdownRegister(ShutdownStep::Network, [] { sink->push_back(8); });
    ShutdownRunAll();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 5, 6, 8, 9, 10}));
    ShutdownRunAll();  // a second end repeats nothing
    EXPECT_EQ(order.size(), 8u);
}

TEST_F(EndPathTest, DebugBuildErrorWritesTraceAndExitsWithTheCode) {
    EXPECT_EXIT(
        {
            runtimeState.debugMode = 1;
            runtimeState.currentModule = 4;
            runtimeState.currentLine = 120;
            RuntimeError(9);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()), "-End On Line\r\n9\r\n119\r\n120\r\n4\r\n");
}

TEST_F(EndPathTest, ReleaseBuildEndWritesNoTraceAndRunsTheStepsInOrder) {
    EXPECT_EXIT(
        {
            runtimeState.debugMode = 0;
            ShutdownRegister(ShutdownStep::MainWindow, RecordStep<10>);
            ShutdownRegister(ShutdownStep::IniWriteBack, RecordStep<0>);
            ShutdownRegister(ShutdownStep::Archives, RecordStep<9>);
            ShutdownRegister(ShutdownStep::FileChannels, RecordStep<1>);
            // Runs after the end path's own current-folder step: records where we are.
            ShutdownRegister(ShutdownStep::TimerResolution,
                             [] { Record(std::filesystem::current_path().string() + "/"); });
            std::filesystem::current_path(testsupport::TempDir());
            EndPathQuit();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(testsupport::FileExists(ErrorLogPath()));
    EXPECT_EQ(testsupport::ReadFile(RecordPath()), "0\n1\n" + ExeFolder() + "\n9\n10\n");
}

TEST_F(EndPathTest, RequestedEndExitsZeroEvenAfterAnEarlierErrorCode) {
    EXPECT_EXIT(
        {
            runtimeState.debugMode = 1;
            runtimeState.errorCode = 3;  // set by ErrorSet, program carried on
            EndPathQuit();
        },
        ::testing::ExitedWithCode(0), "");
    // The trace still says what the record held.
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()).substr(0, 17), "-End On Line\r\n3\r\n");
}

TEST_F(EndPathTest, ShutdownWithNothingStartedEndsCleanly) {
    // Start-up failed early: no renderer, window, input or archive; only the end path's own
    // current-folder step is registered.
    EXPECT_EXIT(
        {
            runtimeState.renderer = nullptr;
            runtimeState.mainWindow = nullptr;
            RuntimeError(7);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST_F(EndPathTest, ErrorRaisedInsideAStepFinishesTheRestWithoutASecondTrace) {
    EXPECT_EXIT(
        {
            runtimeState.debugMode = 1;
            ShutdownRegister(ShutdownStep::FileChannels, [] { RuntimeError(3); });
            ShutdownRegister(ShutdownStep::MainWindow, RecordStep<10>);
            EndPathQuit();
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(testsupport::ReadFile(RecordPath()), "10\n");
    const std::string log = testsupport::ReadFile(ErrorLogPath());
    EXPECT_EQ(log.find("-End On Line"), log.rfind("-End On Line"));
}

TEST_F(EndPathTest, PlantedLinksAtTheLogPathSendTheRunToOnePrivateFile) {
    const std::string dir = testsupport::MakeSubDir("planted_log");
    struct Case {
        const char* what;
        bool hard;
    };
    for (const Case& c : {Case{"symbolic link", false}, Case{"hard link", true}}) {
        ErrorLogReset();
        const std::string victim = dir + "/victim_" + (c.hard ? "hard" : "sym");
        ASSERT_TRUE(testsupport::WriteFile(victim, "keep"));
        ASSERT_EQ(c.hard ? link(victim.c_str(), ErrorLogPath().c_str())
                         : symlink(victim.c_str(), ErrorLogPath().c_str()),
                  0);
        for (int i = 0; i < 20; ++i) ErrorLogAppend("line " + std::to_string(i));
        EXPECT_EQ(testsupport::ReadFile(victim), "keep") << c.what;
        const std::string fallback = ErrorLogFallbackPath();
        ASSERT_FALSE(fallback.empty()) << c.what;
        std::string want;
        for (int i = 0; i < 20; ++i) want += "line " + std::to_string(i) + "\r\n";
        EXPECT_EQ(testsupport::ReadFile(fallback), want) << c.what;
        EXPECT_EQ(fallback.rfind(testsupport::TempDir() + "/ErrorLog-", 0), 0u) << fallback;
    }
    ErrorLogReset();
    EXPECT_EQ(ErrorLogFallbackPath(), "");
}
