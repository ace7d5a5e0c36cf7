// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/channel_rows.h"

#include <cstddef>

#include "platform/csv_text.h"

namespace {

const char* OnOff(bool on) {
    return on ? "On" : "Off";
}

std::string ToneText(int index, const std::vector<std::string>& toneTexts) {
    size_t position = static_cast<size_t>(index);
    return index >= 0 && position < toneTexts.size() ? toneTexts[position] : std::string();
}

}  // namespace

const ChannelRow& ChannelRowHeader() {
    static const ChannelRow header = {"Channel", "Receive",   "Decode",    "Transmit", "Encode",
                                      "Power",   "BCL",       "Bandwidth", "ScanAdd",  "Reverse",
                                      "PttId",   "Compander", "Name"};
    return header;
}

ChannelRow ChannelRowTexts(const CHalvexDoc& document, int n,
                           const std::vector<std::string>& toneTexts) {
    static const char* const kBandwidthTexts[] = {"Wide", "Narrow", "Middle"};
    int bandwidth = document.GetBandwidth(n);
    std::array<uint8_t, kChannelNameSize> name = document.GetChannelNameBytes(n);
    return {std::to_string(n),
            document.GetFrequencyText(n, kDecodeSide),
            ToneText(document.GetTone(n, kDecodeSide), toneTexts),
            document.GetTransmitText(n),
            document.IsTxAbsent(n) ? std::string()
                                   : ToneText(document.GetTone(n, kEncodeSide), toneTexts),
            document.GetPowerHigh(n) ? "High" : "Low",
            OnOff(document.GetBcl(n)),
            kBandwidthTexts[bandwidth >= 0 && bandwidth <= 2 ? bandwidth : 0],
            OnOff(document.GetScanAdd(n)),
            OnOff(document.GetReverse(n)),
            OnOff(document.GetPttId(n)),
            OnOff(document.GetCompander(n)),
            DecodeChannelName(name.data())};
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
