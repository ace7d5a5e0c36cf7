// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/image_difference.h"

#include <algorithm>
#include <array>

#include "codeplug/channel_columns.h"
#include "codeplug/radio_options.h"
#include "editors/ptt_id_code.h"
#include "editors/radiogram_codes.h"

namespace {

constexpr const char* kUnused = "-";
// A used channel's empty cell (no transmit side, no name) must not read as nothing at all.
constexpr const char* kBlank = "(none)";
// Bytes an "other bytes" line spells out before it says "...".
constexpr size_t kOtherBytesShown = 16;

ChannelRow RecordRow(const CHalvexDoc& document, int index) {
    if (index != kVfoF1 && index != kVfoF2 && document.IsChannelEmpty(index)) {
        ChannelRow row;
        row.fill(kUnused);
        return row;
    }
    ChannelRow row = ChannelRowTexts(document, index, EnglishChannelTexts());
    for (std::string& text : row) {
        if (text.empty()) {
            text = kBlank;
        }
    }
    return row;
}

// Bytes of the written range that a named difference already shows.
using Shown = std::array<bool, kImageSize>;

void MarkShown(Shown* shown, size_t offset, size_t size) {
    std::fill_n(shown->begin() + static_cast<std::ptrdiff_t>(offset), size, true);
}

bool DiffRecord(const CHalvexDoc& first, const CHalvexDoc& second, int index,
                const std::string& item, std::vector<ImageDifference>* differences) {
    ChannelRow a = RecordRow(first, index);
    ChannelRow b = RecordRow(second, index);
    const bool vfo = index == kVfoF1 || index == kVfoF2;
    bool differs = false;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        // The number is the record itself; a VFO has no name.
        if (column.kind == ColumnKind::Number || (vfo && column.kind == ColumnKind::Name)) {
            continue;
        }
        if (a[column.id] != b[column.id]) {
            differences->push_back({item, column.name, a[column.id], b[column.id]});
            differs = true;
        }
    }
    return differs;
}

void DiffRecords(const CHalvexDoc& first, const CHalvexDoc& second, int channelCount, Shown* shown,
                 std::vector<ImageDifference>* differences) {
    for (int n = 1; n <= kImageChannelCount; ++n) {
        std::string item = "Channel " + std::to_string(n);
        // The radio holds all of them whatever the settings show, and a write sends them all.
        if (n > channelCount) {
            item += " (beyond channelcount " + std::to_string(channelCount) + ")";
        }
        if (DiffRecord(first, second, n, item, differences)) {
            MarkShown(shown, kChannelRecordBase + kRecordSize * static_cast<size_t>(n),
                      kRecordSize);
            MarkShown(shown, kChannelNameBase + kChannelNameSize * static_cast<size_t>(n - 1),
                      kChannelNameSize);
        }
    }
    if (DiffRecord(first, second, kVfoF1, "VFO F1", differences)) {
        MarkShown(shown, kVfoF1Offset, kRecordSize);
    }
    if (DiffRecord(first, second, kVfoF2, "VFO F2", differences)) {
        MarkShown(shown, kVfoF2Offset, kRecordSize);
    }
}

std::string HexBytes(const RadioImage& image, size_t begin, size_t end) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t offset = begin; offset < end && offset < begin + kOtherBytesShown; ++offset) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[image.bytes[offset] >> 4];
        text += kDigits[image.bytes[offset] & 0x0F];
    }
    return end - begin > kOtherBytesShown ? text + " ..." : text;
}

std::string Address(size_t offset) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += kDigits[offset >> shift & 0x0F];
    }
    return text;
}

// Every written byte that differs and no named line shows, in runs; runs closer than a block
// are one line, so scattered bytes do not flood the list.
void DiffOtherBytes(const CHalvexDoc& first, const CHalvexDoc& second, const Shown& shown,
                    std::vector<ImageDifference>* differences) {
    size_t offset = kCloneBegin;
    while (offset < kImageSize) {
        if (shown[offset] || first.bytes[offset] == second.bytes[offset]) {
            ++offset;
            continue;
        }
        size_t begin = offset;
        size_t end = offset + 1;
        for (size_t next = end; next < kImageSize && next < end + kRecordSize; ++next) {
            if (!shown[next] && first.bytes[next] != second.bytes[next]) {
                end = next + 1;
            }
        }
        differences->push_back({"Other bytes at " + Address(begin) + "-" + Address(end - 1), "",
                                HexBytes(first, begin, end), HexBytes(second, begin, end)});
        offset = end;
    }
}

std::string FmPresetText(int code) {
    return code >= 0 && code <= kFmHighestCode ? FmCodeText(code) : kFmEmptyPresetText;
}

}  // namespace

std::vector<ImageDifference> DiffImages(const CHalvexDoc& first, const CHalvexDoc& second,
                                        int channelCount) {
    std::vector<ImageDifference> differences;
    Shown shown{};
    DiffRecords(first, second, channelCount, &shown, &differences);
    for (const RadioOptionDefinition& option : kRadioOptions) {
        int a = option.value(first);
        int b = option.value(second);
        if (a != b) {
            differences.push_back({"Settings", option.name, std::to_string(a), std::to_string(b)});
            MarkShown(&shown, kOptionBase + option.byte, 1);
        }
    }
    std::string firstCode = PttIdCodeText(first.GetPttIdCode());
    std::string secondCode = PttIdCodeText(second.GetPttIdCode());
    if (firstCode != secondCode) {
        differences.push_back({"Settings", "PttIdCode", firstCode, secondCode});
        MarkShown(&shown, kPttIdCodeOffset, kPttIdCodeSize);
    }
    for (int k = 1; k <= kFmPresetCount; ++k) {
        std::string a = FmPresetText(first.GetWord(kFmPresetBase, k));
        std::string b = FmPresetText(second.GetWord(kFmPresetBase, k));
        if (a != b) {
            differences.push_back({"FM preset " + std::to_string(k), "Frequency", a, b});
            MarkShown(&shown, kFmPresetBase + 2 * static_cast<size_t>(k - 1), 2);
        }
    }
    DiffOtherBytes(first, second, shown, &differences);
    return differences;
}

std::string DifferenceLine(const ImageDifference& difference) {
    std::string place =
        difference.column.empty() ? difference.item : difference.item + ", " + difference.column;
    return place + ": " + difference.first + " -> " + difference.second;
}
