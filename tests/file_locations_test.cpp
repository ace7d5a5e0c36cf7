// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/file_locations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/app_globals.h"
#include "config/example_files.h"
#include "config/help_file.h"
#include "config/language_files.h"
#include "config/setting_definitions.h"
#include "config/settings.h"
#include "support/profile_test_files.h"

namespace {

// An installed tree (bin/ beside share/halvex/) and an empty home, both in a scratch folder.
class InstalledTree : public testing::Test {
protected:
    void SetUp() override {
        m_Bin = m_Root.Path() + "/usr/bin";
        m_Home = m_Root.Path() + "/home";
        std::filesystem::create_directories(m_Bin);
        std::filesystem::create_directories(m_Home);
        m_Environment.home = m_Home;
        m_SharedData = LocateFiles(m_Bin, m_Environment).dataDirs.back();
        std::filesystem::create_directories(m_SharedData);
    }

    void WriteFile(const std::string& path, const std::string& contents) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }

    halvex::test::TempFolder m_Root;
    std::string m_Bin;
    std::string m_Home;
    std::string m_SharedData;
    UserEnvironment m_Environment;
};

TEST_F(InstalledTree, FoldersFollowTheXdgVariablesOrTheHomeDefaults) {
    struct Case {
        const char* name;
        UserEnvironment environment;
        std::string settings, userData, ports, backups;
    };
    const std::string h = m_Home;
    const Case cases[] = {
        {"defaults",
         {h, "", "", ""},
         h + "/.config/halvex/setting.ini",
         h + "/.local/share/halvex",
         h + "/.config/halvex/ports",
         h + "/.local/state/halvex/backups"},
        {"variables",
         {h, "/c", "/d", "/s"},
         "/c/halvex/setting.ini",
         "/d/halvex",
         "/c/halvex/ports",
         "/s/halvex/backups"},
        // The XDG rule ignores relative values.
        {"relative",
         {h, "c", "d", "s"},
         h + "/.config/halvex/setting.ini",
         h + "/.local/share/halvex",
         h + "/.config/halvex/ports",
         h + "/.local/state/halvex/backups"},
        {"variables without home",
         {"", "/c", "/d", "/s"},
         "/c/halvex/setting.ini",
         "/d/halvex",
         "/c/halvex/ports",
         "/s/halvex/backups"},
        // Backups alone need an absolute folder.
        {"relative home",
         {"home", "", "", "s"},
         "home/.config/halvex/setting.ini",
         "home/.local/share/halvex",
         "home/.config/halvex/ports",
         ""},
    };
    for (const Case& test : cases) {
        FileLocations locations = LocateFiles(m_Bin, test.environment);
        EXPECT_FALSE(locations.portable) << test.name;
        EXPECT_EQ(locations.settingsPath, test.settings) << test.name;
        EXPECT_EQ(locations.defaultSettingsPath, m_SharedData + "/setting.ini") << test.name;
        ASSERT_EQ(locations.dataDirs.size(), 2u) << test.name;
        EXPECT_EQ(locations.dataDirs[0], test.userData) << test.name;
        EXPECT_EQ(locations.dataDirs[1], m_SharedData) << test.name;
        EXPECT_EQ(locations.portsDir, test.ports) << test.name;
        EXPECT_EQ(locations.backupsDir, test.backups) << test.name;
    }
    // The installed data sits under the executable's prefix, wherever that was unpacked.
    EXPECT_EQ(std::filesystem::weakly_canonical(m_SharedData),
              std::filesystem::weakly_canonical(m_Root.Path() + "/usr/share/halvex"));

    FileLocations homeless = LocateFiles(m_Bin, UserEnvironment{});
    EXPECT_TRUE(homeless.settingsPath.empty());
    EXPECT_TRUE(homeless.portsDir.empty());
    std::string error;
    WriteFile(homeless.defaultSettingsPath, "[setup]\n");
    EXPECT_FALSE(PrepareSettingsFile(homeless, &error));
    EXPECT_EQ(error, kMissingSettingsMessage);
}

TEST_F(InstalledTree, ASettingsFileBesideTheProgramKeepsEverythingThere) {
    WriteFile(m_Bin + "/setting.ini", "[setup]\ncom=3\n");
    WriteFile(m_SharedData + "/setting.ini", "[setup]\ncom=9\n");
    FileLocations locations = LocateFiles(m_Bin, m_Environment);
    EXPECT_TRUE(locations.portable);
    EXPECT_EQ(locations.settingsPath, m_Bin + "/setting.ini");
    EXPECT_EQ(locations.dataDirs, std::vector<std::string>{m_Bin});
    EXPECT_EQ(locations.portsDir, m_Bin + "/ports");
    EXPECT_EQ(locations.backupsDir, m_Home + "/.local/state/halvex/backups");

    std::string error;
    ASSERT_TRUE(LoadStartupSettings(m_Bin, &error, m_Environment)) << error;
    EXPECT_EQ(settings::kCom.Read(g_SettingsPath), 3);
    EXPECT_FALSE(std::filesystem::exists(m_Home + "/.config"));

    // A folder named setting.ini is no settings file: the installed rule applies instead.
    std::filesystem::remove(m_Bin + "/setting.ini");
    std::filesystem::create_directory(m_Bin + "/setting.ini");
    EXPECT_FALSE(LocateFiles(m_Bin, m_Environment).portable);
}

TEST_F(InstalledTree, FirstStartCopiesTheInstalledDefaultAndLaterStartsKeepTheUsersFile) {
    const std::string defaults = "[setup]\r\ncom=1\r\nchannelcount=64\r\n[ModelInfo]\r\n";
    std::string error;
    EXPECT_FALSE(LoadStartupSettings(m_Bin, &error, m_Environment));
    EXPECT_EQ(error, kMissingSettingsMessage);
    EXPECT_FALSE(std::filesystem::exists(m_Home + "/.config/halvex"));

    WriteFile(m_SharedData + "/setting.ini", defaults);
    ASSERT_TRUE(LoadStartupSettings(m_Bin, &error, m_Environment)) << error;
    std::string userSettings = m_Home + "/.config/halvex/setting.ini";
    EXPECT_EQ(g_SettingsPath, userSettings);
    EXPECT_EQ(ReadBytes(userSettings), defaults);
    EXPECT_EQ(g_ChannelCount, 64);
    struct stat status {};
    ASSERT_EQ(stat((m_Home + "/.config/halvex").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    ASSERT_TRUE(settings::kCom.Write(g_SettingsPath, "4", &error)) << error;
    ASSERT_TRUE(LoadStartupSettings(m_Bin, &error, m_Environment)) << error;
    EXPECT_EQ(settings::kCom.Read(g_SettingsPath), 4);
    EXPECT_EQ(ReadBytes(m_SharedData + "/setting.ini"), defaults);

    // A config folder that cannot be made: the reason, and nothing half written.
    UserEnvironment blocked = m_Environment;
    blocked.configHome = m_Root.Path() + "/plain-file";
    WriteFile(blocked.configHome, "x");
    EXPECT_FALSE(LoadStartupSettings(m_Bin, &error, blocked));
    EXPECT_NE(error.find("plain-file"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(blocked.configHome), "x");
}

TEST_F(InstalledTree, UsersLanguageFilesComeFirstAndShareTheInstalledHelp) {
    std::string userData = m_Home + "/.local/share/halvex";
    WriteFile(m_SharedData + "/setting.ini", "[setup]\nlanguage=english\n");
    WriteFile(m_SharedData + "/english.lang", "[Face]\ndisp=English\n");
    WriteFile(m_SharedData + "/english.html", "<p>help</p>");
    WriteFile(m_SharedData + "/chinese.lang", "[Face]\ndisp=Chinese\n");
    WriteFile(userData + "/english.lang", "[Face]\ndisp=My English\n");
    WriteFile(userData + "/german.lang", "[Face]\ndisp=Deutsch\n");

    std::string error;
    ASSERT_TRUE(LoadStartupSettings(m_Bin, &error, m_Environment)) << error;
    EXPECT_EQ(g_LanguagePath, userData + "/english.lang");
    EXPECT_EQ(LanguageFilePaths(g_DataDirs),
              (std::vector<std::string>{m_SharedData + "/chinese.lang", userData + "/english.lang",
                                        userData + "/german.lang"}));
    // The installed page is named as a user would type it, without the "bin/.." the data
    // folder is found through.
    EXPECT_EQ(FindHelpFile(g_LanguagePath, g_DataDirs, nullptr),
              m_Root.Path() + "/usr/share/halvex/english.html");

    std::string missing;
    EXPECT_EQ(FindHelpFile(userData + "/german.lang", g_DataDirs, &missing), std::nullopt);
    EXPECT_EQ(missing, userData + "/german.html");

    // Choosing a language writes the user's settings, never the installed default.
    ASSERT_TRUE(SelectLanguageFile(m_SharedData + "/chinese.lang", &error)) << error;
    EXPECT_EQ(g_SettingsPath, m_Home + "/.config/halvex/setting.ini");
    EXPECT_EQ(settings::kLanguage.Read(g_SettingsPath), "chinese");
    EXPECT_EQ(ReadBytes(m_SharedData + "/setting.ini"), "[setup]\nlanguage=english\n");
}

// The examples an installed program offers: its user's data folder first, then the shared
// data, then the documentation's, each name once.
TEST_F(InstalledTree, ExamplesAreThePgmFilesOfEachFolderAndAnEarlierNameWins) {
    const std::vector<std::string> folders =
        ExampleFolders(m_Bin, LocateFiles(m_Bin, m_Environment).dataDirs);
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders.back(), m_Root.Path() + "/usr/share/doc/halvex/examples");
    const std::string &own = folders[0], &shared = folders[1], &doc = folders[2];
    WriteFile(own + "/pmr446.pgm", "own");
    WriteFile(doc + "/pmr446.pgm", "doc");
    WriteFile(doc + "/demo.pgm", "doc");
    WriteFile(doc + "/murs.csv", "not a radio file");
    WriteFile(doc + "/notes.pgm.txt", "");
    std::filesystem::create_directories(shared + "/folder.pgm");
    std::filesystem::create_symlink(doc + "/demo.pgm", shared + "/linked.pgm");
    std::filesystem::create_symlink(doc + "/gone.pgm", shared + "/dangling.pgm");
    EXPECT_EQ(
        FindExampleFiles(folders),
        (std::vector<std::string>{doc + "/demo.pgm", shared + "/linked.pgm", own + "/pmr446.pgm"}));
    // A folder that is not there hides nothing of the others.
    EXPECT_EQ(FindExampleFiles({m_Root.Path() + "/missing", doc}),
              (std::vector<std::string>{doc + "/demo.pgm", doc + "/pmr446.pgm"}));
}

}  // namespace
