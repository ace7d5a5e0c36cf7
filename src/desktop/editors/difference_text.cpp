// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/difference_text.h"

#include "codeplug/document.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_grid.h"
#include "editors/function_options.h"
#include "editors/function_page.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/vfo_page_ids.h"

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The core's own words for an unused channel and an empty cell, in the language.
QString Value(const std::string& value) {
    if (value == kUnusedChannelText) {
        return LangText("IDS_DIFF_UNUSED");
    }
    if (value == kBlankCellText) {
        return LangText("IDS_DIFF_BLANK");
    }
    return Text(value);
}

QString Item(const ImageDifference& difference) {
    const QString number = QString::number(difference.number);
    switch (difference.kind) {
        case DifferenceKind::Channel:
            return difference.item.find('(') == std::string::npos
                       ? LangText("IDS_DIFF_CHANNEL", {number})
                       : LangText("IDS_DIFF_CHANNEL_BEYOND", {number});
        case DifferenceKind::Vfo:
            return ControlLabel(difference.number == 1 ? kVfoF1GroupId : kVfoF2GroupId);
        case DifferenceKind::Setting:
            return LangText("IDS_FUNCTION");
        case DifferenceKind::FmPreset:
            return LangText("IDS_DIFF_FM_PRESET", {number});
        case DifferenceKind::Band:
            return LangText("IDS_DIFF_BAND");
        case DifferenceKind::OtherBytes:
            break;
    }
    return LangText("IDS_DIFF_OTHER_BYTES", {Text(difference.range)});
}

QString Column(const ImageDifference& difference) {
    if (difference.columnId >= 0) {
        return LoadChannelHeader(difference.columnId).simplified();
    }
    if (difference.kind != DifferenceKind::Setting) {
        return {};
    }
    return ControlLabel(difference.option != nullptr ? OptionControlId(*difference.option)
                                                     : kPttIdCodeId);
}

}  // namespace

std::vector<ImageDifference> DiffImagesInLanguage(const CHalvexDoc& first,
                                                  const CHalvexDoc& second) {
    return DiffImages(first, second, first.GetChannelCount(), LoadChannelCellTexts());
}

std::string DifferenceText(const ImageDifference& difference) {
    QString place = Item(difference);
    const QString column = Column(difference);
    if (!column.isEmpty()) {
        place = LangText("IDS_DIFF_PLACE", {place, column});
    }
    QString first = Value(difference.first);
    QString second = Value(difference.second);
    if (difference.kind == DifferenceKind::Setting && difference.option != nullptr) {
        first = Text(OptionItemText(*difference.option, difference.firstValue));
        second = Text(OptionItemText(*difference.option, difference.secondValue));
    }
    return LangText("IDS_DIFF_LINE", {place, first, second}).toStdString();
}
