// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <set>

#include "codeplug/document.h"
#include "editors/channel_commit.h"
#include "editors/channel_csv.h"
#include "editors/channel_csv_values.h"
#include "platform/csv_text.h"

namespace {

constexpr CsvReportText kMiddleAsWide = {"IDS_CSV_MIDDLE_AS_FM",
                                         "channel %1: middle bandwidth written as FM"};
constexpr CsvReportText kNotCarried = {"IDS_CSV_NOT_CARRIED",
                                       "channel %1: %2 on is not carried by the CSV format"};

constexpr CsvReportText kCrossNeedsColumn = {
    "IDS_CSV_CROSS_NOTE",
    "channel %1: tones %2 need the CrossMode column, which older readers lack"};

constexpr const char* kDefaultCtcss = "88.5";
constexpr const char* kDefaultDcs = "023";

enum class ToneKind { None, Ctcss, Dcs };

ToneKind KindOf(int tone) {
    if (tone >= 1 && tone < kFirstDcsTone) {
        return ToneKind::Ctcss;
    }
    return tone >= kFirstDcsTone ? ToneKind::Dcs : ToneKind::None;
}

char Polarity(int tone) {
    return tone >= kFirstInvertedDcsTone ? 'R' : 'N';
}

struct ToneColumns {
    std::string mode, rTone = kDefaultCtcss, cTone = kDefaultCtcss, dcs = kDefaultDcs;
    std::string polarity = "NN", rxDcs = kDefaultDcs, cross = "Tone->Tone";
};

// The format's tone modes for an encode and a decode tone: the plain modes wherever they
// carry the pair, since readers without the CrossMode column take Cross as Tone->Tone; Cross
// only for the pairs nothing else can carry.
ToneColumns ToneColumnsOf(int encode, int decode, bool transmits) {
    ToneColumns columns;
    ToneKind transmit = KindOf(encode);
    const ToneKind receive = KindOf(decode);
    if (transmit == ToneKind::None && receive == ToneKind::None) {
        return columns;
    }
    columns.polarity = {Polarity(encode), Polarity(decode)};
    // Without transmit a decode tone alone is the plain mode's tone both ways.
    if (!transmits && transmit == ToneKind::None) {
        encode = decode;
        transmit = receive;
        columns.polarity[0] = columns.polarity[1];
    }
    if (transmit == ToneKind::Ctcss) {
        columns.rTone = CtcssText(encode);
    }
    if (receive == ToneKind::Ctcss) {
        columns.cTone = CtcssText(decode);
    }
    if (transmit == ToneKind::Dcs) {
        columns.dcs = DcsText(encode);
    }
    if (transmit == ToneKind::Ctcss && receive == ToneKind::None) {
        columns.mode = "Tone";
    } else if (transmit == ToneKind::Ctcss && encode == decode) {
        columns.mode = "TSQL";
    } else if (transmit == ToneKind::Dcs && receive == ToneKind::Dcs &&
               DcsText(encode) == DcsText(decode)) {
        columns.mode = "DTCS";
    } else {
        columns.mode = "Cross";
        if (receive == ToneKind::Dcs) {
            columns.rxDcs = DcsText(decode);
        }
        auto side = [](ToneKind kind) -> std::string {
            return kind == ToneKind::Ctcss ? "Tone" : kind == ToneKind::Dcs ? "DTCS" : "";
        };
        columns.cross = side(transmit) + "->" + side(receive);
    }
    return columns;
}

// Duplex and Offset: +/- the distance, or off for a channel without transmit frequency.
std::array<std::string, 2> DuplexColumns(const CHalvexDoc& doc, int n) {
    const std::string transmitText = doc.GetTransmitText(n);
    if (transmitText.empty()) {
        return {"off", FormatMegahertz(0)};
    }
    const int64_t receive = FrequencyTextToValue(doc.Image().GetFrequencyText(n, kDecodeSide));
    const int64_t transmit = FrequencyTextToValue(transmitText);
    if (transmit == receive) {
        return {"", FormatMegahertz(0)};
    }
    if (transmit > receive) {
        return {"+", FormatMegahertz(static_cast<int32_t>(transmit - receive))};
    }
    return {"-", FormatMegahertz(static_cast<int32_t>(receive - transmit))};
}

void NoteUncarried(const CHalvexDoc& doc, int n, const CsvWording& wording,
                   std::vector<std::string>* notes) {
    if (doc.Image().GetBandwidth(n) == 2) {
        notes->push_back(Worded(wording, kMiddleAsWide, {std::to_string(n)}));
    }
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        if (column.kind == ColumnKind::Choice && column.csvColumns.empty() &&
            column.value(doc.Image(), n) == 1) {
            notes->push_back(Worded(wording, kNotCarried, {std::to_string(n), column.title}));
        }
    }
}

std::string Line(const std::vector<std::string>& fields, char separator = ',') {
    std::string line;
    for (size_t index = 0; index < fields.size(); ++index) {
        if (index > 0) {
            line.push_back(separator);
        }
        line += QuoteCsvField(fields[index], separator);
    }
    return line + "\r\n";
}

}  // namespace

const CsvReportText kNoChannelsToExport = {"IDS_CSV_NOTHING_TO_EXPORT", "no channels to export"};

bool HasChannelsToExport(const CHalvexDoc& doc, int channelCount) {
    for (int n = 1; n <= std::min(channelCount, kImageChannelCount); ++n) {
        if (!doc.Image().IsChannelEmpty(n)) {
            return true;
        }
    }
    return false;
}

std::string ExportChannelCsv(const CHalvexDoc& doc, int channelCount, const CsvWording& wording,
                             std::vector<std::string>* notes) {
    std::vector<int> channels;
    for (int n = 1; n <= std::min(channelCount, kImageChannelCount); ++n) {
        channels.push_back(n);
    }
    return ExportChannelCsvRows(doc, channels, wording, notes);
}

std::string ExportChannelCsvRows(const CHalvexDoc& doc, const std::vector<int>& channels,
                                 const CsvWording& wording, std::vector<std::string>* notes,
                                 char separator) {
    std::string csv = Line({std::begin(kCsvColumns), std::end(kCsvColumns)}, separator);
    for (int n : std::set<int>(channels.begin(), channels.end())) {
        if (n < 1 || n > kImageChannelCount || doc.Image().IsChannelEmpty(n)) {
            continue;
        }
        const auto name = doc.Image().GetChannelNameBytes(n);
        const std::array<std::string, 2> duplex = DuplexColumns(doc, n);
        const ToneColumns tones =
            ToneColumnsOf(doc.Image().GetTone(n, kEncodeSide), doc.Image().GetTone(n, kDecodeSide),
                          duplex[0] != "off");
        csv += Line(
            {std::to_string(n),
             DecodeChannelName(name.data()),
             FormatMegahertz(FrequencyTextToValue(doc.Image().GetFrequencyText(n, kDecodeSide))),
             duplex[0],
             duplex[1],
             tones.mode,
             tones.rTone,
             tones.cTone,
             tones.dcs,
             tones.polarity,
             tones.rxDcs,
             tones.cross,
             doc.Image().GetBandwidth(n) == 1 ? "NFM" : "FM",
             StepText(doc.Image().GetStep(n)),
             doc.Image().GetScanAdd(n) ? "" : "S",
             doc.Image().GetPowerHigh(n) ? "5.0W" : "1.0W",
             "",
             "",
             "",
             "",
             ""},
            separator);
        NoteUncarried(doc, n, wording, notes);
        if (tones.mode == "Cross" && tones.cross != "Tone->Tone") {
            notes->push_back(Worded(wording, kCrossNeedsColumn, {std::to_string(n), tones.cross}));
        }
    }
    return csv;
}
