// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/page_controls.h"

#include <QComboBox>
#include <QStringList>

void BuildPage(QWidget* page, int templateId) {
    if (!BuildFromTemplate(page, templateId)) {
        qFatal("The program has no dialog template %d.", templateId);
    }
}

void FillChoiceList(QComboBox* list, const std::vector<std::string>& entries, int selected) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries) {
        texts.append(QString::fromStdString(entry));
    }
    list->clear();
    list->addItems(texts);
    list->setCurrentIndex(selected >= 0 && selected < list->count() ? selected : -1);
}
