// INI data: the reader's line rules, lookups, the put rules, and write-back on the next open
// and at shutdown (to the path the program asked for, whole or not at all).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "core/rt_string.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/ini_data.h"
#include "files/ini_file.h"
#include "files/line_file.h"
#include "runtime/error_log.h"
#include "support/test_support.h"
#include "tests/files/sbx_test_archive.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

RtString S(const std::string& s) {
    return RtString(std::string_view(s));
}

std::string Get(const IniData& d, const char* section, const char* key) {
    return IniGetValue(d, section, key);
}

TEST(IniReader, LineRules) {
    IniData d;
    d.sections = IniParse(
        "top=level\r\n"
        "; comment = no\n"
        "   [map_1]   \r\n"
        "width = 20\n"
        "\t height\t=\t15\r\n"
        "key=value ; note\n"
        "trail=kept  \t\r\n"
        "noeq\n"
        "noval =\n"
        "bad x=1\n"
        "=anon\n"
        "dup=first\n"
        "dup=second\n"
        "[ a b ]\n"
        "k=in a\n"
        "[]\n"
        "k2=still a\n"
        "[empty]\n"
        "[map_1]\n"
        "width=99\n"
        "[last]\n"
        "end=yes");
    EXPECT_EQ(Get(d, "", "top"), "level");
    EXPECT_EQ(Get(d, "MAP_1", "WIDTH"), "20");
    EXPECT_EQ(Get(d, "map_1", "height"), "15");
    EXPECT_EQ(Get(d, "map_1", "key"), "value ; note");
    EXPECT_EQ(Get(d, "map_1", "trail"), "kept  ");
    EXPECT_EQ(Get(d, "map_1", "noeq"), "NO_DATA");
    EXPECT_EQ(Get(d, "map_1", "noval"), "NO_DATA");
    EXPECT_EQ(Get(d, "map_1", "bad"), "NO_DATA");
    EXPECT_EQ(Get(d, "map_1", ""), "anon");
    EXPECT_EQ(Get(d, "map_1", "dup"), "first");
    EXPECT_EQ(Get(d, "a", "k"), "in a");
    EXPECT_EQ(Get(d, "a", "k2"), "NO_DATA");  // "[]" kept the name: a second section "a"
    EXPECT_EQ(Get(d, "empty", "x"), "NO_DATA");
    EXPECT_EQ(Get(d, "last", "end"), "yes");
    EXPECT_EQ(Get(d, "nosection", "end"), "NO_DATA");
    // Only the first of two same-named sections is searched.
    ASSERT_EQ(d.sections.size(), 6u);
    EXPECT_EQ(d.sections[3].name, "a");
    EXPECT_EQ(d.sections[3].pairs[0].value, "still a");
    for (const IniSection& s : d.sections) EXPECT_NE(s.name, "empty");
}

TEST(IniReader, LongLinesAreCutNotOverrun) {
    const std::string value(3000, 'v');
    IniData d;
    d.sections = IniParse("[s]\nk=" + value + "\nnext=1\n");
    EXPECT_EQ(Get(d, "s", "k"), value.substr(0, 1021));
    EXPECT_EQ(Get(d, "s", "next"), "1");
}

TEST(IniPutRules, AddReplaceRemove) {
    IniData d;
    IniPutValue(d, "s", "a", "1");
    IniPutValue(d, "S", "b", "2");
    IniPutValue(d, "s", "c", "3");
    EXPECT_TRUE(d.changed);
    ASSERT_EQ(d.sections.size(), 1u);
    IniPutValue(d, "s", "A", "one");  // replaced, the key keeps its spelling
    EXPECT_EQ(d.sections[0].pairs[0].key, "a");
    EXPECT_EQ(Get(d, "s", "a"), "one");
    IniPutValue(d, "s", "new", "");  // a missing key is added even empty
    EXPECT_EQ(d.sections[0].pairs.size(), 4u);
    IniPutValue(d, "s", "a", "");  // an existing key goes; the last pair takes its place
    ASSERT_EQ(d.sections[0].pairs.size(), 3u);
    EXPECT_EQ(d.sections[0].pairs[0].key, "new");
    EXPECT_EQ(Get(d, "s", "a"), "NO_DATA");
    IniPutValue(d, "t", "x", "y");
    IniPutValue(d, "u", "x", "y");
    d.changed = false;
    IniPutValue(d, "S", "", "");  // removes the section; the last one moves in
    EXPECT_FALSE(d.changed);
    ASSERT_EQ(d.sections.size(), 2u);
    EXPECT_EQ(d.sections[0].name, "u");
    IniPutValue(d, "nothere", "", "");
    EXPECT_EQ(d.sections.size(), 2u);
}

TEST(IniPutRules, HeaderlessPairsWriteBackFirstWithoutHeader) {
    IniData d;
    IniPutValue(d, "", "root", "r");
    IniPutValue(d, "s", "k", "v");
    EXPECT_EQ(IniSerialize(d), "root=r\r\n[s]\r\nk=v\r\n");
    IniData e;
    IniPutValue(e, "s", "k", "v");
    IniPutValue(e, "", "root", "r");
    EXPECT_EQ(IniSerialize(e), "root=r\r\n[s]\r\nk=v\r\n");
    e.sections = IniParse(IniSerialize(e));
    EXPECT_EQ(Get(e, "", "root"), "r");
    EXPECT_EQ(Get(e, "s", "root"), "NO_DATA");
}

class IniFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        IniRuntimeData() = IniData{};
    }
    void TearDown() override { IniRuntimeData() = IniData{}; }
    std::string dir;
};

TEST_F(IniFiles, WriteBackOnTheNextOpen) {
    ASSERT_TRUE(WriteFile(dir + "/a.ini", "; old\n[map_1]\nwidth = 20\n[x]\n"));
    IniOpen(S(dir + "/a.ini"));
    EXPECT_EQ(IniGet(S("MAP_1"), S("WIDTH")).Str(), "20");
    IniOpen(S(dir + "/a.ini"));  // unchanged: not rewritten
    EXPECT_EQ(ReadFile(dir + "/a.ini"), "; old\n[map_1]\nwidth = 20\n[x]\n");
    IniPut(S("map_1"), S("height"), S("15"));
    IniPut(S("extra"), S("k"), S("v"));
    IniOpen(S(dir + "/a.ini"));
    EXPECT_EQ(ReadFile(dir + "/a.ini"), "[map_1]\r\nwidth=20\r\nheight=15\r\n[extra]\r\nk=v\r\n");
    EXPECT_EQ(IniGet(S("map_1"), S("height")).Str(), "15");
    EXPECT_FALSE(IniRuntimeData().changed);
}

TEST_F(IniFiles, MissingFileIsCreatedAtWriteBackAndShutdown) {
    IniOpen(S(dir + "/new.ini"));
    EXPECT_EQ(IniGet(S("s"), S("k")).Str(), "NO_DATA");
    IniPut(S("s"), S("k"), S("v"));
    EXPECT_FALSE(testsupport::FileExists(dir + "/new.ini"));
    TextFilesWriteBack();  // the shutdown step
    EXPECT_EQ(ReadFile(dir + "/new.ini"), "[s]\r\nk=v\r\n");
}

TEST_F(IniFiles, EmptyNameWritesBackAndThenNothing) {
    IniOpen(S(dir + "/e.ini"));
    IniPut(S("s"), S("k"), S("v"));
    IniOpen(S(""));
    EXPECT_EQ(ReadFile(dir + "/e.ini"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(IniGet(S("s"), S("k")).Str(), "NO_DATA");
    IniPut(S("s"), S("k"), S("later"));
    TextFilesWriteBack();
    EXPECT_EQ(ReadFile(dir + "/e.ini"), "[s]\r\nk=v\r\n");
}

TEST_F(IniFiles, RelativePathIsWrittenWhereItWasOpened) {
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    IniOpen(S("rel.ini"));
    IniPut(S("s"), S("k"), S("v"));
    std::filesystem::current_path(cwd);
    TextFilesWriteBack();
    EXPECT_EQ(ReadFile(dir + "/rel.ini"), "[s]\r\nk=v\r\n");
}

TEST_F(IniFiles, DataFromTheArchiveIsWrittenToTheRequestedPath) {
    ASSERT_TRUE(WriteFile(dir + "/shoebox.sbx",
                          sbxtest::Build({sbxtest::Packed("conf.ini", "[s]\r\nk=packed\r\n")})));
    ArchiveStartup(dir + "/shoebox.sbx");
    IniOpen(S(dir + "/conf.ini"));
    EXPECT_EQ(IniGet(S("s"), S("k")).Str(), "packed");
    IniPut(S("s"), S("k"), S("changed"));
    IniOpen(S(""));
    ArchiveShutdown();
    EXPECT_EQ(ReadFile(dir + "/conf.ini"), "[s]\r\nk=changed\r\n");
}

TEST_F(IniFiles, FailedWriteBackKeepsTheOldFile) {
    ASSERT_TRUE(WriteFile(dir + "/big.ini", "[s]\r\nk=old\r\n"));
    const std::string path = dir + "/big.ini";
    EXPECT_EXIT(
        {
            IniOpen(S(path));
            IniPut(S("s"), S("k"), S(std::string(900, 'n')));
            for (int i = 0; i < 20; ++i) IniPut(S("s"), S("k" + std::to_string(i)), S("v"));
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit lim;
            lim.rlim_cur = 500;
            lim.rlim_max = RLIM_INFINITY;
            setrlimit(RLIMIT_FSIZE, &lim);
            IniOpen(S(""));
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(path), "[s]\r\nk=old\r\n");
}

TEST_F(IniFiles, AFailedWriteBackIsReportedInTheLog) {
    // Both text files of the runtime, written back into a folder that has gone meanwhile.
    const std::string gone = testsupport::MakeSubDir("gone_later");
    ErrorLogReset();
    IniOpen(S(gone + "/save.ini"));
    IniPut(S("s"), S("k"), S("v"));
    LineFilePut(S(gone + "/lines.txt"), 0, S("first"));
    std::filesystem::remove_all(gone);
    TextFilesWriteBack();
    const std::string log = ReadFile(ErrorLogPath());
    EXPECT_NE(log.find("Write back failed: " + gone + "/save.ini\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Write back failed: " + gone + "/lines.txt\r\n"), std::string::npos) << log;
    IniOpen(S(""));
}

TEST_F(IniFiles, SeparateReaderInstanceLeavesTheRuntimeDataAlone) {
    ASSERT_TRUE(WriteFile(dir + "/obj.ini", "[mesh]\nfile=box.qmd\n"));
    ASSERT_TRUE(WriteFile(dir + "/main.ini", "[s]\nk=main\n"));
    IniOpen(S(dir + "/main.ini"));
    IniData own;
    IniLoad(own, dir + "/obj.ini");
    EXPECT_EQ(IniGetValue(own, "MESH", "File"), "box.qmd");
    EXPECT_EQ(IniGet(S("s"), S("k")).Str(), "main");
    EXPECT_EQ(IniGet(S("mesh"), S("file")).Str(), "NO_DATA");
    IniData missing;
    IniLoad(missing, dir + "/none.ini");
    EXPECT_TRUE(missing.sections.empty());
}

}  // namespace
