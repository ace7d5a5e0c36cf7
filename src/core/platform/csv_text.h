// SPDX-License-Identifier: GPL-3.0-or-later
// Comma-separated text as spreadsheets and other radio programmers write it: quoted fields,
// doubled quotes, LF or CRLF line ends, a UTF-8 byte order mark and blank lines. The reader
// refuses what is not text rather than guessing, so a wrong file never turns into channels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    int line = 0;  // the line the record starts on, from 1, as a spreadsheet numbers rows
    std::vector<std::string> fields;
};

// Reads the records of a text one at a time, so a large file is never held twice. A
// spreadsheet's clipboard separates its cells by tabs: separator '\t'.
class CsvReader {
public:
    explicit CsvReader(std::string_view text, char separator = ',');
    // The next record that is not a blank or whitespace-only line. False at the end, and
    // false with a message naming the line when the text holds a NUL byte, a quoted field
    // that is never closed, or text after a closing quote.
    bool Next(CsvRecord* record, std::string* error);

private:
    bool ReadRecord(CsvRecord* record, std::string* error);

    std::string_view m_Text;
    char m_Separator;
    size_t m_Position = 0;
    int m_Line = 1;
    bool m_Binary = false;
};

// Every record that is not a blank line; fails like CsvReader::Next.
bool ParseCsvText(std::string_view text, std::vector<CsvRecord>* records, std::string* error);

// A field as written back: quoted when it holds the separator, a quote, a line break or edge
// blanks.
std::string QuoteCsvField(std::string_view text, char separator = ',');

// The separator of a text a spreadsheet or this program put on the clipboard: a tab when its
// first line holds one, else a comma.
char ClipboardSeparator(std::string_view text);

// The file's whole text; false with a message when it cannot be read or is too large to be
// a channel list.
bool ReadCsvFile(const std::string& path, std::string* text, std::string* error);
