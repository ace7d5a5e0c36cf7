// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "support/profile_test_files.h"
#include "support/program_globals.h"

namespace {

using namespace std::string_literals;

// "中" in GBK and in UTF-8.
const std::string kGbkMiddle = "\xD6\xD0";
const std::string kUtf8Middle = "中";

std::string Repeat(const std::string& text, int count) {
    std::string result;
    for (int index = 0; index < count; ++index) {
        result += text;
    }
    return result;
}

TEST(LangString, EscapesAndMissingKeys) {
    struct StringCase {
        const char* key;
        std::string expected;
    };
    const StringCase cases[] = {
        {"IDS_ESCAPES", "A\nB\tC"},       {"IDS_OTHER_BACKSLASH", "C:\\path\\x"},
        {"IDS_DOUBLE_BACKSLASH", "\\\n"}, {"IDS_EMPTY", ""},
        {"ids_escapes", "A\nB\tC"},       {"IDS_MISSING", "Not Found"},
    };
    halvex::test::TempFolder directory;
    halvex::test::UseLanguagePath language(
        directory.Write("english.lang",
                        "[String]\nIDS_ESCAPES=A\\nB\\tC\n"
                        "IDS_OTHER_BACKSLASH=C:\\path\\x\n"
                        "IDS_DOUBLE_BACKSLASH=\\\\n\nIDS_EMPTY=\n"));
    for (const StringCase& test : cases) {
        EXPECT_EQ(LoadLangString(test.key), test.expected) << test.key;
    }
    language.Switch(directory.File("missing.lang"));
    EXPECT_EQ(LoadLangString("IDS_ESCAPES"), "Not Found");
    EXPECT_TRUE(LoadLangList("ScanType").empty());
    EXPECT_EQ(LoadResourceText(1), "");
}

TEST(LangString, DecodesEachFileEncodingToUtf8) {
    struct EncodingCase {
        const char* fixture;
        const char* section;
        const char* key;
        std::string expected;
    };
    const EncodingCase cases[] = {
        {"lang/gbk_chinese.lang", "String", "IDS_WINDOWNAME", "对讲机写频软件"},
        {"lang/gbk_chinese.lang", "String", "IDS_PROMPT", "提示\\n请确认\\t完成"},
        {"lang/gbk_chinese.lang", "Face", "disp", "简体中文"},
        {"lang/gbk_chinese.lang", "Face", "missing", "-----"},
        {"lang/utf8_bom.lang", "String", "IDS_WINDOWNAME", "Programmateur radio"},
        {"lang/undecodable_bytes.lang", "String", "IDS_BAD", "A\xEF\xBF\xBD B\xEF\xBF\xBD"},
        {"lang/undecodable_bytes.lang", "String", "IDS_TAIL", "中\xEF\xBF\xBD"},
    };
    for (const EncodingCase& test : cases) {
        EXPECT_EQ(LoadLangText(TestDataPath(test.fixture), test.section, test.key, "-----",
                               kFaceBufferSize),
                  test.expected)
            << test.fixture << " " << test.key;
    }

    halvex::test::UseLanguagePath language(TestDataPath("lang/gbk_chinese.lang"));
    EXPECT_EQ(LoadLangString("IDS_PROMPT"), "提示\n请确认\t完成");
    // The second byte of 淺 in GBK is a backslash; it must not start an escape.
    EXPECT_EQ(LoadLangString("IDS_SHALLOW"), "淺n");
    EXPECT_EQ(LoadResourceText(2), "取消");
    EXPECT_EQ(LoadLangList("ScanType"),
              (std::vector<std::string>{"时间扫描", "载波扫描", "搜索扫描"}));
}

TEST(LangString, ByteLimitsNeverSplitACharacter) {
    struct CutCase {
        const char* what;
        std::string fileValue;
        const char* section;
        std::string expected;
    };
    const CutCase cases[] = {
        {"GBK String, odd limit", Repeat(kGbkMiddle, 600), "String", Repeat(kUtf8Middle, 499)},
        {"GBK String, one ASCII byte first", "a" + Repeat(kGbkMiddle, 600), "String",
         "a" + Repeat(kUtf8Middle, 499)},
        {"GBK list entry", Repeat(kGbkMiddle, 20), "ScanType", Repeat(kUtf8Middle, 14)},
        {"GB18030 four-byte character", "ab" + Repeat("\x94\x39\xFC\x36"s, 10), "ScanType",
         "ab" + Repeat("😀", 6)},
        {"UTF-8 String", "a" + Repeat(kUtf8Middle, 400), "String", "a" + Repeat(kUtf8Middle, 332)},
        {"UTF-8 list entry", Repeat(kUtf8Middle, 20), "ScanType", Repeat(kUtf8Middle, 9)},
        {"ASCII exactly at the limit", std::string(999, 'x'), "String", std::string(999, 'x')},
        {"ASCII over the limit", std::string(1500, 'x'), "String", std::string(999, 'x')},
    };
    halvex::test::TempFolder directory;
    halvex::test::UseLanguagePath language(directory.File("cut.lang"));
    for (const CutCase& test : cases) {
        directory.Write("cut.lang", "[String]\nIDS_LONG=" + test.fileValue +
                                        "\n[ScanType]\n0=" + test.fileValue + "\n");
        std::string text = std::string(test.section) == "String" ? LoadLangString("IDS_LONG")
                                                                 : LoadLangList("ScanType").at(0);
        EXPECT_EQ(text, test.expected) << test.what;
    }
}

TEST(LangList, StopsAtTheFirstMissingOrEmptyKey) {
    struct ListCase {
        const char* section;
        std::vector<std::string> expected;
    };
    const ListCase cases[] = {
        {"Step", {"5K", "6.25K", "10K"}},
        {"Gap", {"zero"}},
        {"EmptyEntry", {"zero", "one"}},
        {"NotZeroBased", {}},
        {"Missing", {}},
    };
    halvex::test::TempFolder directory;
    halvex::test::UseLanguagePath language(
        directory.Write("english.lang",
                        "[step]\n0=5K\n1=6.25K\n2=10K\n"
                        "[Gap]\n0=zero\n2=two\n"
                        "[EmptyEntry]\n0=zero\n1=one\n2=\n3=three\n"
                        "[NotZeroBased]\n1=one\n"));
    for (const ListCase& test : cases) {
        EXPECT_EQ(LoadLangList(test.section), test.expected) << test.section;
    }
}

TEST(TextEncoding, DetectionAndBoundaries) {
    EXPECT_EQ(DetectTextEncoding("plain ascii"), TextEncoding::kUtf8);
    EXPECT_EQ(DetectTextEncoding("中文"), TextEncoding::kUtf8);
    EXPECT_EQ(DetectTextEncoding(kGbkMiddle), TextEncoding::kGb18030);
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF\xFF"), TextEncoding::kUtf8);
    // Overlong and surrogate forms are not UTF-8.
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));

    // A lone lead byte at the cut counts as one byte and is kept.
    EXPECT_EQ(CutAtCharacterBoundary("ab\xD6", 3, TextEncoding::kGb18030), "ab\xD6");
    EXPECT_EQ(CutAtCharacterBoundary("ab\xD6\xD0", 3, TextEncoding::kGb18030), "ab");
    EXPECT_EQ(CutAtCharacterBoundary("a中", 3, TextEncoding::kUtf8), "a");
    EXPECT_EQ(CutAtCharacterBoundary("a中", 0, TextEncoding::kUtf8), "");
}

}  // namespace
