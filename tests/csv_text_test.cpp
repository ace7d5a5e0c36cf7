// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader: what spreadsheets and radio programmers write is read field for field;
// what is not CSV is refused with the line it fails on.
#include "platform/csv_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "textform/radio_text.h"

namespace {

using Fields = std::vector<std::vector<std::string>>;

Fields Read(std::string_view text) {
    std::vector<CsvRecord> records;
    std::string error;
    EXPECT_TRUE(ParseCsvText(text, &records, &error)) << error;
    Fields fields;
    for (const CsvRecord& record : records) {
        fields.push_back(record.fields);
    }
    return fields;
}

// Cells as a spreadsheet puts them on the clipboard: written and read with tabs they come back
// field for field, whatever they hold, and a tab in the first line tells them from CSV.
TEST(CsvTextTest, TabSeparatedFieldsRoundTrip) {
    const std::vector<std::string> fields = {"plain",       "a,b",    "tab\there", "quote \"q\"",
                                             "line\nbreak", " edge ", ""};
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : "\t") + QuoteCsvField(field, '\t');
    }
    EXPECT_EQ(line.find("\"a,b\""), std::string::npos) << "a comma needs no quotes here";
    const std::string cells = "Location\tName\r\n" + line + "\r\n";
    CsvReader reader(cells, '\t');
    CsvRecord record;
    std::string error;
    ASSERT_TRUE(reader.Next(&record, &error)) << error;
    ASSERT_TRUE(reader.Next(&record, &error)) << error;
    EXPECT_EQ(record.fields, fields);

    const std::pair<std::string_view, char> separators[] = {
        {"Name\tFrequency\nA,B\t146.52\n", '\t'},
        {"Location,Name\n1,\"A\tB\"\n", ','},
        {"", ','},
    };
    for (const auto& [text, separator] : separators) {
        EXPECT_EQ(ClipboardSeparator(text), separator) << text;
    }
}

TEST(CsvTextTest, ReadsWhatWritersProduce) {
    struct Case {
        const char* name;
        std::string_view text;
        Fields expected;
    };
    const Case cases[] = {
        {"plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
        {"CRLF and no final line end", "a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}},
        {"byte order mark", "\xEF\xBB\xBFLocation,Name\n", {{"Location", "Name"}}},
        {"blank lines", "\n\na\r\n\r\nb\n\n", {{"a"}, {"b"}}},
        {"whitespace-only lines", "a\n \t\r\nb\n", {{"a"}, {"b"}}},
        {"empty fields", ",a,,\n", {{"", "a", "", ""}}},
        {"quoted comma and quote", "\"a,b\",\"say \"\"hi\"\"\"\n", {{"a,b", "say \"hi\""}}},
        {"line break inside quotes", "\"two\nlines\",x\ny\n", {{"two\nlines", "x"}, {"y"}}},
        {"quote inside a plain field", "ab\"c,d\n", {{"ab\"c", "d"}}},
        {"lone CR line ends", "a\rb\r", {{"a"}, {"b"}}},
        {"empty quoted field", "\"\",x\n", {{"", "x"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.text), c.expected);
    }
}

TEST(CsvTextTest, RecordsKnowTheirLine) {
    std::vector<CsvRecord> records;
    std::string error;
    ASSERT_TRUE(ParseCsvText("h\n\n\"a\nb\"\nc\n", &records, &error));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].line, 3);
    EXPECT_EQ(records[2].line, 5);
}

TEST(CsvTextTest, RefusesWhatIsNotCsv) {
    struct Case {
        const char* name;
        std::string_view text;
        const char* message;
    };
    const Case cases[] = {
        {"unclosed quote", "a,b\n1,\"open\n2,3\n", "line 2: a quoted field is never closed"},
        {"text after closing quote", "a\n\"x\"y,z\n", "line 2: text follows a closing quote"},
        {"binary", std::string_view("PK\x03\x04\0\0\x08", 7), "not text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CsvRecord> records;
        std::string error;
        EXPECT_FALSE(ParseCsvText(c.text, &records, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(CsvTextTest, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(QuoteCsvField("SEA01"), "SEA01");
    EXPECT_EQ(QuoteCsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(QuoteCsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(QuoteCsvField(" AB "), "\" AB \"");
    const std::string awkward = " x,\"y\"\nz ";
    EXPECT_EQ(Read(QuoteCsvField(awkward) + "\n"), Fields{{awkward}});
}

TEST(CsvTextTest, LargeInputs) {
    const std::string longLine = "Name\n" + std::string(10 * 1024 * 1024, 'A') + "\n";
    Fields fields = Read(longLine);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1][0].size(), 10u * 1024 * 1024);

    std::string manyRows = "Location,Frequency\n";
    for (int row = 0; row < 100000; ++row) {
        manyRows += std::to_string(row) + ",146.520000\n";
    }
    EXPECT_EQ(Read(manyRows).size(), 100001u);
}

// Both readers of a user's text file read it to its end, whatever size it claims, and name the
// file and what went wrong.
TEST(CsvTextTest, TextFilesAreReadWholeOrRefusedByName) {
    halvex::test::TempFolder folder;
    const std::string list = folder.Write("list.csv", "Location,Frequency\n1,146.52\n");
    const std::string large = folder.File("large.yaml");
    { std::ofstream(large) << "x"; }
    std::filesystem::resize_file(large, kLargestRadioText + 1);
    using Reader = bool (*)(const std::string&, std::string*, std::string*);
    struct Case {
        const char* name;
        Reader read;
        std::string path;
        bool reads;
        std::string holds;  // what the text holds, or else what the message says
    };
    const Case cases[] = {
        {"a channel list", ReadCsvFile, list, true, "Location,Frequency\n1,146.52\n"},
        {"a file that claims no size", ReadRadioTextFile, "/proc/self/status", true, "\nPid:\t"},
        {"a missing file", ReadCsvFile, folder.File("gone.csv"), false,
         "cannot open " + folder.File("gone.csv")},
        {"a folder", ReadRadioTextFile, folder.Path(), false, "it is not a regular file"},
        {"too large for a configuration", ReadRadioTextFile, large, false,
         large + " is too large to be a radio's configuration"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        std::string error;
        EXPECT_EQ(c.read(c.path, &text, &error), c.reads) << error;
        EXPECT_NE((c.reads ? text : error).find(c.holds), std::string::npos) << text << error;
    }
}

}  // namespace
