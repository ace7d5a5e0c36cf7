// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/image_difference.h"

#include <algorithm>
#include <array>
#include <utility>

#include "codeplug/band_lines.h"
#include "codeplug/channel_columns.h"
#include "codeplug/ptt_id_code.h"
#include "codeplug/radio_options.h"
#include "codeplug/radiogram_codes.h"

namespace {

// Bytes an "other bytes" line spells out before it says "...".
constexpr size_t kOtherBytesShown = 16;

bool IsVfo(int index) {
    return index == kVfoF1 || index == kVfoF2;
}

ChannelRow RecordRow(const CHalvexDoc& document, int index, const ChannelTexts& texts) {
    ChannelRow row = ChannelRowTexts(document, index, texts);
    for (std::string& text : row) {
        if (text.empty()) {
            text = kBlankCellText;
        }
    }
    return row;
}

// A channel as one value: its receive frequency and, when it has one, its name.
std::string WholeChannelText(const CHalvexDoc& document, int n, const ChannelTexts& texts) {
    if (document.Image().IsChannelEmpty(n)) {
        return kUnusedChannelText;
    }
    ChannelRow row = ChannelRowTexts(document, n, texts);
    const std::string& name = row[kColumnName];
    const std::string& receive = row[kColumnReceive];
    return name.empty() ? receive : receive + " " + name;
}

ImageDifference Line(DifferenceKind kind, std::string item, std::string column, std::string first,
                     std::string second) {
    ImageDifference line;
    line.kind = kind;
    line.item = std::move(item);
    line.column = std::move(column);
    line.first = std::move(first);
    line.second = std::move(second);
    return line;
}

// Bytes of the written range that a named difference already shows.
using Shown = std::array<bool, kImageSize>;

void MarkShown(Shown* shown, size_t offset, size_t size) {
    std::fill_n(shown->begin() + static_cast<std::ptrdiff_t>(offset), size, true);
}

bool DiffRecord(const CHalvexDoc& first, const CHalvexDoc& second, int index,
                const ImageDifference& line, const ChannelTexts& texts,
                std::vector<ImageDifference>* differences) {
    const bool vfo = IsVfo(index);
    if (!vfo && first.Image().IsChannelEmpty(index) != second.Image().IsChannelEmpty(index)) {
        ImageDifference whole = line;
        whole.first = WholeChannelText(first, index, texts);
        whole.second = WholeChannelText(second, index, texts);
        differences->push_back(whole);
        return true;
    }
    if (!vfo && first.Image().IsChannelEmpty(index)) {
        return false;
    }
    ChannelRow a = RecordRow(first, index, texts);
    ChannelRow b = RecordRow(second, index, texts);
    bool differs = false;
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        // The number is the record itself.
        if (column.kind == ColumnKind::Number || (vfo && !column.vfoField)) {
            continue;
        }
        if (a[column.id] != b[column.id]) {
            ImageDifference cell = line;
            cell.column = column.name;
            cell.columnId = static_cast<int>(column.id);
            cell.first = a[column.id];
            cell.second = b[column.id];
            differences->push_back(cell);
            differs = true;
        }
    }
    return differs;
}

void DiffRecords(const CHalvexDoc& first, const CHalvexDoc& second, int channelCount,
                 const ChannelTexts& texts, Shown* shown,
                 std::vector<ImageDifference>* differences) {
    for (int n = 1; n <= kImageChannelCount; ++n) {
        ImageDifference line;
        line.kind = DifferenceKind::Channel;
        line.number = n;
        line.item = "Channel " + std::to_string(n);
        // The radio holds all of them whatever the settings show, and a write sends them all.
        if (n > channelCount) {
            line.item += " (beyond channelcount " + std::to_string(channelCount) + ")";
        }
        if (DiffRecord(first, second, n, line, texts, differences)) {
            MarkShown(shown, *RadioImage::RecordOffset(n), kRecordSize);
            MarkShown(shown, *RadioImage::ChannelNameOffset(n), kChannelNameSize);
        }
    }
    for (int vfo : {kVfoF1, kVfoF2}) {
        ImageDifference line;
        line.kind = DifferenceKind::Vfo;
        line.number = vfo == kVfoF1 ? 1 : 2;
        line.item = "VFO F" + std::to_string(line.number);
        if (DiffRecord(first, second, vfo, line, texts, differences)) {
            MarkShown(shown, *RadioImage::RecordOffset(vfo), kRecordSize);
        }
    }
}

// "136-174 MHz": the range the band words give under the settings' band lines.
std::string BandText(const CHalvexDoc& document) {
    CHalvexDoc copy(document);
    copy.ComputeFrequencyLimits();
    const FrequencyLimits& limits = copy.GetFrequencyLimits();
    constexpr int kStepsPerMegahertz = 100000;
    // The upper limit stops a 5 kHz step below the band's upper edge.
    return std::to_string(limits.m_FreqMin / kStepsPerMegahertz) + "-" +
           std::to_string((limits.m_FreqMax + 500) / kStepsPerMegahertz) + " MHz";
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
        if (shown[offset] || first.Image().bytes[offset] == second.Image().bytes[offset]) {
            ++offset;
            continue;
        }
        size_t begin = offset;
        size_t end = offset + 1;
        for (size_t next = end; next < kImageSize && next < end + kRecordSize; ++next) {
            if (!shown[next] && first.Image().bytes[next] != second.Image().bytes[next]) {
                end = next + 1;
            }
        }
        ImageDifference line =
            Line(DifferenceKind::OtherBytes, "", "", HexBytes(first.Image(), begin, end),
                 HexBytes(second.Image(), begin, end));
        line.range = Address(begin) + "-" + Address(end - 1);
        line.item = "Other bytes at " + line.range;
        differences->push_back(line);
        offset = end;
    }
}

std::string FmPresetText(int code) {
    return code >= 0 && code <= kFmHighestCode ? FmCodeText(code) : kFmEmptyPresetText;
}

}  // namespace

std::vector<ImageDifference> DiffImages(const CHalvexDoc& first, const CHalvexDoc& second,
                                        int channelCount, const ChannelTexts& texts) {
    std::vector<ImageDifference> differences;
    Shown shown{};
    DiffRecords(first, second, channelCount, texts, &shown, &differences);
    for (const RadioOptionDefinition& option : kRadioOptions) {
        int a = option.value(first.Image());
        int b = option.value(second.Image());
        if (a != b) {
            ImageDifference line = Line(DifferenceKind::Setting, "Settings", option.name,
                                        std::to_string(a), std::to_string(b));
            line.option = &option;
            line.firstValue = a;
            line.secondValue = b;
            differences.push_back(line);
            MarkShown(&shown, kOptionBase + option.byte, 1);
        }
    }
    std::string firstCode = PttIdCodeText(first.Image().GetPttIdCode());
    std::string secondCode = PttIdCodeText(second.Image().GetPttIdCode());
    if (firstCode != secondCode) {
        differences.push_back(
            Line(DifferenceKind::Setting, "Settings", "PttIdCode", firstCode, secondCode));
        MarkShown(&shown, kPttIdCodeOffset, kPttIdCodeSize);
    }
    const std::string firstBand = BandText(first);
    const std::string secondBand = BandText(second);
    if (firstBand != secondBand) {
        differences.push_back(
            Line(DifferenceKind::Band, "Frequency range", "", firstBand, secondBand));
        MarkShown(&shown, kBandWordOffset, kBandWordsSize);
    }
    for (int k = 1; k <= kFmPresetCount; ++k) {
        std::string a = FmPresetText(first.Image().GetWord(kFmPresetBase, k));
        std::string b = FmPresetText(second.Image().GetWord(kFmPresetBase, k));
        if (a != b) {
            ImageDifference line =
                Line(DifferenceKind::FmPreset, "FM preset " + std::to_string(k), "Frequency", a, b);
            line.number = k;
            differences.push_back(line);
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
