// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/language_dialog.h"

#include <QComboBox>

#include "common/message_box.h"
#include "common/relabel.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "config/language_files.h"

CLanguageDlg::CLanguageDlg(QWidget* parent, std::function<void()> applyLanguage)
    : TemplateDialog(kLanguageTemplate, parent), m_ApplyLanguage(std::move(applyLanguage)) {
    RelabelDialog(this, kLanguageTemplate);
    auto* list = FindControl<QComboBox>(this, kLanguageListId);
    list->setCurrentIndex(-1);
    QString current;
    for (const LanguageChoice& choice : ListLanguageChoices(g_DataDirs)) {
        QString name = QString::fromStdString(choice.displayName);
        AddListEntry(list, name);
        if (SameLanguagePath(choice.path, g_LanguagePath)) {
            current = name;
        }
    }
    list->setCurrentIndex(current.isNull() ? -1 : list->findText(current));
}

void CLanguageDlg::accept() {
    auto* list = FindControl<QComboBox>(this, kLanguageListId);
    if (list->currentIndex() >= 0) {
        std::optional<std::string> path =
            FindLanguageByDisplayName(g_DataDirs, list->currentText().toStdString());
        std::string error;
        if (path && !SelectLanguageFile(*path, &error)) {
            MessageBox::Show(this, error, LoadLangString("IDS_ERROR"), MessageIcon::Exclamation,
                             MessageButtons::Ok);
        }
        m_ApplyLanguage();
    }
    TemplateDialog::accept();
}
