// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "config/app_globals.h"
#include "config/setting_definitions.h"
#include "support/profile_test_files.h"
#include "support/program_globals.h"

namespace {

// The locale decides the default language; pin it for each case and restore it afterwards.
class LocaleGuard {
public:
    LocaleGuard() {
        for (int index = 0; index < 3; ++index) {
            const char* value = std::getenv(kNames[index]);
            m_Saved[index] = value != nullptr ? value : "";
            m_WasSet[index] = value != nullptr;
        }
    }
    ~LocaleGuard() {
        for (int index = 0; index < 3; ++index) {
            if (m_WasSet[index]) {
                setenv(kNames[index], m_Saved[index].c_str(), 1);
            } else {
                unsetenv(kNames[index]);
            }
        }
    }
    void Set(const char* lcAll, const char* lang) {
        unsetenv("LC_MESSAGES");
        SetOrUnset("LC_ALL", lcAll);
        SetOrUnset("LANG", lang);
    }

private:
    static void SetOrUnset(const char* name, const char* value) {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string m_Saved[3];
    bool m_WasSet[3] = {};
};

TEST(StartupSettings, MissingSettingsFileEndsStartUp) {
    halvex::test::TempFolder directory;
    std::string error;
    EXPECT_FALSE(LoadStartupSettings(directory.Path(), &error));
    EXPECT_EQ(error, "Can not find the file setting.ini!");

    ASSERT_EQ(mkdir(directory.File("setting.ini").c_str(), 0755), 0);
    error.clear();
    EXPECT_FALSE(LoadStartupSettings(directory.Path(), &error));
    EXPECT_EQ(error, "Can not find the file setting.ini!");
}

TEST(StartupSettings, EmptyFileTakesTheLanguageOfTheLocale) {
    struct LocaleCase {
        const char* lcAll;
        const char* lang;
        const char* language;
    };
    const LocaleCase cases[] = {
        {nullptr, "zh_CN.UTF-8", "chinese"},
        {nullptr, "zh_CN", "chinese"},
        {nullptr, "zh_CN.GB18030", "chinese"},
        {nullptr, "zh_SG.UTF-8", "chinese"},
        {nullptr, "zh_TW.UTF-8", "chinese_traditional"},
        {nullptr, "zh_HK.UTF-8", "chinese_traditional"},
        {nullptr, "de_AT.UTF-8", "german"},
        {nullptr, "de_DE@euro", "german"},
        {nullptr, "pt_BR.UTF-8", "portuguese_brazil"},
        {nullptr, "pt_PT.UTF-8", "portuguese_brazil"},
        {nullptr, "en_US.UTF-8", "english"},
        {nullptr, "fi_FI.UTF-8", "english"},
        {"en_GB.UTF-8", "zh_CN.UTF-8", "english"},
        {"zh_CN.UTF-8", "de_DE.UTF-8", "chinese"},
        {nullptr, nullptr, "english"},
        {nullptr, "C", "english"},
    };
    LocaleGuard locale;
    halvex::test::TempFolder directory;
    directory.Write("setting.ini", "");
    for (const auto& [name, code] : {std::pair{"english", "en"},
                                     {"chinese", "zh_CN"},
                                     {"chinese_traditional", "zh_TW"},
                                     {"german", "de"},
                                     {"swiss_german", "de_CH"},
                                     {"portuguese_brazil", "pt_BR"},
                                     {"broken", "de-DE!"}}) {
        directory.Write(std::string(name) + ".lang",
                        std::string("[Face]\ndisp=") + name + "\nlocale=" + code + "\n");
    }
    // German of Austria finds no de_AT file: the file for all of German wins over Switzerland's.
    for (const LocaleCase& test : cases) {
        locale.Set(test.lcAll, test.lang);
        halvex::test::SetChannelCount(50);
        std::string error;
        std::vector<std::string> notes;
        ASSERT_TRUE(LoadStartupSettings(directory.Path(), &error, {}, &notes)) << error;
        EXPECT_EQ(g_ModuleDir, directory.Path());
        EXPECT_EQ(g_SettingsPath, directory.Path() + "/setting.ini");
        EXPECT_EQ(g_LanguagePath, directory.Path() + "/" + test.language + ".lang")
            << (test.lcAll ? test.lcAll : "-") << " " << (test.lang ? test.lang : "-");
        EXPECT_EQ(g_ChannelCount, 1);
        bool named = std::any_of(notes.begin(), notes.end(), [](const std::string& note) {
            return note.find("broken.lang: locale=de-DE! is not a locale") != std::string::npos;
        });
        bool readsLocale = test.lang != nullptr && std::string(test.lang) != "C";
        EXPECT_EQ(named, readsLocale || test.lcAll != nullptr) << test.lang;
    }
    EXPECT_EQ(halvex::test::ReadBytes(directory.File("setting.ini")), "");
}

// A channel count that is no number is not guessed at: the default stands and the user is
// told; more rows than the radio has are its 128, also said; the check reads as the reader.
TEST(StartupSettings, ReadsLanguageAndReplacesABadChannelCount) {
    struct CountCase {
        std::string text;
        int expected;
        const char* note;  // a part of the one note, or empty for none
    };
    const char* bad = "channelcount takes a whole number from 1 to 128";
    const char* clamped = "channelcount=200 is more than 128, the most channelcount takes; 128";
    const CountCase cases[] = {{"64", 64, ""},
                               {"128", 128, ""},
                               {"200", 128, clamped},
                               {"99999999999999", 128, "128 is used"},
                               {"0", 1, bad},
                               {"-5", 1, bad},
                               {"abc", 1, bad},
                               {"12 rows", 1, bad},
                               {"\"" + std::string(34, ' ') + "16\"", 16, ""},
                               {std::string(34, ' ') + "16", 16, ""}};
    halvex::test::TempFolder directory;
    for (const CountCase& test : cases) {
        directory.Write("setting.ini", "[SETUP]\nLanguage = french\nchannelcount=" + test.text +
                                           "\n[ModelInfo]\ndata0=6013401700000000\n");
        std::string error;
        std::vector<std::string> notes;
        ASSERT_TRUE(LoadStartupSettings(directory.Path(), &error, {}, &notes)) << error;
        EXPECT_EQ(g_ChannelCount, test.expected) << test.text;
        ASSERT_EQ(notes.size(), *test.note == '\0' ? 0u : 1u) << test.text;
        if (!notes.empty()) {
            EXPECT_NE(notes[0].find(test.note), std::string::npos) << notes[0];
        }
        EXPECT_EQ(g_LanguagePath, directory.Path() + "/french.lang");
    }
}

TEST(SetupSection, WritesAndReadsBackThroughTheSettingsPath) {
    halvex::test::TempFolder directory;
    directory.Write("setting.ini", "[setup]\r\ncom=1\r\nsearchcom=1\r\n\r\n[ModelInfo]\r\n");
    std::string error;
    ASSERT_TRUE(LoadStartupSettings(directory.Path(), &error)) << error;

    ASSERT_TRUE(settings::kCom.Write(g_SettingsPath, "7", &error)) << error;
    ASSERT_TRUE(settings::kLanguage.Write(g_SettingsPath, "chinese", &error)) << error;
    EXPECT_EQ(settings::kCom.Read(g_SettingsPath), 7);
    EXPECT_EQ(settings::kReadTime.Read(g_SettingsPath), 50);
    EXPECT_TRUE(settings::kSearchCom.Read(g_SettingsPath));
    EXPECT_EQ(ReadBytes(g_SettingsPath),
              "[setup]\r\ncom=7\r\nsearchcom=1\r\nlanguage=chinese\r\n\r\n[ModelInfo]\r\n");
}

}  // namespace
