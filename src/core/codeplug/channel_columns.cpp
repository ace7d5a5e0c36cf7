// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/channel_columns.h"

#include <cstddef>

#include "platform/csv_text.h"

namespace {

constexpr ColumnText kOffText = {"IDS_OFF", "Off"};
constexpr ColumnText kSwitchTexts[] = {kOffText, {"IDS_ON", "On"}};
constexpr ColumnText kPowerTexts[] = {{"IDS_LOW", "Low"}, {"IDS_HIGH", "High"}};
constexpr ColumnText kBandwidthTexts[] = {
    {"IDS_WIDE", "Wide"}, {"IDS_NARROW", "Narrow"}, {"IDS_MIDDLE", "Middle"}};

constexpr const char* kLocationCsv[] = {"Location"};
constexpr const char* kReceiveCsv[] = {"Frequency"};
constexpr const char* kDecodeCsv[] = {"Tone",         "cToneFreq",  "DtcsCode",
                                      "DtcsPolarity", "RxDtcsCode", "CrossMode"};
constexpr const char* kTransmitCsv[] = {"Duplex", "Offset"};
constexpr const char* kEncodeCsv[] = {"Tone", "rToneFreq", "DtcsCode", "DtcsPolarity", "CrossMode"};
constexpr const char* kPowerCsv[] = {"Power"};
constexpr const char* kModeCsv[] = {"Mode"};
constexpr const char* kSkipCsv[] = {"Skip"};
constexpr const char* kNameCsv[] = {"Name"};

int Bit(bool on) {
    return on ? 1 : 0;
}

constexpr ChannelColumnDefinition Choice(ChannelColumn id, const char* headerKey, const char* name,
                                         const char* title, int width, HeaderWrap wrap,
                                         std::span<const ColumnText> choices,
                                         int (*value)(const RadioImage&, int),
                                         void (*store)(RadioImage&, int, int),
                                         std::span<const char* const> csvColumns = {}) {
    return {id,      headerKey, name,    title, ColumnKind::Choice, kDecodeSide, width, wrap,
            choices, value,     nullptr, store, csvColumns,         true};
}

constexpr ChannelColumnDefinition Shown(ChannelColumn id, const char* headerKey, const char* name,
                                        ColumnKind kind, RecordSide side, int width,
                                        HeaderWrap wrap, int (*value)(const RadioImage&, int),
                                        std::string (*text)(const CHalvexDoc&, int),
                                        std::span<const char* const> csvColumns, bool vfoField) {
    return {id,   headerKey, name,  name, kind,    side,       width,
            wrap, {},        value, text, nullptr, csvColumns, vfoField};
}

}  // namespace

constexpr std::array<ChannelColumnDefinition, kChannelColumnCount> kChannelColumns = {
    Shown(
        kColumnNumber, "IDS_ChText0", "Channel", ColumnKind::Number, kDecodeSide, 40,
        HeaderWrap::Never, nullptr, [](const CHalvexDoc&, int n) { return std::to_string(n); },
        kLocationCsv, false),
    Shown(
        kColumnReceive, "IDS_ChText1", "Receive", ColumnKind::Frequency, kDecodeSide, 75,
        HeaderWrap::Always, nullptr,
        [](const CHalvexDoc& doc, int n) { return doc.Image().GetFrequencyText(n, kDecodeSide); },
        kReceiveCsv, true),
    Shown(
        kColumnDecode, "IDS_ChText2", "Decode", ColumnKind::Tone, kDecodeSide, 65,
        HeaderWrap::Always,
        [](const RadioImage& image, int n) { return image.GetTone(n, kDecodeSide); }, nullptr,
        kDecodeCsv, true),
    Shown(
        kColumnTransmit, "IDS_ChText3", "Transmit", ColumnKind::Frequency, kEncodeSide, 75,
        HeaderWrap::Always, nullptr,
        [](const CHalvexDoc& doc, int n) { return doc.GetTransmitText(n); }, kTransmitCsv, true),
    // Without a transmit frequency there is no encode tone to show.
    Shown(
        kColumnEncode, "IDS_ChText4", "Encode", ColumnKind::Tone, kEncodeSide, 65,
        HeaderWrap::Always,
        [](const RadioImage& image, int n) {
            return image.IsTxAbsent(n) ? -1 : image.GetTone(n, kEncodeSide);
        },
        nullptr, kEncodeCsv, true),
    Choice(
        kColumnPower, "IDS_ChText5", "Power", "Power", 58, HeaderWrap::Never, kPowerTexts,
        [](const RadioImage& image, int n) { return Bit(image.GetPowerHigh(n)); },
        [](RadioImage& image, int n, int value) { image.SetPowerHigh(n, value == 1); }, kPowerCsv),
    Choice(
        kColumnBcl, "IDS_ChText6", "BCL", "BCL", 52, HeaderWrap::Never, kSwitchTexts,
        [](const RadioImage& image, int n) { return Bit(image.GetBcl(n)); },
        [](RadioImage& image, int n, int value) { image.SetBcl(n, value == 1); }),
    Choice(
        kColumnBandwidth, "IDS_ChText7", "Bandwidth", "Bandwidth", 55, HeaderWrap::Never,
        kBandwidthTexts, [](const RadioImage& image, int n) { return image.GetBandwidth(n); },
        [](RadioImage& image, int n, int value) { image.SetBandwidth(n, value); }, kModeCsv),
    Choice(
        kColumnScanAdd, "IDS_ChText8", "ScanAdd", "Scan Add", 68, HeaderWrap::Never, kSwitchTexts,
        [](const RadioImage& image, int n) { return Bit(image.GetScanAdd(n)); },
        [](RadioImage& image, int n, int value) { image.SetScanAdd(n, value == 1); }, kSkipCsv),
    Choice(
        kColumnReverse, "IDS_ChText9", "Reverse", "Reverse", 65, HeaderWrap::InEnglish,
        kSwitchTexts, [](const RadioImage& image, int n) { return Bit(image.GetReverse(n)); },
        [](RadioImage& image, int n, int value) { image.SetReverse(n, value == 1); }),
    Choice(
        kColumnPttId, "IDS_ChText10", "PttId", "PTT ID", 55, HeaderWrap::Never, kSwitchTexts,
        [](const RadioImage& image, int n) { return Bit(image.GetPttId(n)); },
        [](RadioImage& image, int n, int value) { image.SetPttId(n, value == 1); }),
    Choice(
        kColumnCompander, "IDS_ChText11", "Compander", "Compander", 72, HeaderWrap::Never,
        kSwitchTexts, [](const RadioImage& image, int n) { return Bit(image.GetCompander(n)); },
        [](RadioImage& image, int n, int value) { image.SetCompander(n, value == 1); }),
    Shown(
        kColumnName, "IDS_ChText12", "Name", ColumnKind::Name, kDecodeSide, 50, HeaderWrap::Never,
        nullptr,
        [](const CHalvexDoc& doc, int n) {
            return DecodeChannelName(doc.Image().GetChannelNameBytes(n).data());
        },
        kNameCsv, false),
};

namespace {

constexpr bool InIdOrder() {
    for (int column = 0; column < kChannelColumnCount; ++column) {
        if (kChannelColumns[static_cast<size_t>(column)].id != column) {
            return false;
        }
    }
    return true;
}
static_assert(InIdOrder(), "a column's place in the table is its id");

std::string ItemText(const std::vector<std::string>& items, int index) {
    return index >= 0 && static_cast<size_t>(index) < items.size()
               ? items[static_cast<size_t>(index)]
               : std::string();
}

}  // namespace

int ChoiceValue(const RadioImage& image, int n, int column) {
    if (column < 0 || column >= kChannelColumnCount) {
        return 0;
    }
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    return definition.kind == ColumnKind::Choice ? definition.value(image, n) : 0;
}

ChannelTexts WordedChannelTexts(const std::function<std::string(const ColumnText&)>& wording) {
    ChannelTexts texts;
    texts.tones = ToneListTexts(wording(kOffText));
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        for (const ColumnText& choice : column.choices) {
            texts.choices[column.id].push_back(wording(choice));
        }
    }
    return texts;
}

const ChannelTexts& EnglishChannelTexts() {
    static const ChannelTexts texts =
        WordedChannelTexts([](const ColumnText& text) { return std::string(text.english); });
    return texts;
}

const ChannelRow& ChannelRowHeader() {
    static const ChannelRow header = [] {
        ChannelRow names;
        for (const ChannelColumnDefinition& column : kChannelColumns) {
            names[column.id] = column.name;
        }
        return names;
    }();
    return header;
}

ChannelRow ChannelRowTexts(const CHalvexDoc& document, int n, const ChannelTexts& texts) {
    ChannelRow row;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        switch (column.kind) {
            case ColumnKind::Tone:
                row[column.id] = ItemText(texts.tones, column.value(document.Image(), n));
                break;
            case ColumnKind::Choice:
                row[column.id] =
                    ItemText(texts.choices[column.id], column.value(document.Image(), n));
                break;
            default:
                row[column.id] = column.text(document, n);
                break;
        }
    }
    return row;
}

std::string CsvLine(const ChannelRow& row) {
    std::string line;
    for (size_t column = 0; column < row.size(); ++column) {
        if (column > 0) {
            line += ',';
        }
        line += QuoteCsvField(row[column]);
    }
    return line;
}
