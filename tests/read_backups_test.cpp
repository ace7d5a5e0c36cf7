#include "codeplug/read_backups.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

TEST(ReadBackupsTest, FolderFollowsTheStateDirectoryRules) {
    struct Case {
        const char* stateHome;
        const char* home;
        std::string folder;
    };
    for (const Case& c : {Case{"/var/state", "/home/ann", "/var/state/halvex/backups"},
                          Case{nullptr, "/home/ann", "/home/ann/.local/state/halvex/backups"},
                          Case{"", "/home/ann", "/home/ann/.local/state/halvex/backups"},
                          // A relative XDG_STATE_HOME is invalid and ignored by the rules.
                          Case{"state", "/home/ann", "/home/ann/.local/state/halvex/backups"},
                          Case{nullptr, nullptr, ""}, Case{"relative", "also-relative", ""}}) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(DefaultBackupFolder(c.stateHome, c.home), c.folder);
    }
}

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

}  // namespace
