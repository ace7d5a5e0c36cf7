// SPDX-License-Identifier: GPL-3.0-or-later
// A save by temporary file and rename: what it leaves beside the file, what it keeps of the
// file it replaces, and which names it takes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/atomic_file.h"
#include "platform/output_path.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using halvex::test::ReadBytes;
using halvex::test::TempFolder;

std::set<std::string> Names(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.insert(entry.path().filename());
    }
    return names;
}

// A killed write leaves its temporary unlocked; a running one holds its lock until the rename.
TEST(AtomicFile, TheNextSaveRemovesOnlyTheFilesOwnStaleTemporaries) {
    TempFolder folder;
    folder.Write("k.pgm", "old");
    folder.Write(".k.pgm.tmp-AAAAAA", "killed");
    std::string running = folder.Write(".k.pgm.tmp-BBBBBB", "being written");
    folder.Write(".other.pgm.tmp-CCCCCC", "another file's");
    folder.Write("k.pgm.tmp-DDDDDD", "the user's");
    folder.Write(".k.pgm.tmp-EEEEEEE", "the user's");
    int writer = open(running.c_str(), O_RDONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(flock(writer, LOCK_EX), 0);

    std::string error;
    ASSERT_TRUE(ReplaceFileContents(folder.File("k.pgm"), "new", &error)) << error;
    close(writer);
    EXPECT_EQ(ReadBytes(folder.File("k.pgm")), "new");
    EXPECT_EQ(Names(folder),
              (std::set<std::string>{"k.pgm", ".k.pgm.tmp-BBBBBB", ".other.pgm.tmp-CCCCCC",
                                     "k.pgm.tmp-DDDDDD", ".k.pgm.tmp-EEEEEEE"}));
}

TEST(AtomicFile, NamesAsLongAsTheFolderAllowsAreWrittenAndLongerOnesRefused) {
    TempFolder folder;
    const size_t longest = LongestNameIn(folder.Path());
    struct Case {
        std::string name;
        bool fits;
    };
    const Case cases[] = {
        {std::string(longest - 4, 'a') + ".pgm", true},
        {std::string(longest - 8, 'a') + "\xC3\xA9\xC3\xA9.pgm", true},
        {std::string(longest - 3, 'a') + ".pgm", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.size());
        std::string path = folder.File(c.name);
        std::string error;
        EXPECT_EQ(CheckOutputPath(path, {}, &error), c.fits) << error;
        if (c.fits) {
            EXPECT_TRUE(ReplaceFileContents(path, "data", &error)) << error;
            EXPECT_EQ(ReadBytes(path), "data");
        } else {
            EXPECT_NE(error.find("bytes long, more than the"), std::string::npos) << error;
        }
    }
    for (const std::string& name : Names(folder)) {
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << "left behind: " << name;
    }
}

TEST(AtomicFile, AReplacedFileKeepsItsOwnerGroupAndMode) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    TempFolder folder;
    std::string target = folder.Write("theirs.pgm", "old");
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(target.c_str(), 02640), 0);
    fs::create_symlink(target, folder.File("link.pgm"));
    for (const std::string& path : {target, folder.File("link.pgm")}) {
        SCOPED_TRACE(path);
        std::string error;
        ASSERT_TRUE(ReplaceFileContents(path, "new", &error)) << error;
        struct stat status {};
        ASSERT_EQ(stat(target.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
        EXPECT_EQ(status.st_mode & 07777, 02640u);
        EXPECT_EQ(ReadBytes(target), "new");
    }
    EXPECT_TRUE(fs::is_symlink(folder.File("link.pgm")));
}

}  // namespace
