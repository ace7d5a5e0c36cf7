// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settings_check.h"

#include <gtest/gtest.h>

#include "link/radio_connection.h"
#include "support/temp_folder.h"

namespace {

// A settings file with the given [setup] lines and one band line.
std::string Usable(const std::string& setupLines = "channelcount=10\n") {
    return "[setup]\n" + setupLines + "[ModelInfo]\ndata0=6013401700000000\n";
}

// One rule for every file: refused with its name, or used with what is wrong said once. The
// outcome reads "refused: ...", the notes without the path, then "bad " and each bad key.
TEST(SettingsCheckTest, AFileIsRefusedNotedOrUsedByWhatItHolds) {
    const std::string pgm = "RQ870 Radio Program data v1.08" + std::string(8240 - 30, '\xFF');
    const std::string noBand = "has no band line ([ModelInfo] data0): no frequency limits known;";
    const std::pair<std::string, std::string> cases[] = {
        {Usable(), ""},
        {Usable() + ";\xD6\xD0\xCE\xC4\n", ""},  // a GB18030 comment
        {pgm, "refused: is a radio data file (.pgm), not a settings file"},
        {std::string("\xFF\xFE[\0s\0e\0t\0u\0p\0]\0", 16),
         "refused: is not a settings file: "
         "it holds NUL bytes (binary, or "
         "UTF-16 text)"},
        {"[setup]\ncom=\x80\xFF\n",
         "refused: is not a settings file: its text is neither "
         "UTF-8 nor GB18030"},
        {"", "has no [setup] section: 1 channel, defaults used;" + noBand},
        {"[setup]\ncom=2\n", noBand},
        {Usable("readtime=-5\nwritetime=abc\ncom=0\nrwtype=1x\nverifywrite=2\nchannelcount=129\n"),
         " channelcount=129 is more than 128, the most channelcount takes; 128 is used; com "
         "rwtype readtime writetime verifywrite"},
        {Usable("readtime=\x1b[2J" + std::string(40, '9') + "\n"), "bad readtime"},
        {Usable("readtime= 600000 \ncom=255\nrwtype=0\nwritetime=\n"), ""},
        {Usable("rwtype=-7\n"), ""},
    };
    halvex::test::TempFolder folder;
    for (const auto& [contents, expected] : cases) {
        std::string path = folder.Write("setting.ini", contents);
        SettingsCheck check = CheckSettingsFile(path);
        std::string outcome =
            check.refusal.empty() ? "" : "refused:" + check.refusal.substr(path.size());
        for (const std::string& note : check.notes) {
            outcome += note.substr(path.size() + 1) + ";";
        }
        for (const BadSettingValue& bad : check.badValues) {
            outcome += (outcome.empty() ? "bad " : " ") + std::string(bad.setting->key);
            EXPECT_EQ(bad.value.find('\x1b'), std::string::npos);
            EXPECT_LE(bad.value.size(), 27u);
            // A wrong value reads as the default, never as the cable's fault.
            EXPECT_EQ(bad.setting->Read(path), bad.setting->defaultValue);
        }
        EXPECT_EQ(outcome, expected) << contents.substr(0, 40);
    }
}

// rwtype 1 is the direct cable and every other number the echoing one, as files written by
// other programs expect; a value that is no number is named and the default (direct) stands.
TEST(SettingsCheckTest, EveryCableTypeButOneIsTheEchoingCable) {
    const std::pair<const char*, CableType> cases[] = {
        {"1", CableType::Direct}, {" 1 ", CableType::Direct}, {"0", CableType::Echo},
        {"2", CableType::Echo},   {"3", CableType::Echo},     {"-1", CableType::Echo},
        {"255", CableType::Echo}, {"abc", CableType::Direct}, {"", CableType::Direct},
    };
    halvex::test::TempFolder folder;
    for (const auto& [text, cable] : cases) {
        const std::string path =
            folder.Write("setting.ini", Usable(std::string("rwtype=") + text + "\n"));
        EXPECT_EQ(CableFromSettings(path), cable) << text;
        const SettingsCheck check = CheckSettingsFile(path);
        EXPECT_EQ(check.badValues.size(), std::string(text) == "abc" ? 1u : 0u) << text;
    }
    BadSettingValue bad{&settings::kRwType, "abc"};
    EXPECT_EQ(BadValueMessage("s.ini", bad, true),
              "s.ini: rwtype=abc is not allowed: rwtype takes a whole number; 1 is used instead");
}

}  // namespace
