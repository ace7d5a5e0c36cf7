// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool ApplyQtLanguage(const std::string& locale) {
    static QTranslator* installed = nullptr;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const QString name = QString::fromStdString(locale);
    if (name.isEmpty() || name.startsWith(QStringLiteral("en"))) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return true;
    }
    QLocale::setDefault(QLocale(name));
    auto* translator = new QTranslator;
    if (!translator->load(QStringLiteral("qtbase_") + name,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}
