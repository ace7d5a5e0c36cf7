// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the installation data against what the program looks up in it. A missing
// language key shows "Not Found" to the user, an over-long value is cut by the
// profile reader, and a wrong band line gives the radio the wrong frequency limits.
// The INI reader here is deliberately tiny and independent of the program's own.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "codeplug/channel_columns.h"

namespace {

// Taken apart lexically: tests/data need not exist in a fresh checkout.
const std::filesystem::path kDataDir =
    std::filesystem::path(HALVEX_TEST_DATA_DIR).parent_path().parent_path() / "data";

std::string ToLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Sections and keys are stored lower case: the profile reader ignores their case.
struct IniFile {
    bool found = false;
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::vector<std::string> duplicateKeys;

    const std::string* Find(const std::string& section, const std::string& key) const {
        auto s = sections.find(ToLower(section));
        if (s == sections.end())
            return nullptr;
        auto k = s->second.find(ToLower(key));
        return k == s->second.end() ? nullptr : &k->second;
    }
    std::set<std::string> Keys() const {
        std::set<std::string> keys;
        for (const auto& [section, entries] : sections) {
            for (const auto& entry : entries)
                keys.insert(section + "/" + entry.first);
        }
        return keys;
    }
};

IniFile ReadIni(const std::filesystem::path& path) {
    IniFile ini;
    ini.found = std::filesystem::exists(path);
    std::istringstream lines(ReadWholeFile(path));
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = ToLower(Trim(line.substr(1, line.size() - 2)));
            ini.sections[section];
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = ToLower(Trim(line.substr(0, equals)));
        // The reader returns the first of two equal keys; the second is dead text.
        if (!ini.sections[section].emplace(key, Trim(line.substr(equals + 1))).second) {
            ini.duplicateKeys.push_back(section + "/" + key);
        }
    }
    return ini;
}

bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xE  ? 3
                        : (lead >> 3) == 0x1E ? 4
                                              : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

std::vector<std::filesystem::path> LanguageFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kDataDir, error)) {
        if (entry.path().extension() == ".lang")
            files.push_back(entry.path());
    }
    return files;
}

const std::vector<int> kToolbarCommands = {57600, 57601, 57603, 32771, 32772, 57607, 32776, 32775};

// Lists read with keys "0", "1", ... and the number of entries the image fields can hold.
struct ChoiceList {
    const char* section;
    const char* keyPrefix;
    int count;
};
const ChoiceList kChoiceLists[] = {
    {kChannelHeaderSection, "IDS_ChText", kChannelColumnCount},
    {"ScanType", "", 3},
    {"FreqMode", "", 2},
    {"PttId", "", 4},
    {"RadiogramWorkMode", "", 2},
    {"RadioWorkModeA", "", 2},
    {"RadioWorkModeB", "", 2},
    {"Voice", "", 2},
    {"TxDtr", "", 4},
    {"ChannelShowedF1", "", 3},
    {"ChannelShowedF2", "", 3},
    {"Step", "", 6},
    {"RadiogramText", "IDS_RadiogramText", 2},
    {"TestData", "", 58},
};

TEST(LanguageFiles, AreUtf8WithoutByteOrderMarkOrDuplicateKeys) {
    const auto files = LanguageFiles();
    ASSERT_GE(files.size(), 2u) << "expected at least the English and Chinese files in "
                                << kDataDir;
    for (const auto& path : files) {
        const std::string text = ReadWholeFile(path);
        EXPECT_NE(text.rfind("\xEF\xBB\xBF", 0), 0u) << path << " starts with a byte order mark";
        EXPECT_TRUE(IsUtf8(text)) << path << " is not UTF-8";
        EXPECT_TRUE(ReadIni(path).duplicateKeys.empty()) << path << " repeats a key";
    }
}

// What a translation must keep of each English text: printf conversions in their order
// ("%d %s"), Qt's numbered arguments in any order (a sentence may name them otherwise), the
// escapes that break lines and separate a menu shortcut, and the accelerator mark.
struct TextShape {
    std::vector<std::string> printf;
    std::multiset<std::string> numbered;
    int lineBreaks = 0;
    int tabs = 0;
    int accelerators = 0;
};

TextShape ShapeOf(const std::string& text) {
    TextShape shape;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            size_t end = i + 1;
            if (text[end] == '%') {
                shape.printf.push_back("%%");
                i = end;
                continue;
            }
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
                ++end;
            if (end > i + 1) {
                shape.numbered.insert(text.substr(i, end - i));
            } else {
                while (end < text.size() && std::strchr("-+#0.123456789l", text[end]))
                    ++end;
                if (end < text.size() && std::strchr("diuxXscf", text[end]))
                    shape.printf.push_back(text.substr(i, end - i + 1));
            }
            i = end - 1;
        } else if (text[i] == '\\' && i + 1 < text.size()) {
            shape.lineBreaks += text[i + 1] == 'n';
            shape.tabs += text[i + 1] == 't';
            ++i;
        } else if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                ++i;
            else
                ++shape.accelerators;
        }
    }
    return shape;
}

std::string Joined(const auto& items) {
    std::string text;
    for (const auto& item : items)
        text += (text.empty() ? "" : " ") + item;
    return "[" + text + "]";
}

TEST(LanguageFiles, HoldEveryEnglishKeyWithItsPlaceholdersAndAccelerator) {
    const IniFile english = ReadIni(kDataDir / "english.lang");
    ASSERT_TRUE(english.found);
    // Rule, then what the English text and the translation give for it.
    struct Rule {
        const char* name;
        std::function<std::string(const TextShape&)> part;
        bool onlyWhereEnglishHasIt;
    };
    const Rule rules[] = {
        {"printf placeholders", [](const TextShape& t) { return Joined(t.printf); }, false},
        {"numbered placeholders", [](const TextShape& t) { return Joined(t.numbered); }, false},
        {"\\n line breaks", [](const TextShape& t) { return std::to_string(t.lineBreaks); }, false},
        {"\\t shortcut separators", [](const TextShape& t) { return std::to_string(t.tabs); },
         false},
        {"& accelerators", [](const TextShape& t) { return std::to_string(t.accelerators); }, true},
    };
    for (const auto& path : LanguageFiles()) {
        const IniFile translation = ReadIni(path);
        const std::string file = path.filename().string();
        for (const auto& [section, entries] : english.sections) {
            for (const auto& [key, text] : entries) {
                const std::string* translated = translation.Find(section, key);
                if (translated == nullptr) {
                    ADD_FAILURE() << file << " [" << section << "] lacks " << key;
                    continue;
                }
                const TextShape want = ShapeOf(text);
                const TextShape got = ShapeOf(*translated);
                for (const Rule& rule : rules) {
                    if (rule.onlyWhereEnglishHasIt && want.accelerators == 0)
                        continue;
                    EXPECT_EQ(rule.part(got), rule.part(want))
                        << file << " [" << section << "] " << key << ": " << rule.name
                        << " differ from english.lang in \"" << *translated << "\"";
                }
            }
        }
        for (const auto& [section, entries] : translation.sections) {
            for (const auto& entry : entries) {
                EXPECT_NE(english.Find(section, entry.first), nullptr)
                    << file << " [" << section << "] has " << entry.first
                    << ", which english.lang does not";
            }
        }
    }
}

TEST(LanguageFiles, ValuesFitTheReaderBuffers) {
    std::map<std::string, size_t> limits = {
        {"face", 99}, {"string", 999}, {"resource", 1023}, {"accessiblename", 1023}};
    for (const auto& list : kChoiceLists)
        limits[ToLower(list.section)] = 29;
    for (const auto& path : LanguageFiles()) {
        for (const auto& [section, entries] : ReadIni(path).sections) {
            ASSERT_TRUE(limits.count(section))
                << path << " has a section the program never reads: " << section;
            for (const auto& [key, value] : entries) {
                EXPECT_LE(value.size(), limits[section])
                    << path << " " << section << "/" << key << " is cut";
            }
        }
    }
}

TEST(LanguageFiles, ChoiceListsHoldEveryEntryTheRadioUses) {
    for (const auto& path : LanguageFiles()) {
        const IniFile ini = ReadIni(path);
        for (const auto& list : kChoiceLists) {
            // An empty value ends the list as a missing key does.
            for (int i = 0; i < list.count; ++i) {
                const std::string key = list.keyPrefix + std::to_string(i);
                const std::string* value = ini.Find(list.section, key);
                EXPECT_TRUE(value && !value->empty()) << path << " " << list.section << "/" << key;
            }
            EXPECT_EQ(ini.Find(list.section, list.keyPrefix + std::to_string(list.count)), nullptr)
                << path << " " << list.section << " has more entries than the radio can store";
        }
    }
}

TEST(LanguageFiles, HoldEveryTextTheProgramLooksUp) {
    std::vector<std::string> strings = {"IDS_WINDOWNAME",
                                        "IDS_CHANNEL",
                                        "IDS_FUNCTION",
                                        "IDS_VFOFREQ",
                                        "IDS_ON",
                                        "IDS_OFF",
                                        "IDS_HIGH",
                                        "IDS_LOW",
                                        "IDS_MIDDLE",
                                        "IDS_WIDE",
                                        "IDS_NARROW",
                                        "IDS_YES",
                                        "IDS_NO",
                                        "IDS_PROMPT",
                                        "IDS_CONFIRM",
                                        "IDS_CONFIRM_FREQ",
                                        "IDS_CONFIRM_TYPE",
                                        "IDS_WARN_CLEAR",
                                        "IDS_WARN_LOAD",
                                        "IDS_WARN_SAVE",
                                        "IDS_READDATA",
                                        "IDS_WRITEDATA",
                                        "IDS_PROMPT_READ",
                                        "IDS_PROMPT_WRITE",
                                        "IDS_PROMPT_READSUCC",
                                        "IDS_PROMPT_READFAIL",
                                        "IDS_PROMPT_WRITESUCC",
                                        "IDS_PROMPT_WRITEFAIL",
                                        "IDS_SEARCHCOMPORT",
                                        "IDS_ERROR",
                                        "IDS_ERROR_PORTCONN",
                                        "IDS_ERROR_TYPE",
                                        "IDS_ERROR_PASSWORD",
                                        "IDS_ROW_CHANNEL",
                                        "IDS_ROW_PRESET",
                                        "Menu_File",
                                        "Menu_Program",
                                        "Menu_Setting",
                                        "Menu_Help",
                                        "Menu_File_New",
                                        "Menu_File_Open",
                                        "Menu_File_Save",
                                        "Menu_File_Save_As",
                                        "Menu_File_Print",
                                        "Menu_File_Print_Preview",
                                        "Menu_File_Print_Setup",
                                        "Menu_App_Exit",
                                        "Menu_Program_ReadData",
                                        "Menu_Program_WriteData",
                                        "Menu_Program_TestMode",
                                        "Menu_Program_Radiogram",
                                        "Menu_Setting_Port",
                                        "Menu_Setting_Language",
                                        "Menu_Help_Help",
                                        "Menu_App_About"};
    // The first start picks a file by its locale, and the dialog by its name: both unique.
    std::set<std::string> locales;
    std::set<std::string> names;
    const std::regex localeForm("[a-z]{2,3}(_[A-Z]{2})?");
    for (const auto& path : LanguageFiles()) {
        const IniFile ini = ReadIni(path);
        const std::string* name = ini.Find("Face", "disp");
        EXPECT_TRUE(name && !name->empty())
            << path << " would not be listed in the language dialog";
        EXPECT_TRUE(name && names.insert(*name).second) << path << " shares its display name";
        const std::string* locale = ini.Find("Face", "locale");
        EXPECT_TRUE(locale && std::regex_match(*locale, localeForm))
            << path << " names no locale such as de or pt_BR";
        EXPECT_TRUE(locale && locales.insert(*locale).second) << path << " shares its locale";
        for (const auto& key : strings)
            EXPECT_NE(ini.Find("String", key), nullptr) << path << " lacks " << key;
        for (const char* key : {"1", "2"})
            EXPECT_NE(ini.Find("Resource", key), nullptr) << path << " lacks " << key;
        for (int command : kToolbarCommands) {
            const std::string key = "IDS_TIP_" + std::to_string(command);
            const std::string* tip = ini.Find("String", key);
            ASSERT_NE(tip, nullptr) << path << " lacks " << key;
            // The tool tip keeps 19 bytes; a longer one would be cut, maybe inside a character.
            EXPECT_LE(tip->size(), 19u) << path << " " << key;
        }
    }
}

// The whole megahertz of edge m of a band line, by the program's own digit rule.
int EdgeMegahertz(const std::string& line, int m) {
    const std::string digits = {line[4 * m + 2], line[4 * m + 3], line[4 * m]};
    return std::atoi(digits.c_str());
}

// "136-174/400-520/220-260MHz" gives {136, 174, 400, 520, 220, 260}.
std::vector<int> EdgesOfRangeName(const std::string& name) {
    std::vector<int> edges;
    std::string number;
    for (char c : name) {
        if (c >= '0' && c <= '9') {
            number += c;
        } else if (!number.empty()) {
            edges.push_back(std::atoi(number.c_str()));
            number.clear();
        }
    }
    return edges;
}

TEST(SettingsFile, BandLinesMatchTheirRangeNames) {
    const IniFile ini = ReadIni(kDataDir / "setting.ini");
    ASSERT_TRUE(ini.found);
    EXPECT_TRUE(ini.duplicateKeys.empty());
    int lines = 0;
    for (int k = 0; k < 16; ++k) {
        const std::string* line = ini.Find("ModelInfo", "data" + std::to_string(k));
        const std::string* name = ini.Find("ModelInfo", "Freq" + std::to_string(k));
        if (line == nullptr || line->empty()) {
            EXPECT_EQ(name, nullptr) << "Freq" << k << " has no band line";
            break;
        }
        ++lines;
        ASSERT_NE(name, nullptr) << "data" << k << " has no range name";
        EXPECT_LE(name->size(), 29u) << "Freq" << k;
        EXPECT_EQ(line->find_first_not_of("0123456789ABCDEFabcdef"), std::string::npos)
            << "data" << k;
        ASSERT_GE(line->size(), 16u) << "data" << k;
        const bool multiBand = std::atoi(line->substr(8, 8).c_str()) != 0;
        EXPECT_EQ(line->size(), multiBand ? 24u : 16u) << "data" << k;
        const int bands = multiBand ? 3 : 1;
        std::vector<int> edges;
        for (int m = 0; m < 2 * bands; ++m)
            edges.push_back(EdgeMegahertz(*line, m));
        EXPECT_EQ(edges, EdgesOfRangeName(*name)) << "data" << k << " against " << *name;
        for (int band = 0; band < bands; ++band) {
            EXPECT_LT(edges[2 * band], edges[2 * band + 1]) << "data" << k << " band " << band;
        }
        if (multiBand) {
            // The three words sit at fixed places: below 200 MHz, from 300 MHz, 200-299 MHz.
            EXPECT_LT(edges[1], 200) << "data" << k;
            EXPECT_GE(edges[2], 300) << "data" << k;
            EXPECT_GE(edges[4], 200) << "data" << k;
            EXPECT_LT(edges[5], 300) << "data" << k;
        }
    }
    EXPECT_GE(lines, 1) << "a new document needs band line 0";
    EXPECT_LE(lines, 10) << "the range selector lists at most Freq0 to Freq9";
}

// A language without its own page is shown the English one, so that one must be there.
TEST(HelpPages, EnglishIsThereAndNoPageGivesAwayTheAccessCode) {
    ASSERT_TRUE(std::filesystem::exists(kDataDir / "english.html"));
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kDataDir, error)) {
        std::filesystem::path path = entry.path();
        if (path.extension() != ".html")
            continue;
        const std::string text = ReadWholeFile(path);
        EXPECT_TRUE(IsUtf8(text)) << path;
        EXPECT_EQ(text.find("RO264"), std::string::npos)
            << path << " prints the dealer's access code";
        EXPECT_TRUE(std::filesystem::exists(path.replace_extension(".lang")))
            << path << " is the help of no language";
    }
}

// The help window and the copy under /usr/share/doc show the pictures beside the pages: each
// one a page names is there, and none is shipped that no page shows.
TEST(HelpPages, ShowEveryPictureBesideThemAndNoOther) {
    std::set<std::string> named, present;
    const std::regex image(R"re(<img src="([^"]+)")re");
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kDataDir, error)) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() == ".png") {
            present.insert(path.filename().string());
        } else if (path.extension() == ".html") {
            const std::string text = ReadWholeFile(path);
            for (std::sregex_iterator it(text.begin(), text.end(), image), end; it != end; ++it) {
                named.insert((*it)[1].str());
            }
        }
    }
    EXPECT_FALSE(named.empty());
    EXPECT_EQ(named, present);
}

}  // namespace
