// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <charconv>
#include <climits>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "codeplug/channel_row_ops.h"
#include "codeplug/document.h"
#include "editors/channel_commit.h"
#include "editors/channel_csv.h"
#include "editors/channel_csv_rows.h"
#include "editors/channel_csv_values.h"
#include "platform/csv_text.h"

const CsvReportText kNoChannelImported = {"IDS_CSV_NOTHING_IMPORTED",
                                          "no channel could be imported"};

namespace {

constexpr CsvReportText kCleared = {"IDS_CSV_CLEARED",
                                    "channel %1 is not in the file and was cleared"};
constexpr CsvReportText kTransmitStoredAs = {"IDS_CSV_TRANSMIT_STORED_AS",
                                             "transmit %1 MHz stored as %2 MHz"};
constexpr CsvReportText kNotChannel = {"IDS_CSV_NOT_CHANNEL",
                                       "\"%1\" is not a channel from 1 to %2, row skipped"};
constexpr CsvReportText kChannelTwice = {
    "IDS_CSV_CHANNEL_TWICE", "channel %1 was already imported from row %2, row skipped"};
constexpr CsvReportText kChannelInUse = {"IDS_CSV_CHANNEL_IN_USE",
                                         "channel %1 is in use, row skipped"};
constexpr CsvReportText kChannelKeeps = {"IDS_CSV_CHANNEL_KEEPS",
                                         "row %1 skipped: channel %2 keeps %3"};
// The summary by whether rows and changes are one: [one row][one change].
constexpr CsvReportText kSummaries[2][2] = {
    {{"IDS_CSV_SUMMARY", "%1 rows imported, %2 changes reported."},
     {"IDS_CSV_SUMMARY_CHANGE", "%1 rows imported, 1 change reported."}},
    {{"IDS_CSV_SUMMARY_ROW", "1 row imported, %2 changes reported."},
     {"IDS_CSV_SUMMARY_ROW_CHANGE", "1 row imported, 1 change reported."}}};
constexpr CsvReportText kPastLastChannel = {
    "IDS_CSV_PAST_LAST", "would go to channel %1, past the last channel %2, not pasted"};
constexpr CsvReportText kNoFrequencyColumn = {"IDS_CSV_NO_FREQUENCY_COLUMN",
                                              "the file has no Frequency column"};
constexpr CsvReportText kNoColumnSummary = {"IDS_CSV_NO_COLUMN_SUMMARY",
                                            "no %1 column: %2 new channels set to %3"};
constexpr CsvReportText kNoColumnSummaryOne = {"IDS_CSV_NO_COLUMN_SUMMARY_ONE",
                                               "no %1 column: 1 new channel set to %3"};
constexpr CsvReportText kCommentsDropped = {
    "IDS_CSV_COMMENTS", "Comment: %1 comments not stored, the radio has no room for them"};
constexpr CsvReportText kCommentDropped = {
    "IDS_CSV_COMMENTS_ONE", "Comment: 1 comment not stored, the radio has no room for it"};

// Summary lines follow every row's lines.
constexpr int kAfterEveryRow = INT_MAX;

// The defaults a new channel takes for a column the file lacks, by DefaultedColumn.
constexpr std::pair<const char*, const char*> kColumnDefaults[kDefaultedColumnCount] = {
    {"Duplex", "simplex"},   {"Tone", "no tone"}, {"Mode", "FM"},     {"TStep", "5.00"},
    {"Skip", "scan add on"}, {"Power", "High"},   {"Name", "no name"}};

// The copy a preview imports into never asks or warns.
class SilentPrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage&) override { return false; }
    void ShowStopMessage(const DocumentMessage&) override {}
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
};

// Where the rows go: where they name, or for a paste from pasteAt down, keeping the rows'
// distances when they name channels.
struct Placement {
    std::optional<int> pasteAt;
    int firstLocation = 1;
    int* rowsPastEnd = nullptr;
};

std::optional<int> ParsedLocation(std::string_view text) {
    int channel = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), channel);
    if (failure != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return channel;
}

// The channel a row names; nullopt, reported, when it names none the table has.
std::optional<int> ReadLocation(RowReader& reader, int sequence, int channelCount,
                                const Placement& placement) {
    std::optional<int> channel = sequence;
    std::string shown = std::to_string(sequence);
    if (reader.Has("Location")) {
        shown = Shown(reader.Text("Location"));
        channel = ParsedLocation(reader.Text("Location"));
        if (channel && placement.pasteAt && *channel >= placement.firstLocation) {
            channel = *placement.pasteAt + *channel - placement.firstLocation;
        }
    } else if (placement.pasteAt) {
        channel = *placement.pasteAt + sequence - 1;
    }
    if (placement.pasteAt && channel && *channel > channelCount) {
        reader.Report("Location", kPastLastChannel,
                      {std::to_string(*channel), std::to_string(channelCount)});
        ++*placement.rowsPastEnd;
        return std::nullopt;
    }
    if (!channel || *channel < 1 || *channel > channelCount) {
        reader.Report("Location", kNotChannel, {shown, std::to_string(channelCount)});
        return std::nullopt;
    }
    return channel;
}

// A paste overwrites the whole channel; an import keeps what the format cannot carry.
void StoreRow(CHalvexDoc& doc, const ChannelPlan& plan, bool keep) {
    const int n = plan.channel;
    const bool used = !doc.Image().IsChannelEmpty(n);
    // Settings the format has no column for stay as the channel held them.
    std::vector<std::pair<int, int>> kept;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        if (column.kind == ColumnKind::Choice && column.csvColumns.empty()) {
            kept.emplace_back(column.id, keep ? column.value(doc.Image(), n) : 0);
        }
    }
    if (used) {
        CommitReceiveFrequency(doc, n, "");
    }
    CommitReceiveFrequency(doc, n, FormatFrequencyValue(plan.receive));
    if (!plan.transmit || *plan.transmit != plan.receive) {
        CommitTransmitFrequency(doc, n, plan.transmit ? FormatFrequencyValue(*plan.transmit) : "");
    }
    CommitTone(doc, n, kDecodeSide, plan.decode);
    CommitTone(doc, n, kEncodeSide, plan.transmit ? plan.encode : 0);
    CommitChoice(doc, n, kColumnPower, plan.powerHigh ? 1 : 0);
    CommitChoice(doc, n, kColumnBandwidth, plan.bandwidth);
    CommitChoice(doc, n, kColumnScanAdd, plan.scanAdd ? 1 : 0);
    for (const auto& [column, value] : kept) {
        CommitChoice(doc, n, column, value);
    }
    CommitChannelName(doc, n, plan.name);
    if (plan.step && *plan.step != doc.Image().GetStep(n)) {
        doc.EditImage().SetStep(n, *plan.step);
        doc.SetModifiedFlag();
    }
}

void Apply(CHalvexDoc& doc, const ChannelPlan& plan, bool overwrite) {
    const int n = plan.channel;
    const bool used = !doc.Image().IsChannelEmpty(n);
    // A row that means what the channel holds leaves its bytes alone, down to those no column
    // shows (the shift direction of a channel without transmit).
    const ChannelSlot before = ReadChannelSlot(doc.Image(), n);
    const ChannelRow shown = ChannelRowTexts(doc, n, EnglishChannelTexts());
    const int step = doc.Image().GetStep(n);
    StoreRow(doc, plan, used && !overwrite);
    if (used && doc.Image().GetStep(n) == step &&
        ChannelRowTexts(doc, n, EnglishChannelTexts()) == shown) {
        WriteChannelSlot(doc.EditImage(), n, before);
    }
}

// Reports what storing changed beyond the plan: rounding to the raster.
void ReportRounding(RowReader& reader, const CHalvexDoc& doc, const ChannelPlan& plan) {
    const int n = plan.channel;
    const int32_t receive = FrequencyTextToValue(doc.Image().GetFrequencyText(n, kDecodeSide));
    if (plan.truncated || receive != plan.receive) {
        reader.ReportStoredAs("Frequency", plan.written, ShownMegahertz(receive));
    }
    if (plan.transmit && *plan.transmit != plan.receive) {
        const int32_t transmit = FrequencyTextToValue(doc.GetTransmitText(n));
        if (transmit != *plan.transmit) {
            reader.Report("Offset", kTransmitStoredAs,
                          {ShownMegahertz(*plan.transmit), ShownMegahertz(transmit)});
        }
    }
}

// "WX1 146.55000", what a channel that a skipped row names keeps.
std::string ChannelText(const CHalvexDoc& doc, int n) {
    const std::string name = DecodeChannelName(doc.Image().GetChannelNameBytes(n).data());
    const std::string frequency =
        ShownMegahertz(FrequencyTextToValue(doc.Image().GetFrequencyText(n, kDecodeSide)));
    return name.find_first_not_of(' ') == std::string::npos ? frequency : name + " " + frequency;
}

// One line per column the file lacks that gave new channels a default, and one for comments.
void ReportSummaries(const std::vector<ChannelPlan>& plans, const CsvWording& wording,
                     std::vector<std::pair<int, std::string>>* losses) {
    for (int column = 0; column < kDefaultedColumnCount; ++column) {
        const auto count = std::count_if(plans.begin(), plans.end(), [column](const auto& plan) {
            return (plan.defaulted & (1u << column)) != 0;
        });
        if (count > 0) {
            const auto [name, value] = kColumnDefaults[column];
            losses->emplace_back(
                kAfterEveryRow,
                Worded(wording, ForCount(count, kNoColumnSummaryOne, kNoColumnSummary),
                       {name, std::to_string(count), value}));
        }
    }
    const auto comments =
        std::count_if(plans.begin(), plans.end(), [](const auto& plan) { return plan.comment; });
    if (comments > 0) {
        losses->emplace_back(kAfterEveryRow,
                             Worded(wording, ForCount(comments, kCommentDropped, kCommentsDropped),
                                    {std::to_string(comments)}));
    }
}

// Calls visit with every record after the header and its place among them, from 1; false
// with the reader's message when the text is not CSV.
template <typename Visit>
bool ForEachRow(std::string_view text, char separator, Visit visit, std::string* error) {
    CsvReader csv(text, separator);
    CsvRecord record;
    bool header = true;
    int sequence = 0;
    while (csv.Next(&record, error)) {
        if (!header) {
            visit(record, ++sequence);
        }
        header = false;
    }
    return error->empty();
}

bool ImportRows(std::string_view text, CHalvexDoc& doc, int channelCount, ChannelImportMode mode,
                std::optional<int> pasteAt, const CsvWording& wording, ChannelImportResult* result,
                std::string* error, char separator = ',') {
    CsvRecord header;
    if (!CsvReader(text, separator).Next(&header, error) && !error->empty()) {
        return false;
    }
    channelCount = std::clamp(channelCount, 0, kImageChannelCount);
    *result = ChannelImportResult{};
    std::vector<std::pair<int, std::string>> losses;
    RowReader reader(header, wording, &losses);
    // A first pass learns what depends on the whole file, and refuses a broken file before
    // any channel changes.
    FileWatts fileWatts;
    int firstLocation = 0;
    const bool read = ForEachRow(
        text, separator,
        [&](const CsvRecord& record, int) {
            fileWatts = ReadFileWatts(reader, record, fileWatts);
            std::optional<int> channel = ParsedLocation(reader.Text("Location"));
            if (channel && *channel >= 1 && (firstLocation == 0 || *channel < firstLocation)) {
                firstLocation = *channel;
            }
        },
        error);
    if (!read) {
        return false;
    }
    if (!reader.Has("Frequency")) {
        *error = Worded(wording, kNoFrequencyColumn);
        return false;
    }
    const Placement placement{pasteAt, std::max(firstLocation, 1), &result->rowsPastEnd};
    const std::vector<FrequencyRange> ranges = BandRanges(doc.GetFrequencyLimits());
    std::vector<ChannelPlan> plans;
    std::map<int, int> lineOfChannel;
    // A row that names a channel keeps Replace off it even when the row itself is skipped:
    // the user meant that channel, and a bad cell must not wipe what it holds.
    std::set<int> namedChannels;
    ForEachRow(
        text, separator,
        [&](const CsvRecord& record, int sequence) {
            reader.Start(record);
            std::optional<int> channel = ReadLocation(reader, sequence, channelCount, placement);
            if (!channel) {
                return;
            }
            ChannelPlan plan;
            plan.channel = *channel;
            plan.line = reader.Line();
            namedChannels.insert(plan.channel);
            auto earlier = lineOfChannel.find(plan.channel);
            if (earlier != lineOfChannel.end()) {
                reader.Report("Location", kChannelTwice,
                              {std::to_string(plan.channel), std::to_string(earlier->second)});
                return;
            }
            const bool used = !doc.Image().IsChannelEmpty(plan.channel);
            if (mode == ChannelImportMode::FillEmpty && used) {
                reader.Report("Location", kChannelInUse, {std::to_string(plan.channel)});
                return;
            }
            const RowTarget target{doc, plan.channel, used && !pasteAt, ranges};
            if (!ReadFrequencies(reader, target, &plan) || !ReadMode(reader, target, &plan)) {
                if (used) {
                    reader.ReportRow(
                        Worded(wording, kChannelKeeps,
                               {std::to_string(reader.Line()), std::to_string(plan.channel),
                                ChannelText(doc, plan.channel)}));
                }
                return;
            }
            ReadTones(reader, target, &plan);
            ReadScanPowerNameStep(reader, target, fileWatts, &plan);
            lineOfChannel.emplace(plan.channel, reader.Line());
            plans.push_back(std::move(plan));
        },
        error);
    if (mode == ChannelImportMode::Replace) {
        for (int n = 1; n <= channelCount; ++n) {
            if (!namedChannels.contains(n) && !doc.Image().IsChannelEmpty(n)) {
                // Listed before every row, as it concerns no row of the file.
                losses.emplace_back(0, Worded(wording, kCleared, {std::to_string(n)}));
                CommitReceiveFrequency(doc, n, "");
            }
        }
    }
    for (const ChannelPlan& plan : plans) {
        Apply(doc, plan, pasteAt.has_value());
        const CsvRecord row{plan.line, {}};
        reader.Start(row);
        ReportRounding(reader, doc, plan);
    }
    ReportSummaries(plans, wording, &losses);
    std::stable_sort(losses.begin(), losses.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    result->losses.reserve(losses.size());
    for (auto& loss : losses) {
        result->losses.push_back(std::move(loss.second));
    }
    result->importedRows = static_cast<int>(plans.size());
    return true;
}

}  // namespace

bool ImportChannelCsv(std::string_view text, CHalvexDoc& doc, int channelCount,
                      ChannelImportMode mode, const CsvWording& wording,
                      ChannelImportResult* result, std::string* error) {
    return ImportRows(text, doc, channelCount, mode, std::nullopt, wording, result, error);
}

bool PasteChannelCsv(std::string_view text, CHalvexDoc& doc, int lastChannel, int firstChannel,
                     const CsvWording& wording, ChannelImportResult* result, std::string* error) {
    return ImportRows(text, doc, lastChannel, ChannelImportMode::Merge, firstChannel, wording,
                      result, error);
}

bool PasteChannelText(std::string_view text, CHalvexDoc& doc, int lastChannel, int firstChannel,
                      const CsvWording& wording, ChannelImportResult* result, std::string* error) {
    return ImportRows(text, doc, lastChannel, ChannelImportMode::Merge, firstChannel, wording,
                      result, error, ClipboardSeparator(text));
}

bool PreviewChannelImport(std::string_view text, const CHalvexDoc& doc, int channelCount,
                          ChannelImportMode mode, const CsvWording& wording,
                          std::array<uint8_t, kImageSize>* image, ChannelImportResult* result,
                          std::string* error) {
    SilentPrompts prompts;
    CHalvexDoc copy(prompts, doc.GetSettings());
    copy.SetHeader(doc.Header());
    copy.EditImage().bytes = doc.Image().bytes;
    copy.ComputeFrequencyLimits();
    if (!ImportChannelCsv(text, copy, channelCount, mode, wording, result, error)) {
        return false;
    }
    *image = copy.Image().bytes;
    return true;
}

std::string ImportSummary(const ChannelImportResult& result, const CsvWording& wording) {
    const CsvReportText& summary =
        kSummaries[result.importedRows == 1 ? 1 : 0][result.losses.size() == 1 ? 1 : 0];
    return Worded(wording, summary,
                  {std::to_string(result.importedRows), std::to_string(result.losses.size())});
}
