// The log file's single append: exclusive, never through a link, regular files only.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/log_file.h"
#include "support/lock_holder.h"
#include "support/test_support.h"

TEST(PlatformLogFile, AppendsExactBytesAndCreatesTheFile) {
    const std::string path = testsupport::MakeSubDir("logappend") + "/log.txt";
    ASSERT_TRUE(platform::LogFileAppendOnce(path, "one\r\n"));
    ASSERT_TRUE(platform::LogFileAppendOnce(path, "two\r\n"));
    EXPECT_EQ(testsupport::ReadFile(path), "one\r\ntwo\r\n");
    platform::LogFileRemove(path);
    EXPECT_FALSE(testsupport::FileExists(path));
}

TEST(PlatformLogFile, RefusesLinksFifosAndFolders) {
    const std::string dir = testsupport::MakeSubDir("logrefuse");
    const std::string target = dir + "/target.txt", link = dir + "/link.txt";
    ASSERT_TRUE(testsupport::WriteFile(target, "keep"));
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(platform::LogFileAppendOnce(link, "x\r\n"));
    EXPECT_EQ(testsupport::ReadFile(target), "keep");

    // A FIFO without a reader would block a plain open for writing.
    const std::string fifo = dir + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(platform::LogFileAppendOnce(fifo, "x\r\n"));
    EXPECT_FALSE(platform::LogFileAppendOnce(dir, "x\r\n"));

    // Removing the link removes the link only.
    platform::LogFileRemove(link);
    EXPECT_EQ(testsupport::ReadFile(target), "keep");
}

TEST(PlatformLogFile, RefusesAFileWithASecondNameAndSaysRefusedNotBusy) {
    const std::string dir = testsupport::MakeSubDir("loghard");
    const std::string target = dir + "/secret.txt", log = dir + "/log.txt";
    ASSERT_TRUE(testsupport::WriteFile(target, "keep"));
    ASSERT_EQ(link(target.c_str(), log.c_str()), 0);
    EXPECT_FALSE(platform::LogFileAppendOnce(log, "x\r\n"));
    EXPECT_EQ(platform::LogFileAppend(log, "x\r\n"), platform::LogAppendResult::Refused);
    EXPECT_EQ(testsupport::ReadFile(target), "keep");
    const std::string sym = dir + "/sym.txt";
    ASSERT_EQ(symlink(target.c_str(), sym.c_str()), 0);
    EXPECT_EQ(platform::LogFileAppend(sym, "x\r\n"), platform::LogAppendResult::Refused);

    // The private file: new, only ours, a fresh name each time.
    const std::string a = platform::LogFileCreatePrivate(dir, "ErrorLog-"),
                      b = platform::LogFileCreatePrivate(dir, "ErrorLog-");
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    struct stat st;
    ASSERT_EQ(stat(a.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(platform::LogFileAppend(a, "line\r\n"), platform::LogAppendResult::Written);
    EXPECT_EQ(testsupport::ReadFile(a), "line\r\n");
}

TEST(PlatformLogFile, FailsWhileAnotherProcessHoldsTheFile) {
    const std::string path = testsupport::MakeSubDir("loglock") + "/log.txt";
    ASSERT_TRUE(testsupport::WriteFile(path, ""));
    testsupport::LockHolder other;
    ASSERT_NO_FATAL_FAILURE(other.Hold(path));
    EXPECT_FALSE(platform::LogFileAppendOnce(path, "blocked\r\n"));
    EXPECT_EQ(platform::LogFileAppend(path, "blocked\r\n"), platform::LogAppendResult::Busy);
    other.Release();
    EXPECT_TRUE(platform::LogFileAppendOnce(path, "free\r\n"));
    EXPECT_EQ(testsupport::ReadFile(path), "free\r\n");
}

TEST(PlatformLogFile, TempFolderHasNoTrailingSlash) {
    const char* old = getenv("TMPDIR");
    std::string saved = old ? old : "";
    setenv("TMPDIR", "/some/where//", 1);
    EXPECT_EQ(platform::TempFolder(), "/some/where");
    setenv("TMPDIR", "", 1);
    EXPECT_EQ(platform::TempFolder(), "/tmp");
    setenv("TMPDIR", saved.c_str(), 1);
}
