// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/csv_text.h"

#include "platform/file_status.h"

namespace {

// Far above any channel list, low enough that a wrong file cannot exhaust the memory.
constexpr size_t kLargestCsvFile = 64 * 1024 * 1024;

std::string LineMessage(int line, const char* what) {
    return "line " + std::to_string(line) + ": " + what;
}

bool IsBlank(const CsvRecord& record) {
    return record.fields.size() == 1 &&
           record.fields[0].find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

CsvReader::CsvReader(std::string_view text, char separator) : m_Text(text), m_Separator(separator) {
    m_Binary = text.find('\0') != std::string_view::npos;
    if (m_Text.starts_with("\xEF\xBB\xBF")) {
        m_Text.remove_prefix(3);
    }
}

bool CsvReader::Next(CsvRecord* record, std::string* error) {
    error->clear();
    if (m_Binary) {
        *error = "the file is not text: it holds NUL bytes";
        return false;
    }
    while (m_Position < m_Text.size()) {
        if (!ReadRecord(record, error)) {
            m_Position = m_Text.size();
            return false;
        }
        if (!IsBlank(*record)) {
            return true;
        }
    }
    return false;
}

bool CsvReader::ReadRecord(CsvRecord* record, std::string* error) {
    const std::string_view text = m_Text;
    size_t& position = m_Position;
    int& line = m_Line;
    record->line = line;
    record->fields.clear();
    while (true) {
        std::string field;
        if (position < text.size() && text[position] == '"') {
            const int quoteLine = line;
            ++position;
            while (true) {
                size_t quote = text.find('"', position);
                if (quote == std::string_view::npos) {
                    *error = LineMessage(quoteLine, "a quoted field is never closed");
                    return false;
                }
                std::string_view part = text.substr(position, quote - position);
                for (char c : part) {
                    line += c == '\n' ? 1 : 0;
                }
                field.append(part);
                position = quote + 1;
                if (position < text.size() && text[position] == '"') {
                    field.push_back('"');
                    ++position;
                    continue;
                }
                break;
            }
            if (position < text.size() && text[position] != m_Separator && text[position] != '\r' &&
                text[position] != '\n') {
                *error = LineMessage(line, "text follows a closing quote");
                return false;
            }
        } else {
            const char ends[] = {m_Separator, '\r', '\n', '\0'};
            size_t end = text.find_first_of(ends, position);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            field.assign(text.substr(position, end - position));
            position = end;
        }
        record->fields.push_back(std::move(field));
        if (position < text.size() && text[position] == m_Separator) {
            ++position;
            continue;
        }
        if (position < text.size() && text[position] == '\r') {
            ++position;
        }
        if (position < text.size() && text[position] == '\n') {
            ++position;
        }
        ++line;
        return true;
    }
}

bool ParseCsvText(std::string_view text, std::vector<CsvRecord>* records, std::string* error) {
    records->clear();
    CsvReader reader(text);
    CsvRecord record;
    while (reader.Next(&record, error)) {
        records->push_back(std::move(record));
    }
    return error->empty();
}

std::string QuoteCsvField(std::string_view text, char separator) {
    const char special[] = {separator, '"', '\r', '\n', '\0'};
    const bool quoted = text.find_first_of(special) != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) {
        return std::string(text);
    }
    std::string result = "\"";
    for (char c : text) {
        if (c == '"') {
            result.push_back('"');
        }
        result.push_back(c);
    }
    result.push_back('"');
    return result;
}

char ClipboardSeparator(std::string_view text) {
    const std::string_view line = text.substr(0, text.find('\n'));
    return line.find('\t') != std::string_view::npos ? '\t' : ',';
}

bool ReadCsvFile(const std::string& path, std::string* text, std::string* error) {
    return ReadFileToEnd(path, kLargestCsvFile, "a channel list", text, error);
}
