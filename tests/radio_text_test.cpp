// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/radio_text.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>

#include "codeplug/band_lines.h"
#include "codeplug/channel_row_ops.h"
#include "codeplug/radio_options.h"
#include "codeplug/radiogram_codes.h"
#include "config/language.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "editors/vfo_frequencies.h"
#include "sim/demo_memory.h"
#include "support/quiet_prompts.h"
#include "textform/radio_text_parse.h"

namespace {

const std::string kSettings = std::string(HALVEX_TEST_DATA_DIR) + "/settings/single_bands.ini";

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const CHalvexDoc& document) {
    Bytes bytes(document.Header().begin(), document.Header().end());
    bytes.insert(bytes.end(), document.Image().bytes.begin(), document.Image().bytes.end());
    return bytes;
}

// The band lines read once: a thousand rounds need not read the file each time.
DocumentSettings CachedSettings() {
    static const auto lines = [] {
        const DocumentSettings settings = DocumentSettingsFor(kSettings, 128);
        std::map<std::pair<int, size_t>, std::optional<std::string>> read;
        for (int k = 0; k < 16; ++k) {
            for (size_t size : {kBandLineMatchBufferSize, kBandLineLimitsBufferSize}) {
                read[{k, size}] = settings.bandLines(k, size);
            }
        }
        return read;
    }();
    return {[](int k, size_t size) { return lines.at({k, size}); }, 128};
}

class RadioTextTest : public ::testing::Test {
protected:
    CHalvexDoc NewDocument(int band = 0) {
        CHalvexDoc document(m_Prompts, CachedSettings());
        document.OnNewDocument(true);
        if (band != 0) {
            document.ChangeFrequencyRange(band);
        }
        return document;
    }

    halvex::test::QuietPrompts m_Prompts;
};

std::string RandomFrequency(std::mt19937& random, const FrequencyLimits& limits) {
    const auto span = static_cast<uint32_t>(limits.m_FreqMax - limits.m_FreqMin);
    return FormatFrequencyValue(limits.m_FreqMin + static_cast<int32_t>(random() % (span + 1)));
}

int Below(std::mt19937& random, size_t count) {
    return static_cast<int>(random() % count);
}

// An image the pages could make: every value through the commit rules.
void FillThroughCommitRules(std::mt19937& random, CHalvexDoc& doc) {
    const FrequencyLimits& limits = doc.GetFrequencyLimits();
    constexpr std::string_view kSymbols = "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*";
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (random() % 3 != 0) {
            continue;
        }
        CommitReceiveFrequency(doc, n, RandomFrequency(random, limits));
        CommitTransmitFrequency(doc, n, random() % 4 == 0 ? "" : RandomFrequency(random, limits));
        CommitTone(doc, n, kDecodeSide, Below(random, kToneCount));
        CommitTone(doc, n, kEncodeSide, Below(random, kToneCount));
        for (const ChannelColumnDefinition& column : kChannelColumns) {
            if (column.kind == ColumnKind::Choice) {
                CommitChoice(doc, n, column.id, Below(random, column.choices.size()));
            }
        }
        std::string name;
        for (int length = Below(random, 6); length > 0; --length) {
            name += kSymbols[static_cast<size_t>(Below(random, kSymbols.size()))];
        }
        CommitChannelName(doc, n, name);
    }
    for (int record : {kVfoF1, kVfoF2}) {
        const VfoFrequencies stored = VfoFrequenciesFromTexts(
            RandomFrequency(random, limits), RandomFrequency(random, limits), limits);
        doc.SetFrequencyText(record, kDecodeSide, stored.receiveText);
        doc.EditImage().SetShiftDirection(record, stored.shift);
        doc.SetFrequencyText(record, kEncodeSide, stored.offsetText);
        doc.EditImage().SetTone(record, kEncodeSide, Below(random, kToneCount));
        doc.EditImage().SetStep(record, Below(random, EnglishStepItems().size()));
        const ChannelColumnDefinition& power = kChannelColumns[kColumnPower];
        power.store(doc.EditImage(), record, Below(random, power.choices.size()));
    }
    for (const RadioOptionDefinition& option : kRadioOptions) {
        option.store(doc.EditImage(), Below(random, EnglishOptionItems(option).size()));
    }
    doc.EditImage().SetPttIdCode(
        {static_cast<uint8_t>(Below(random, 14)), 3, 0xFF, 0xFF, 0xFF, 0xFF});
    doc.EditImage().SetWord(kFmFrequencyOffset, 1, Below(random, 431));
    for (int preset = 1; preset <= kFmPresetCount; ++preset) {
        doc.EditImage().SetWord(kFmPresetBase, preset, Below(random, 432));
    }
}

// Under the sanitizers the same code runs ten times slower; they look for memory faults, which
// a quarter of the rounds meet as well, while make test runs all of them.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kRounds = 250;
#else
constexpr int kRounds = 1000;
#endif

// The kept bytes of a dump, as apply reads them.
std::vector<ReservedRun> KeptRuns(const std::string& text) {
    RadioValues values;
    std::vector<TextError> errors;
    EXPECT_TRUE(ParseRadioText(text, &values, &errors));
    return values.reserved;
}

// apply(dump(x)) == x with its derived areas made as a save makes them, dump(apply(dump(x)))
// == dump(x), no derived byte is kept and nothing is reported as stored otherwise, also with
// bytes no value holds changed anywhere in the file, the header included.
TEST_F(RadioTextTest, DumpThenApplyGivesBackEveryByteOfRandomImages) {
    std::mt19937 random(29);
    for (int round = 0; round < kRounds; ++round) {
        CHalvexDoc original = NewDocument(round % 2);
        FillThroughCommitRules(random, original);
        // A third of the images keep their empty channels erased, as a radio read gives them.
        for (int n = 1; round % 3 == 2 && n <= kImageChannelCount; ++n) {
            if (original.Image().IsChannelEmpty(n)) {
                ChannelSlot erased;
                erased.record.fill(0xFF);
                erased.name.fill(0xFF);
                WriteChannelSlot(original.EditImage(), n, erased);
            }
        }
        for (int k = Below(random, 12); k > 0; --k) {
            const size_t position = random() % (kPgmHeaderSize + kImageSize);
            const auto value = static_cast<uint8_t>(random());
            if (position < kPgmHeaderSize) {
                std::array<uint8_t, kPgmHeaderSize> header = original.Header();
                header[position] = value;
                original.SetHeader(header);
            } else {
                original.EditImage().bytes[position - kPgmHeaderSize] = value;
            }
        }
        original.ComputeFrequencyLimits();
        const std::string text = DumpRadioText(original);
        CHalvexDoc applied = NewDocument();
        std::vector<TextError> errors, notes;
        ASSERT_TRUE(ApplyRadioText(text, false, &applied, &errors, &notes))
            << "round " << round << ": " << TextErrorLine("dump", errors.front()) << "\n"
            << text;
        CHalvexDoc saved(original);
        saved.EditImage().PrepareImage();
        ASSERT_EQ(FileBytes(applied), FileBytes(saved)) << "round " << round << "\n" << text;
        ASSERT_EQ(DumpRadioText(applied), text) << "round " << round;
        ASSERT_TRUE(notes.empty()) << "round " << round << ": " << TextErrorLine("", notes[0]);
        for (const ReservedRun& run : KeptRuns(text)) {
            for (size_t k = 0; !run.inHeader && k < run.bytes.size(); ++k) {
                ASSERT_FALSE(saved.Image().IsDerivedByte(run.offset + k))
                    << round << ": " << run.offset;
            }
        }
    }
}

constexpr const char* kHead = "format: 1\nmodel: RQ870\nband: 0\n";

struct ErrorCase {
    const char* name;
    std::string body;  // after kHead, whose three lines come first
    std::vector<std::string> lines;
};

// Every problem is listed with its place, unknown keys included, and nothing is stored.
TEST_F(RadioTextTest, ErrorsNameTheirPlaceAndWhatIsAllowedAndStoreNothing) {
    const std::vector<ErrorCase> cases = {
        {"out of band",
         "channels:\n  12: {receive: 450.00000, power: low}\n",
         {"r.yaml:5:17: channels.12.receive: '450.00000' is outside the band "
          "136.00000-173.99500 MHz"}},
        {"misspelt key",
         "channels:\n  1: {receive: 146.52, powr: low}\n",
         {"r.yaml:5:24: channels.1.powr: unknown key; allowed: receive, decode, transmit, "
          "encode, power, bcl, bandwidth, scan_add, reverse, ptt_id, compander, name"}},
        {"every error of every section",
         "channels:\n  1: {receive: 146.5x, power: medium}\n  129: {receive: 146.52}\n"
         "options:\n  squelch: 10\n  ptt_id_code: \"12E\"\nfm: {presets: {3: 200M0}}\n"
         "colour: red\n",
         {"r.yaml:5:16: channels.1.receive: '146.5x' is not a frequency; allowed: MHz with up "
          "to 5 decimals within 136.00000-173.99500 MHz",
          "r.yaml:5:31: channels.1.power: 'medium' is not a choice; allowed: low, high",
          "r.yaml:6:3: channels.129: unknown key; allowed: channel numbers 1-128",
          "r.yaml:8:12: options.squelch: '10' is not a choice; allowed: 0, 1 ... 9",
          "r.yaml:9:16: options.ptt_id_code: '12E' is not a PTT ID code; allowed: up to 6 of "
          "0-9 A-D",
          "r.yaml:10:19: fm.presets.3: '200M0' is not an FM preset; allowed: 65.0-108.0 MHz "
          "in steps of 0.1, as 87.5 or 87M5, or off",
          "r.yaml:11:1: colour: unknown key; allowed: format, model, band, channels, vfos, "
          "options, fm, reserved"}},
        {"empty channel without a frequency",
         "channels:\n  7: {power: high}\n",
         {"r.yaml:5:3: channels.7: an empty channel needs a receive frequency"}},
        {"encode tone without transmit",
         "channels:\n  2: {receive: 146.52, transmit: \"\", encode: 88.5}\n",
         {"r.yaml:5:46: channels.2.encode: '88.5' needs a transmit frequency; allowed: off"}},
        {"repeated key and a list for a value",
         "vfos:\n  f1: {step: 5 kHz, step: 10 kHz, receive: [1]}\n",
         {"r.yaml:5:21: vfos.f1.step: repeated key; each key is given once",
          "r.yaml:5:44: vfos.f1.receive: expected a single value, not a list or a mapping"}},
        {"reserved bytes out of the image or of the wrong length",
         "reserved:\n  0x2000: FF\n  0x0010-0x0011: FF\n",
         {"r.yaml:5:3: reserved.0x2000: not an address range; allowed: empty_channel, "
          "header, 0xNNNN or 0xNNNN-0xNNNN within 0x0000-0x1FFF",
          "r.yaml:6:18: reserved.0x0010-0x0011: expected 2 bytes as 4 hexadecimal digits"}},
        {"empty channel bytes of the wrong length",
         "reserved: {empty_channel: FFFF}\n",
         {"r.yaml:4:27: reserved.empty_channel: expected 21 bytes as 42 hexadecimal digits"}},
        {"an FM frequency off the band and empty channel bytes holding a frequency",
         "fm: {frequency: 108.1}\nreserved: {empty_channel: 20541401" + std::string(34, 'F') +
             "}\n",
         {"r.yaml:4:17: fm.frequency: '108.1' is not an FM frequency; allowed: 65.0-108.0 MHz "
          "in steps of 0.1, as 87.5 or 87M5",
          "r.yaml:5:27: reserved.empty_channel: these bytes hold a receive frequency, so the "
          "channels they fill would not be empty; allowed: a record whose 4th byte is above 99, "
          "as FF"}},
        {"not YAML", "channels: {1: [\n", {"r.yaml:5:1: not YAML: end of sequence flow not found"}},
        {"nesting deep enough to exhaust the parser's stack",
         "channels: " + std::string(40, '['),
         {"r.yaml:4:26: nested too deeply for a radio's configuration"}},
        {"a second document after ---",
         "channels: {}\n---\nformat: 1\nchannels:\n  1: {receive: 146.52}\n",
         {"r.yaml:5:1: a second YAML document; a radio's configuration is one document"}},
        {"a second document after ...",
         "...\nchannels:\n  1: {receive: 146.52}\n",
         {"r.yaml:5:1: a second YAML document; a radio's configuration is one document"}},
        {"tags",
         "channels:\n  1: {receive: 146.52, name: !!binary QUJD}\noptions: {beep: !x on}\n",
         {"r.yaml:5:30: channels.1.name: the tag !!binary is not allowed; write the value itself",
          "r.yaml:6:17: options.beep: the tag !x is not allowed; write the value itself"}},
        {"the same reserved bytes twice",
         "reserved:\n  0x0010: FF\n  0x10: FF\n  0x000F-0x0011: FFFFFF\n  header: " +
             std::string(96, 'F') + "\n  header: " + std::string(96, 'F') + "\n",
         {"r.yaml:6:3: reserved.0x10: repeated key; each byte is given once",
          "r.yaml:7:3: reserved.0x000F-0x0011: repeated key; each byte is given once",
          "r.yaml:9:3: reserved.header: repeated key; each key is given once"}},
        {"a NUL byte",
         std::string("channels:\n  1: {name: \"a\0b\"}\n", 29),
         {"r.yaml:5:15: the control character 0x00 (a NUL byte); a radio's configuration is "
          "plain text"}},
        {"a tab in the indentation",
         "channels:\n\t1: {receive: 146.52}\n",
         {"r.yaml:5:1: a tab in the indentation; YAML indents with spaces"}},
        {"brackets in a quoted name are a name, not nesting",
         "channels:\n  1: {receive: 146.52, name: \"" + std::string(40, '[') + "\"}\n",
         {"r.yaml:5:30: channels.1.name: '" + std::string(40, '[') +
          "' is not a channel name; allowed: up to 5 of A-Z 0-9 space - _ + *"}},
        // Only real nesting counts: these shallow texts are read.
        {"a line of spaces",
         "channels:\n" + std::string(70, ' ') + "\n  1: {receive: 146.52}\n",
         {}},
        {"comments of brackets",
         "# " + std::string(40, '[') + "\nchannels:\n  1: {receive: 146.52}  # {{{{{{{{{{{{{{{{{\n",
         {}},
        {"a wide indentation", "channels:\n" + std::string(70, ' ') + "1: {receive: 146.52}\n", {}},
        {"a tab after the indentation", "channels:\n  1:\t{receive: '146.52', name: ''}\n", {}},
    };
    for (const ErrorCase& row : cases) {
        CHalvexDoc document = NewDocument();
        CommitReceiveFrequency(document, 1, "145.00000");
        const Bytes before = FileBytes(document);
        std::vector<TextError> errors;
        EXPECT_EQ(ApplyRadioText(std::string(kHead) + row.body, false, &document, &errors),
                  row.lines.empty())
            << row.name;
        std::vector<std::string> lines;
        for (const TextError& error : errors) {
            lines.push_back(TextErrorLine("r.yaml", error));
        }
        EXPECT_EQ(lines, row.lines) << row.name;
        if (row.lines.empty()) {
            EXPECT_EQ(document.Image().GetFrequencyText(1, kDecodeSide), "146.52000") << row.name;
        } else {
            EXPECT_EQ(FileBytes(document), before) << row.name;
        }
    }
}

// One rule for the channel table whatever the base: a channel the text leaves out is empty,
// with or without a file to go into, and only a missing section comes from that file. Values
// the rules change are reported as the CSV import reports them.
TEST_F(RadioTextTest, TheTextsChannelTableIsTheWholeTable) {
    CHalvexDoc base = NewDocument();
    for (int n : {1, 2, 40}) {
        CommitReceiveFrequency(base, n, "145.00000");
    }
    const std::string text =
        std::string(kHead) + "channels:\n  2: {receive: 146.521, name: \"simp\", power: High}\n";
    std::vector<int> used[2];
    for (bool into : {false, true}) {
        CHalvexDoc document(base);
        std::vector<TextError> errors, notes;
        ASSERT_TRUE(ApplyRadioText(text, into, &document, &errors, &notes));
        for (int n = 1; n <= kImageChannelCount; ++n) {
            if (!document.Image().IsChannelEmpty(n)) {
                used[into].push_back(n);
            }
        }
        std::vector<std::string> lines;
        for (const TextError& note : notes) {
            lines.push_back(TextErrorLine("r.yaml", note));
        }
        EXPECT_EQ(lines, (std::vector<std::string>{
                             "r.yaml:5:16: channels.2.receive: \"146.521\" stored as "
                             "\"146.52000\"",
                             "r.yaml:5:31: channels.2.name: \"simp\" stored as \"SIMP\""}))
            << into;
    }
    EXPECT_EQ(used[0], std::vector<int>{2});
    EXPECT_EQ(used[1], std::vector<int>{2});

    CHalvexDoc kept(base);
    std::vector<TextError> errors;
    ASSERT_TRUE(
        ApplyRadioText(std::string(kHead) + "options: {beep: off}\n", true, &kept, &errors));
    for (int n : {1, 2, 40}) {
        EXPECT_FALSE(kept.Image().IsChannelEmpty(n)) << n;
    }
}

// What the program saves and what a radio holds come back byte for byte, and a text naming
// only its band gives what File > New on that band saves.
TEST_F(RadioTextTest, SavedFilesAndRadioMemoriesRoundTripExactly) {
    CHalvexDoc fromRadio = NewDocument();
    fromRadio.TakeRadioImage(DemoMemory());
    CHalvexDoc saved = NewDocument(1);
    std::mt19937 random(5);
    FillThroughCommitRules(random, saved);
    saved.EditImage().PrepareImage();
    for (const CHalvexDoc* original : {&fromRadio, &saved}) {
        CHalvexDoc applied = NewDocument();
        std::vector<TextError> errors;
        ASSERT_TRUE(ApplyRadioText(DumpRadioText(*original), false, &applied, &errors));
        EXPECT_EQ(FileBytes(applied), FileBytes(*original));
    }
    // The radio's erased channels are one line of hex, not one each.
    const std::string demo = DumpRadioText(fromRadio);
    const std::regex hexLine("\n  (0x|header: |empty_channel: )");
    EXPECT_LE(std::distance(std::sregex_iterator(demo.begin(), demo.end(), hexLine), {}), 10)
        << demo;
    for (int band : {0, 1}) {
        CHalvexDoc fresh = NewDocument(band);
        fresh.EditImage().PrepareImage();
        CHalvexDoc applied = NewDocument();
        std::vector<TextError> errors;
        ASSERT_TRUE(ApplyRadioText("format: 1\nmodel: RQ870\nband: " + std::to_string(band) + "\n",
                                   false, &applied, &errors));
        EXPECT_EQ(FileBytes(applied), FileBytes(fresh)) << band;
    }
}

// An FM frequency is read as the page writes it and in MHz alike, on the 0.1 MHz raster of
// 65.0-108.0 MHz only.
TEST(FmCodeFromText, ReadsThePagesFormAndMegahertz) {
    for (auto [text, code] :
         {std::pair{"87m5", 225}, {"87.50", 225}, {"088.5", 235}, {"88", 230}}) {
        EXPECT_EQ(FmCodeFromText(text), code) << text;
    }
    for (const char* text : {"64.9", "108.1", "87.55", "87M50", "87M", "87.", ".5", "M5", "",
                             "1000", "87,5", "+87.5", "87.5 ", "off"}) {
        EXPECT_EQ(FmCodeFromText(text), std::nullopt) << "'" << text << "'";
    }
    for (int code = 0; code <= kFmHighestCode; ++code) {
        std::string text = FmCodeText(code);
        EXPECT_EQ(FmCodeFromText(text), code) << text;
        std::replace(text.begin(), text.end(), 'M', '.');
        EXPECT_EQ(FmCodeFromText(text), code) << text;
    }
}

// The text form names choices by the English the pages show; the option table repeats the
// language file's lists, so the two must never drift apart.
TEST(RadioOptionsTest, EnglishItemsAreTheEnglishLanguageFilesLists) {
    const std::string english = std::string(HALVEX_BIN_DIR) + "/english.lang";
    for (const RadioOptionDefinition& option : kRadioOptions) {
        if (option.kind == OptionChoices::LanguageList) {
            EXPECT_EQ(EnglishOptionItems(option), LoadLangList(english, option.section))
                << option.name;
        }
    }
    const std::span<const char* const> steps = EnglishStepItems();
    EXPECT_EQ(std::vector<std::string>(steps.begin(), steps.end()), LoadLangList(english, "Step"));
}

// A byte kept for a value the text does not show (the encode tone of a channel without
// transmit) comes back when the channel is untouched, and gives way when the user edits it.
TEST_F(RadioTextTest, AnEditedValueWinsOverTheBytesKeptForIt) {
    CHalvexDoc original = NewDocument();
    CommitReceiveFrequency(original, 3, "145.00000");
    CommitTransmitFrequency(original, 3, "");
    original.EditImage().SetTone(3, kEncodeSide, 7);
    const std::string text = DumpRadioText(original);
    ASSERT_NE(text.find("\n  0x1"), std::string::npos) << text;

    CHalvexDoc same = NewDocument();
    std::vector<TextError> errors;
    ASSERT_TRUE(ApplyRadioText(text, false, &same, &errors));
    EXPECT_EQ(same.Image().GetTone(3, kEncodeSide), 7);

    std::string edited = text;
    const size_t line = edited.find("\n  3: {");
    for (auto [from, to] : {std::pair{"transmit: \"\"", "transmit: 146.00000"},
                            std::pair{"encode: \"\"", "encode: 100.0"}}) {
        edited.replace(edited.find(from, line), std::string_view(from).size(), to);
    }
    CHalvexDoc changed = NewDocument();
    ASSERT_TRUE(ApplyRadioText(edited, false, &changed, &errors))
        << TextErrorLine("edited", errors.front());
    EXPECT_EQ(changed.GetTransmitText(3), "146.00000");
    EXPECT_EQ(
        EnglishChannelTexts().tones[static_cast<size_t>(changed.Image().GetTone(3, kEncodeSide))],
        "100.0");
}

}  // namespace
