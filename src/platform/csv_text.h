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

// Every record that is not a blank line. False with a message naming the line when the text
// holds a NUL byte, a quoted field that is never closed, or text after a closing quote.
bool ParseCsvText(std::string_view text, std::vector<CsvRecord>* records, std::string* error);

// A field as written back: quoted when it holds a comma, a quote, a line break or edge blanks.
std::string QuoteCsvField(std::string_view text);

// The file's whole text; false with a message when it cannot be read or is too large to be
// a channel list.
bool ReadCsvFile(const std::string& path, std::string* text, std::string* error);
