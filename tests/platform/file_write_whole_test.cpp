// Whole-file rewrites: the temporary beside the target cannot be planted, and what a killed
// writer left is cleared by the next write of the same target.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/lock_holder.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> v;
    std::vector<platform::DirEntry> entries;
    platform::DirectoryList(dir, entries);
    for (const auto& e : entries) {
        if (e.name != "." && e.name != "..") v.push_back(e.name);
    }
    return v;
}

}  // namespace

TEST(FileWriteWhole, PlantedTemporaryNamesNeitherStopNorReceiveTheWrite) {
    const std::string dir = testsupport::MakeSubDir("planted");
    const std::string target = dir + "/save.ini", elsewhere = dir + "/elsewhere";
    ASSERT_TRUE(testsupport::WriteFile(target, "old"));
    ASSERT_TRUE(testsupport::WriteFile(elsewhere, "keep"));
    // Every name a counter-and-pid scheme could pick: files and links to another file.
    const std::string pid = std::to_string(getpid());
    for (int n = 0; n < 400; ++n) {
        const std::string name = target + ".tmp" + pid + "_" + std::to_string(n);
        if (n % 2)
            ASSERT_TRUE(testsupport::WriteFile(name, "planted"));
        else
            ASSERT_EQ(symlink(elsewhere.c_str(), name.c_str()), 0);
    }
    for (int round = 0; round < 3; ++round) {
        const std::string text = "new " + std::to_string(round);
        ASSERT_TRUE(platform::FileWriteWhole(target, text)) << round;
        EXPECT_EQ(testsupport::ReadFile(target), text);
    }
    EXPECT_EQ(testsupport::ReadFile(elsewhere), "keep");
    EXPECT_EQ(Names(dir).size(), 402u) << "no temporary of ours is left, nothing planted went";
}

TEST(FileWriteWhole, TemporariesNoWriterHoldsGoAtTheNextWrite) {
    const std::string dir = testsupport::MakeSubDir("stale");
    const std::string target = dir + "/lines.txt";
    ASSERT_TRUE(testsupport::WriteFile(target, "old"));
    const std::string stale = target + ".tmpAb3xZ9", held = target + ".tmpHELD01",
                      shortName = target + ".tmpAB", other = dir + "/other.txt.tmpAb3xZ9";
    for (const std::string& p : {stale, held, shortName, other})
        ASSERT_TRUE(testsupport::WriteFile(p, "cut"));
    // A writer still at work holds its temporary's lock: that one must stay.
    testsupport::LockHolder writer;
    ASSERT_NO_FATAL_FAILURE(writer.Hold(held));
    ASSERT_TRUE(platform::FileWriteWhole(target, "new"));
    writer.Release();
    EXPECT_EQ(testsupport::ReadFile(target), "new");
    EXPECT_FALSE(testsupport::FileExists(stale));
    EXPECT_TRUE(testsupport::FileExists(held));
    EXPECT_TRUE(testsupport::FileExists(shortName));
    EXPECT_TRUE(testsupport::FileExists(other));
    // Released, it is a dead writer's leftover like any other.
    ASSERT_TRUE(platform::FileWriteWhole(target, "newer"));
    EXPECT_FALSE(testsupport::FileExists(held));
}

TEST(FileWriteWhole, ARewriteKeepsTheTargetsPermissions) {
    const std::string dir = testsupport::MakeSubDir("mode");
    const std::string kept = dir + "/private.ini", fresh = dir + "/fresh.ini";
    ASSERT_TRUE(testsupport::WriteFile(kept, "old"));
    ASSERT_EQ(chmod(kept.c_str(), 0600), 0);
    ASSERT_TRUE(platform::FileWriteWhole(kept, "new"));
    ASSERT_TRUE(platform::FileWriteWhole(fresh, "new"));
    struct stat st;
    ASSERT_EQ(stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}
