// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/clamp_note.h"

#include "config/language.h"

QString ClampNote(const std::optional<FrequencyClamp>& clamp) {
    if (!clamp) {
        return QString();
    }
    // %1 the entry, %2 and %3 the band's limits, %4 what was stored.
    const char* key = clamp->above ? "IDS_CLAMP_HIGH" : "IDS_CLAMP_LOW";
    return QString::fromStdString(LoadLangString(key))
        .arg(QString::fromStdString(clamp->entry), QString::fromStdString(clamp->lowest),
             QString::fromStdString(clamp->highest), QString::fromStdString(clamp->stored));
}
