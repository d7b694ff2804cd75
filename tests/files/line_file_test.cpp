// The line file: ranges and error codes, the cache by name, write-back on a switch and at
// shutdown, long files and long lines.
#include "files/line_file.h"

#include <gtest/gtest.h>

#include <string>

#include "core/rt_string.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/ini_file.h"
#include "runtime/runtime_state.h"
#include "support/test_support.h"
#include "tests/files/sbx_test_archive.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

RtString S(const std::string& s) {
    return RtString(std::string_view(s));
}

class LineFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        LineFileRuntime() = LineFileCache{};
        runtimeState.errorCode = 0;
    }
    void TearDown() override {
        LineFileRuntime() = LineFileCache{};
        runtimeState.errorCode = 0;
    }
    RtString P(const std::string& name) { return S(dir + "/" + name); }
    std::string dir;
};

TEST_F(LineFiles, ReadsLinesAndNumbers) {
    ASSERT_TRUE(WriteFile(dir + "/f.txt", "abc\r\n\r\n2.75\n-12x\n\x01 \x02\nlast"));
    RtString t;
    EXPECT_EQ(LineFileGet(P("f.txt"), 0, t), 0);
    EXPECT_EQ(t.Str(), "abc");
    EXPECT_EQ(LineFileGet(P("f.txt"), 1).Str(), "NO_DATA");
    double d = 0;
    EXPECT_EQ(LineFileGet(P("f.txt"), 2, d), 0);
    EXPECT_EQ(d, 2.75);
    int i = 0;
    EXPECT_EQ(LineFileGet(P("f.txt"), 3, i), 0);
    EXPECT_EQ(i, -12);
    EXPECT_EQ(LineFileGet(P("f.txt"), 4).Str(), "\x01 ");  // trailing bytes <= 31 go
    EXPECT_EQ(LineFileGet(P("f.txt"), 5).Str(), "last");
    EXPECT_EQ(LineFileGet(P("f.txt"), 6).Str(), "NO_DATA");
    EXPECT_EQ(LineFileGet(P("f.txt"), 255).Str(), "NO_DATA");
    EXPECT_EQ(runtimeState.errorCode, 0);
}

TEST_F(LineFiles, RangeAndMissingFileErrors) {
    ASSERT_TRUE(WriteFile(dir + "/f.txt", "x\n"));
    RtString t;
    for (double n : {256.0, -1.0, 1e20, -1e20}) {
        runtimeState.errorCode = 0;
        EXPECT_EQ(LineFileGet(P("f.txt"), n, t), 7) << n;
        EXPECT_EQ(t.Str(), "NO_DATA");
        EXPECT_EQ(runtimeState.errorCode, 7);
    }
    runtimeState.errorCode = 0;
    LineFilePut(P("f.txt"), 256, S("no"));
    EXPECT_EQ(runtimeState.errorCode, 7);
    EXPECT_FALSE(LineFileRuntime().changed);

    runtimeState.errorCode = 0;
    EXPECT_EQ(LineFileGet(P("none.txt"), 0, t), 3);
    EXPECT_EQ(t.Str(), "NO_FILE");
    EXPECT_EQ(runtimeState.errorCode, 3);
    int i = 5;
    EXPECT_EQ(LineFileGet(P("none2.txt"), 0, i), 3);
    EXPECT_EQ(i, 0);
}

TEST_F(LineFiles, CachedByNameAndWrittenBackOnSwitch) {
    ASSERT_TRUE(WriteFile(dir + "/a.txt", "one\ntwo\nthree\n"));
    ASSERT_TRUE(WriteFile(dir + "/b.txt", "bee\n"));
    EXPECT_EQ(LineFileGet(P("a.txt"), 1).Str(), "two");
    ASSERT_TRUE(WriteFile(dir + "/a.txt", "changed on disk\n"));
    EXPECT_EQ(LineFileGet(P("a.txt"), 0).Str(), "one");  // the cache, not the disk
    LineFilePut(P("a.txt"), 1, S("TWO"));
    LineFilePut(P("a.txt"), 4, 2.5);
    EXPECT_EQ(LineFileGet(P("a.txt"), 4).Str(), "2.5");
    EXPECT_EQ(LineFileGet(P("b.txt"), 0).Str(), "bee");
    EXPECT_EQ(ReadFile(dir + "/a.txt"), "one\r\nTWO\r\nthree\r\n\r\n2.5\r\n");
    // Reading another file that was not changed writes nothing.
    ASSERT_TRUE(WriteFile(dir + "/b.txt", "new bee\n"));
    EXPECT_EQ(LineFileGet(P("a.txt"), 0).Str(), "one");
    EXPECT_EQ(ReadFile(dir + "/b.txt"), "new bee\n");
}

TEST_F(LineFiles, PutIntoAMissingFileCreatesItAtShutdown) {
    LineFilePut(P("made.txt"), 2, S("third"));
    EXPECT_EQ(runtimeState.errorCode, 3);
    EXPECT_EQ(LineFileGet(P("made.txt"), 2).Str(), "third");
    TextFilesWriteBack();
    EXPECT_EQ(ReadFile(dir + "/made.txt"), "\r\n\r\nthird\r\n");
    TextFilesWriteBack();  // nothing changed since
    EXPECT_EQ(ReadFile(dir + "/made.txt"), "\r\n\r\nthird\r\n");
}

TEST_F(LineFiles, LinesPastTheLastSlotSurviveAWriteBack) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
    text += "no line end";
    ASSERT_TRUE(WriteFile(dir + "/long.txt", text));
    EXPECT_EQ(LineFileGet(P("long.txt"), 255).Str(), "line 255");
    LineFilePut(P("long.txt"), 5, S("five"));
    TextFilesWriteBack();
    std::string want = text;
    want.replace(want.find("line 5\r\n"), 6, "five");
    EXPECT_EQ(ReadFile(dir + "/long.txt"), want);
}

TEST_F(LineFiles, LongLinesAreCutAtTheSlotSize) {
    LineFilePut(P("w.txt"), 0, S(std::string(5000, 'w')));
    EXPECT_EQ(LineFileGet(P("w.txt"), 0).Str(), std::string(1023, 'w'));
    ASSERT_TRUE(WriteFile(dir + "/r.txt", std::string(1500, 'r') + "\nnext\n"));
    EXPECT_EQ(LineFileGet(P("r.txt"), 0).Str(), std::string(1023, 'r'));
    EXPECT_EQ(LineFileGet(P("r.txt"), 1).Str(), std::string(477, 'r'));
    EXPECT_EQ(LineFileGet(P("r.txt"), 2).Str(), "next");
    EXPECT_EQ(ReadFile(dir + "/w.txt"), std::string(1023, 'w') + "\r\n");
}

TEST_F(LineFiles, LinesThatFillTheReadAreaSurviveTheirOwnWriteBack) {
    // 1,022 and 1,023 bytes put the line end (CR LF, or its LF) just past the reader's area.
    for (size_t n : {size_t{1021}, size_t{1022}, size_t{1023}}) {
        const RtString name = P(("full" + std::to_string(n) + ".txt").c_str());
        LineFilePut(name, 0, S(std::string(n, 'x')));
        LineFilePut(name, 1, S("second"));
        LineFilePut(name, 2, S(std::string(n, 'y')));
        LineFilePut(name, 3, S("fourth"));
        TextFilesWriteBack();
        LineFileRuntime() = LineFileCache{};  // read from the file again
        EXPECT_EQ(LineFileGet(name, 0).Str(), std::string(n, 'x')) << n;
        EXPECT_EQ(LineFileGet(name, 1).Str(), "second") << n;
        EXPECT_EQ(LineFileGet(name, 2).Str(), std::string(n, 'y')) << n;
        EXPECT_EQ(LineFileGet(name, 3).Str(), "fourth") << n;
        EXPECT_EQ(LineFileGet(name, 4).Str(), "NO_DATA") << n;
    }
    // Bare line feeds after a full area, and a longer line still split after 1,023 bytes.
    ASSERT_TRUE(WriteFile(dir + "/lf.txt",
                          std::string(1023, 'a') + "\n" + std::string(1024, 'b') + "\nc\n"));
    EXPECT_EQ(LineFileGet(P("lf.txt"), 0).Str(), std::string(1023, 'a'));
    EXPECT_EQ(LineFileGet(P("lf.txt"), 1).Str(), std::string(1023, 'b'));
    EXPECT_EQ(LineFileGet(P("lf.txt"), 2).Str(), "b");
    EXPECT_EQ(LineFileGet(P("lf.txt"), 3).Str(), "c");
}

TEST_F(LineFiles, PackedFileIsReadAndWrittenToTheNamedPath) {
    ASSERT_TRUE(WriteFile(dir + "/shoebox.sbx",
                          sbxtest::Build({sbxtest::Packed("map.txt", "row0\r\nrow1\r\n")})));
    ArchiveStartup(dir + "/shoebox.sbx");
    EXPECT_EQ(LineFileGet(P("map.txt"), 1).Str(), "row1");
    LineFilePut(P("map.txt"), 0, S("ROW0"));
    TextFilesWriteBack();
    ArchiveShutdown();
    EXPECT_EQ(ReadFile(dir + "/map.txt"), "ROW0\r\nrow1\r\n");
}

}  // namespace
