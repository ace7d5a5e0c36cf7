// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts (standard buttons, file and print dialogs, weekdays) in the language the
// language file names, switched with it.
#pragma once

#include <string>

// Installs Qt's translations for locale ("zh_CN") and makes it the default locale; an empty
// locale, or one starting with "en", is Qt's own English. False when Qt has no translation
// for it: the program goes on with Qt's English.
bool ApplyQtLanguage(const std::string& locale);
