// Path commands (size, existence, delete, copy, current folder, listing), wildcard matching
// and text splitting.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "core/rt_array.h"
#include "core/rt_string.h"
#include "corvane.h"
#include "files/file_listing.h"
#include "files/file_paths.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

RtString S(const std::string& s) {
    return RtString(std::string_view(s));
}

class PathCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        cwd = std::filesystem::current_path();
    }
    void TearDown() override { std::filesystem::current_path(cwd); }
    std::string dir;
    std::filesystem::path cwd;
};

TEST_F(PathCommands, SizeAndExistenceAreForRegularFilesOnly) {
    ASSERT_TRUE(WriteFile(dir + "/f.bin", std::string(1234, 'x')));
    EXPECT_EQ(FileSize(S(dir + "/f.bin")), 1234);
    EXPECT_EQ(FileExists(S(dir + "/f.bin")), 1);
    EXPECT_EQ(FileExists(S(dir + "\\f.bin")), 1);
    EXPECT_EQ(FileSize(S(dir + "/none")), 0);
    EXPECT_EQ(FileExists(S(dir + "/none")), 0);
    EXPECT_EQ(FileExists(S(dir)), 0);
    EXPECT_EQ(FileSize(S(dir)), 0);
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    EXPECT_EQ(FileExists(S(dir + "/fifo")), 0);  // must not wait for a writer
    EXPECT_EQ(FileSize(S(dir + "/fifo")), 0);
    EXPECT_EQ(FileExists(S("")), 0);
}

TEST_F(PathCommands, DeleteReportsSuccessAndLeavesFolders) {
    ASSERT_TRUE(WriteFile(dir + "/d", "x"));
    EXPECT_EQ(FileDelete(S(dir + "/d")), 1);
    EXPECT_EQ(FileDelete(S(dir + "/d")), 0);
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    EXPECT_EQ(FileDelete(S(dir + "/sub")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/sub"));
}

TEST_F(PathCommands, CopyReplacesTheTargetWhole) {
    std::string big;
    for (int i = 0; i < 10000; ++i) big += static_cast<char>(i * 7);
    ASSERT_TRUE(WriteFile(dir + "/src", big));
    ASSERT_TRUE(WriteFile(dir + "/dst", "old"));
    FileCopy(S(dir + "/src"), S(dir + "/dst"));
    EXPECT_EQ(ReadFile(dir + "/dst"), big);
    // Exactly one block, and an empty file.
    ASSERT_TRUE(WriteFile(dir + "/src", std::string(4096, 'q')));
    FileCopy(S(dir + "/src"), S(dir + "/dst"));
    EXPECT_EQ(ReadFile(dir + "/dst"), std::string(4096, 'q'));
    ASSERT_TRUE(WriteFile(dir + "/src", ""));
    FileCopy(S(dir + "/src"), S(dir + "/dst"));
    EXPECT_EQ(ReadFile(dir + "/dst"), "");
    // A missing source changes nothing.
    ASSERT_TRUE(WriteFile(dir + "/dst", "kept"));
    FileCopy(S(dir + "/none"), S(dir + "/dst"));
    EXPECT_EQ(ReadFile(dir + "/dst"), "kept");
    size_t count = 0;
    for (auto& e : std::filesystem::directory_iterator(dir)) count += e.is_regular_file();
    EXPECT_EQ(count, 2u);  // no temporary files left behind
}

// A copy that cannot be completed leaves the old target as it was.
TEST_F(PathCommands, FailedCopyKeepsTheOldTarget) {
    ASSERT_TRUE(WriteFile(dir + "/src", std::string(20000, 's')));
    ASSERT_TRUE(WriteFile(dir + "/dst", "old target"));
    const std::string d = dir;
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit lim;
            lim.rlim_cur = 6000;
            lim.rlim_max = RLIM_INFINITY;
            setrlimit(RLIMIT_FSIZE, &lim);
            FileCopy(S(d + "/src"), S(d + "/dst"));
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(dir + "/dst"), "old target");
    size_t count = 0;
    for (auto& e : std::filesystem::directory_iterator(dir)) count += e.is_regular_file();
    EXPECT_EQ(count, 2u);
}

TEST_F(PathCommands, CurrentFolderGetAndSet) {
    ASSERT_EQ(mkdir((dir + "/x").c_str(), 0700), 0);
    dir = std::filesystem::canonical(dir).string();
    EXPECT_EQ(DirectorySet(S(dir)), 1);
    EXPECT_EQ(DirectoryGet().Str(), dir + "/");
    EXPECT_EQ(DirectorySet(S("x")), 1);
    EXPECT_EQ(DirectoryGet().Str(), dir + "/x/");
    EXPECT_EQ(DirectorySet(S("..\\x\\..")), 1);
    EXPECT_EQ(DirectoryGet().Str(), dir + "/");
    EXPECT_EQ(DirectorySet(S("missing")), 0);
    EXPECT_EQ(DirectoryGet().Str(), dir + "/");
}

std::vector<std::string> Names(const RtStringArray& a) {
    std::vector<std::string> out;
    for (int i = 0; i < a.Size(0); ++i) out.push_back(a.At(i).Str());
    return out;
}

// Names of dir in the system's enumeration order, folders or files.
std::vector<std::string> Enumerated(const std::string& dir, bool folders) {
    std::vector<std::string> out;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d)) {
        struct stat st;
        stat((dir + "/" + e->d_name).c_str(), &st);
        if (S_ISDIR(st.st_mode) == folders) out.push_back(e->d_name);
    }
    closedir(d);
    return out;
}

TEST_F(PathCommands, FileListPutsFoldersFirstAndFiltersFiles) {
    ASSERT_EQ(mkdir((dir + "/d").c_str(), 0700), 0);
    ASSERT_TRUE(WriteFile(dir + "/a.txt", "a"));
    ASSERT_TRUE(WriteFile(dir + "/b.png", "b"));
    ASSERT_EQ(DirectorySet(S(dir)), 1);
    RtStringArray names;
    EXPECT_EQ(FileList(S("*.txt"), names), 1 + 3 * 65536);
    std::vector<std::string> want = Enumerated(dir, true);
    want.push_back("a.txt");
    EXPECT_EQ(Names(names), want);

    // Names without a dot are files too, and a FIFO is listed like any other entry.
    ASSERT_TRUE(WriteFile(dir + "/README", "r"));
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0600), 0);
    EXPECT_EQ(FileList(S("*"), names), 4 + 3 * 65536);
    want = Enumerated(dir, true);
    for (const std::string& f : Enumerated(dir, false)) want.push_back(f);
    EXPECT_EQ(Names(names), want);
    EXPECT_EQ(FileList(S("READ??"), names), 1 + 3 * 65536);
    EXPECT_EQ(names.At(3).Str(), "README");
    EXPECT_EQ(FileList(S("*.*"), names), 2 + 3 * 65536);
}

TEST(FileListing, GroupsKeepTheirOrder) {
    std::vector<platform::DirEntry> entries = {{"z.txt", false}, {"..", true},     {"b", true},
                                               {"a.TXT", false}, {"c.doc", false}, {".", true}};
    FileListing l = FileListingBuild(entries, "*.txt");
    EXPECT_EQ(l.names, (std::vector<std::string>{"..", "b", ".", "z.txt", "a.TXT"}));
    EXPECT_EQ(l.folders, 3u);
    EXPECT_EQ(l.files, 2u);
}

TEST(Wildcards, PatternMatchRules) {
    struct Case {
        const char* pattern;
        const char* text;
        int want;
    } cases[] = {
        {"*.TXT", "readme.txt", 1},
        {"a?c", "a.c", 0},
        {"a*", "a", 1},
        {"a?c", "abc", 1},
        {"", "", 1},
        {"", "a", 0},
        {"*", "", 1},
        {"**", "anything", 1},
        {"a**b", "ab", 1},
        {"*b", "aaab", 1},
        {"*ab", "aab", 1},
        {"*a*b*c", "xaxxbyyc", 1},
        {"*abc", "abab", 0},
        {"a*c", "abcd", 0},
        {"?", "", 0},
        {"*.*", "noext", 0},
        {"*?", "x.", 0},
        {"*x?", "ax.", 0},
        {"READ*", "readme", 1},
        {"\xc4*", "\xe4x", 0},
        {"a*b*", "acb", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PatternMatch(S(c.pattern), S(c.text)), c.want) << c.pattern << " / " << c.text;
}

std::vector<std::string> Split(const std::string& text, const std::string& delims,
                               double* count = nullptr) {
    RtStringArray a;
    a.Dim(5);
    double n = StringSplit(S(text), S(delims), a);
    if (count) *count = n;
    EXPECT_EQ(n, a.Size(0));
    return Names(a);
}

TEST(TextSplit, EmptyPiecesAreNeverMade) {
    double n = -1;
    EXPECT_EQ(Split(",a,,b,", ",", &n), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Split("", ",", &n), std::vector<std::string>{});
    EXPECT_EQ(n, 0);
    EXPECT_EQ(Split(",,,", ",", &n), std::vector<std::string>{});
    EXPECT_EQ(Split("one two\tthree", " \t"), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(Split("a;b, c", ";, "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Split("whole text", ""), std::vector<std::string>{"whole text"});
    EXPECT_EQ(Split("abc", "x"), std::vector<std::string>{"abc"});
}

TEST(LibPaths, FolderAndNameJoinWithExactlyOneSlash) {
    EXPECT_EQ(FilePathJoin("/tmp", "x"), "/tmp/x");
    EXPECT_EQ(FilePathJoin("/tmp/", "x"), "/tmp/x");
    EXPECT_EQ(FilePathJoin("/tmp//", "/x"), "/tmp/x");
    EXPECT_EQ(FilePathJoin("/", "x"), "/x");
    EXPECT_EQ(FilePathJoin("", "x"), "x");
    EXPECT_EQ(FilePathPlatform("a\\b/c\\"), "a/b/c/");
    const std::string base = testsupport::MakeSubDir("private");
    for (const std::string& parent : {base, base + "/", base + "//"}) {
        const std::string made = platform::PrivateFolderCreate(parent, "p-");
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(made.find("//"), std::string::npos) << made;
        EXPECT_EQ(made.rfind(base + "/p-", 0), 0u) << made;
        struct stat st;
        ASSERT_EQ(stat(made.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
}

}  // namespace
