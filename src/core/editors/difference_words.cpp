// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/difference_words.h"

#include "codeplug/radio_options.h"
#include "editors/function_options.h"
#include "editors/page_words.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/vfo_page_ids.h"

namespace {

std::string Value(const std::string& value, const DifferenceWording& wording) {
    if (value == kUnusedChannelText) {
        return wording.text("IDS_DIFF_UNUSED");
    }
    if (value == kBlankCellText) {
        return wording.text("IDS_DIFF_BLANK");
    }
    return value;
}

std::string Item(const ImageDifference& difference, const DifferenceWording& wording) {
    const std::string number = std::to_string(difference.number);
    switch (difference.kind) {
        case DifferenceKind::Channel:
            return FillPlaces(wording.text(difference.item.find('(') == std::string::npos
                                               ? "IDS_DIFF_CHANNEL"
                                               : "IDS_DIFF_CHANNEL_BEYOND"),
                              {number});
        case DifferenceKind::Vfo:
            return wording.controlLabel(difference.number == 1 ? kVfoF1GroupId : kVfoF2GroupId);
        case DifferenceKind::Setting:
            return wording.text("IDS_FUNCTION");
        case DifferenceKind::FmPreset:
            return FillPlaces(wording.text("IDS_DIFF_FM_PRESET"), {number});
        case DifferenceKind::Band:
            return wording.text("IDS_DIFF_BAND");
        case DifferenceKind::OtherBytes:
            break;
    }
    return FillPlaces(wording.text("IDS_DIFF_OTHER_BYTES"), {difference.range});
}

std::string Column(const ImageDifference& difference, const DifferenceWording& wording) {
    if (difference.columnId >= 0) {
        return wording.columnHeader(difference.columnId);
    }
    if (difference.kind != DifferenceKind::Setting) {
        return {};
    }
    return wording.controlLabel(difference.option != nullptr ? OptionControlId(*difference.option)
                                                             : kPttIdCodeId);
}

}  // namespace

std::string OptionItemWords(const RadioOptionDefinition& option, int index,
                            const DifferenceWording& wording) {
    if (option.kind == OptionChoices::Switch) {
        return wording.text(index != 0 ? "IDS_ON" : "IDS_OFF");
    }
    const std::vector<std::string> entries = OptionEntries(option, {wording.text, wording.list});
    return index >= 0 && index < static_cast<int>(entries.size())
               ? entries[static_cast<size_t>(index)]
               : std::to_string(index);
}

std::string DifferenceText(const ImageDifference& difference, const DifferenceWording& wording) {
    std::string place = Item(difference, wording);
    const std::string column = Column(difference, wording);
    if (!column.empty()) {
        place = FillPlaces(wording.text("IDS_DIFF_PLACE"), {place, column});
    }
    std::string first = Value(difference.first, wording);
    std::string second = Value(difference.second, wording);
    if (difference.kind == DifferenceKind::Setting && difference.option != nullptr) {
        first = OptionItemWords(*difference.option, difference.firstValue, wording);
        second = OptionItemWords(*difference.option, difference.secondValue, wording);
    }
    return FillPlaces(wording.text("IDS_DIFF_LINE"), {place, first, second});
}

std::vector<ImageDifference> ImportDifferences(const CHalvexDoc& document,
                                               const std::array<uint8_t, kPgmHeaderSize>& header,
                                               const std::array<uint8_t, kImageSize>& image,
                                               const ChannelTexts& texts) {
    CHalvexDoc current(document);
    current.EditImage().PrepareImage();
    CHalvexDoc imported(document);
    imported.SetHeader(header);
    imported.EditImage().bytes = image;
    for (size_t offset = 0; offset < kImageSize; ++offset) {
        if (current.Image().IsDerivedByte(offset) || imported.Image().IsDerivedByte(offset)) {
            imported.EditImage().bytes[offset] = current.Image().bytes[offset];
        }
    }
    return DiffImages(current, imported, document.GetChannelCount(), texts);
}
