#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>

#include "codeplug/document.h"
#include "editors/channel_commit.h"
#include "editors/channel_csv.h"
#include "editors/channel_csv_values.h"
#include "platform/csv_text.h"

namespace {

constexpr CsvReportText kLossLine = {"IDS_CSV_LOSS", "row %1, %2: %3"};
constexpr CsvReportText kCleared = {"IDS_CSV_CLEARED",
                                    "channel %1 is not in the file and was cleared"};
constexpr CsvReportText kStoredAs = {"IDS_CSV_STORED_AS", "\"%1\" stored as \"%2\""};
constexpr CsvReportText kTransmitStoredAs = {"IDS_CSV_TRANSMIT_STORED_AS",
                                             "transmit %1 MHz stored as %2 MHz"};
constexpr CsvReportText kNotChannel = {"IDS_CSV_NOT_CHANNEL",
                                       "\"%1\" is not a channel from 1 to %2, row skipped"};
constexpr CsvReportText kChannelTwice = {
    "IDS_CSV_CHANNEL_TWICE", "channel %1 was already imported from row %2, row skipped"};
constexpr CsvReportText kChannelInUse = {"IDS_CSV_CHANNEL_IN_USE",
                                         "channel %1 is in use, row skipped"};
constexpr CsvReportText kNotFrequency = {"IDS_CSV_NOT_FREQUENCY",
                                         "\"%1\" is not a frequency in MHz, row skipped"};
constexpr CsvReportText kOutsideBand = {"IDS_CSV_OUTSIDE_BAND",
                                        "%1 MHz is outside the band %2-%3 MHz, row skipped"};
constexpr CsvReportText kModeUnsupported = {"IDS_CSV_MODE",
                                            "mode %1 is not supported by the radio, row skipped"};
constexpr CsvReportText kNoTransmit = {
    "IDS_CSV_NO_TRANSMIT", "transmit \"%1\" cannot be stored, channel stored without transmit"};
constexpr CsvReportText kDuplexUnknown = {
    "IDS_CSV_DUPLEX", "\"%1\" is not a duplex setting, transmit on the receive frequency"};
constexpr CsvReportText kToneModeUnsupported = {"IDS_CSV_TONE_MODE",
                                                "%1 is not supported by the radio, tones off"};
constexpr CsvReportText kToneUnknown = {"IDS_CSV_TONE", "%1 is not a tone of the radio, set off"};
constexpr CsvReportText kEncodeWithoutTransmit = {
    "IDS_CSV_ENCODE_NO_TRANSMIT", "no transmit frequency, encode tone %1 not stored"};
constexpr CsvReportText kPriorityScan = {"IDS_CSV_PRIORITY",
                                         "priority scan is not supported, stored as scan add on"};
constexpr CsvReportText kSkipUnknown = {"IDS_CSV_SKIP",
                                        "\"%1\" is not a scan setting, stored as scan add on"};
constexpr CsvReportText kStepUnknown = {"IDS_CSV_STEP",
                                        "\"%1\" is not a step of the radio, not stored"};
constexpr CsvReportText kSummary = {"IDS_CSV_SUMMARY", "%1 rows imported, %2 changes reported."};
constexpr CsvReportText kPastLastChannel = {
    "IDS_CSV_PAST_LAST", "would go to channel %1, past the last channel %2, not pasted"};
constexpr CsvReportText kNoFrequencyColumn = {"IDS_CSV_NO_FREQUENCY_COLUMN",
                                              "the file has no Frequency column"};

constexpr const char* kHighText = "High";
constexpr const char* kLowText = "Low";
constexpr double kHighWatts = 5.0, kLowWatts = 1.0;

// The copy a preview imports into never asks or warns.
class SilentPrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage&) override { return false; }
    void ShowStopMessage(const DocumentMessage&) override {}
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
};

// Values of columns a file leaves out, as the format's own defaults.
const std::map<std::string, std::string, std::less<>>& ColumnDefaults() {
    static const std::map<std::string, std::string, std::less<>> defaults = {
        {"Offset", "0.000000"},      {"rToneFreq", "88.5"},  {"cToneFreq", "88.5"},
        {"DtcsCode", "023"},         {"DtcsPolarity", "NN"}, {"RxDtcsCode", "023"},
        {"CrossMode", "Tone->Tone"}, {"Mode", "FM"},         {"TStep", "5.00"},
    };
    return defaults;
}

// What one row asks of its channel, after every value has been checked.
struct ChannelPlan {
    int channel = 0;
    int line = 0;
    std::string written;  // the Frequency field as the file has it
    bool truncated = false;
    std::string receive;
    std::optional<std::string> transmit;  // nullopt: no transmit frequency
    int decode = 0, encode = 0;
    bool powerHigh = true;
    int bandwidth = 0;
    bool scanAdd = true;
    std::optional<int> step;
    std::string name;
};

class RowReader {
public:
    RowReader(const CsvRecord& header, const CsvWording& wording,
              std::vector<std::pair<int, std::string>>* losses)
        : m_Wording(wording), m_Losses(losses) {
        for (size_t index = 0; index < header.fields.size(); ++index) {
            m_Columns.emplace(std::string(Trimmed(header.fields[index])), index);
        }
    }

    bool Has(std::string_view column) const { return m_Columns.contains(column); }

    void Start(const CsvRecord& record) { m_Record = &record; }
    int Line() const { return m_Record->line; }

    // The row's text of the column; the default when the column or the field is missing or
    // blank.
    std::string Field(std::string_view column) const {
        auto found = m_Columns.find(column);
        if (found != m_Columns.end() && found->second < m_Record->fields.size()) {
            std::string_view text = m_Record->fields[found->second];
            // A name of blanks is a name; the radio stores spaces.
            if (!Trimmed(text).empty() || column == "Name") {
                return std::string(text);
            }
        }
        auto fallback = ColumnDefaults().find(column);
        return fallback == ColumnDefaults().end() ? std::string() : fallback->second;
    }

    void Report(std::string_view column, const CsvReportText& text,
                std::initializer_list<std::string> arguments) {
        m_Losses->emplace_back(Line(), Worded(m_Wording, kLossLine,
                                              {std::to_string(Line()), std::string(column),
                                               Worded(m_Wording, text, arguments)}));
    }
    void ReportStoredAs(std::string_view column, const std::string& written,
                        const std::string& stored) {
        Report(column, kStoredAs, {written, stored});
    }

private:
    const CsvWording& m_Wording;
    std::vector<std::pair<int, std::string>>* m_Losses;
    std::map<std::string, size_t, std::less<>> m_Columns;
    const CsvRecord* m_Record = nullptr;
};

// A long field is shown by its start only, so one huge cell cannot flood the report.
std::string Shown(std::string_view text) {
    constexpr size_t kShownLength = 40;
    return text.size() <= kShownLength ? std::string(text)
                                       : std::string(text.substr(0, kShownLength)) + "...";
}

// The tone of a CTCSS column; off, reported, when the radio lacks it.
int CtcssTone(RowReader& reader, const char* column) {
    const std::string text = reader.Field(column);
    std::optional<int> index = CtcssIndex(text);
    if (!index) {
        reader.Report(column, kToneUnknown, {Shown(text)});
    }
    return index.value_or(0);
}

// The tone of a DCS column with the polarity letter of its side.
int DcsTone(RowReader& reader, const char* column, char polarity) {
    const std::string text = reader.Field(column);
    std::optional<int> index = DcsIndex(text);
    if (!index) {
        reader.Report(column, kToneUnknown, {Shown(text)});
        return 0;
    }
    return polarity == 'R' || polarity == 'r' ? *index + kDcsInvertedDistance : *index;
}

void ReadTones(RowReader& reader, ChannelPlan* plan) {
    const std::string mode(Trimmed(reader.Field("Tone")));
    const std::string polarity = std::string(Trimmed(reader.Field("DtcsPolarity"))) + "NN";
    if (mode.empty()) {
        return;
    }
    if (mode == "Tone") {
        plan->encode = CtcssTone(reader, "rToneFreq");
    } else if (mode == "TSQL") {
        plan->encode = plan->decode = CtcssTone(reader, "cToneFreq");
    } else if (mode == "DTCS") {
        plan->encode = DcsTone(reader, "DtcsCode", polarity[0]);
        if (plan->encode != 0) {
            plan->decode = DcsTone(reader, "DtcsCode", polarity[1]);
        }
    } else if (mode == "Cross") {
        const std::string cross(Trimmed(reader.Field("CrossMode")));
        const size_t arrow = cross.find("->");
        const std::string transmit = cross.substr(0, std::min(arrow, cross.size()));
        const std::string receive = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
        const bool known = arrow != std::string::npos &&
                           (transmit.empty() || transmit == "Tone" || transmit == "DTCS") &&
                           (receive.empty() || receive == "Tone" || receive == "DTCS") &&
                           !(transmit.empty() && receive.empty());
        if (!known) {
            reader.Report("CrossMode", kToneModeUnsupported, {Shown(cross)});
            return;
        }
        if (transmit == "Tone") {
            plan->encode = CtcssTone(reader, "rToneFreq");
        } else if (transmit == "DTCS") {
            plan->encode = DcsTone(reader, "DtcsCode", polarity[0]);
        }
        if (receive == "Tone") {
            plan->decode = CtcssTone(reader, "cToneFreq");
        } else if (receive == "DTCS") {
            plan->decode = DcsTone(reader, "RxDtcsCode", polarity[1]);
        }
    } else {
        reader.Report("Tone", kToneModeUnsupported, {Shown(mode)});
    }
}

// The transmit frequency of the row, nullopt for none; receive is the row's own value.
std::optional<int64_t> ReadTransmit(RowReader& reader, int32_t receive, bool* reported) {
    const std::string duplex(Trimmed(reader.Field("Duplex")));
    if (duplex.empty()) {
        return receive;
    }
    if (duplex == "off") {
        return std::nullopt;
    }
    if (duplex != "+" && duplex != "-" && duplex != "split") {
        reader.Report("Duplex", kDuplexUnknown, {Shown(duplex)});
        *reported = true;
        return receive;
    }
    const std::string offsetText = reader.Field("Offset");
    bool truncated = false;
    std::optional<int32_t> offset = ParseMegahertz(offsetText, &truncated);
    if (!offset) {
        reader.Report("Offset", kNoTransmit, {Shown(offsetText)});
        *reported = true;
        return std::nullopt;
    }
    if (duplex == "split") {
        return *offset;
    }
    return duplex == "+" ? int64_t{receive} + *offset : int64_t{receive} - *offset;
}

// Checks the receive and transmit frequencies; false when the row cannot be stored.
bool ReadFrequencies(RowReader& reader, const CHalvexDoc& doc, ChannelPlan* plan) {
    const std::string text = reader.Field("Frequency");
    bool truncated = false;
    std::optional<int32_t> receive = ParseMegahertz(text, &truncated);
    if (!receive) {
        reader.Report("Frequency", kNotFrequency, {Shown(text)});
        return false;
    }
    const FrequencyLimits& limits = doc.GetFrequencyLimits();
    plan->written = Shown(Trimmed(text));
    plan->truncated = truncated;
    plan->receive = FormatFrequencyValue(*receive);
    if (CheckFrequencyRange(plan->receive, limits) != 0) {
        reader.Report("Frequency", kOutsideBand,
                      {Shown(Trimmed(text)), FormatFrequencyValue(limits.m_FreqMin),
                       FormatFrequencyValue(limits.m_FreqMax)});
        return false;
    }
    bool reported = false;
    std::optional<int64_t> transmit = ReadTransmit(reader, *receive, &reported);
    if (transmit &&
        (*transmit < 0 || *transmit > kMaxFrequencyValue ||
         CheckFrequencyRange(FormatFrequencyValue(static_cast<int32_t>(*transmit)), limits) != 0)) {
        const int64_t magnitude =
            std::min<int64_t>(*transmit < 0 ? -*transmit : *transmit, kMaxFrequencyValue);
        std::string shown(*transmit < 0 ? "-" : "");
        shown += FormatFrequencyValue(static_cast<int32_t>(magnitude));
        reader.Report("Offset", kNoTransmit, {shown});
        transmit.reset();
    }
    if (transmit) {
        plan->transmit = FormatFrequencyValue(static_cast<int32_t>(*transmit));
    }
    return true;
}

bool ReadMode(RowReader& reader, ChannelPlan* plan) {
    const std::string mode(Trimmed(reader.Field("Mode")));
    if (mode == "FM") {
        plan->bandwidth = 0;
    } else if (mode == "NFM") {
        plan->bandwidth = 1;
    } else {
        reader.Report("Mode", kModeUnsupported, {Shown(mode)});
        return false;
    }
    return true;
}

void ReadScan(RowReader& reader, ChannelPlan* plan) {
    const std::string skip(Trimmed(reader.Field("Skip")));
    plan->scanAdd = skip != "S";
    if (skip == "P") {
        reader.Report("Skip", kPriorityScan, {});
    } else if (!skip.empty() && skip != "S") {
        reader.Report("Skip", kSkipUnknown, {Shown(skip)});
    }
}

// The power levels of a file given in watts.
struct FileWatts {
    double highest = 0;
    bool radioLevelsOnly = true;  // every level is 5.0 or 1.0 W, as this program exports
};

// Watts map to high for the highest level in the file and low for any other, except in a
// file of the radio's own levels: an export of low channels only must not come back high.
void ReadPower(RowReader& reader, const FileWatts& fileWatts, ChannelPlan* plan) {
    const std::string text(Trimmed(reader.Field("Power")));
    if (text.empty() || SameLetters(text, kHighText)) {
        plan->powerHigh = true;
        return;
    }
    if (SameLetters(text, kLowText)) {
        plan->powerHigh = false;
        return;
    }
    std::optional<double> watts = ParseWatts(text);
    plan->powerHigh =
        !watts || (fileWatts.radioLevelsOnly ? *watts == kHighWatts : *watts >= fileWatts.highest);
    const double storedWatts = plan->powerHigh ? kHighWatts : kLowWatts;
    if (!watts || *watts != storedWatts) {
        reader.ReportStoredAs("Power", Shown(text), plan->powerHigh ? kHighText : kLowText);
    }
}

void ReadNameAndStep(RowReader& reader, ChannelPlan* plan) {
    const std::string name = reader.Field("Name");
    plan->name = RadioChannelName(name);
    // Upper case is how the radio shows every name, not a loss.
    if (!SameLetters(plan->name, name)) {
        reader.ReportStoredAs("Name", Shown(name), plan->name);
    }
    const std::string step(Trimmed(reader.Field("TStep")));
    plan->step = StepIndex(step);
    if (!plan->step) {
        reader.Report("TStep", kStepUnknown, {Shown(step)});
    }
}

FileWatts ReadFileWatts(RowReader& reader, const std::vector<CsvRecord>& records) {
    FileWatts fileWatts;
    for (size_t index = 1; index < records.size(); ++index) {
        reader.Start(records[index]);
        std::optional<double> watts = ParseWatts(reader.Field("Power"));
        if (watts) {
            fileWatts.highest = std::max(fileWatts.highest, *watts);
            fileWatts.radioLevelsOnly &= *watts == kHighWatts || *watts == kLowWatts;
        }
    }
    return fileWatts;
}

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
        shown = Trimmed(reader.Field("Location"));
        channel = ParsedLocation(shown);
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

// The lowest channel the rows name, which a paste puts at its first channel.
int FirstLocation(RowReader& reader, const std::vector<CsvRecord>& records) {
    int first = 0;
    for (size_t index = 1; index < records.size() && reader.Has("Location"); ++index) {
        reader.Start(records[index]);
        std::optional<int> channel = ParsedLocation(Trimmed(reader.Field("Location")));
        if (channel && *channel >= 1 && (first == 0 || *channel < first)) {
            first = *channel;
        }
    }
    return std::max(first, 1);
}

// A paste overwrites the whole channel; an import keeps what the format cannot carry.
void Apply(CHalvexDoc& doc, const ChannelPlan& plan, bool overwrite) {
    const int n = plan.channel;
    const bool used = !doc.IsChannelEmpty(n);
    const bool keep = used && !overwrite;
    // Settings the format has no column for stay as the channel held them.
    const int kept[] = {kColumnBcl, kColumnReverse, kColumnPttId, kColumnCompander};
    int keptValues[std::size(kept)] = {};
    for (size_t index = 0; index < std::size(kept); ++index) {
        keptValues[index] = keep ? ChoiceValue(doc, n, kept[index]) : 0;
    }
    if (used) {
        CommitReceiveFrequency(doc, n, "");
    }
    CommitReceiveFrequency(doc, n, plan.receive);
    if (!plan.transmit || *plan.transmit != plan.receive) {
        CommitTransmitFrequency(doc, n, plan.transmit.value_or(""));
    }
    CommitTone(doc, n, kDecodeSide, plan.decode);
    CommitTone(doc, n, kEncodeSide, plan.transmit ? plan.encode : 0);
    CommitChoice(doc, n, kColumnPower, plan.powerHigh ? 1 : 0);
    CommitChoice(doc, n, kColumnBandwidth, plan.bandwidth);
    CommitChoice(doc, n, kColumnScanAdd, plan.scanAdd ? 1 : 0);
    for (size_t index = 0; index < std::size(kept); ++index) {
        CommitChoice(doc, n, kept[index], keptValues[index]);
    }
    CommitChannelName(doc, n, plan.name);
    if (plan.step && *plan.step != doc.GetStep(n)) {
        doc.SetStep(n, *plan.step);
        doc.SetModifiedFlag();
    }
}

// Reports what storing changed beyond the plan: rounding to the raster and band gaps.
void ReportRounding(RowReader& reader, const CHalvexDoc& doc, const ChannelPlan& plan) {
    const int n = plan.channel;
    const int32_t receive = FrequencyTextToValue(doc.GetFrequencyText(n, kDecodeSide));
    if (plan.truncated || receive != FrequencyTextToValue(plan.receive)) {
        reader.ReportStoredAs("Frequency", plan.written, FormatFrequencyValue(receive));
    }
    if (plan.transmit && *plan.transmit != plan.receive) {
        const std::string transmit = doc.GetTransmitText(n);
        if (FrequencyTextToValue(transmit) != FrequencyTextToValue(*plan.transmit)) {
            reader.Report("Offset", kTransmitStoredAs, {*plan.transmit, transmit});
        }
    }
}

}  // namespace

namespace {

bool ImportRows(std::string_view text, CHalvexDoc& doc, int channelCount, ChannelImportMode mode,
                std::optional<int> pasteAt, const CsvWording& wording, ChannelImportResult* result,
                std::string* error) {
    std::vector<CsvRecord> records;
    if (!ParseCsvText(text, &records, error)) {
        return false;
    }
    channelCount = std::clamp(channelCount, 0, kImageChannelCount);
    *result = ChannelImportResult{};
    std::vector<std::pair<int, std::string>> losses;
    RowReader reader(records.empty() ? CsvRecord{} : records[0], wording, &losses);
    if (!reader.Has("Frequency")) {
        *error = Worded(wording, kNoFrequencyColumn);
        return false;
    }
    const FileWatts fileWatts = ReadFileWatts(reader, records);
    const Placement placement{pasteAt, FirstLocation(reader, records), &result->rowsPastEnd};
    std::vector<ChannelPlan> plans;
    std::map<int, int> lineOfChannel;
    // A row that names a channel keeps Replace off it even when the row itself is skipped:
    // the user meant that channel, and a bad cell must not wipe what it holds.
    std::set<int> namedChannels;
    for (size_t index = 1; index < records.size(); ++index) {
        reader.Start(records[index]);
        ChannelPlan plan;
        std::optional<int> channel =
            ReadLocation(reader, static_cast<int>(index), channelCount, placement);
        if (!channel) {
            continue;
        }
        plan.channel = *channel;
        plan.line = reader.Line();
        namedChannels.insert(plan.channel);
        auto earlier = lineOfChannel.find(plan.channel);
        if (earlier != lineOfChannel.end()) {
            reader.Report("Location", kChannelTwice,
                          {std::to_string(plan.channel), std::to_string(earlier->second)});
            continue;
        }
        if (mode == ChannelImportMode::FillEmpty && !doc.IsChannelEmpty(plan.channel)) {
            reader.Report("Location", kChannelInUse, {std::to_string(plan.channel)});
            continue;
        }
        if (!ReadFrequencies(reader, doc, &plan) || !ReadMode(reader, &plan)) {
            continue;
        }
        ReadTones(reader, &plan);
        if (!plan.transmit && plan.encode != 0) {
            reader.Report("Tone", kEncodeWithoutTransmit,
                          {ToneListTexts("")[static_cast<size_t>(plan.encode)]});
        }
        ReadScan(reader, &plan);
        ReadPower(reader, fileWatts, &plan);
        ReadNameAndStep(reader, &plan);
        lineOfChannel.emplace(plan.channel, reader.Line());
        plans.push_back(std::move(plan));
    }
    if (mode == ChannelImportMode::Replace) {
        for (int n = 1; n <= channelCount; ++n) {
            if (!namedChannels.contains(n) && !doc.IsChannelEmpty(n)) {
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
    std::stable_sort(losses.begin(), losses.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
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

bool PreviewChannelImport(std::string_view text, const CHalvexDoc& doc, int channelCount,
                          ChannelImportMode mode, const CsvWording& wording,
                          std::array<uint8_t, kImageSize>* image, ChannelImportResult* result,
                          std::string* error) {
    SilentPrompts prompts;
    CHalvexDoc copy(prompts, doc.GetSettings());
    copy.m_Header = doc.m_Header;
    copy.bytes = doc.bytes;
    copy.ComputeFrequencyLimits();
    if (!ImportChannelCsv(text, copy, channelCount, mode, wording, result, error)) {
        return false;
    }
    *image = copy.bytes;
    return true;
}

std::string ImportSummary(const ChannelImportResult& result, const CsvWording& wording) {
    return Worded(wording, kSummary,
                  {std::to_string(result.importedRows), std::to_string(result.losses.size())});
}
