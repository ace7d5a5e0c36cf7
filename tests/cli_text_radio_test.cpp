// SPDX-License-Identifier: GPL-3.0-or-later
// A text form written straight to the virtual radio and compared with it, through halvex-cli
// and the real serial code.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "sim/demo_memory.h"
#include "sim/virtual_radio.h"
#include "support/cli_run_fixture.h"
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
        CHalvexDoc demo = NewDocument();
        demo.TakeRadioImage(DemoMemory());
        m_Text = DumpRadioText(demo);
    }
    ~CliTextRadioTest() override { m_Radio.Stop(); }

    CHalvexDoc NewDocument() {
        CHalvexDoc document(m_Prompts, DocumentSettingsFor(m_Dir.SettingsPath(), 128));
        document.OnNewDocument(true);
        return document;
    }

    // Runs halvex-cli's command with text as the file "radio.yaml" and a fresh demo radio on
    // "cable".
    RunResult RunOnRadio(const std::string& command, const std::string& text,
                         const VirtualRadioFaults& faults = {}) {
        std::ofstream(File("radio.yaml"), std::ios::binary) << text;
        std::vector<std::string> arguments;
        std::istringstream words(command);
        for (std::string word; words >> word;) {
            arguments.push_back(word == "radio.yaml" ? File(word)
                                : word == "cable"    ? m_Dir.PortLink(1)
                                                     : word);
        }
        m_Radio.Stop();
        m_Radio.SetMemory(DemoMemory());
        VirtualRadioOptions options;
        options.faults = faults;
        std::string error;
        EXPECT_TRUE(m_Radio.Start(m_Dir.PortLink(1), options, &error)) << error;
        arguments.insert(arguments.end(), {"--settings", m_Dir.SettingsPath()});
        return Run(arguments);
    }

    halvex::test::QuietPrompts m_Prompts;
    halvex::test::ModuleFolder m_Dir{"halvex_text_radio"};
    VirtualRadio m_Radio;
    std::string m_Text;
};

// An edited text goes to the radio as apply would store it, checked by reading it back; the
// radio then compares equal to the text, and names what changed against the text it came from.
TEST_F(CliTextRadioTest, AWrittenTextIsWhatTheRadioHoldsAndDiffSaysSo) {
    const std::string simp =
        "scan_add: on, reverse: off, ptt_id: off, compander: off, name: \"SIMP\"";
    std::string edited = Replaced(m_Text, "frequency: 87M5", "frequency: 93.0");
    edited = Replaced(edited, "3: 99M0", "3: 98.5");
    edited = Replaced(edited, "power: high, bcl: off, bandwidth: wide, " + simp,
                      "power: low, bcl: off, bandwidth: wide, " + simp);
    RunResult written = RunOnRadio("write --verify radio.yaml --device cable", edited);
    ASSERT_EQ(written.exitCode, 0) << written.err;
    CHalvexDoc expected = NewDocument();
    std::vector<TextError> errors;
    ASSERT_TRUE(ApplyRadioText(edited, false, &expected, &errors));
    expected.EditImage().PrepareImage();
    const RadioMemory memory = m_Radio.Memory();
    EXPECT_TRUE(std::equal(memory.begin() + kCloneBegin, memory.end(),
                           expected.Image().bytes.begin() + kCloneBegin));
    EXPECT_EQ(expected.Image().GetWord(kFmFrequencyOffset, 1), 280);
    EXPECT_EQ(expected.Image().GetWord(kFmPresetBase, 3), 335);

    RunResult same = Run({"diff", File("radio.yaml"), "--device", m_Dir.PortLink(1), "--settings",
                          m_Dir.SettingsPath()});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "The file and the radio hold the same channels and settings.\n");
    RunResult changed = RunOnRadio("diff radio.yaml --device cable", edited);
    EXPECT_EQ(changed.exitCode, 1) << changed.err;
    EXPECT_NE(changed.out.find("Channel 2, Power: Low -> High\n"), std::string::npos)
        << changed.out;
}

// What cannot go to the radio says why, with its exit status, and the radio is never written;
// only a radio that had to be asked hears anything at all.
TEST_F(CliTextRadioTest, FailuresSayWhyAndLeaveTheRadioAsItWas) {
    struct Case {
        std::string command;
        std::string text;
        int exitCode;
        std::string says;  // and, when the radio is asked, never of an output file
        VirtualRadioFaults faults = {};
    };
    const std::string badFrequency = Replaced(m_Text, "receive: 146.52000", "receive: 450.00000");
    const std::string head = "format: 1\nmodel: RQ870\nband: 0\n";
    const std::string write = "write radio.yaml --device cable";
    const std::string diff = "diff radio.yaml --device cable";
    const std::vector<Case> cases = {
        {write, badFrequency, 1,
         "1 error in " + File("radio.yaml") + "; nothing was sent to the radio"},
        {write, head + "reserved: {0x1010-0x1013: AAAAAA01}\n", 1,
         "holds a frequency that can be read"},
        {write,
         head + "channels: {1: {receive: 146.52}}\nreserved: {header: " + std::string(96, '0') +
             "}\n",
         1, "keeps the file header of another program"},
        {diff, badFrequency, 2, "1 error in " + File("radio.yaml")},
        {"diff radio.yaml", m_Text, 2, "B.pgm is missing; give it, or --device PATH"},
        {diff, m_Text, 2, "no radio answered", {.silent = true}},
        {diff,
         m_Text,
         4,
         "1 block could not be read: 0x0D40; check the cable and keep the radio switched on\n",
         {.wrongAddressBlock = 0x0D40, .wrongAddressTimes = 3}},
    };
    for (const Case& c : cases) {
        RunResult result = RunOnRadio(c.command, c.text, c.faults);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.says << ": " << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << c.says << ": " << result.err;
        const bool asked = c.faults.silent || c.faults.wrongAddressBlock >= 0;
        EXPECT_EQ(!m_Radio.ReceivedBytes().empty(), asked) << c.says;
        EXPECT_FALSE(m_Radio.WasWritten(1)) << c.says;
        EXPECT_EQ(m_Radio.Memory(), DemoMemory()) << c.says;
    }
}

}  // namespace
