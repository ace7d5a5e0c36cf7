// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/profile_test_files.h"

namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* what;
    std::string contents;
    const char* section;
    const char* key;
    size_t bufferSize;
    std::string expected;
};

TEST(ProfileRead, FollowsThePrivateProfileSyntax) {
    const ReadCase cases[] = {
        {"names ignore case", "[SeTuP]\nCOM=3\n", "setup", "com", 260, "3"},
        {"first key wins", "[setup]\ncom=3\ncom=4\n", "setup", "com", 260, "3"},
        {"repeated section still searched", "[setup]\na=1\n[other]\n[Setup]\ncom=9\n", "setup",
         "com", 260, "9"},
        {"blanks trimmed", "  [ setup ]  \n \t com \t=  two words \t\n", "setup", "com", 260,
         "two words"},
        {"CRLF line endings", "[setup]\r\ncom=5\r\n", "setup", "com", 260, "5"},
        {"byte order mark before first section", "\xEF\xBB\xBF[setup]\ncom=2\n", "setup", "com",
         260, "2"},
        {"empty value is not missing", "[setup]\ncom=\n", "setup", "com", 260, ""},
        {"matching quotes removed", "[setup]\na=\" padded \"\n", "setup", "a", 260, " padded "},
        {"unmatched quote kept", "[setup]\na=\"open\n", "setup", "a", 260, "\"open"},
        {"value cut to buffer less one", "[setup]\nsearchcom=0123456789\n", "setup", "searchcom", 8,
         "0123456"},
        {"default cut the same way", "", "setup", "missing", 4, "def"},
        {"buffer of one keeps nothing", "[setup]\ncom=5\n", "setup", "com", 1, ""},
        {"comment is not a key", "[setup]\n;com=5\n", "setup", "com", 260, "default"},
        {"line without equals is not a key", "[setup]\ncom\ncom 5\n", "setup", "com", 260,
         "default"},
        {"key before any section", "com=5\n[setup]\n", "setup", "com", 260, "default"},
        {"key of another section", "[other]\ncom=5\n", "setup", "com", 260, "default"},
        {"unclosed section header ends nothing", "[setup]\n[other\ncom=5\n", "setup", "com", 260,
         "5"},
        {"nothing after a NUL byte",
         "[setup]\ncom=12\0"s
         "34\n",
         "setup", "com", 260, "12"},
        {"last line without line ending", "[setup]\ncom=8", "setup", "com", 260, "8"},
    };
    halvex::test::TempFolder directory;
    for (const ReadCase& test : cases) {
        std::string path = directory.Write("setting.ini", test.contents);
        EXPECT_EQ(ReadProfileString(path, test.section, test.key, "default", test.bufferSize),
                  test.expected)
            << test.what;
    }
}

TEST(ProfileRead, EveryReadGoesToTheFile) {
    halvex::test::TempFolder directory;
    std::string path = directory.Write("setting.ini", "[setup]\ncom=1\n");
    EXPECT_EQ(ReadProfileString(path, "setup", "com", "", 16), "1");
    directory.Write("setting.ini", "[setup]\ncom=2\n");
    EXPECT_EQ(ReadProfileString(path, "setup", "com", "", 16), "2");
}

TEST(ProfileRead, BrokenFilesGiveValuesOrDefaultsWithoutCrashing) {
    struct BrokenCase {
        const char* fixture;
        const char* key;
        const char* expectedText;
    };
    const BrokenCase cases[] = {
        {"profile/binary_junk.ini", "com", "4"},
        {"profile/nul_bytes.ini", "com", "3"},
        {"profile/nul_bytes.ini", "language", "eng"},
        {"profile/no_sections.ini", "com", "default"},
        {"profile/invalid_utf8.ini", "language", "\xFF\xFE\xC3"},
        {"profile/invalid_utf8.ini", "com", "6"},
        {"profile/does_not_exist.ini", "com", "default"},
        {"profile", "com", "default"},  // a directory in place of the file
    };
    for (const BrokenCase& test : cases) {
        std::string path = TestDataPath(test.fixture);
        EXPECT_EQ(ReadProfileString(path, "setup", test.key, "default", 260), test.expectedText)
            << test.fixture << " " << test.key;
    }
}

TEST(ProfileRead, SurvivesAMegabyteLineAndAFifo) {
    halvex::test::TempFolder directory;
    std::string longLine(1024 * 1024, 'x');
    std::string path = directory.Write("line_too_long.ini",
                                       "[setup]\nlong=" + longLine + "\n" + longLine + "\ncom=9\n");
    EXPECT_EQ(ReadProfileString(path, "setup", "long", "", 1000).size(), 999u);
    EXPECT_EQ(ReadProfileString(path, "setup", "com", "", 16), "9");

    std::string fifo = directory.File("fifo.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadProfileString(fifo, "setup", "com", "none", 260), "none");
}

struct WriteCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    const WriteCase cases[] = {
        {"value replaced in place, CRLF and comments kept",
         "; port\r\n[Setup]\r\n  COM = 1  ; not a comment\r\nrwtype=1\r\n", "setup", "com", "3",
         "; port\r\n[Setup]\r\n  COM = 3\r\nrwtype=1\r\n"},
        {"only the first of two keys replaced", "[setup]\ncom=1\ncom=2\n", "setup", "com", "7",
         "[setup]\ncom=7\ncom=2\n"},
        {"key appended after the section's last line", "[setup]\ncom=1\n\n\n[ModelInfo]\nx=1\n",
         "setup", "language", "english",
         "[setup]\ncom=1\nlanguage=english\n\n\n[ModelInfo]\nx=1\n"},
        {"key appended with the file's CRLF", "[setup]\r\ncom=1\r\n", "setup", "searchcom", "0",
         "[setup]\r\ncom=1\r\nsearchcom=0\r\n"},
        {"key appended to a last line without line ending", "[setup]\ncom=1", "setup", "rwtype",
         "2", "[setup]\ncom=1\nrwtype=2"},
        {"key appended to a last line ending in a bare CR", "[setup]\r", "setup", "com", "1",
         "[setup]\r\ncom=1"},
        {"section appended at the end", "[ModelInfo]\nFreq0=136-174MHz", "setup", "com", "2",
         "[ModelInfo]\nFreq0=136-174MHz\n[setup]\ncom=2\n"},
        {"new file", "", "setup", "com", "2", "[setup]\ncom=2\n"},
        {"empty value replaced", "[setup]\ncom=\n", "setup", "com", "5", "[setup]\ncom=5\n"},
        {"byte order mark kept", "\xEF\xBB\xBF[setup]\ncom=1\n", "setup", "com", "4",
         "\xEF\xBB\xBF[setup]\ncom=4\n"},
        {"value with outer blanks quoted", "[setup]\n", "setup", "name", " a ",
         "[setup]\nname=\" a \"\n"},
        {"junk lines kept byte for byte", "\x01\x02junk\0\n\xff[setup]\ncom=1\n"s, "setup", "com",
         "2", "\x01\x02junk\0\n\xff[setup]\ncom=1\n[setup]\ncom=2\n"s},
    };
    halvex::test::TempFolder directory;
    for (const WriteCase& test : cases) {
        std::string path = directory.File("setting.ini");
        std::filesystem::remove(path);
        if (!test.before.empty()) {
            directory.Write("setting.ini", test.before);
        }
        std::string error;
        ASSERT_TRUE(WriteProfileString(path, test.section, test.key, test.value, &error))
            << test.what << ": " << error;
        EXPECT_EQ(ReadBytes(path), test.after) << test.what;
        EXPECT_EQ(ReadProfileString(path, test.section, test.key, "", 260), test.value)
            << test.what;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

TEST(ProfileWrite, RefusesWhatALineCannotHoldAndKeepsTheFile) {
    struct RefusedCase {
        const char* section;
        std::string key;
        std::string value;
    };
    const RefusedCase cases[] = {
        {"setup", "com", "1\n[other]"}, {"setup", "com", "1\r"}, {"setup", "com", "a\0b"s},
        {"setup", "a=b", "1"},          {"setup", ";com", "1"},  {"setup", "", "1"},
        {"set]up", "com", "1"},         {"", "com", "1"},        {"setup", " com", "1"},
    };
    halvex::test::TempFolder directory;
    const std::string before = "[setup]\ncom=1\n";
    std::string path = directory.Write("setting.ini", before);
    for (const RefusedCase& test : cases) {
        std::string error;
        EXPECT_FALSE(WriteProfileString(path, test.section, test.key, test.value, &error))
            << test.key;
        EXPECT_FALSE(error.empty()) << test.key;
        EXPECT_EQ(ReadBytes(path), before) << test.key;
    }
}

TEST(ProfileWrite, FailureReportsAndLeavesTheOldFile) {
    halvex::test::TempFolder directory;
    std::string blocker = directory.Write("not_a_directory", "keep me");
    std::string error;
    EXPECT_FALSE(WriteProfileString(blocker + "/setting.ini", "setup", "com", "2", &error));
    EXPECT_NE(error.find("setting.ini"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(blocker), "keep me");

    error.clear();
    EXPECT_FALSE(
        WriteProfileString(directory.File("missing/setting.ini"), "setup", "com", "2", &error));
    EXPECT_FALSE(error.empty());

    std::string folder = directory.File("setting.ini");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    error.clear();
    EXPECT_FALSE(WriteProfileString(folder, "setup", "com", "2", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(ProfileWrite, KeepsModeAndSymbolicLink) {
    halvex::test::TempFolder directory;
    std::string target = directory.Write("real.ini", "[setup]\ncom=1\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    std::string link = directory.File("setting.ini");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);

    std::string error;
    ASSERT_TRUE(WriteProfileString(link, "setup", "com", "6", &error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "[setup]\ncom=6\n");
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

}  // namespace
