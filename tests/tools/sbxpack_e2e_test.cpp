// The packer end to end: archives it writes are read back through the runtime's lookup byte
// for byte, and an archive it appends to a built program is found through that program.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "files/archive.h"
#include "support/test_support.h"

namespace {

using testsupport::ReadFile;
using testsupport::RunProgram;
using testsupport::WriteFile;

const std::string kTool = std::string(CORVANE_TEST_BIN_DIR) + "/sbxpack";

std::string Noise(size_t n, unsigned seed) {
    std::mt19937 r(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(r() % (seed % 2 ? 256 : 4));
    return s;
}

class SbxPack : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir + "/media/gfx");
        files = {{"media/Title.PNG", Noise(70000, 1)},
                 {"media/gfx/tiles.bmp", Noise(120000, 2)},
                 {"media/gfx/empty.txt", ""},
                 {"media/map.txt", "[map_1]\r\nwidth = 20\r\n"},
                 {"media/NOEXT", Noise(5, 3)}};
        for (auto& [name, bytes] : files) ASSERT_TRUE(WriteFile(dir + "/" + name, bytes));
    }
    void TearDown() override { ArchiveSlotClean(slot); }

    // Every packed file, asked for under another folder and case, has its exact bytes.
    void ExpectAllResolve(const std::string& archive) {
        ArchiveSlotReset(slot, archive);
        for (auto& [name, bytes] : files) {
            std::string base = name.substr(name.find_last_of('/') + 1);
            std::string upper = base;
            for (char& c : upper) c = static_cast<char>(std::toupper(c));
            std::string path;
            ASSERT_EQ(ArchiveResolve(slot, "elsewhere\\" + upper, path), 1) << name;
            EXPECT_EQ(ReadFile(path), bytes) << name;
        }
        std::string path;
        EXPECT_EQ(ArchiveResolve(slot, "not-packed.png", path), 0);
        EXPECT_TRUE(slot.enabled);
    }

    std::string dir;
    std::vector<std::pair<std::string, std::string>> files;
    ArchiveSlot slot;
};

TEST_F(SbxPack, PackedFolderResolvesByteForByte) {
    auto r = RunProgram(kTool, {"pack", dir + "/media", "-o", dir + "/shoebox.sbx"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    ExpectAllResolve(dir + "/shoebox.sbx");

    r = RunProgram(kTool, {"list", dir + "/shoebox.sbx"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("tiles.bmp"), std::string::npos);
    EXPECT_NE(r.output.find("5 entries"), std::string::npos);

    r = RunProgram(kTool, {"extract", dir + "/shoebox.sbx", dir + "/out"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    for (auto& [name, bytes] : files)
        EXPECT_EQ(ReadFile(dir + "/out/" + name.substr(name.find_last_of('/') + 1)), bytes);
}

TEST_F(SbxPack, SingleFilesPackToo) {
    auto r = RunProgram(
        kTool, {"pack", dir + "/media/map.txt", dir + "/media/NOEXT", "-o", dir + "/two.sbx"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    ArchiveSlotReset(slot, dir + "/two.sbx");
    std::string path;
    ASSERT_EQ(ArchiveResolve(slot, "MAP.TXT", path), 1);
    EXPECT_EQ(ReadFile(path), "[map_1]\r\nwidth = 20\r\n");
    EXPECT_EQ(ArchiveResolve(slot, "Title.PNG", path), 0);
}

TEST_F(SbxPack, AppendedToAProgramIsFoundThroughIt) {
    auto r = RunProgram(kTool, {"pack", dir + "/media", "-o", dir + "/shoebox.sbx"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::string program = dir + "/program";
    std::filesystem::copy_file(kTool, program);
    const std::string before = ReadFile(program);
    r = RunProgram(kTool, {"append", dir + "/shoebox.sbx", program});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::string after = ReadFile(program);
    ASSERT_GT(after.size(), before.size());
    EXPECT_EQ(after.substr(0, before.size()), before);  // the program itself is untouched
    const int32_t d =
        static_cast<int32_t>(uint32_t(static_cast<unsigned char>(after[after.size() - 4])) |
                             uint32_t(static_cast<unsigned char>(after[after.size() - 3])) << 8 |
                             uint32_t(static_cast<unsigned char>(after[after.size() - 2])) << 16 |
                             uint32_t(static_cast<unsigned char>(after[after.size() - 1])) << 24);
    EXPECT_LT(d, 0);
    ExpectAllResolve(program);
    // The program still runs, and the archive is not appended twice.
    r = RunProgram(program, {"--help"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    r = RunProgram(kTool, {"append", dir + "/shoebox.sbx", program});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(ReadFile(program), after);
}

TEST_F(SbxPack, UsageAndFailuresHaveTheirExitCodes) {
    EXPECT_EQ(RunProgram(kTool, {}).exitCode, 1);
    EXPECT_EQ(RunProgram(kTool, {"bogus"}).exitCode, 1);
    EXPECT_EQ(RunProgram(kTool, {"pack", dir + "/media"}).exitCode, 1);
    EXPECT_EQ(RunProgram(kTool, {"list"}).exitCode, 1);
    EXPECT_EQ(RunProgram(kTool, {"--help"}).exitCode, 0);
    EXPECT_EQ(RunProgram(kTool, {"list", dir + "/none.sbx"}).exitCode, 2);
    EXPECT_EQ(RunProgram(kTool, {"list", dir + "/media/map.txt"}).exitCode, 2);
    EXPECT_EQ(RunProgram(kTool, {"pack", dir + "/missing", "-o", dir + "/x.sbx"}).exitCode, 2);
    // Names that differ only in case would shadow each other in lookups.
    ASSERT_TRUE(WriteFile(dir + "/media/gfx/title.png", "other"));
    auto r = RunProgram(kTool, {"pack", dir + "/media", "-o", dir + "/x.sbx"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("ignore case"), std::string::npos) << r.output;
    EXPECT_FALSE(testsupport::FileExists(dir + "/x.sbx"));
}

}  // namespace
