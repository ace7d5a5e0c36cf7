#include "config/settings_check.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

// A settings file with the given [setup] lines and one band line.
std::string Usable(const std::string& setupLines = "channelcount=10\n") {
    return "[setup]\n" + setupLines + "[ModelInfo]\ndata0=6013401700000000\n";
}

// One rule for every file: refused with its name, or used with what is wrong said once.
TEST(SettingsCheckTest, AFileIsRefusedNotedOrUsedByWhatItHolds) {
    struct Case {
        const char* name;
        std::string contents;
        std::string refusal;  // fragment; empty when the file is used
        std::vector<std::string> notes;
        std::vector<std::string> badKeys;
    };
    const std::string pgm = "RQ870 Radio Program data v1.08" + std::string(8240 - 30, '\xFF');
    const Case cases[] = {
        {"usable", Usable(), "", {}, {}},
        {"GB18030 comment", Usable() + ";\xD6\xD0\xCE\xC4\n", "", {}, {}},
        {"radio data file", pgm, "is a radio data file (.pgm)", {}, {}},
        {"UTF-16", std::string("\xFF\xFE[\0s\0e\0t\0u\0p\0]\0", 16), "NUL bytes", {}, {}},
        {"binary", std::string("[setup]\ncom=1\n\0\x01\x02", 17), "NUL bytes", {}, {}},
        {"no encoding", "[setup]\ncom=\x80\xFF\n", "neither UTF-8 nor GB18030", {}, {}},
        {"empty",
         "",
         "",
         {"has no [setup] section: 1 channel, defaults used", "has no band line"},
         {}},
        {"no band line", "[setup]\ncom=2\n", "", {"has no band line"}, {}},
        {"values out of range or no numbers",
         Usable("readtime=-5\nwritetime=abc\ncom=0\nrwtype=1x\nverifywrite=2\nchannelcount=129\n"),
         "",
         {},
         {"channelcount", "com", "rwtype", "readtime", "writetime", "verifywrite"}},
        {"a value that would drive the terminal",
         Usable("readtime=\x1b[2J" + std::string(40, '9') + "\n"),
         "",
         {},
         {"readtime"}},
        {"values at their limits",
         Usable("readtime= 600000 \ncom=255\nrwtype=0\nwritetime=\n"),
         "",
         {},
         {}},
    };
    halvex::test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder.Write("setting.ini", c.contents);
        SettingsCheck check = CheckSettingsFile(path);
        if (c.refusal.empty()) {
            EXPECT_EQ(check.refusal, "");
        } else {
            EXPECT_EQ(check.refusal.rfind(path, 0), 0u) << check.refusal;
            EXPECT_NE(check.refusal.find(c.refusal), std::string::npos) << check.refusal;
        }
        ASSERT_EQ(check.notes.size(), c.notes.size());
        for (size_t k = 0; k < c.notes.size(); ++k) {
            EXPECT_EQ(check.notes[k].rfind(path + " " + c.notes[k], 0), 0u) << check.notes[k];
        }
        std::vector<std::string> badKeys;
        for (const BadSettingValue& bad : check.badValues) {
            badKeys.emplace_back(bad.setting->key);
            EXPECT_EQ(bad.value.find('\x1b'), std::string::npos);
            EXPECT_LE(bad.value.size(), 27u);
            // A wrong value reads as the default, never as the cable's fault.
            EXPECT_EQ(bad.setting->Read(path), bad.setting->defaultValue);
        }
        EXPECT_EQ(badKeys, c.badKeys);
    }
}

}  // namespace
