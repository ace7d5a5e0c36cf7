// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/read_backups.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(ReadBackupsTest, ReadsInOneSecondKeepEachImageAndTheNewestFiftyStay) {
    halvex::test::TempFolder root;
    std::string folder = root.File("deep/backups");
    PgmFile file = NewPgmFile();
    std::vector<std::string> paths;
    for (int k = 0; k < 3; ++k) {
        file.image[0x0800] = static_cast<uint8_t>(k);
        std::string path;
        std::string error;
        ASSERT_TRUE(WriteReadBackup(folder, file, 1700000000, &path, &error)) << error;
        paths.push_back(path);
    }
    std::vector<std::string> sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, paths) << "later backups sort after earlier ones";
    for (int k = 0; k < 3; ++k) {
        PgmFile loaded;
        std::string error;
        ASSERT_EQ(LoadPgmFile(paths[k], &loaded, &error), PgmLoadResult::Loaded) << error;
        EXPECT_EQ(loaded.image[0x0800], k);
    }
    for (int k = 1; k <= 60; ++k) {
        std::string path;
        std::string error;
        ASSERT_TRUE(WriteReadBackup(folder, file, 1700000000 + k, &path, &error)) << error;
    }
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    EXPECT_EQ(count, kBackupsKept);
    EXPECT_FALSE(std::filesystem::exists(paths.back()));

    std::string path;
    std::string error;
    EXPECT_FALSE(WriteReadBackup("", file, 1700000000, &path, &error));
    EXPECT_FALSE(error.empty());
}

mode_t Mode(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 0777 : 0;
}

TEST(ReadBackupsTest, ParallelReadsInOneSecondEachKeepAPrivateBackup) {
    halvex::test::TempFolder root;
    std::string folder = root.File("backups");
    std::vector<std::string> paths(6);
    std::vector<std::thread> reads;
    for (size_t k = 0; k < paths.size(); ++k) {
        reads.emplace_back([&, k] {
            PgmFile file = NewPgmFile();
            file.image[0x0800] = static_cast<uint8_t>(k);
            std::string error;
            EXPECT_TRUE(WriteReadBackup(folder, file, 1700000000, &paths[k], &error)) << error;
        });
    }
    std::set<int> images;
    for (size_t k = 0; k < paths.size(); ++k) {
        reads[k].join();
        PgmFile loaded;
        std::string error;
        EXPECT_EQ(LoadPgmFile(paths[k], &loaded, &error), PgmLoadResult::Loaded) << paths[k];
        images.insert(loaded.image[0x0800]);
        EXPECT_EQ(Mode(paths[k]), 0600u);
    }
    EXPECT_EQ(images.size(), paths.size());
    EXPECT_EQ(Mode(folder), 0700u);
}

// Pruning goes by the files' own times: names an hour ahead (a time-zone change) or times in
// the future (a clock set back) must not cost the backup just written.
TEST(ReadBackupsTest, PruningFollowsFileTimesAndKeepsTheNewBackup) {
    for (std::chrono::hours skew : {std::chrono::hours(-1), std::chrono::hours(1)}) {
        halvex::test::TempFolder root;
        std::string folder = root.File("backups");
        std::vector<std::string> old(kBackupsKept);
        auto now = std::filesystem::file_time_type::clock::now();
        std::string error;
        for (size_t k = 0; k < old.size(); ++k) {
            ASSERT_TRUE(WriteReadBackup(folder, NewPgmFile(), 1700003600 + k, &old[k], &error));
            std::filesystem::last_write_time(old[k], now + skew + std::chrono::seconds(k));
        }
        std::string path;
        ASSERT_TRUE(WriteReadBackup(folder, NewPgmFile(), 1700000000, &path, &error)) << error;
        EXPECT_TRUE(std::filesystem::exists(path)) << skew.count();
        EXPECT_FALSE(std::filesystem::exists(old[0])) << skew.count();
        EXPECT_TRUE(std::filesystem::exists(old[1])) << skew.count();
    }
}

// A backups path the user made something else is theirs: it is never changed, and the backup
// fails with a message the read only warns with. A folder of ours is made private.
TEST(ReadBackupsTest, ABackupsPathThatIsNoFolderOfOursIsLeftAsItIs) {
    halvex::test::TempFolder root;
    std::string file = root.Write("notes.txt", "the user's");
    ASSERT_EQ(chmod(file.c_str(), 0644), 0);
    std::string folder = root.File("theirs");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::filesystem::create_symlink(file, root.File("link-to-file"));
    std::filesystem::create_symlink(folder, root.File("link-to-folder"));
    std::filesystem::create_symlink(root.File("gone"), root.File("link-to-nothing"));
    std::string own = root.File("own");
    ASSERT_EQ(mkdir(own.c_str(), 0755), 0);
    struct Case {
        std::string backups;
        std::string changes;
        bool written;
        mode_t mode;
        std::string says;
    };
    const Case cases[] = {
        {file, file, false, 0644, "is a file, not a folder"},
        {root.File("link-to-file"), file, false, 0644, "is a file, not a folder"},
        {root.File("link-to-nothing"), root.File("link-to-nothing"), false, 0, "a link to nothing"},
        {root.File("link-to-folder"), folder, true, 0755, ""},
        {own, own, true, 0700, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.backups);
        std::string path;
        std::string error;
        EXPECT_EQ(WriteReadBackup(c.backups, NewPgmFile(), 1700000000, &path, &error), c.written)
            << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        struct stat status {};
        if (c.mode != 0) {
            ASSERT_EQ(stat(c.changes.c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, c.mode);
        }
        EXPECT_EQ(halvex::test::ReadBytes(file), "the user's");
    }
}

}  // namespace
