// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_csv_rows.h"

#include <set>

#include "codeplug/document.h"
#include "editors/channel_commit.h"

namespace {

constexpr CsvReportText kLossLine = {"IDS_CSV_LOSS", "row %1, %2: %3"};
constexpr CsvReportText kStoredAs = {"IDS_CSV_STORED_AS", "\"%1\" stored as \"%2\""};
constexpr CsvReportText kColumnTwice = {"IDS_CSV_COLUMN_TWICE",
                                        "the header names the column %1 twice, the first is used"};
constexpr CsvReportText kNotFrequency = {"IDS_CSV_NOT_FREQUENCY",
                                         "\"%1\" is not a frequency in MHz, row skipped"};
constexpr CsvReportText kOutsideBand = {"IDS_CSV_OUTSIDE_BAND",
                                        "%1 MHz is outside the band %2 MHz, row skipped"};
constexpr CsvReportText kModeUnsupported = {"IDS_CSV_MODE",
                                            "mode %1 is not supported by the radio, row skipped"};
constexpr CsvReportText kNoTransmit = {
    "IDS_CSV_NO_TRANSMIT", "transmit \"%1\" cannot be stored, channel stored without transmit"};
constexpr CsvReportText kDuplexUnknown = {
    "IDS_CSV_DUPLEX", "\"%1\" is not a duplex setting, transmit on the receive frequency"};
constexpr CsvReportText kToneModeUnsupported = {"IDS_CSV_TONE_MODE",
                                                "%1 is not supported by the radio, tones off"};
constexpr CsvReportText kToneUnknown = {"IDS_CSV_TONE", "%1 is not a tone of the radio, set off"};
constexpr CsvReportText kPolarityUnknown = {"IDS_CSV_POLARITY",
                                            "\"%1\" is not a DCS polarity, taken as NN"};
constexpr CsvReportText kBlankTakenAs = {"IDS_CSV_BLANK", "blank, taken as %1"};
constexpr CsvReportText kNoColumnTakenAs = {"IDS_CSV_NO_COLUMN", "no %1 column: taken as %2"};
constexpr CsvReportText kEncodeWithoutTransmit = {
    "IDS_CSV_ENCODE_NO_TRANSMIT", "no transmit frequency, encode tone %1 not stored"};
constexpr CsvReportText kPriorityScan = {"IDS_CSV_PRIORITY",
                                         "priority scan is not supported, stored as scan add on"};
constexpr CsvReportText kSkipUnknown = {"IDS_CSV_SKIP",
                                        "\"%1\" is not a scan setting, stored as scan add on"};
constexpr CsvReportText kStepUnknown = {"IDS_CSV_STEP",
                                        "\"%1\" is not a step of the radio, not stored"};

// What the file may write, and how the report names the stored level in the user's language.
constexpr const char* kHighText = "High";
constexpr const char* kLowText = "Low";
constexpr CsvReportText kHighLevel = {"IDS_HIGH", kHighText};
constexpr CsvReportText kLowLevel = {"IDS_LOW", kLowText};
constexpr double kHighWatts = 5.0, kLowWatts = 1.0;
constexpr int kDefaultStep = 1;  // 5.00 kHz, the format's default
constexpr const char* kOffText = "off";
constexpr const char* kDefaultCross = "Tone->Tone";

// A blank cell or a missing column where the row needs a value: reported, taken as fallback.
void ReportUnset(RowReader& reader, std::string_view column, const std::string& fallback) {
    if (reader.Has(column)) {
        reader.Report(column, kBlankTakenAs, {fallback});
    } else {
        reader.Report(column, kNoColumnTakenAs, {std::string(column), fallback});
    }
}

// The tone of a CTCSS column, or of the other one when the file lacks it, as the format's
// own program reads such files; off, reported, when neither gives a tone of the radio.
int CtcssTone(RowReader& reader, const char* column, const char* otherColumn) {
    if (!reader.Has(column) && reader.Has(otherColumn)) {
        column = otherColumn;
    }
    const std::string text = reader.Text(column);
    if (text.empty()) {
        ReportUnset(reader, column, kOffText);
        return 0;
    }
    std::optional<int> index = CtcssIndex(text);
    if (!index) {
        reader.Report(column, kToneUnknown, {Shown(text)});
    }
    return index.value_or(0);
}

// The two polarity letters, transmit first.
std::string Polarity(RowReader& reader) {
    const std::string text = reader.Text("DtcsPolarity");
    if (text.empty()) {
        ReportUnset(reader, "DtcsPolarity", "NN");
        return "NN";
    }
    if (text.size() != 2 || text.find_first_not_of("NR") != std::string::npos) {
        reader.Report("DtcsPolarity", kPolarityUnknown, {Shown(text)});
        return "NN";
    }
    return text;
}

int DcsTone(RowReader& reader, const char* column, char polarity) {
    const std::string text = reader.Text(column);
    if (text.empty()) {
        ReportUnset(reader, column, kOffText);
        return 0;
    }
    std::optional<int> index = DcsIndex(text);
    if (!index) {
        reader.Report(column, kToneUnknown, {Shown(text)});
        return 0;
    }
    return polarity == 'R' ? *index + kDcsInvertedDistance : *index;
}

// "DTCS->Tone" as its two sides; false for a cross mode the format does not have.
bool CrossSides(const std::string& cross, std::string* transmit, std::string* receive) {
    const size_t arrow = cross.find("->");
    if (arrow == std::string::npos) {
        return false;
    }
    *transmit = cross.substr(0, arrow);
    *receive = cross.substr(arrow + 2);
    auto known = [](const std::string& side) {
        return side.empty() || side == "Tone" || side == "DTCS";
    };
    return known(*transmit) && known(*receive) && !(transmit->empty() && receive->empty());
}

// Decode and encode of a Cross row; true when the encode tone is the row's own rather than
// the decode tone repeated.
bool ReadCross(RowReader& reader, ChannelPlan* plan) {
    std::string cross = reader.Text("CrossMode");
    if (cross.empty()) {
        if (reader.Has("CrossMode")) {
            ReportUnset(reader, "CrossMode", kDefaultCross);
        } else {
            reader.Report("Tone", kNoColumnTakenAs, {"CrossMode", kDefaultCross});
        }
        cross = kDefaultCross;
    }
    std::string transmit, receive;
    if (!CrossSides(cross, &transmit, &receive)) {
        reader.Report("CrossMode", kToneModeUnsupported, {Shown(cross)});
        return false;
    }
    const bool dcs = transmit == "DTCS" || receive == "DTCS";
    const std::string polarity = dcs ? Polarity(reader) : "NN";
    if (transmit == "Tone") {
        plan->encode = CtcssTone(reader, "rToneFreq", "cToneFreq");
    } else if (transmit == "DTCS") {
        plan->encode = DcsTone(reader, "DtcsCode", polarity[0]);
    }
    if (receive == "Tone") {
        plan->decode = CtcssTone(reader, "cToneFreq", "rToneFreq");
    } else if (receive == "DTCS") {
        plan->decode = DcsTone(reader, "RxDtcsCode", polarity[1]);
    }
    return !transmit.empty();
}

// Decode and encode of the row; true when the encode tone is the row's own.
bool ReadToneMode(RowReader& reader, const std::string& mode, ChannelPlan* plan) {
    if (mode == "Tone") {
        plan->encode = CtcssTone(reader, "rToneFreq", "cToneFreq");
        return true;
    }
    if (mode == "TSQL") {
        plan->encode = plan->decode = CtcssTone(reader, "cToneFreq", "rToneFreq");
    } else if (mode == "DTCS") {
        const std::string polarity = Polarity(reader);
        plan->encode = DcsTone(reader, "DtcsCode", polarity[0]);
        if (plan->encode != 0) {
            plan->decode = DcsTone(reader, "DtcsCode", polarity[1]);
        }
    } else if (mode == "Cross") {
        return ReadCross(reader, plan);
    } else if (!mode.empty()) {
        reader.Report("Tone", kToneModeUnsupported, {Shown(mode)});
    }
    return false;
}

std::optional<int32_t> StoredTransmit(const RowTarget& target) {
    const std::string text = target.doc.GetTransmitText(target.channel);
    if (text.empty()) {
        return std::nullopt;
    }
    return FrequencyTextToValue(text);
}

int32_t StoredReceive(const RowTarget& target) {
    return FrequencyTextToValue(target.doc.Image().GetFrequencyText(target.channel, kDecodeSide));
}

// A frequency the band holds, also after rounding to the raster.
bool Storable(int64_t value, const RowTarget& target) {
    return value >= 0 && value <= kMaxFrequencyValue && InBand(value, target.ranges) &&
           InBand(RoundToRaster(static_cast<int32_t>(value), target.doc.GetFrequencyLimits()),
                  target.ranges);
}

// The transmit frequency of the row, nullopt for none, with the text a report shows for it.
std::optional<int64_t> ReadTransmit(RowReader& reader, const RowTarget& target, int32_t receive,
                                    std::string* shown, ChannelPlan* plan) {
    if (!reader.Has("Duplex")) {
        if (!target.keep) {
            plan->defaulted |= 1u << kNoDuplex;
            return receive;
        }
        // The stored distance moves with the new receive frequency.
        std::optional<int32_t> stored = StoredTransmit(target);
        if (!stored) {
            return std::nullopt;
        }
        *shown = ShownMegahertz(int64_t{receive} + *stored - StoredReceive(target));
        return int64_t{receive} + *stored - StoredReceive(target);
    }
    const std::string duplex = reader.Text("Duplex");
    if (duplex.empty()) {
        return receive;
    }
    if (duplex == "off") {
        return std::nullopt;
    }
    if (duplex != "+" && duplex != "-" && duplex != "split") {
        reader.Report("Duplex", kDuplexUnknown, {Shown(duplex)});
        return receive;
    }
    const std::string offsetText = reader.Text("Offset");
    if (offsetText.empty()) {
        ReportUnset(reader, "Offset", "0");
        return receive;
    }
    bool truncated = false;
    std::optional<int32_t> offset = ParseMegahertz(offsetText, &truncated);
    if (!offset) {
        reader.Report("Offset", kNoTransmit, {Shown(offsetText)});
        return std::nullopt;
    }
    if (duplex == "split") {
        *shown = Shown(offsetText);
        return *offset;
    }
    const int64_t transmit =
        duplex == "+" ? int64_t{receive} + *offset : int64_t{receive} - *offset;
    *shown = transmit < 0 ? Shown(reader.Text("Frequency")) + " - " + Shown(offsetText)
                          : ShownMegahertz(transmit);
    return transmit;
}

}  // namespace

RowReader::RowReader(const CsvRecord& header, const CsvWording& wording,
                     std::vector<std::pair<int, std::string>>* losses)
    : m_Wording(wording), m_Losses(losses) {
    std::set<std::string> reported;
    for (size_t index = 0; index < header.fields.size(); ++index) {
        std::string name(::Trimmed(header.fields[index]));
        if (!m_Columns.emplace(name, index).second && !name.empty() &&
            reported.insert(name).second) {
            // Listed before every row, as it concerns every row.
            m_Losses->emplace_back(0, Worded(m_Wording, kColumnTwice, {Shown(name)}));
        }
    }
}

std::optional<std::string_view> RowReader::Cell(std::string_view column) const {
    auto found = m_Columns.find(column);
    if (found == m_Columns.end()) {
        return std::nullopt;
    }
    if (found->second >= m_Record->fields.size()) {
        return std::string_view();
    }
    return m_Record->fields[found->second];
}

std::string RowReader::Text(std::string_view column) const {
    return std::string(::Trimmed(Cell(column).value_or("")));
}

void RowReader::Report(std::string_view column, const CsvReportText& text,
                       std::initializer_list<std::string> arguments) {
    m_Losses->emplace_back(Line(), Worded(m_Wording, kLossLine,
                                          {std::to_string(Line()), std::string(column),
                                           Worded(m_Wording, text, arguments)}));
}

void RowReader::ReportStoredAs(std::string_view column, const std::string& written,
                               const std::string& stored) {
    Report(column, kStoredAs, {written, stored});
}

void RowReader::ReportRow(const std::string& text) {
    m_Losses->emplace_back(Line(), text);
}

std::string Shown(std::string_view text) {
    constexpr size_t kShownLength = 40;
    return text.size() <= kShownLength ? std::string(text)
                                       : std::string(text.substr(0, kShownLength)) + "...";
}

bool ReadFrequencies(RowReader& reader, const RowTarget& target, ChannelPlan* plan) {
    const std::string text = reader.Text("Frequency");
    bool truncated = false;
    std::optional<int32_t> receive = ParseMegahertz(text, &truncated);
    if (!receive) {
        reader.Report("Frequency", kNotFrequency, {Shown(text)});
        return false;
    }
    if (!Storable(*receive, target)) {
        reader.Report("Frequency", kOutsideBand, {Shown(text), RangesText(target.ranges)});
        return false;
    }
    plan->written = Shown(text);
    plan->truncated = truncated;
    plan->receive = *receive;
    std::string shown;
    std::optional<int64_t> transmit = ReadTransmit(reader, target, *receive, &shown, plan);
    if (transmit && !Storable(*transmit, target)) {
        reader.Report("Offset", kNoTransmit, {shown});
        transmit.reset();
    }
    if (transmit) {
        plan->transmit = static_cast<int32_t>(*transmit);
    }
    return true;
}

bool ReadMode(RowReader& reader, const RowTarget& target, ChannelPlan* plan) {
    const int stored = target.keep ? target.doc.Image().GetBandwidth(target.channel) : 0;
    if (!reader.Has("Mode")) {
        plan->bandwidth = stored;
        plan->defaulted |= target.keep ? 0 : 1u << kNoMode;
        return true;
    }
    const std::string mode = reader.Text("Mode");
    if (mode.empty()) {
        ReportUnset(reader, "Mode", "FM");
        plan->bandwidth = 0;
    } else if (mode == "FM") {
        // The format has no middle bandwidth: export writes it as FM, which must not undo it.
        plan->bandwidth = stored == 2 ? 2 : 0;
    } else if (mode == "NFM") {
        plan->bandwidth = 1;
    } else {
        reader.Report("Mode", kModeUnsupported, {Shown(mode)});
        return false;
    }
    return true;
}

void ReadTones(RowReader& reader, const RowTarget& target, ChannelPlan* plan) {
    if (!reader.Has("Tone")) {
        if (target.keep) {
            plan->decode = target.doc.Image().GetTone(target.channel, kDecodeSide);
            plan->encode = target.doc.Image().GetTone(target.channel, kEncodeSide);
        } else {
            plan->defaulted |= 1u << kNoTone;
        }
        return;
    }
    const bool ownEncode = ReadToneMode(reader, reader.Text("Tone"), plan);
    if (!plan->transmit && plan->encode != 0 && ownEncode) {
        reader.Report("Tone", kEncodeWithoutTransmit,
                      {ToneListTexts("")[static_cast<size_t>(plan->encode)]});
    }
}

FileWatts ReadFileWatts(RowReader& reader, const CsvRecord& row, FileWatts watts) {
    reader.Start(row);
    std::optional<double> value = ParseWatts(reader.Text("Power"));
    if (value) {
        watts.highest = std::max(watts.highest, *value);
        watts.radioLevelsOnly &= *value == kHighWatts || *value == kLowWatts;
    }
    return watts;
}

namespace {

void ReadScan(RowReader& reader, const RowTarget& target, ChannelPlan* plan) {
    if (!reader.Has("Skip")) {
        plan->scanAdd = !target.keep || target.doc.Image().GetScanAdd(target.channel);
        plan->defaulted |= target.keep ? 0 : 1u << kNoSkip;
        return;
    }
    const std::string skip = reader.Text("Skip");
    plan->scanAdd = skip != "S";
    if (skip == "P") {
        reader.Report("Skip", kPriorityScan, {});
    } else if (!skip.empty() && skip != "S") {
        reader.Report("Skip", kSkipUnknown, {Shown(skip)});
    }
}

// Watts map to high for the highest level in the file and low for any other, except in a
// file of the radio's own levels: an export of low channels only must not come back high.
void ReadPower(RowReader& reader, const RowTarget& target, const FileWatts& fileWatts,
               ChannelPlan* plan) {
    if (!reader.Has("Power")) {
        plan->powerHigh = !target.keep || target.doc.Image().GetPowerHigh(target.channel);
        plan->defaulted |= target.keep ? 0 : 1u << kNoPower;
        return;
    }
    const std::string text = reader.Text("Power");
    plan->powerHigh = true;
    if (text.empty()) {
        ReportUnset(reader, "Power", reader.Wording()(kHighLevel));
        return;
    }
    if (SameLetters(text, kHighText) || SameLetters(text, kLowText)) {
        plan->powerHigh = SameLetters(text, kHighText);
        return;
    }
    std::optional<double> watts = ParseWatts(text);
    plan->powerHigh =
        !watts || (fileWatts.radioLevelsOnly ? *watts == kHighWatts : *watts >= fileWatts.highest);
    const double storedWatts = plan->powerHigh ? kHighWatts : kLowWatts;
    if (!watts || *watts != storedWatts) {
        reader.ReportStoredAs("Power", Shown(text),
                              reader.Wording()(plan->powerHigh ? kHighLevel : kLowLevel));
    }
}

void ReadName(RowReader& reader, const RowTarget& target, ChannelPlan* plan) {
    std::optional<std::string_view> name = reader.Cell("Name");
    if (!name) {
        if (target.keep) {
            plan->name =
                DecodeChannelName(target.doc.Image().GetChannelNameBytes(target.channel).data());
        } else {
            plan->defaulted |= 1u << kNoName;
        }
        return;
    }
    plan->name = RadioChannelName(*name);
    if (plan->name != *name) {
        reader.ReportStoredAs("Name", Shown(*name), plan->name);
    }
}

void ReadStep(RowReader& reader, const RowTarget& target, ChannelPlan* plan) {
    if (!reader.Has("TStep")) {
        plan->step = target.keep ? target.doc.Image().GetStep(target.channel) : kDefaultStep;
        plan->defaulted |= target.keep ? 0 : 1u << kNoStep;
        return;
    }
    const std::string step = reader.Text("TStep");
    plan->step = StepIndex(step);
    if (!plan->step) {
        reader.Report("TStep", kStepUnknown, {Shown(step)});
    }
}

}  // namespace

void ReadScanPowerNameStep(RowReader& reader, const RowTarget& target, const FileWatts& watts,
                           ChannelPlan* plan) {
    ReadScan(reader, target, plan);
    ReadPower(reader, target, watts, plan);
    ReadName(reader, target, plan);
    ReadStep(reader, target, plan);
    plan->comment = !reader.Text("Comment").empty();
}
