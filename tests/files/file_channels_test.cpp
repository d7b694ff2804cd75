// The eight channels: binary round trips, line reads, seeks, the end test, and the fatal
// errors 7 (bad channel) and 3 (short read, closed channel, incomplete write).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <string>

#include "core/rt_string.h"
#include "corvane.h"
#include "support/test_support.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

class Channels : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { FileCloseAll(); }
    RtString P(const std::string& name) { return RtString(std::string_view(dir + "/" + name)); }
    std::string dir;
};

TEST_F(Channels, TenByteFileReadsToTheEndThenErrorThree) {
    ASSERT_TRUE(WriteFile(dir + "/ten", "0123456789"));
    ASSERT_EQ(FileOpen(0, P("ten"), 1), 1);
    double v = 0;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(FileEnd(0), 0);
        FileReadUByte(0, v);
        EXPECT_EQ(v, '0' + i);
        EXPECT_EQ(FilePosition(0), i + 1);
    }
    EXPECT_EQ(FileEnd(0), 1);
    EXPECT_EXIT(FileReadByte(0, v), ::testing::ExitedWithCode(3), "");
}

TEST_F(Channels, BinaryValuesRoundTripLittleEndian) {
    ASSERT_EQ(FileOpen(3, P("bin"), 0), 1);
    EXPECT_EQ(FileEnd(3), 1);  // a write channel always reports its end
    FileWriteByte(3, -2);
    FileWriteUByte(3, 255);
    FileWriteWord(3, -300);
    FileWriteUWord(3, 65535);
    FileWriteLong(3, -70000);
    FileWriteULong(3, 4294967295.0);
    FileWriteFloat(3, 1.5);
    FileWriteDouble(3, M_PI);
    FileWriteString(3, RtString("abc"));
    FileWriteLine(3, RtString("line"));
    FileWriteLine(3, 2.5);
    FileWriteLine(3, 42);
    EXPECT_EQ(FilePosition(3), 0);  // writes do not move the position
    FileClose(3);
    const std::string bytes = ReadFile(dir + "/bin");
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xfe\xff\xd4\xfe", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - 18), "abcline\r\n2.5\r\n42\r\n");
    ASSERT_EQ(bytes.size(), 1u + 1 + 2 + 2 + 4 + 4 + 4 + 8 + 18);

    ASSERT_EQ(FileOpen(3, P("bin"), 1), 1);
    double v;
    FileReadByte(3, v);
    EXPECT_EQ(v, -2);
    FileReadUByte(3, v);
    EXPECT_EQ(v, 255);
    FileReadWord(3, v);
    EXPECT_EQ(v, -300);
    FileReadUWord(3, v);
    EXPECT_EQ(v, 65535);
    FileReadLong(3, v);
    EXPECT_EQ(v, -70000);
    FileReadULong(3, v);
    EXPECT_EQ(v, 4294967295.0);
    FileReadFloat(3, v);
    EXPECT_EQ(v, 1.5);
    FileReadDouble(3, v);
    EXPECT_EQ(v, M_PI);
    RtString s;
    FileReadString(3, s, 3);
    EXPECT_EQ(s.Str(), "abc");
    FileReadLine(3, s);
    EXPECT_EQ(s.Str(), "line");
    FileReadLine(3, v);
    EXPECT_EQ(v, 2.5);
    int i = 0;
    FileReadLine(3, i);
    EXPECT_EQ(i, 42);
    EXPECT_EQ(FileEnd(3), 1);
    EXPECT_EQ(FilePosition(3), static_cast<double>(bytes.size()));
}

TEST_F(Channels, ReadStringStopsAtZeroAndRefusesWhatTheFileCannotHold) {
    ASSERT_TRUE(WriteFile(dir + "/z", std::string("ab\0cd", 5) + "ef"));
    ASSERT_EQ(FileOpen(1, P("z"), 1), 1);
    RtString s("old");
    FileReadString(1, s, 0);
    EXPECT_EQ(s.Str(), "");
    FileReadString(1, s, -4);
    EXPECT_EQ(FilePosition(1), 0);
    FileReadString(1, s, 5);
    EXPECT_EQ(s.Str(), "ab");
    EXPECT_EQ(FilePosition(1), 5);
    EXPECT_EXIT(FileReadString(1, s, 1e12), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(FileReadString(1, s, 3), ::testing::ExitedWithCode(3), "");
}

TEST_F(Channels, ReadLineHandlesCrLfLastLineAndLongLines) {
    ASSERT_TRUE(WriteFile(dir + "/l", "ab\r\ncd"));
    ASSERT_EQ(FileOpen(2, P("l"), 1), 1);
    RtString s;
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), "ab");
    EXPECT_EQ(FilePosition(2), 4);
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), "cd");
    EXPECT_EQ(FileEnd(2), 1);
    EXPECT_EXIT(FileReadLine(2, s), ::testing::ExitedWithCode(3), "");

    // Lines across 64-byte reads, a 3,000-byte line cut into 1,023-byte pieces, an empty
    // line, and a byte after each line that must be where the next read starts.
    const std::string a(63, 'a'), b(64, 'b'), c(65, 'c');
    std::string longLine;
    for (int k = 0; k < 3000; ++k) longLine += static_cast<char>('A' + k % 26);
    ASSERT_TRUE(WriteFile(dir + "/m", a + "\n" + b + "\r\n" + c + "\n\n" + longLine + "\nZ"));
    ASSERT_EQ(FileOpen(2, P("m"), 1), 1);
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), a);
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), b);
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), c);
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), "");
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), longLine.substr(0, 1023));
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), longLine.substr(1023, 1023));
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), longLine.substr(2046));
    double pos = FilePosition(2);
    FileReadLine(2, s);
    EXPECT_EQ(s.Str(), "Z");
    EXPECT_EQ(pos, 63 + 1 + 64 + 2 + 65 + 1 + 1 + 3000 + 1);
    EXPECT_EQ(FileEnd(2), 1);
}

TEST_F(Channels, SeekFromStartCurrentAndEnd) {
    ASSERT_TRUE(WriteFile(dir + "/s", "0123456789"));
    ASSERT_EQ(FileOpen(4, P("s"), 1), 1);
    double v;
    FileSeek(4, -4, -1);
    EXPECT_EQ(FilePosition(4), 6);
    FileReadUByte(4, v);
    EXPECT_EQ(v, '6');
    FileSeek(4, 2, 0);
    FileSeek(4, 3, 1);
    EXPECT_EQ(FilePosition(4), 5);
    FileReadUByte(4, v);
    EXPECT_EQ(v, '5');
    FileSeek(4, 0, -1);
    EXPECT_EQ(FileEnd(4), 1);
    FileSeek(4, NAN, NAN);  // NaN is 0 from the start
    EXPECT_EQ(FilePosition(4), 0);
    FileReadUByte(4, v);
    EXPECT_EQ(v, '0');
}

TEST_F(Channels, OpenFailuresLeaveTheChannelClosed) {
    double v;
    EXPECT_EQ(FileOpen(5, P("missing"), 1), 0);
    EXPECT_EXIT(FileReadByte(5, v), ::testing::ExitedWithCode(3), "");
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    EXPECT_EQ(FileOpen(5, P("fifo"), 1), 0);  // must not wait for a writer
    ASSERT_EQ(mkdir((dir + "/folder").c_str(), 0700), 0);
    EXPECT_EQ(FileOpen(5, P("folder"), 1), 0);
    EXPECT_EQ(FileOpen(5, P("folder"), 0), 0);
    EXPECT_EQ(FileOpen(5, P("no/such/dir/x"), 0), 0);
    EXPECT_EXIT(FileWriteByte(5, 1), ::testing::ExitedWithCode(3), "");
    // Opening for writing replaces an old file.
    ASSERT_TRUE(WriteFile(dir + "/old", "old content"));
    ASSERT_EQ(FileOpen(5, P("old"), 0), 1);
    FileWriteString(5, RtString("new"));
    FileClose(5);
    EXPECT_EQ(ReadFile(dir + "/old"), "new");
}

TEST_F(Channels, ChannelNumbersOutsideZeroToSevenEndWithSeven) {
    double v;
    EXPECT_EXIT(FileEnd(8), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FileEnd(-1), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FileOpen(8, RtString("x"), 1), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FileClose(1e300), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FileReadByte(-0.5 - 1, v), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FileWriteLong(9, 1), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FilePosition(8), ::testing::ExitedWithCode(7), "");
    EXPECT_EXIT(FileSeek(100, 0, 0), ::testing::ExitedWithCode(7), "");
    EXPECT_EQ(FileEnd(7.9), 1);  // truncated to 7: a closed channel is at its end
}

// A write the system takes only in part must end the program, not pass as done.
TEST_F(Channels, ShortWriteIsErrorThree) {
    const std::string path = dir + "/limited";
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit lim;
            lim.rlim_cur = 100;
            lim.rlim_max = RLIM_INFINITY;
            setrlimit(RLIMIT_FSIZE, &lim);
            if (FileOpen(0, RtString(std::string_view(path)), 0) != 1) _exit(50);
            FileWriteString(0, RtString(std::string_view(std::string(60, 'a'))));
            FileWriteString(0, RtString(std::string_view(std::string(60, 'b'))));
            _exit(0);
        },
        ::testing::ExitedWithCode(3), "");
}

}  // namespace
