// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/pgm_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const std::string kPgmDir = std::string(HALVEX_TEST_DATA_DIR) + "/pgm/";

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

bool AllBytesAre(const uint8_t* begin, const uint8_t* end, uint8_t value) {
    return std::all_of(begin, end, [value](uint8_t byte) { return byte == value; });
}

TEST(PgmFileTest, SaveNeverFollowsAnotherUsersLinkInASharedFolder) {
    halvex::test::TempFolder directory;
    std::string shared = directory.File("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 01777), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    std::string victim = directory.File("victim.pgm");
    std::ofstream(victim) << "victim";
    std::string planted = shared + "/radio.pgm";
    ASSERT_EQ(symlink(victim.c_str(), planted.c_str()), 0);
    std::string own = shared + "/own.pgm";
    ASSERT_EQ(symlink(victim.c_str(), own.c_str()), 0);
    // Our own link is followed as before; the planted one must not be, if we can plant one.
    std::string error;
    if (lchown(planted.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "cannot give a link to another user here";
    }
    EXPECT_FALSE(SavePgmFile(planted, NewPgmFile(), &error));
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(victim), std::vector<uint8_t>({'v', 'i', 'c', 't', 'i', 'm'}));
    EXPECT_TRUE(SavePgmFile(own, NewPgmFile(), &error)) << error;
    EXPECT_EQ(ReadBytes(victim).size(), kPgmFileSize);
}

TEST(PgmFileTest, WholeFileCheckNamesEachKindOfIncompleteFile) {
    struct Case {
        const char* name;
        bool whole;
        const char* says;
    };
    for (const Case& c : {Case{"v1_05_channels.pgm", true, ""}, Case{"empty.pgm", false, "empty"},
                          Case{"short_header.pgm", false, "not a radio data file"},
                          Case{"header_only.pgm", false, "only a file header"},
                          Case{"truncated_image.pgm", false, "cut short"},
                          Case{"too_long.pgm", false, "8340 bytes"},
                          Case{"foreign_header.pgm", false, "not a radio data file"}}) {
        SCOPED_TRACE(c.name);
        std::string error;
        PgmFile file;
        size_t size = 0;
        PgmLoadResult loaded = LoadPgmFile(kPgmDir + c.name, &file, &error, &size);
        EXPECT_EQ(IsWholePgmFile(kPgmDir + c.name, loaded, size, &error), c.whole);
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(PgmFileTest, BrokenFixturesLoadAsTheirKindRequires) {
    const PgmFile fresh = NewPgmFile();
    struct Case {
        const char* name;
        PgmLoadResult expected;
        size_t imageBytesFromFile;
    };
    const Case cases[] = {
        {"empty.pgm", PgmLoadResult::Loaded, 0},
        {"short_header.pgm", PgmLoadResult::ForeignHeader, 0},
        {"foreign_header.pgm", PgmLoadResult::ForeignHeader, 0},
        {"truncated_image.pgm", PgmLoadResult::Loaded, 100},
        {"too_long.pgm", PgmLoadResult::Loaded, kImageSize},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        std::string path = kPgmDir + testCase.name;
        std::vector<uint8_t> before = ReadBytes(path);
        PgmFile file;
        std::string error;
        ASSERT_EQ(LoadPgmFile(path, &file, &error), testCase.expected);
        if (testCase.expected == PgmLoadResult::ForeignHeader) {
            EXPECT_NE(error.find("not a radio data file"), std::string::npos) << error;
            EXPECT_EQ(file.header, fresh.header);
        }
        if (testCase.imageBytesFromFile > 0) {
            EXPECT_TRUE(std::equal(file.image.begin(),
                                   file.image.begin() + testCase.imageBytesFromFile,
                                   before.begin() + kPgmHeaderSize));
        }
        EXPECT_TRUE(AllBytesAre(file.image.data() + testCase.imageBytesFromFile,
                                file.image.data() + kImageSize, 0xFF));
        EXPECT_EQ(ReadBytes(path), before) << "loading changed the file";
    }
}

TEST(PgmFileTest, ShortFileKeepsItsOwnHeaderBytes) {
    PgmFile file;
    ASSERT_EQ(LoadPgmFile(kPgmDir + "truncated_image.pgm", &file, nullptr), PgmLoadResult::Loaded);
    EXPECT_EQ(std::string(file.header.begin(), file.header.begin() + 30),
              "RQ870 Radio Program data v1.08");
}

TEST(PgmFileTest, UnreadablePathsFailWithAMessageAndLeaveTheResultAlone) {
    halvex::test::TempFolder directory;
    std::string fifo = directory.File("pipe.pgm");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {directory.File("missing.pgm"), "No such file"},
        {directory.Path(), "folder"},
        {fifo, "not a regular file"},
    };
    for (const auto& [path, expectedText] : cases) {
        SCOPED_TRACE(path);
        PgmFile file;
        file.image.fill(0x5A);
        std::string error;
        EXPECT_EQ(LoadPgmFile(path, &file, &error), PgmLoadResult::Failed);
        EXPECT_NE(error.find(expectedText), std::string::npos) << error;
        EXPECT_TRUE(AllBytesAre(file.image.data(), file.image.data() + kImageSize, 0x5A));
    }
}

TEST(PgmFileTest, SaveThenLoadGivesBackEveryByte) {
    halvex::test::TempFolder directory;
    PgmFile original;
    for (size_t k = 0; k < kPgmHeaderSize; ++k) {
        original.header[k] = k < kPgmIdentification.size() ? kPgmIdentification[k] : k * 5;
    }
    for (size_t k = 0; k < kImageSize; ++k) {
        original.image[k] = static_cast<uint8_t>(k * 31 + 7);
    }
    std::string path = directory.File("round.pgm");
    std::string error;
    ASSERT_TRUE(SavePgmFile(path, original, &error)) << error;

    std::vector<uint8_t> raw = ReadBytes(path);
    ASSERT_EQ(raw.size(), kPgmFileSize);
    EXPECT_TRUE(std::equal(original.header.begin(), original.header.end(), raw.begin()));
    EXPECT_TRUE(
        std::equal(original.image.begin(), original.image.end(), raw.begin() + kPgmHeaderSize));

    PgmFile loaded;
    ASSERT_EQ(LoadPgmFile(path, &loaded, &error), PgmLoadResult::Loaded);
    EXPECT_EQ(loaded.header, original.header);
    EXPECT_EQ(loaded.image, original.image);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

TEST(PgmFileTest, FailedSaveReportsAndLeavesTheTargetAlone) {
    halvex::test::TempFolder directory;
    std::string error;
    EXPECT_FALSE(SavePgmFile(directory.File("no/such/folder.pgm"), NewPgmFile(), &error));
    EXPECT_FALSE(error.empty());

    std::string folder = directory.File("folder.pgm");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    error.clear();
    EXPECT_FALSE(SavePgmFile(folder, NewPgmFile(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace
