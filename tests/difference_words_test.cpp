// SPDX-License-Identifier: GPL-3.0-or-later
// A difference's line as the pages word it: the place, the column or the label of the option's
// control, and the two values, each from the program's language.
#include "editors/difference_words.h"

#include <gtest/gtest.h>

#include <map>

#include "codeplug/radio_options.h"
#include "editors/channel_commit.h"
#include "support/quiet_prompts.h"

namespace {

// Words that show where each part came from.
DifferenceWording MarkedWording() {
    static const std::map<std::string, std::string> kTexts = {
        {"IDS_DIFF_LINE", "%1: %2 > %3"},
        {"IDS_DIFF_PLACE", "%1 / %2"},
        {"IDS_DIFF_CHANNEL", "Ch %1"},
        {"IDS_DIFF_CHANNEL_BEYOND", "Ch %1 hidden"},
        {"IDS_DIFF_FM_PRESET", "FM %1"},
        {"IDS_DIFF_BAND", "Band"},
        {"IDS_DIFF_OTHER_BYTES", "at %1"},
        {"IDS_FUNCTION", "Functions"},
        {"IDS_DIFF_UNUSED", "unused"},
        {"IDS_DIFF_BLANK", "none"},
        {"IDS_ON", "on"},
        {"IDS_OFF", "off"},
    };
    return {
        .text = [](const char* key) { return kTexts.at(key); },
        .list =
            [](const char* section) {
                return std::vector<std::string>{section, "second"};
            },
        .controlLabel = [](int id) { return "L" + std::to_string(id); },
        .columnHeader = [](int column) { return "H" + std::to_string(column); },
    };
}

const RadioOptionDefinition& Option(std::string_view name) {
    for (const RadioOptionDefinition& option : kRadioOptions) {
        if (name == option.name) {
            return option;
        }
    }
    ADD_FAILURE() << name;
    return kRadioOptions.front();
}

TEST(DifferenceWordsTest, EachPartComesFromTheLanguage) {
    halvex::test::QuietPrompts prompts;
    DocumentSettings settings;
    settings.channelCount = 10;
    CHalvexDoc document(prompts, settings);
    ASSERT_TRUE(document.OnNewDocument(true));
    CommitReceiveFrequency(document, 5, "146.52");
    CommitChannelName(document, 5, "AB");
    const RadioOptionDefinition& voiceSelect = Option("VoiceSelect");
    const std::vector<std::string> voices = {voiceSelect.section, "second"};
    const size_t voice = static_cast<size_t>(voiceSelect.value(document.Image()));
    struct Case {
        const char* name;
        void (*change)(CHalvexDoc&);
        std::string line;
    };
    const Case cases[] = {
        {"a channel's cell", [](CHalvexDoc& doc) { CommitChannelName(doc, 5, "CD"); },
         "Ch 5 / H12: AB > CD"},
        {"a name taken away", [](CHalvexDoc& doc) { CommitChannelName(doc, 5, ""); },
         "Ch 5 / H12: AB > none"},
        {"a channel used on one side",
         [](CHalvexDoc& doc) { CommitReceiveFrequency(doc, 2, "147"); },
         "Ch 2: unused > 147.00000"},
        {"a switch",
         [](CHalvexDoc& doc) {
             Option("Beep").store(doc.EditImage(), 1 - Option("Beep").value(doc.Image()));
         },
         Option("Beep").value(document.Image()) != 0 ? "Functions / L1031: on > off"
                                                     : "Functions / L1031: off > on"},
        {"a level", [](CHalvexDoc& doc) { Option("Squelch").store(doc.EditImage(), 7); },
         "Functions / L1026: " + std::to_string(Option("Squelch").value(document.Image())) +
             " > 7"},
        {"a language list",
         [](CHalvexDoc& doc) {
             const RadioOptionDefinition& option = Option("VoiceSelect");
             option.store(doc.EditImage(), 1 - option.value(doc.Image()));
         },
         "Functions / L1047: " + voices[voice] + " > " + voices[1 - voice]},
    };
    for (const Case& test : cases) {
        CHalvexDoc changed(document);
        test.change(changed);
        const std::vector<ImageDifference> differences = DiffImages(document, changed, 10);
        ASSERT_EQ(differences.size(), 1u) << test.name;
        EXPECT_EQ(DifferenceText(differences.front(), MarkedWording()), test.line) << test.name;
    }
}

}  // namespace
