// Media lookup against real archive files: loose files, the trailer in both offset senses,
// base-name lookup, the one-extracted-file rule, slot disabling, and damaged archives.
#include "files/archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>

#include "files/archive_format.h"
#include "files/files_state.h"
#include "platform/files.h"
#include "support/test_support.h"
#include "tests/files/sbx_test_archive.h"

namespace {

using testsupport::FileExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeSubDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        archive = dir + "/shoebox.sbx";
        slot = ArchiveSlot{};
    }
    void TearDown() override { ArchiveSlotClean(slot); }

    void Write(const std::vector<sbxtest::Entry>& entries, bool negative = false,
               const std::string& prefix = "") {
        ASSERT_TRUE(WriteFile(archive, sbxtest::Build(entries, negative, prefix)));
        ArchiveSlotReset(slot, archive);
    }

    std::string dir, archive;
    ArchiveSlot slot;
};

std::string Noise(size_t n, unsigned seed) {
    std::mt19937 r(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(r());
    return s;
}

TEST_F(ArchiveTest, LooseFileWinsAndNothingIsUnpacked) {
    Write({sbxtest::Packed("a.png", "packed")});
    ASSERT_TRUE(WriteFile(dir + "/a.png", "loose"));
    std::string path;
    EXPECT_EQ(ArchiveResolve(slot, dir + "/a.png", path), 1);
    EXPECT_EQ(path, dir + "/a.png");
    EXPECT_TRUE(slot.extractedPath.empty());
    // Backslashes are folder separators too.
    std::string back = dir + "\\a.png";
    EXPECT_EQ(ArchiveResolve(slot, back, path), 1);
    EXPECT_EQ(ReadFile(path), "loose");
}

TEST_F(ArchiveTest, BaseNameLookupIgnoresFolderAndCase) {
    const std::string content = "picture bytes " + std::string(5000, 'x') + Noise(3000, 1);
    Write({sbxtest::Packed("b.txt", "other"), sbxtest::Packed("a.png", content)});
    std::string path;
    ASSERT_EQ(ArchiveResolve(slot, "media/gfx/A.PNG", path), 1);
    EXPECT_EQ(path, slot.extractedPath);
    EXPECT_EQ(ReadFile(path), content);
    // The copy lives in a private folder under the temporary folder, named by the pattern.
    EXPECT_EQ(path.rfind(testsupport::TempDir() + "/", 0), 0u) << path;
    const std::string file = path.substr(path.find_last_of('/') + 1);
    EXPECT_EQ(file.substr(0, 3), "sbx");
    EXPECT_EQ(file.substr(5), "a.png");
    EXPECT_EQ(path.find("//"), std::string::npos);
    struct stat st;
    ASSERT_EQ(stat(path.substr(0, path.find_last_of('/')).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(ArchiveResolve(slot, "x\\B.TXT", path), 1);
    EXPECT_EQ(ReadFile(path), "other");
}

// The decoders' read: entries come back in memory and nothing is written to disk; the slot's
// extracted file (a file channel's or the music's) is left as it was.
TEST_F(ArchiveTest, ReadGivesEntryBytesWithoutATemporaryFile) {
    const std::string content = Noise(20000, 7);
    Write({sbxtest::Packed("a.png", content), sbxtest::Packed("b.txt", "other")});
    std::string path;
    ASSERT_EQ(ArchiveResolve(slot, "b.txt", path), 1);
    const std::string extracted = slot.extractedPath;
    const std::string folder = extracted.substr(0, extracted.find_last_of('/'));
    std::vector<platform::DirEntry> before, after;
    ASSERT_TRUE(platform::DirectoryList(folder, before));

    std::string bytes;
    ASSERT_TRUE(ArchiveRead(slot, "gfx\\A.PNG", bytes));
    EXPECT_EQ(bytes, content);
    ASSERT_TRUE(platform::DirectoryList(folder, after));
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(slot.extractedPath, extracted);
    EXPECT_TRUE(FileExists(extracted));

    ASSERT_TRUE(WriteFile(dir + "/a.png", "loose"));
    ASSERT_TRUE(ArchiveRead(slot, dir + "/a.png", bytes));
    EXPECT_EQ(bytes, "loose");
    EXPECT_FALSE(ArchiveRead(slot, "missing.png", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ArchiveRead(slot, "", bytes));
    EXPECT_FALSE(ArchiveRead(slot, dir, bytes)) << "a folder is not a file";
}

TEST_F(ArchiveTest, TempNameLettersComeFromOffsetAndStoredSize) {
    ArchiveEntry e{"x.bin", 27, 300};
    EXPECT_EQ(ArchiveTempName(e), "sbxBSx.bin");
    e.dataOffset = -1;  // low byte 255 -> 255 mod 26 = 21
    e.storedSize = 256;
    EXPECT_EQ(ArchiveTempName(e), "sbxVAx.bin");

    // A real entry at offset 27 whose stored block is exactly 300 bytes.
    std::string content, block;
    for (size_t n = 200; n < 300 && block.size() != 300; ++n) {
        content = Noise(n, 7);
        block = sbxtest::Block(content);
    }
    ASSERT_EQ(block.size(), 300u);
    Write({sbxtest::Entry{"x.bin", block}}, false, std::string(27, 'p'));
    std::string path;
    ASSERT_EQ(ArchiveResolve(slot, "x.bin", path), 1);
    EXPECT_EQ(path.substr(path.find_last_of('/') + 1), "sbxBSx.bin");
    EXPECT_EQ(ReadFile(path), content);
}

TEST_F(ArchiveTest, NegativeOffsetsCountBackFromTheEndOfAnAppendedArchive) {
    const std::string head =
        "\x7f"
        "ELF pretend executable " +
        Noise(4000, 3);
    Write({sbxtest::Packed("one.wav", "first"), sbxtest::Packed("two.wav", Noise(900, 4))}, true,
          head);
    const std::string bytes = ReadFile(archive);
    const int32_t d = static_cast<int32_t>(sbxtest::GetU32(bytes, bytes.size() - 4));
    ASSERT_LT(d, 0);
    EXPECT_EQ(bytes[bytes.size() + d], 7);  // the first name length sits |D| bytes back
    std::string path;
    ASSERT_EQ(ArchiveResolve(slot, "ONE.WAV", path), 1);
    EXPECT_EQ(ReadFile(path), "first");
    ASSERT_EQ(ArchiveResolve(slot, "two.wav", path), 1);
    EXPECT_EQ(ReadFile(path), Noise(900, 4));
}

TEST_F(ArchiveTest, EachSlotKeepsOneExtractedFile) {
    Write({sbxtest::Packed("a", "A"), sbxtest::Packed("b", "B")});
    std::string first, second;
    ASSERT_EQ(ArchiveResolve(slot, "a", first), 1);
    ASSERT_TRUE(FileExists(first));
    ASSERT_EQ(ArchiveResolve(slot, "b", second), 1);
    EXPECT_FALSE(FileExists(first));
    EXPECT_TRUE(FileExists(second));
    // A failing resolve also removes the previous copy.
    std::string none;
    EXPECT_EQ(ArchiveResolve(slot, "missing", none), 0);
    EXPECT_FALSE(FileExists(second));
    // So does the reset of ShoeboxSet.
    ASSERT_EQ(ArchiveResolve(slot, "a", first), 1);
    ArchiveSlotReset(slot, archive);
    EXPECT_FALSE(FileExists(first));
    EXPECT_TRUE(slot.extractedPath.empty());
}

TEST_F(ArchiveTest, RuntimeSlotsAreCleanedAtShutdownAndByShoeboxSet) {
    Write({sbxtest::Packed("m.png", "media"), sbxtest::Packed("s.mp3", "music")});
    ArchiveStartup(archive);
    std::string media, music;
    ASSERT_EQ(MediaResolve("m.png", media), 1);
    ASSERT_EQ(MusicResolve("s.mp3", music), 1);
    EXPECT_NE(media.substr(0, media.find_last_of('/')), music.substr(0, music.find_last_of('/')));
    // A media resolve leaves the music copy in place.
    ASSERT_EQ(MediaResolve("s.mp3", media), 1);
    EXPECT_TRUE(FileExists(music));
    ArchiveShoeboxSet("", archive);
    EXPECT_FALSE(FileExists(media));
    EXPECT_FALSE(FileExists(music));
    EXPECT_EQ(MediaResolve("m.png", media), 0);  // empty archive path
    EXPECT_FALSE(Files().mediaLookup->enabled);
    ASSERT_EQ(MusicResolve("s.mp3", music), 1);
    ArchiveShutdown();
    EXPECT_FALSE(FileExists(music));
    EXPECT_EQ(Files().mediaLookup, nullptr);
    // Without slots only loose files are found.
    EXPECT_EQ(MediaResolve("m.png", media), 0);
}

TEST_F(ArchiveTest, BadMagicDisablesTheSlotUntilReset) {
    ASSERT_TRUE(WriteFile(archive, sbxtest::Build({sbxtest::Packed("a", "A")}, false, "", "sbY")));
    ArchiveSlotReset(slot, archive);
    std::string path = "kept";
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 0);
    EXPECT_EQ(path, "kept");
    EXPECT_FALSE(slot.enabled);
    Write({sbxtest::Packed("a", "A")});  // fixed, but Write resets: break it again first
    ASSERT_TRUE(WriteFile(archive, sbxtest::Build({sbxtest::Packed("a", "A")}, false, "", "xxx")));
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 0);
    ASSERT_TRUE(WriteFile(archive, sbxtest::Build({sbxtest::Packed("a", "A")})));
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 0);  // still disabled
    ArchiveSlotReset(slot, archive);
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 1);
}

TEST_F(ArchiveTest, FailuresAndWhatTheyLeaveInTheBuffer) {
    std::string path = "kept";
    EXPECT_EQ(ArchiveResolve(slot, "", path), 0);
    EXPECT_EQ(path, "");

    ArchiveSlotReset(slot, dir + "/nope.sbx");
    path = "kept";
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 0);
    EXPECT_EQ(path, "kept");
    EXPECT_FALSE(slot.enabled);

    ArchiveSlotReset(slot, "");
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 0);
    EXPECT_FALSE(slot.enabled);

    // Too short to hold the magic: buffer emptied, slot stays enabled.
    ASSERT_TRUE(WriteFile(archive, "sb"));
    ArchiveSlotReset(slot, archive);
    path = "kept";
    EXPECT_EQ(ArchiveResolve(slot, "a", path), 0);
    EXPECT_EQ(path, "");
    EXPECT_TRUE(slot.enabled);

    // A missing entry empties the buffer and keeps the slot.
    Write({sbxtest::Packed("abc", "x")});
    path = "kept";
    EXPECT_EQ(ArchiveResolve(slot, "ab", path), 0);
    EXPECT_EQ(path, "");
    EXPECT_TRUE(slot.enabled);
    EXPECT_EQ(ArchiveResolve(slot, "abc", path), 1);

    // Names that cannot fit the 1,024-byte areas give 0.
    EXPECT_EQ(ArchiveResolve(slot, std::string(1024, 'a'), path), 0);
    EXPECT_EQ(ArchiveResolve(slot, std::string(5000, '/') + "abc", path), 0);
}

TEST_F(ArchiveTest, EntryNamesCannotReachOutsideThePrivateFolder) {
    Write({sbxtest::Packed("..", "x"), sbxtest::Packed("a/b", "y")});
    std::string path;
    EXPECT_EQ(ArchiveResolve(slot, "..", path), 0);
    EXPECT_EQ(ArchiveResolve(slot, "q\\..", path), 0);
}

TEST_F(ArchiveTest, FifosNeverHangTheLookup) {
    ASSERT_EQ(mkfifo((dir + "/pipe.png").c_str(), 0600), 0);
    Write({sbxtest::Packed("pipe.png", "from archive")});
    std::string path;
    // The FIFO is not a loose file: the archive entry is used.
    ASSERT_EQ(ArchiveResolve(slot, dir + "/pipe.png", path), 1);
    EXPECT_EQ(ReadFile(path), "from archive");
    // A folder is not a loose file either.
    ASSERT_EQ(mkdir((dir + "/pipe2.png").c_str(), 0700), 0);
    EXPECT_EQ(ArchiveResolve(slot, dir + "/pipe2.png", path), 0);
    // A FIFO as the archive makes it unusable.
    ArchiveSlotReset(slot, dir + "/pipe.png");
    EXPECT_EQ(ArchiveResolve(slot, "pipe.png", path), 0);
    EXPECT_FALSE(slot.enabled);
}

// Damaged entries resolve to an empty file; damaged directories find nothing.
TEST_F(ArchiveTest, DamagedEntriesGiveEmptyContent) {
    const std::string good = sbxtest::Block("hello hello hello hello");
    std::string bigU = good;
    bigU[0] = bigU[1] = bigU[2] = bigU[3] = '\xff';  // 4 GiB announced
    std::string moreU = good;
    moreU[0] = static_cast<char>(moreU[0] + 5);  // more than the data unpacks to
    std::string lessU = good;
    lessU[0] = static_cast<char>(lessU[0] - 5);  // output would overrun
    std::string garbled = good.substr(0, 4) + std::string(good.size() - 4, '\xee');
    std::vector<sbxtest::Entry> entries = {
        sbxtest::Entry{"ok", good},
        sbxtest::Entry{"short", "\x01\x00"},  // stored size under 4
        sbxtest::Entry{"bigu", bigU},
        sbxtest::Entry{"moreu", moreU},
        sbxtest::Entry{"lessu", lessU},
        sbxtest::Entry{"garbled", garbled},
        sbxtest::Entry{"past", good, true, 0x7fffff00, false, 0},
        sbxtest::Entry{"wrapped", good, true, 0x7fffffff, true, 0xffffffffu},
        sbxtest::Entry{"before", good, true, -5, false, 0},
        sbxtest::Entry{"empty", sbxtest::Block("")},
    };
    Write(entries);
    std::string path;
    ASSERT_EQ(ArchiveResolve(slot, "ok", path), 1);
    EXPECT_EQ(ReadFile(path), "hello hello hello hello");
    for (const char* name :
         {"short", "bigu", "moreu", "lessu", "garbled", "past", "wrapped", "before", "empty"}) {
        path.clear();
        ASSERT_EQ(ArchiveResolve(slot, name, path), 1) << name;
        EXPECT_TRUE(FileExists(path)) << name;
        EXPECT_EQ(ReadFile(path), "") << name;
    }
}

TEST_F(ArchiveTest, DamagedDirectoriesFindNothing) {
    std::string bytes = sbxtest::Build({sbxtest::Packed("a", "A")});
    std::string path;
    auto withDir = [&](int32_t d) {
        std::string b = bytes;
        for (int i = 0; i < 4; ++i) b[b.size() - 4 + i] = static_cast<char>((d >> (8 * i)) & 0xFF);
        ASSERT_TRUE(WriteFile(archive, b));
        ArchiveSlotReset(slot, archive);
    };
    for (int32_t d : {0x7fffffff, -0x7fffffff - 1, static_cast<int32_t>(bytes.size()), -1}) {
        withDir(d);
        path = "kept";
        EXPECT_EQ(ArchiveResolve(slot, "a", path), 0) << d;
        EXPECT_EQ(path, "") << d;
        EXPECT_TRUE(slot.enabled);
    }
    // A directory that starts on the trailer's 'X' (a name length of 88) runs past the end.
    for (int32_t d : {static_cast<int32_t>(bytes.size()) - 5, -5}) {
        withDir(d);
        EXPECT_EQ(ArchiveResolve(slot, "a", path), 0) << d;
    }
}

// Random damage to a valid archive: every walk ends and every unpack stays within bounds.
TEST(ArchiveFormat, RandomDamageIsContained) {
    std::vector<sbxtest::Entry> entries;
    for (int i = 0; i < 20; ++i)
        entries.push_back(sbxtest::Packed("e" + std::to_string(i), Noise(50 + i * 13, i)));
    const std::string valid = sbxtest::Build(entries);
    std::mt19937 r(42);
    int unpacked = 0;
    for (int round = 0; round < 1000; ++round) {
        std::string b = valid;
        int flips = 1 + static_cast<int>(r() % 8);
        for (int k = 0; k < flips; ++k) b[r() % b.size()] = static_cast<char>(r());
        if (round % 7 == 0) b.resize(r() % b.size());
        MemoryArchiveSource src(b);
        int32_t d = 0;
        if (ArchiveTrailerRead(src, d) != TrailerStatus::Ok) continue;
        ArchiveWalk(src, d, [&](const ArchiveEntry& e) {
            std::string content;
            if (ArchiveUnpack(src, d, e, content)) ++unpacked;
            EXPECT_LE(content.size(), kArchiveMaxUnpacked);
            return true;
        });
    }
    EXPECT_GT(unpacked, 0);  // most damage misses most entries
}

}  // namespace

namespace {

// kB from a /proc/self/status line ("VmHWM:", "VmRSS:"); -1 when it is not there.
long StatusKb(const std::string& key) {
    const std::string status = ReadFile("/proc/self/status");
    const size_t at = status.find(key);
    return at == std::string::npos ? -1 : std::stol(status.substr(at + key.size()));
}

// Resets the process's peak resident size, so VmHWM afterwards is the peak since now.
bool PeakReset() {
    return testsupport::WriteFile("/proc/self/clear_refs", "5");
}

}  // namespace

TEST(ArchiveFormat, ASizeFieldThePackedBytesCannotYieldCostsNothing) {
    // 9 stored bytes announcing 256 MiB: five bytes of LZO1X yield a few hundred at most.
    std::string block;
    sbxtest::PutU32(block, kArchiveMaxUnpacked);
    block += std::string("\x11\x00\x00\x00\x00", 5);
    if (!PeakReset()) GTEST_SKIP() << "no /proc/self/clear_refs here";
    const long before = StatusKb("VmRSS:");
    std::string content = "left over";
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(ArchiveUnpackBlock(reinterpret_cast<const unsigned char*>(block.data()),
                                        block.size(), content));
    }
    EXPECT_EQ(content, "");
    const long peak = StatusKb("VmHWM:");
    ASSERT_GT(before, 0);
    EXPECT_LT(peak - before, 10 * 1024) << "kB above the resident size before the unpacks";

    // What the packer really makes of 32 MiB of zeros is within the ratio and unpacks.
    const std::string zeros(32u << 20, '\0');
    const std::string packed = sbxtest::Block(zeros);
    ASSERT_LT(packed.size(), zeros.size() / 100);
    ASSERT_TRUE(ArchiveUnpackBlock(reinterpret_cast<const unsigned char*>(packed.data()),
                                   packed.size(), content));
    EXPECT_EQ(content.size(), zeros.size());
    EXPECT_EQ(content.find_first_not_of('\0'), std::string::npos);
}
