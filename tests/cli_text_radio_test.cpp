// SPDX-License-Identifier: GPL-3.0-or-later
// A text form written straight to the virtual radio and compared with it, through halvex-cli
// and the real serial code.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_run_fixture.h"
#include "codeplug/document.h"
#include "config/settings.h"
#include "sim/demo_memory.h"
#include "sim/virtual_radio.h"
#include "support/module_folder.h"
#include "support/quiet_prompts.h"
#include "textform/radio_text.h"

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t found = text.find(from);
    EXPECT_NE(found, std::string::npos) << from;
    return found == std::string::npos ? text : text.replace(found, from.size(), to);
}

class CliTextRadioTest : public CliRunFixture {
protected:
    CliTextRadioTest() {
        m_Dir.CopyFromBin({"setting.ini"});
        m_Dir.ChangeSettings({{"searchcom", 0}, {"readtime", 2000}, {"writetime", 2000}});
        halvex::test::QuietPrompts prompts;
        CHalvexDoc demo(prompts, Settings());
        demo.OnNewDocument(true);
        demo.TakeRadioImage(DemoMemory());
        std::string error;
        EXPECT_TRUE(demo.OnSaveDocument(File("radio.pgm"), &error)) << error;
        EXPECT_EQ(Run({"dump", File("radio.pgm"), "--settings", m_Dir.SettingsPath(), "-o",
                       File("radio.yaml")})
                      .exitCode,
                  0);
        m_Text = ReadBytes(File("radio.yaml"));
    }
    ~CliTextRadioTest() override { m_Radio.Stop(); }

    DocumentSettings Settings() const { return DocumentSettingsFor(m_Dir.SettingsPath(), 128); }

    void StartRadio(const VirtualRadioFaults& faults = {}) {
        VirtualRadioOptions options;
        options.faults = faults;
        std::string error;
        m_Radio.SetMemory(DemoMemory());
        ASSERT_TRUE(m_Radio.Start(m_Dir.PortLink(1), options, &error)) << error;
    }

    RunResult RunOnRadio(std::vector<std::string> arguments) const {
        arguments.insert(arguments.end(),
                         {"--device", m_Dir.PortLink(1), "--settings", m_Dir.SettingsPath()});
        return Run(arguments);
    }

    std::string WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(File(name), std::ios::binary) << text;
        return File(name);
    }

    halvex::test::ModuleFolder m_Dir{"halvex_text_radio"};
    VirtualRadio m_Radio;
    std::string m_Text;
};

// An edited text goes to the radio as apply would store it, checked by reading it back; the
// radio then compares equal to the text and names what changed against the file it came from.
TEST_F(CliTextRadioTest, AWrittenTextIsWhatTheRadioHoldsAndDiffSaysSo) {
    StartRadio();
    std::string edited = Replaced(m_Text, "frequency: 87M5", "frequency: 93.0");
    edited = Replaced(edited,
                      "power: high, bcl: off, bandwidth: wide, scan_add: on, reverse: off, "
                      "ptt_id: off, compander: off, name: \"SIMP\"",
                      "power: low, bcl: off, bandwidth: wide, scan_add: on, reverse: off, "
                      "ptt_id: off, compander: off, name: \"SIMP\"");
    const std::string path = WriteText("edited.yaml", edited);
    RunResult written = RunOnRadio({"write", "--verify", path});
    ASSERT_EQ(written.exitCode, 0) << written.err;

    halvex::test::QuietPrompts prompts;
    CHalvexDoc expected(prompts, Settings());
    expected.OnNewDocument(true);
    std::vector<TextError> errors;
    ASSERT_TRUE(ApplyRadioText(edited, false, &expected, &errors));
    expected.PrepareImage();
    const RadioMemory memory = m_Radio.Memory();
    EXPECT_TRUE(std::equal(memory.begin() + kCloneBegin, memory.end(),
                           expected.bytes.begin() + kCloneBegin));
    EXPECT_EQ(expected.GetWord(kFmFrequencyOffset, 1), 280);

    RunResult same = RunOnRadio({"diff", path});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "The file and the radio hold the same channels and settings.\n");
    RunResult changed = RunOnRadio({"diff", File("radio.pgm")});
    EXPECT_EQ(changed.exitCode, 1) << changed.err;
    EXPECT_NE(changed.out.find("Channel 2, Power: High -> Low\n"), std::string::npos)
        << changed.out;
}

// What cannot go to the radio says why, with its exit status, and the radio is never written.
TEST_F(CliTextRadioTest, FailuresSayWhyAndLeaveTheRadioAsItWas) {
    struct Case {
        std::string name;
        std::vector<std::string> arguments;
        std::string text;  // written to the file the arguments name as bad.yaml
        int exitCode;
        std::string says;  // and, when the radio is asked, never of an output file
        VirtualRadioFaults faults = {};
    };
    VirtualRadioFaults silent;
    silent.silent = true;
    VirtualRadioFaults skipped;
    skipped.wrongAddressBlock = 0x0D40;
    skipped.wrongAddressTimes = 3;
    const std::string badFrequency = Replaced(m_Text, "receive: 146.52000", "receive: 450.00000");
    const std::string head = "format: 1\nmodel: RQ870\nband: 0\n";
    const std::vector<Case> cases = {
        {"text with an error",
         {"write", "bad.yaml"},
         badFrequency,
         1,
         "1 error in " + File("bad.yaml") + "; nothing was sent to the radio"},
        {"text whose one channel cannot be read",
         {"write", "bad.yaml"},
         head + "reserved: {0x1010-0x1013: AAAAAA01}\n",
         1,
         "holds a frequency that can be read"},
        {"foreign header",
         {"write", "bad.yaml"},
         head + "channels: {1: {receive: 146.52}}\nreserved: {header: " + std::string(96, '0') +
             "}\n",
         1,
         "keeps the file header of another program"},
        {"diff of a text with an error",
         {"diff", "bad.yaml"},
         badFrequency,
         2,
         "1 error in " + File("bad.yaml")},
        {"silent radio", {"diff", "bad.yaml"}, m_Text, 2, "no radio answered", silent},
        {"a block the radio does not give",
         {"diff", "bad.yaml"},
         m_Text,
         4,
         "1 block could not be read: 0x0D40; check the cable and keep the radio switched on\n",
         skipped},
    };
    for (const Case& c : cases) {
        StartRadio(c.faults);
        WriteText("bad.yaml", c.text);
        std::vector<std::string> arguments = c.arguments;
        std::replace(arguments.begin(), arguments.end(), std::string("bad.yaml"), File("bad.yaml"));
        RunResult result = RunOnRadio(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << c.name << ": " << result.err;
        // Only a radio that must be asked hears anything at all.
        const bool asked = c.faults.silent || c.faults.wrongAddressBlock >= 0;
        EXPECT_EQ(!m_Radio.ReceivedBytes().empty(), asked) << c.name;
        EXPECT_FALSE(m_Radio.WasWritten(1)) << c.name;
        EXPECT_EQ(m_Radio.Memory(), DemoMemory()) << c.name;
        m_Radio.Stop();
    }
    RunResult neither = Run({"diff", File("radio.yaml"), "--settings", m_Dir.SettingsPath()});
    EXPECT_EQ(neither.exitCode, 2);
    EXPECT_NE(neither.err.find("B.pgm is missing; give it, or --device PATH"), std::string::npos)
        << neither.err;
    RunResult both = RunOnRadio({"diff", File("radio.yaml"), File("radio.pgm")});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_NE(both.err.find("give only one of B.pgm and --device"), std::string::npos) << both.err;
}

}  // namespace
