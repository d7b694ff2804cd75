// The system commands: platform information, data lists, calls by name, library cache,
// debugger messages and the error record.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "corvane.h"
#include "runtime/debug_output.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"
#include "runtime/system_info.h"
#include "runtime/system_state.h"
#include "support/test_support.h"

namespace {

std::string debugText;
bool FakeAttached() {
    return true;
}
void FakeOutput(const std::string& text) {
    debugText += text;
}

class SystemCommands : public ::testing::Test {
protected:
    void SetUp() override {
        debugText.clear();
        DebugChannelSet(FakeAttached, FakeOutput);
        ErrorLogReset();
    }
    void TearDown() override { DebugChannelSet(nullptr, nullptr); }
};

int calls = 0;
void Hello() {
    ++calls;
}

}  // namespace

TEST_F(SystemCommands, PlatformInfoKeysAndTheUpperCasedArgument) {
    RtString key("time");
    const std::string time = PlatformInfo(key).Str();
    EXPECT_EQ(key.Str(), "TIME");
    EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << time;

    key = "";
    EXPECT_EQ(PlatformInfo(key).Str(), "LINUX");
    key = "Device";
    EXPECT_EQ(PlatformInfo(key).Str(), "DESKTOP");
    EXPECT_EQ(key.Str(), "DEVICE");
    key = "xyz";
    EXPECT_EQ(PlatformInfo(key).Str(), "NO_DATA");
    EXPECT_EQ(key.Str(), "XYZ");

    key = "id";
    const std::string id = PlatformInfo(key).Str();
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}"))) << id;
    key = "ID";
    EXPECT_EQ(PlatformInfo(key).Str(), id);  // stable for the machine

    key = "battery";
    const int battery = PlatformInfo(key).ToInt();
    EXPECT_TRUE((battery >= 0 && battery <= 100) || battery == 255);
}

TEST_F(SystemCommands, GlExtensionLookupKeepsTheNameCaseAndLogsItsLine) {
    RtString key("GLEXT:glActiveTextureARB");
    const std::string found = PlatformInfo(key).Str();
    EXPECT_EQ(key.Str(), "GLEXT:GLACTIVETEXTUREARB");
    ASSERT_TRUE(found == "1" || found == "0");
    const std::string expected = SystemExtLine("glActiveTextureARB", found == "1") + "\r\n";
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()), expected);
}

TEST(SystemInfo, TextForms) {
    EXPECT_EQ(SystemTimeText(2010, 4, 24, 9, 5, 0), "2010-04-24 09:05:00");
    EXPECT_EQ(SystemExtLine("glFoo", true), "ext: glFoo" + std::string(30, ' ') + "   [  OK]");
    // A name past the field width is written whole, the status still after it.
    const std::string longName(300, 'g');
    EXPECT_EQ(SystemExtLine(longName, false), "ext: " + longName + "   [FAIL]");
    EXPECT_NE(SystemDeviceId(""), SystemDeviceId("4c4c4544004d"));
    EXPECT_EQ(SystemDeviceId("4c4c4544004d"), SystemDeviceId("4c4c4544004d"));
    EXPECT_EQ(SystemUpper("aZ\xe9z"), "AZ\xe9Z");
    EXPECT_EQ(SystemLower("USER32.DLL\xc9"), "user32.dll\xc9");
}

TEST_F(SystemCommands, DataReadConvertsEachItemForItsVariable) {
    static const DataItem items[] = {{2.7, nullptr}, {0, "12abc"}, {5, nullptr},
                                     {0, " 3.5e1x"}, {0, "word"},  {-2.5, nullptr}};
    static DataList list{items, 6, 0};
    DataRestore(list);
    int i = -1;
    DataRead(i);
    EXPECT_EQ(i, 2);
    DataRead(i);
    EXPECT_EQ(i, 12);
    RtString s;
    DataRead(s);
    EXPECT_EQ(s.Str(), "5");
    double d = 0;
    DataRead(d);
    EXPECT_DOUBLE_EQ(d, 35.0);
    DataRead(s);
    EXPECT_EQ(s.Str(), "word");
    DataRead(i);
    EXPECT_EQ(i, -2);  // toward zero
    DataRestore(list);
    DataRead(d);
    EXPECT_DOUBLE_EQ(d, 2.7);
}

TEST_F(SystemCommands, DataReadPastTheEndIsError20) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static const DataItem items[] = {{1, nullptr}};
    static DataList list{items, 1, 0};
    EXPECT_EXIT(
        {
            double d;
            DataRead(d);  // no list yet
        },
        ::testing::ExitedWithCode(20), "");
    EXPECT_EXIT(
        {
            DataRestore(list);
            double d;
            DataRead(d);
            DataRead(d);
        },
        ::testing::ExitedWithCode(20), "");
}

TEST_F(SystemCommands, CallByNameIsCaseSensitiveAndReportsFailure) {
    static const SubroutineEntry table[] = {
        {Hello, "Hello"}, {nullptr, "Empty"}, {nullptr, nullptr}};
    SubroutineTableSet(nullptr);
    EXPECT_EQ(CallByName(RtString("Hello")), 0.0);
    EXPECT_EQ(debugText, "TXCALLBYNAME \"Hello\" *** failed ***\n");

    SubroutineTableSet(table);
    calls = 0;
    debugText.clear();
    EXPECT_EQ(CallByName(RtString("Hello")), 1.0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(CallByName(RtString("Empty")), 1.0);  // found, nothing to call
    EXPECT_EQ(debugText, "");
    EXPECT_EQ(CallByName(RtString("hello")), 0.0);
    EXPECT_EQ(CallByName(RtString("Hell")), 0.0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(debugText,
              "TXCALLBYNAME \"hello\" *** failed ***\nTXCALLBYNAME \"Hell\" *** failed ***\n");
    EXPECT_EQ(SubAddress(RtString("Hello")), &Hello);
    EXPECT_EQ(SubAddress(RtString("HELLO")), nullptr);
    SubroutineTableSet(nullptr);
}

TEST_F(SystemCommands, LibraryDeclareLoadsEachLibraryOnce) {
    RtString lib("LIBM.so.6");
    void* p = reinterpret_cast<void*>(1);
    LibraryDeclare(lib, RtString("cos"), p);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(lib.Str(), "libm.so.6");
    EXPECT_DOUBLE_EQ(reinterpret_cast<double (*)(double)>(p)(0.0), 1.0);
    const size_t cached = System().libraryNames.size();

    RtString again("libm.so.6");
    void* q = nullptr;
    LibraryDeclare(again, RtString("sin"), q);
    EXPECT_NE(q, nullptr);
    EXPECT_EQ(System().libraryNames.size(), cached);
    LibraryDeclare(again, RtString("no_such_function"), q);
    EXPECT_EQ(q, nullptr);

    RtString missing("LibNope.so");
    LibraryDeclare(missing, RtString("f"), q);
    EXPECT_EQ(q, nullptr);
    EXPECT_EQ(missing.Str(), "libnope.so");
    EXPECT_EQ(debugText, "TXDECLARE module not found: libnope.so\n");
    EXPECT_EQ(System().libraryNames.size(), cached);
}

TEST_F(SystemCommands, BreakpointAndDebugOut) {
    EXPECT_EQ(DebugBreakpointText(16), "BP10");
    EXPECT_EQ(DebugBreakpointText(-1), "BPffffffff");
    EXPECT_EQ(DebugBreakpointText(0), "BP0");
    runtimeState.paused = true;
    runtimeState.breakpointHidden = 0;
    EXPECT_EQ(DebugBreakpoint(255.9), 1.0);
    EXPECT_EQ(debugText, "BPff");
    EXPECT_EQ(runtimeState.breakpointHidden, 1);
    EXPECT_FALSE(runtimeState.paused);
    debugText.clear();
    DebugOut(RtString("hi"));
    EXPECT_EQ(debugText, "TXhi");

    DebugChannelSet(nullptr, nullptr);  // the real channel; no debugger attaches to tests
    runtimeState.breakpointHidden = 0;
    runtimeState.paused = true;
    EXPECT_EQ(DebugBreakpoint(255), 0.0);
    EXPECT_EQ(runtimeState.breakpointHidden, 0);
    EXPECT_TRUE(runtimeState.paused);
}

TEST(SystemTraced, BreakpointSendsItsTextToARealTracer) {
    const std::string out = testsupport::MakeSubDir("bp") + "/stderr.txt";
    pid_t pid = fork();
    if (pid == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(99);
        int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 2);
        double r = DebugBreakpoint(255);
        DebugOut(RtString("x"));
        _exit(r == 1.0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 99) GTEST_SKIP() << "ptrace not permitted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testsupport::ReadFile(out), "BPffTXx");
}

TEST_F(SystemCommands, ErrorRecordAndLog) {
    LineMark(3, 120);
    EXPECT_EQ(ErrorSet(9), 9.0);
    EXPECT_EQ(runtimeState.errorCode, 9.0);
    EXPECT_EQ(runtimeState.errorLine, 120.0);
    EXPECT_EQ(runtimeState.currentModule, 3.0);
    ErrorSet(0);
    LogWrite(static_cast<const char*>(nullptr));
    LogWrite(RtString("line"));
    EXPECT_EQ(testsupport::ReadFile(ErrorLogPath()), "NULL\r\nline\r\n");
}
