// SPDX-License-Identifier: GPL-3.0-or-later
// The page's settings and languages: setting.ini as a text the page keeps in the browser's
// storage, the language files as texts it fetched, and the switches the transfer dialog has.
// This is the module's start-up, so it alone sets the program's paths.
#pragma once

#include <string>
#include <utility>

// Makes the folders and takes the shipped settings; false with the reason when it cannot.
bool StartWebModule(std::string* error);

std::string DefaultSettingsText();
// A text that is no settings file is refused and the settings stay as they were; wrong values
// are named and their defaults used, as at the desktop's start-up; used says which it was.
std::string UseSettingsText(const std::string& text, bool* used);
std::string SettingsText();

int CableType();
std::string SetCableType(int type);
bool VerifyAfterWrite();
std::string SetVerifyAfterWrite(bool on);

std::string AddLanguage(const std::string& fileName, const std::string& text);
std::string UseLanguage(const std::string& fileName);
std::string LanguageName(const std::string& fileName);
// The file name and the text of the language shown, for another module of the page to show it.
std::pair<std::string, std::string> ShownLanguage();
