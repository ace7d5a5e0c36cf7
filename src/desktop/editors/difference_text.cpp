// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/difference_text.h"

#include "codeplug/document.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_grid.h"

std::vector<ImageDifference> DiffImagesInLanguage(const CHalvexDoc& first,
                                                  const CHalvexDoc& second) {
    return DiffImages(first, second, first.GetChannelCount(), LoadChannelCellTexts());
}

DifferenceWording LanguageDifferenceWording() {
    return {
        .text = [](const char* key) { return LoadLangString(key); },
        .list = [](const char* section) { return LoadLangList(section); },
        .controlLabel = [](int id) { return ControlLabel(id).toStdString(); },
        .columnHeader =
            [](int column) { return LoadChannelHeader(column).simplified().toStdString(); },
    };
}

std::string DifferenceText(const ImageDifference& difference) {
    return DifferenceText(difference, LanguageDifferenceWording());
}
