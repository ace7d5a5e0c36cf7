// SPDX-License-Identifier: GPL-3.0-or-later
// One CSV row read into what it asks of its channel, with every value checked and every
// value that is not stored as written reported. A column the file lacks keeps what a used
// channel holds; only a channel the row starts takes the format's default. Shared by the
// import only.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editors/channel_csv.h"
#include "editors/channel_csv_values.h"
#include "platform/csv_text.h"

// Columns whose absence gives a new channel a default, in the order the summary lists them.
enum DefaultedColumn { kNoDuplex, kNoTone, kNoMode, kNoStep, kNoSkip, kNoPower, kNoName };
constexpr int kDefaultedColumnCount = 7;

// What one row asks of its channel.
struct ChannelPlan {
    int channel = 0;
    int line = 0;
    std::string written;  // the Frequency field as the file has it
    bool truncated = false;
    int32_t receive = 0;
    std::optional<int32_t> transmit;  // nullopt: no transmit frequency
    int decode = 0, encode = 0;
    bool powerHigh = true;
    int bandwidth = 0;
    bool scanAdd = true;
    std::optional<int> step;
    std::string name;
    bool comment = false;
    unsigned defaulted = 0;  // bits of DefaultedColumn
};

// The power levels of a file given in watts.
struct FileWatts {
    double highest = 0;
    bool radioLevelsOnly = true;  // every level is 5.0 or 1.0 W, as this program exports
};

class RowReader {
public:
    RowReader(const CsvRecord& header, const CsvWording& wording,
              std::vector<std::pair<int, std::string>>* losses);

    bool Has(std::string_view column) const { return m_Columns.contains(column); }
    void Start(const CsvRecord& record) { m_Record = &record; }
    int Line() const { return m_Record->line; }
    const CsvWording& Wording() const { return m_Wording; }

    // The row's text of the column, "" for a field the row leaves out; nullopt when the file
    // has no such column.
    std::optional<std::string_view> Cell(std::string_view column) const;
    // The cell without edge blanks, "" when the column is missing.
    std::string Text(std::string_view column) const;

    void Report(std::string_view column, const CsvReportText& text,
                std::initializer_list<std::string> arguments);
    void ReportStoredAs(std::string_view column, const std::string& written,
                        const std::string& stored);
    // A line that belongs to the row but to no column.
    void ReportRow(const std::string& text);

private:
    const CsvWording& m_Wording;
    std::vector<std::pair<int, std::string>>* m_Losses;
    std::map<std::string, size_t, std::less<>> m_Columns;
    const CsvRecord* m_Record = nullptr;
};

// What a row lands on: the document, whether the channel is in use and keeps what the file
// has no column for, and the band.
struct RowTarget {
    const CHalvexDoc& doc;
    int channel;
    bool keep;
    const std::vector<FrequencyRange>& ranges;
};

// Receive and transmit; false, reported, when the row cannot be stored.
bool ReadFrequencies(RowReader& reader, const RowTarget& target, ChannelPlan* plan);
// Bandwidth; false, reported, for a mode the radio lacks.
bool ReadMode(RowReader& reader, const RowTarget& target, ChannelPlan* plan);
void ReadTones(RowReader& reader, const RowTarget& target, ChannelPlan* plan);
void ReadScanPowerNameStep(RowReader& reader, const RowTarget& target, const FileWatts& watts,
                           ChannelPlan* plan);
FileWatts ReadFileWatts(RowReader& reader, const CsvRecord& row, FileWatts watts);

// A long field is shown by its start only, so one huge cell cannot flood the report.
std::string Shown(std::string_view text);
