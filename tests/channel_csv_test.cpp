// SPDX-License-Identifier: GPL-3.0-or-later
// Channel lists as CSV on a document of the 136-174 MHz band: every column's mapping both
// ways, the losses the import reports, the import modes, refused files, and export then
// import giving back the channel table byte for byte.
#include "editors/channel_csv.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "codeplug/document.h"
#include "config/app_globals.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "editors/channel_csv_values.h"
#include "platform/csv_text.h"
#include "support/module_folder.h"
#include "support/program_globals.h"
#include "support/quiet_prompts.h"

namespace {

const char* const kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

using Row = std::map<std::string, std::string>;

// A row as the format's own program writes a simplex channel 1, with some columns changed and
// the columns in drop left out of the file.
std::string CsvOf(const std::vector<Row>& rows, const std::vector<std::string>& drop = {}) {
    const Row defaults = {
        {"Location", "1"},      {"Name", ""},           {"Frequency", "146.520000"},
        {"Duplex", ""},         {"Offset", "0.000000"}, {"Tone", ""},
        {"rToneFreq", "88.5"},  {"cToneFreq", "88.5"},  {"DtcsCode", "023"},
        {"DtcsPolarity", "NN"}, {"RxDtcsCode", "023"},  {"CrossMode", "Tone->Tone"},
        {"Mode", "FM"},         {"TStep", "5.00"},      {"Skip", ""},
        {"Power", "5.0W"}};
    std::vector<CsvRecord> header;
    std::string error;
    ParseCsvText(kHeader, &header, &error);
    std::erase_if(header[0].fields, [&](const std::string& column) {
        return std::find(drop.begin(), drop.end(), column) != drop.end();
    });
    std::string csv;
    for (const std::string& column : header[0].fields) {
        csv += (csv.empty() ? "" : ",") + column;
    }
    csv += "\r\n";
    for (const Row& row : rows) {
        std::string line;
        for (const std::string& column : header[0].fields) {
            auto value = row.find(column);
            auto fallback = defaults.find(column);
            std::string text = value != row.end()           ? value->second
                               : fallback != defaults.end() ? fallback->second
                                                            : "";
            line += (column == header[0].fields[0] ? "" : ",") + QuoteCsvField(text);
        }
        csv += line + "\r\n";
    }
    return csv;
}

// What the channel table shows of channel n, in the table's own terms.
struct Shown {
    std::string receive, transmit;
    int decode, encode;
    bool powerHigh;
    int bandwidth;
    bool scanAdd;
    std::string name;
    int step;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const Shown& s) {
    return stream << s.receive << " tx " << s.transmit << " dec " << s.decode << " enc " << s.encode
                  << " high " << s.powerHigh << " bw " << s.bandwidth << " scan " << s.scanAdd
                  << " name '" << s.name << "' step " << s.step;
}

class ChannelCsvTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Folder.Write("setting.ini",
                       "[setup]\ncompander=1\nchannel=1\n[ModelInfo]\nFreq0=136-174MHz\n"
                       "data0=6013401700000000\n");
        SetModuleDir(m_Folder.Path());
        m_Doc.SetSettings(DocumentSettingsFor(g_SettingsPath, 128));
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
    }

    ChannelImportResult Import(const std::string& csv,
                               ChannelImportMode mode = ChannelImportMode::Merge,
                               const CsvWording& wording = EnglishWording) {
        ChannelImportResult result;
        std::string error;
        EXPECT_TRUE(ImportChannelCsv(csv, m_Doc, 128, mode, wording, &result, &error)) << error;
        return result;
    }

    Shown Channel(int n) const {
        return {m_Doc.Image().GetFrequencyText(n, kDecodeSide),
                m_Doc.GetTransmitText(n),
                m_Doc.Image().GetTone(n, kDecodeSide),
                m_Doc.Image().GetTone(n, kEncodeSide),
                m_Doc.Image().GetPowerHigh(n),
                m_Doc.Image().GetBandwidth(n),
                m_Doc.Image().GetScanAdd(n),
                DecodeChannelName(m_Doc.Image().GetChannelNameBytes(n).data()),
                m_Doc.Image().GetStep(n)};
    }

    halvex::test::ModuleFolder m_Folder;
    halvex::test::UseLanguagePath m_Language{m_Folder.File("none.lang")};
    halvex::test::QuietPrompts m_Prompts;
    CHalvexDoc m_Doc{m_Prompts, DocumentSettings{}};
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// Tone indices: 88.5 Hz is 9, 100.0 Hz is 13, 67.0 Hz is 1, D023N is 51, D025N 52, D754N 154,
// and an inverted code is 104 above its normal one.
TEST_F(ChannelCsvTest, EveryColumnMapsToTheChannel) {
    const Shown simplex = {"146.52000", "146.52000", 0, 0, true, 0, true, "", 1};
    auto with = [&](auto change) {
        Shown shown = simplex;
        change(shown);
        return shown;
    };
    struct Case {
        const char* name;
        Row row;
        Shown expected;
        const char* loss;  // "" when the row is stored as written
        std::vector<std::string> drop = {};
    };
    const Case cases[] = {
        {"simplex", {}, simplex, ""},
        {"plus offset",
         {{"Duplex", "+"}, {"Offset", "0.600000"}},
         with([](Shown& s) { s.transmit = "147.12000"; }),
         ""},
        {"minus offset",
         {{"Duplex", "-"}, {"Offset", "0.600000"}},
         with([](Shown& s) { s.transmit = "145.92000"; }),
         ""},
        {"split",
         {{"Duplex", "split"}, {"Offset", "144.000000"}},
         with([](Shown& s) { s.transmit = "144.00000"; }),
         ""},
        {"transmit off", {{"Duplex", "off"}}, with([](Shown& s) { s.transmit = ""; }), ""},
        {"split outside the band",
         {{"Duplex", "split"}, {"Offset", "446.000000"}},
         with([](Shown& s) { s.transmit = ""; }),
         "row 2, Offset: transmit \"446.000000\" cannot be stored"},
        {"unknown duplex", {{"Duplex", "x"}}, simplex, "row 2, Duplex: \"x\" is not a duplex"},
        {"Tone",
         {{"Tone", "Tone"}, {"rToneFreq", "100.0"}},
         with([](Shown& s) { s.encode = 13; }),
         ""},
        {"TSQL",
         {{"Tone", "TSQL"}, {"rToneFreq", "100.0"}, {"cToneFreq", "67.0"}},
         with([](Shown& s) { s.encode = s.decode = 1; }),
         ""},
        {"DTCS",
         {{"Tone", "DTCS"}, {"DtcsCode", "754"}, {"DtcsPolarity", "RN"}},
         with([](Shown& s) {
             s.encode = 154 + 104;
             s.decode = 154;
         }),
         ""},
        {"DTCS, polarity after a blank",
         {{"Tone", "DTCS"}, {"DtcsCode", "754"}, {"DtcsPolarity", " RN"}},
         with([](Shown& s) {
             s.encode = 154 + 104;
             s.decode = 154;
         }),
         ""},
        {"Tone->Tone",
         {{"Tone", "Cross"}, {"CrossMode", "Tone->Tone"}, {"rToneFreq", "67.0"}},
         with([](Shown& s) {
             s.encode = 1;
             s.decode = 9;
         }),
         ""},
        {"Tone->DTCS",
         {{"Tone", "Cross"},
          {"CrossMode", "Tone->DTCS"},
          {"RxDtcsCode", "25"},
          {"DtcsPolarity", "NR"}},
         with([](Shown& s) {
             s.encode = 9;
             s.decode = 52 + 104;
         }),
         ""},
        {"DTCS->Tone",
         {{"Tone", "Cross"}, {"CrossMode", "DTCS->Tone"}, {"cToneFreq", "67.0"}},
         with([](Shown& s) {
             s.encode = 51;
             s.decode = 1;
         }),
         ""},
        {"DTCS->",
         {{"Tone", "Cross"}, {"CrossMode", "DTCS->"}, {"DtcsPolarity", "RR"}},
         with([](Shown& s) { s.encode = 51 + 104; }),
         ""},
        {"->Tone",
         {{"Tone", "Cross"}, {"CrossMode", "->Tone"}},
         with([](Shown& s) { s.decode = 9; }),
         ""},
        {"->DTCS",
         {{"Tone", "Cross"}, {"CrossMode", "->DTCS"}, {"RxDtcsCode", "754"}},
         with([](Shown& s) { s.decode = 154; }),
         ""},
        {"DTCS->DTCS",
         {{"Tone", "Cross"},
          {"CrossMode", "DTCS->DTCS"},
          {"DtcsCode", "25"},
          {"RxDtcsCode", "754"}},
         with([](Shown& s) {
             s.encode = 52;
             s.decode = 154;
         }),
         ""},
        {"TSQL-R",
         {{"Tone", "TSQL-R"}},
         simplex,
         "row 2, Tone: TSQL-R is not supported by the radio, tones off"},
        {"DTCS-R", {{"Tone", "DTCS-R"}}, simplex, "row 2, Tone: DTCS-R is not supported"},
        {"tone not in the list",
         {{"Tone", "Tone"}, {"rToneFreq", "69.4"}},
         simplex,
         "row 2, rToneFreq: 69.4 is not a tone of the radio, set off"},
        {"code not in the list",
         {{"Tone", "DTCS"}, {"DtcsCode", "024"}},
         simplex,
         "row 2, DtcsCode: 024 is not a tone of the radio, set off"},
        {"tone without transmit",
         {{"Tone", "Tone"}, {"Duplex", "off"}},
         with([](Shown& s) { s.transmit = ""; }),
         "row 2, Tone: no transmit frequency"},
        {"narrow", {{"Mode", "NFM"}}, with([](Shown& s) { s.bandwidth = 1; }), ""},
        {"scan off", {{"Skip", "S"}}, with([](Shown& s) { s.scanAdd = false; }), ""},
        {"priority scan", {{"Skip", "P"}}, simplex, "row 2, Skip: priority scan"},
        {"power low by name", {{"Power", "Low"}}, with([](Shown& s) { s.powerHigh = false; }), ""},
        {"power high by name", {{"Power", "high"}}, simplex, ""},
        {"the radio's own low level",
         {{"Power", "1.0W"}},
         with([](Shown& s) { s.powerHigh = false; }),
         ""},
        {"another radio's level alone is the highest",
         {{"Power", "0.5W"}},
         simplex,
         "row 2, Power: \"0.5W\" stored as \"High\""},
        {"name", {{"Name", "RPT-1"}}, with([](Shown& s) { s.name = "RPT-1"; }), ""},
        {"lower-case name",
         {{"Name", "Rpt-1"}},
         with([](Shown& s) { s.name = "RPT-1"; }),
         "row 2, Name: \"Rpt-1\" stored as \"RPT-1\""},
        {"name too long",
         {{"Name", "SEA 01"}},
         with([](Shown& s) { s.name = "SEA01"; }),
         "row 2, Name: \"SEA 01\" stored as \"SEA01\""},
        {"name truncated",
         {{"Name", "LONGNAME"}},
         with([](Shown& s) { s.name = "LONGN"; }),
         "row 2, Name: \"LONGNAME\" stored as \"LONGN\""},
        {"name character replaced",
         {{"Name", "W.1"}},
         with([](Shown& s) { s.name = "W 1"; }),
         "row 2, Name: \"W.1\" stored as \"W 1\""},
        {"step", {{"TStep", "12.5"}}, with([](Shown& s) { s.step = 4; }), ""},
        {"step the radio lacks",
         {{"TStep", "100.00"}},
         with([](Shown& s) { s.step = 0; }),
         "row 2, TStep: \"100.00\" is not a step of the radio, not stored"},
        {"frequency rounded",
         {{"Frequency", "146.523"}},
         with([](Shown& s) { s.receive = s.transmit = "146.52500"; }),
         "row 2, Frequency: \"146.523\" stored as \"146.52500\""},
        {"digits past 10 Hz",
         {{"Frequency", "146.5200001"}},
         simplex,
         "row 2, Frequency: \"146.5200001\" stored as \"146.52000\""},
        {"D-STAR columns ignored", {{"URCALL", "CQCQCQ"}, {"DVCODE", "5"}}, simplex, ""},
        {"comment counted",
         {{"Comment", "x"}},
         simplex,
         "Comment: 1 comment not stored, the radio has no room for it"},
        {"frequency with its unit",
         {{"Frequency", "146.54 MHz"}},
         with([](Shown& s) { s.receive = s.transmit = "146.54000"; }),
         ""},
        {"transmit below zero shown as written",
         {{"Duplex", "-"}, {"Offset", "210"}},
         with([](Shown& s) { s.transmit = ""; }),
         "row 2, Offset: transmit \"146.520000 - 210\" cannot be stored"},
        {"blank offset",
         {{"Duplex", "+"}, {"Offset", ""}},
         simplex,
         "row 2, Offset: blank, taken as 0"},
        // A file with one tone column takes the tone from it, as the format's own program does.
        {"TSQL from rToneFreq alone",
         {{"Tone", "TSQL"}, {"rToneFreq", "100.0"}},
         with([](Shown& s) { s.encode = s.decode = 13; }),
         "",
         {"cToneFreq"}},
        {"Tone from cToneFreq alone",
         {{"Tone", "Tone"}, {"cToneFreq", "100.0"}},
         with([](Shown& s) { s.encode = 13; }),
         "",
         {"rToneFreq"}},
        {"Tone, blank rToneFreq",
         {{"Tone", "Tone"}, {"rToneFreq", ""}},
         simplex,
         "row 2, rToneFreq: blank, taken as off"},
        {"TSQL, blank cToneFreq",
         {{"Tone", "TSQL"}, {"cToneFreq", " "}},
         simplex,
         "row 2, cToneFreq: blank, taken as off"},
        {"DTCS, blank code",
         {{"Tone", "DTCS"}, {"DtcsCode", ""}},
         simplex,
         "row 2, DtcsCode: blank, taken as off"},
        {"DTCS->DTCS, blank receive code",
         {{"Tone", "Cross"}, {"CrossMode", "DTCS->DTCS"}, {"RxDtcsCode", ""}},
         with([](Shown& s) { s.encode = 51; }),
         "row 2, RxDtcsCode: blank, taken as off"},
        {"polarity XY",
         {{"Tone", "DTCS"}, {"DtcsPolarity", "XY"}},
         with([](Shown& s) { s.encode = s.decode = 51; }),
         "row 2, DtcsPolarity: \"XY\" is not a DCS polarity, taken as NN"},
        {"polarity R alone",
         {{"Tone", "DTCS"}, {"DtcsPolarity", "R"}},
         with([](Shown& s) { s.encode = s.decode = 51; }),
         "row 2, DtcsPolarity: \"R\" is not a DCS polarity"},
        {"no polarity column",
         {{"Tone", "DTCS"}},
         with([](Shown& s) { s.encode = s.decode = 51; }),
         "row 2, DtcsPolarity: no DtcsPolarity column: taken as NN",
         {"DtcsPolarity"}},
        {"blank mode", {{"Mode", ""}}, simplex, "row 2, Mode: blank, taken as FM"},
        {"blank power", {{"Power", ""}}, simplex, "row 2, Power: blank, taken as High"},
        {"Cross without a CrossMode column",
         {{"Tone", "Cross"}, {"rToneFreq", "67.0"}},
         with([](Shown& s) {
             s.encode = 1;
             s.decode = 9;
         }),
         "row 2, Tone: no CrossMode column: taken as Tone->Tone",
         {"CrossMode"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        ChannelImportResult result = Import(CsvOf({c.row}, c.drop));
        EXPECT_EQ(result.importedRows, 1);
        EXPECT_EQ(Channel(1), c.expected);
        if (std::string(c.loss).empty()) {
            EXPECT_TRUE(result.losses.empty()) << Joined(result.losses);
        } else {
            ASSERT_EQ(result.losses.size(), 1u) << Joined(result.losses);
            EXPECT_EQ(result.losses[0].rfind(c.loss, 0), 0u) << result.losses[0];
        }
    }
}

TEST_F(ChannelCsvTest, RowsThatCannotBeStoredAreSkippedAndReported) {
    struct Case {
        const char* name;
        Row row;
        const char* loss;
    };
    const Case cases[] = {
        {"channel 0", {{"Location", "0"}}, "row 2, Location: \"0\" is not a channel from 1 to 128"},
        {"channel 129", {{"Location", "129"}}, "is not a channel from 1 to 128, row skipped"},
        {"not a number", {{"Location", "one"}}, "is not a channel"},
        {"above the band",
         {{"Frequency", "174.000000"}},
         "row 2, Frequency: 174.000000 MHz is outside the band 136.00000-173.99500 MHz, row "
         "skipped"},
        {"below the band", {{"Frequency", "121.5"}}, "outside the band"},
        {"no frequency", {{"Frequency", ""}}, "row 2, Frequency: \"\" is not a frequency"},
        {"not a frequency", {{"Frequency", "14x.5"}}, "is not a frequency in MHz, row skipped"},
        {"AM", {{"Mode", "AM"}}, "row 2, Mode: mode AM is not supported by the radio, row skipped"},
        {"DV", {{"Mode", "DV"}}, "mode DV is not supported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        CommitReceiveFrequency(m_Doc, 1, "150.000");
        m_Doc.SetModifiedFlag(false);
        const auto before = m_Doc.Image().bytes;
        ChannelImportResult result = Import(CsvOf({c.row}));
        EXPECT_EQ(result.importedRows, 0);
        // A row naming the channel in use also says what the channel keeps.
        const bool namesChannel = !c.row.contains("Location");
        ASSERT_EQ(result.losses.size(), namesChannel ? 2u : 1u) << Joined(result.losses);
        EXPECT_NE(result.losses[0].find(c.loss), std::string::npos) << result.losses[0];
        if (namesChannel) {
            EXPECT_EQ(result.losses[1], "row 2 skipped: channel 1 keeps 150.00000");
        }
        EXPECT_TRUE(m_Doc.Image().bytes == before);
        EXPECT_FALSE(m_Doc.IsModified());
    }
}

TEST_F(ChannelCsvTest, WattsTakeTheHighestLevelOfTheFileAsHigh) {
    // The levels are named in the report's language, like the rest of its lines.
    const CsvWording levelKeys = [](const CsvReportText& text) {
        const std::string key = text.key;
        return key == "IDS_HIGH" || key == "IDS_LOW" ? key : EnglishWording(text);
    };
    ChannelImportResult result = Import(CsvOf({{{"Location", "1"}, {"Power", "5.0W"}},
                                               {{"Location", "2"}, {"Power", "1.0W"}},
                                               {{"Location", "3"}, {"Power", "2.5W"}},
                                               {{"Location", "4"}, {"Power", "nonsense"}},
                                               {{"Location", "5"}, {"Power", ""}}}),
                                        ChannelImportMode::Merge, levelKeys);
    EXPECT_TRUE(m_Doc.Image().GetPowerHigh(1));
    EXPECT_FALSE(m_Doc.Image().GetPowerHigh(2));
    EXPECT_FALSE(m_Doc.Image().GetPowerHigh(3));
    EXPECT_TRUE(m_Doc.Image().GetPowerHigh(4));
    EXPECT_TRUE(m_Doc.Image().GetPowerHigh(5));
    EXPECT_EQ(Joined(result.losses),
              "row 4, Power: \"2.5W\" stored as \"IDS_LOW\"\n"
              "row 5, Power: \"nonsense\" stored as \"IDS_HIGH\"\n"
              "row 6, Power: blank, taken as IDS_HIGH\n");
}

TEST_F(ChannelCsvTest, OlderFilesAndMissingColumnsTakeTheDefaults) {
    // 16 columns of an older export, in another order, with a blank line and quotes.
    ChannelImportResult result = Import(
        "Name,Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "Mode,TStep,Skip,URCALL,RPT1CALL,RPT2CALL\r\n\r\n"
        "\"Rpt\",7,145.250000,-,0.600000,Tone,100.0,88.5,023,NN,FM,12.50,S,,,\r\n");
    EXPECT_EQ(Joined(result.losses),
              "row 3, Name: \"Rpt\" stored as \"RPT\"\n"
              "no Power column: 1 new channel set to High\n");
    EXPECT_EQ(ImportSummary(result, EnglishWording), "1 row imported, 2 changes reported.");
    EXPECT_EQ(Channel(7), (Shown{"145.25000", "144.65000", 0, 13, true, 0, false, "RPT", 4}));

    // A column the header names twice is said once, and the first of them is read.
    ASSERT_TRUE(m_Doc.OnNewDocument(true));
    result = Import("Location,Frequency,Frequency,Name,Name,Name\n3,146.52,147.0,AB,CD,EF\n");
    EXPECT_EQ(Joined(result.losses),
              "the header names the column Frequency twice, the first is used\n"
              "the header names the column Name twice, the first is used\n"
              "no Duplex column: 1 new channel set to simplex\n"
              "no Tone column: 1 new channel set to no tone\n"
              "no Mode column: 1 new channel set to FM\n"
              "no TStep column: 1 new channel set to 5.00\n"
              "no Skip column: 1 new channel set to scan add on\n"
              "no Power column: 1 new channel set to High\n");
    EXPECT_EQ(Channel(3).receive, "146.52000");
    EXPECT_EQ(Channel(3).name, "AB");

    // Frequency alone: rows take channels 1, 2, ... in order, every default said once.
    ASSERT_TRUE(m_Doc.OnNewDocument(true));
    result = Import("Frequency\n146.52\n \t\n147.0\n");
    EXPECT_EQ(Joined(result.losses),
              "no Duplex column: 2 new channels set to simplex\n"
              "no Tone column: 2 new channels set to no tone\n"
              "no Mode column: 2 new channels set to FM\n"
              "no TStep column: 2 new channels set to 5.00\n"
              "no Skip column: 2 new channels set to scan add on\n"
              "no Power column: 2 new channels set to High\n"
              "no Name column: 2 new channels set to no name\n");
    EXPECT_EQ(Channel(1), (Shown{"146.52000", "146.52000", 0, 0, true, 0, true, "", 1}));
    EXPECT_EQ(Channel(2).receive, "147.00000");
}

TEST_F(ChannelCsvTest, ModesDecideWhatHappensToOtherChannels) {
    auto prepare = [&] {
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        CommitReceiveFrequency(m_Doc, 1, "150.000");
        CommitReceiveFrequency(m_Doc, 2, "151.000");
        CommitChoice(m_Doc, 2, kColumnBcl, 1);
        CommitChoice(m_Doc, 2, kColumnCompander, 1);
        m_Doc.SetModifiedFlag(false);
    };
    const std::string csv =
        CsvOf({{{"Location", "2"}, {"Frequency", "160.0"}}, {{"Location", "3"}}});

    prepare();
    ChannelImportResult result = Import(csv, ChannelImportMode::Merge);
    EXPECT_EQ(result.importedRows, 2);
    EXPECT_EQ(Channel(1).receive, "150.00000");
    EXPECT_EQ(Channel(2).receive, "160.00000");
    EXPECT_EQ(Channel(3).receive, "146.52000");
    // The format has no column for these: the channel keeps them.
    EXPECT_TRUE(m_Doc.Image().GetBcl(2));
    EXPECT_TRUE(m_Doc.Image().GetCompander(2));
    EXPECT_TRUE(m_Doc.IsModified());

    prepare();
    result = Import(csv, ChannelImportMode::Replace);
    EXPECT_EQ(Joined(result.losses), "channel 1 is not in the file and was cleared\n");
    EXPECT_TRUE(m_Doc.Image().IsChannelEmpty(1));
    EXPECT_EQ(Channel(2).receive, "160.00000");
    EXPECT_EQ(Channel(3).receive, "146.52000");

    // A row skipped for its frequency still names its channel: Replace leaves it alone.
    prepare();
    result = Import(CsvOf({{{"Location", "1"}, {"Frequency", "500.0"}}, {{"Location", "2"}}}),
                    ChannelImportMode::Replace);
    EXPECT_EQ(Channel(1).receive, "150.00000");
    EXPECT_EQ(Joined(result.losses),
              "row 2, Frequency: 500.0 MHz is outside the band 136.00000-173.99500 MHz, row "
              "skipped\n"
              "row 2 skipped: channel 1 keeps 150.00000\n");

    prepare();
    result = Import(csv, ChannelImportMode::FillEmpty);
    EXPECT_EQ(result.importedRows, 1);
    EXPECT_EQ(Channel(2).receive, "151.00000");
    EXPECT_EQ(Channel(3).receive, "146.52000");
    EXPECT_EQ(Joined(result.losses), "row 2, Location: channel 2 is in use, row skipped\n");

    prepare();
    result = Import(CsvOf({{{"Location", "4"}}, {{"Location", "4"}, {"Frequency", "140"}}}));
    EXPECT_EQ(Channel(4).receive, "146.52000");
    EXPECT_EQ(Joined(result.losses),
              "row 3, Location: channel 4 was already imported from row 2, row skipped\n");
}

// Another program's file without Power must not turn a low channel high: a column the file
// lacks keeps what a used channel holds, whichever mode lands the row there.
TEST_F(ChannelCsvTest, MissingColumnsKeepWhatAUsedChannelHolds) {
    for (ChannelImportMode mode : {ChannelImportMode::Merge, ChannelImportMode::Replace}) {
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        CommitReceiveFrequency(m_Doc, 1, "151.820");
        CommitTransmitFrequency(m_Doc, 1, "152.420");
        CommitTone(m_Doc, 1, kEncodeSide, 13);
        CommitTone(m_Doc, 1, kDecodeSide, 1);
        CommitChoice(m_Doc, 1, kColumnPower, 0);
        CommitChoice(m_Doc, 1, kColumnBandwidth, 2);
        CommitChoice(m_Doc, 1, kColumnScanAdd, 0);
        CommitChannelName(m_Doc, 1, "MURS");
        m_Doc.EditImage().SetStep(1, 4);
        ChannelImportResult result = Import("Location,Frequency\n1,151.88\n2,152.0\n", mode);
        EXPECT_EQ(Channel(1), (Shown{"151.88000", "152.48000", 1, 13, false, 2, false, "MURS", 4}));
        EXPECT_EQ(Channel(2), (Shown{"152.00000", "152.00000", 0, 0, true, 0, true, "", 1}));
        EXPECT_EQ(result.losses.size(), 7u) << Joined(result.losses);
        EXPECT_EQ(result.losses[5], "no Power column: 1 new channel set to High");
    }
}

// Band 3 of a multi-band model: 136-174, 220-260 and 400-520 MHz, each up to 5 kHz below its
// upper edge, as every band's edges are read.
TEST_F(ChannelCsvTest, FrequenciesOutsideEveryRangeOfTheBandAreSkipped) {
    m_Folder.Write("setting.ini",
                   "[setup]\nchannel=1\n[ModelInfo]\ndata0=601340170040005200220026\n");
    const char* ranges = "136.00000-173.99500, 220.00000-259.99500, 400.00000-519.99500";
    struct Case {
        const char* frequency;
        const char* duplex;
        const char* offset;
        const char* transmit;  // nullptr: the row is skipped
    };
    const Case cases[] = {
        {"300.000", "", "0", nullptr},     {"190.000", "", "0", nullptr},
        {"174.000", "", "0", nullptr},     {"260.000", "", "0", nullptr},
        {"520.000", "", "0", nullptr},     {"135.995", "", "0", nullptr},
        {"173.995", "", "0", "173.99500"}, {"220.000", "", "0", "220.00000"},
        {"259.995", "", "0", "259.99500"}, {"446.000", "-", "5", "441.00000"},
        {"146.520", "+", "50", ""},        {"223.500", "split", "174", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequency);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        ChannelImportResult result = Import(
            CsvOf({{{"Frequency", c.frequency}, {"Duplex", c.duplex}, {"Offset", c.offset}}}));
        EXPECT_EQ(result.importedRows, c.transmit ? 1 : 0);
        if (!c.transmit) {
            EXPECT_EQ(Joined(result.losses), std::string("row 2, Frequency: ") + c.frequency +
                                                 " MHz is outside the band " + ranges +
                                                 " MHz, row skipped\n");
            continue;
        }
        EXPECT_EQ(Channel(1).transmit, c.transmit);
        EXPECT_EQ(result.losses.size(), std::string(c.transmit).empty() ? 1u : 0u)
            << Joined(result.losses);
    }
}

TEST_F(ChannelCsvTest, RefusedFilesChangeNothing) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"no Frequency column", "Location,Name\n1,A\n", "the file has no Frequency column"},
        {"empty file", "", "the file has no Frequency column"},
        {"bad quoting", std::string(kHeader) + "\n1,\"open,146.52\n", "never closed"},
        {"binary",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "not text"},
        {"text that is not CSV", "Hello,\nthis is a letter.\n", "no Frequency column"},
    };
    CommitReceiveFrequency(m_Doc, 1, "150.000");
    m_Doc.SetModifiedFlag(false);
    const auto before = m_Doc.Image().bytes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelImportResult result;
        std::string error;
        EXPECT_FALSE(ImportChannelCsv(c.text, m_Doc, 128, ChannelImportMode::Replace,
                                      EnglishWording, &result, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(m_Doc.Image().bytes == before);
        EXPECT_FALSE(m_Doc.IsModified());
    }
}

TEST_F(ChannelCsvTest, HugeFilesAreReportedNotFatal) {
    std::string csv = std::string(kHeader) + "\n";
    for (int row = 1; row <= 100000; ++row) {
        csv += std::to_string(row) +
               ",,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,"
               "5.00,,5.0W,,,,,\n";
    }
    ChannelImportResult result = Import(csv);
    EXPECT_EQ(result.importedRows, 128);
    EXPECT_EQ(result.losses.size(), 100000u - 128);

    ASSERT_TRUE(m_Doc.OnNewDocument(true));
    result = Import(CsvOf({{{"Name", std::string(10 * 1024 * 1024, 'N')}}}));
    EXPECT_EQ(Channel(1).name, "NNNNN");
    ASSERT_EQ(result.losses.size(), 1u);
    EXPECT_LT(result.losses[0].size(), 200u);
}

// The column table names only columns the export writes, and every column it writes is a
// channel column's or one of the format's own that the table has no place for.
TEST(ChannelColumnCsv, TheTableAndTheExportHeaderAgree) {
    const std::set<std::string> written(std::begin(kCsvColumns), std::end(kCsvColumns));
    std::set<std::string> carried = {"TStep",    "Comment",  "URCALL",
                                     "RPT1CALL", "RPT2CALL", "DVCODE"};
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        for (const char* csv : column.csvColumns) {
            EXPECT_TRUE(written.contains(csv)) << column.name << ": " << csv;
            carried.insert(csv);
        }
    }
    EXPECT_EQ(carried, written);
}

// A channel typed into the table starts with scan add off, so it exports with Skip S.
TEST_F(ChannelCsvTest, ExportWritesTheFormatsOwnValues) {
    CommitReceiveFrequency(m_Doc, 1, "146.52");
    CommitReceiveFrequency(m_Doc, 3, "146.94");
    CommitTransmitFrequency(m_Doc, 3, "146.34");
    CommitTone(m_Doc, 3, kEncodeSide, 13);
    CommitChoice(m_Doc, 3, kColumnPower, 0);
    CommitChoice(m_Doc, 3, kColumnBandwidth, 1);
    CommitChoice(m_Doc, 3, kColumnScanAdd, 0);
    CommitChannelName(m_Doc, 3, "rpt 1");
    CommitReceiveFrequency(m_Doc, 4, "147.0");
    CommitTransmitFrequency(m_Doc, 4, "");
    CommitTone(m_Doc, 4, kDecodeSide, 154 + 104);
    CommitChoice(m_Doc, 4, kColumnBandwidth, 2);
    CommitChoice(m_Doc, 4, kColumnReverse, 1);
    std::vector<std::string> notes;
    EXPECT_EQ(ExportChannelCsv(m_Doc, 128, EnglishWording, &notes),
              std::string(kHeader) +
                  "\r\n"
                  "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,2.50,S,5.0W,,,,,\r\n"
                  "3,RPT 1,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,NFM,2.50,"
                  "S,1.0W,,,,,\r\n"
                  "4,,147.000000,off,0.000000,DTCS,88.5,88.5,754,RR,023,Tone->Tone,FM,2.50,S,5.0W,,"
                  ",,,\r\n");
    EXPECT_EQ(Joined(notes),
              "channel 4: middle bandwidth written as FM\n"
              "channel 4: Reverse on is not carried by the CSV format\n");
}

// Random channels as the table's own editors make them. Without the settings the format has
// no column for, exporting and importing them into a fresh document gives the same channels;
// with every column, importing the export into the same document gives the same bytes.
TEST_F(ChannelCsvTest, ExportThenImportGivesBackTheChannelTable) {
    std::mt19937 random(20261209);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto frequency = [&] { return FormatFrequencyValue(13600000 + 250 * pick(0, 15199)); };
    const std::string alphabet = "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*";
    for (int image = 0; image < 40; ++image) {
        const bool allColumns = image % 2 == 1;
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        for (int n = 1; n <= 128; ++n) {
            if (pick(0, 4) == 0) {
                continue;
            }
            CommitReceiveFrequency(m_Doc, n, frequency());
            const int transmit = pick(0, 3);
            if (transmit == 0) {
                CommitTransmitFrequency(m_Doc, n, "");
            } else if (transmit == 1) {
                CommitTransmitFrequency(m_Doc, n, frequency());
            }
            CommitTone(m_Doc, n, kDecodeSide, pick(0, 258));
            if (transmit != 0) {
                CommitTone(m_Doc, n, kEncodeSide, pick(0, 258));
            }
            // Every fifth image has low channels only, which must not come back high.
            CommitChoice(m_Doc, n, kColumnPower, image % 5 == 4 ? 0 : pick(0, 1));
            CommitChoice(m_Doc, n, kColumnBandwidth, pick(0, allColumns ? 2 : 1));
            CommitChoice(m_Doc, n, kColumnScanAdd, pick(0, 1));
            for (int column : {kColumnBcl, kColumnReverse, kColumnPttId, kColumnCompander}) {
                CommitChoice(m_Doc, n, column, allColumns ? pick(0, 1) : 0);
            }
            std::string name;
            for (int length = pick(0, 5); length > 0; --length) {
                name.push_back(alphabet[static_cast<size_t>(pick(0, 40))]);
            }
            CommitChannelName(m_Doc, n, name);
            m_Doc.EditImage().SetStep(n, pick(0, 5));
            // A byte no column shows, as another program may have left it: kept by an import
            // into the same document.
            if (allColumns && transmit == 0) {
                m_Doc.EditImage().SetShiftDirection(n, static_cast<ShiftDirection>(pick(0, 2)));
            }
        }
        const auto original = m_Doc.Image().bytes;
        std::vector<std::string> notes;
        const std::string csv = ExportChannelCsv(m_Doc, 128, EnglishWording, &notes);
        if (allColumns) {
            ChannelImportResult result = Import(csv, ChannelImportMode::Merge);
            EXPECT_TRUE(result.losses.empty()) << Joined(result.losses);
            ASSERT_TRUE(m_Doc.Image().bytes == original) << "image " << image;
            continue;
        }
        // Only the cross modes older readers lack are noted.
        EXPECT_EQ(std::count_if(notes.begin(), notes.end(),
                                [](const auto& note) {
                                    return note.find("need the CrossMode column") ==
                                           std::string::npos;
                                }),
                  0)
            << Joined(notes);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        ChannelImportResult result = Import(csv, ChannelImportMode::Replace);
        EXPECT_TRUE(result.losses.empty()) << Joined(result.losses);
        for (int n = 1; n <= 128; ++n) {
            SCOPED_TRACE("image " + std::to_string(image) + " channel " + std::to_string(n));
            const size_t record = 0x1000 + 16 * static_cast<size_t>(n);
            const size_t name = 0x0900 + 5 * static_cast<size_t>(n - 1);
            ASSERT_TRUE(std::equal(original.begin() + record, original.begin() + record + 16,
                                   m_Doc.Image().bytes.begin() + record));
            ASSERT_TRUE(std::equal(original.begin() + name, original.begin() + name + 5,
                                   m_Doc.Image().bytes.begin() + name));
        }
    }
}

// The clipboard's text: the selected rows out, then in again from another row down.
TEST_F(ChannelCsvTest, PastedRowsGoFromTheTargetDownAndReportWhatFallsOff) {
    CommitReceiveFrequency(m_Doc, 3, "146.52");
    CommitChannelName(m_Doc, 3, "AB");
    CommitReceiveFrequency(m_Doc, 5, "147.00");
    CommitReceiveFrequency(m_Doc, 20, "150.00");
    CommitChoice(m_Doc, 20, kColumnBcl, 1);
    CommitReceiveFrequency(m_Doc, 21, "151.00");
    std::vector<std::string> notes;
    const std::string csv = ExportChannelCsvRows(m_Doc, {3, 4, 5}, EnglishWording, &notes);
    EXPECT_EQ(csv, ExportChannelCsvRows(m_Doc, {5, 4, 3, 7}, EnglishWording, &notes));

    ChannelImportResult result;
    std::string error;
    ASSERT_TRUE(PasteChannelCsv(csv, m_Doc, 21, 20, EnglishWording, &result, &error)) << error;
    EXPECT_EQ(Channel(20).receive, "146.52000");
    EXPECT_EQ(Channel(20).name, "AB");
    EXPECT_EQ(ChoiceValue(m_Doc.Image(), 20, kColumnBcl), 0)
        << "a paste overwrites the whole channel";
    // Channel 4 was empty and is not in the text: the distance stays, the channel between too.
    EXPECT_EQ(Channel(21).receive, "151.00000");
    EXPECT_EQ(result.importedRows, 1);
    EXPECT_EQ(result.rowsPastEnd, 1);
    EXPECT_EQ(Joined(result.losses),
              "row 3, Location: would go to channel 22, past the last channel 21, not pasted\n");
    EXPECT_EQ(Channel(3).receive, "146.52000");

    // A spreadsheet's rows without channel numbers go one after the other.
    const std::string sheet = "Frequency,Name\r\n145.5,X\r\n145.6,Y\r\n145.7,Z\r\n";
    ASSERT_TRUE(PasteChannelCsv(sheet, m_Doc, 128, 127, EnglishWording, &result, &error));
    EXPECT_EQ(Channel(127).name, "X");
    EXPECT_EQ(Channel(128).receive, "145.60000");
    EXPECT_EQ(result.rowsPastEnd, 1);
    ASSERT_EQ(result.losses.size(), 7u) << "one past the end, six defaults";

    const auto before = m_Doc.Image().bytes;
    EXPECT_FALSE(PasteChannelCsv("just words", m_Doc, 128, 1, EnglishWording, &result, &error));
    EXPECT_TRUE(m_Doc.Image().bytes == before);
}

// A spreadsheet takes the copied rows as tab-separated cells and gives them back so: the same
// channels and the same report as the CSV text, quoted names and all.
TEST_F(ChannelCsvTest, TabSeparatedCellsPasteAsTheirCsv) {
    CommitReceiveFrequency(m_Doc, 1, "146.52");
    CommitChannelName(m_Doc, 1, "A B");
    CommitReceiveFrequency(m_Doc, 2, "147.3");
    CommitTransmitFrequency(m_Doc, 2, "147.9");
    CommitTone(m_Doc, 2, kEncodeSide, 12);
    CommitChoice(m_Doc, 2, kColumnPower, 0);
    CommitChoice(m_Doc, 2, kColumnBcl, 1);
    std::vector<std::string> notes, tabNotes;
    const std::string csv = ExportChannelCsvRows(m_Doc, {1, 2}, EnglishWording, &notes);
    const std::string cells = ExportChannelCsvRows(m_Doc, {1, 2}, EnglishWording, &tabNotes, '\t');
    EXPECT_EQ(notes, tabNotes);
    EXPECT_EQ(cells.find(','), std::string::npos) << cells;

    struct Pasted {
        std::array<uint8_t, kImageSize> image;
        std::vector<std::string> losses;
    };
    auto paste = [&](const std::string& text) {
        CHalvexDoc doc(m_Prompts, m_Doc.GetSettings());
        doc.EditImage().bytes = m_Doc.Image().bytes;
        ChannelImportResult result;
        std::string error;
        EXPECT_TRUE(PasteChannelText(text, doc, 128, 40, EnglishWording, &result, &error)) << error;
        return Pasted{doc.Image().bytes, result.losses};
    };
    const Pasted fromCsv = paste(csv);
    const Pasted fromCells = paste(cells);
    EXPECT_TRUE(fromCsv.image == fromCells.image);
    EXPECT_EQ(fromCsv.losses, fromCells.losses);
    EXPECT_FALSE(fromCsv.image == m_Doc.Image().bytes) << "the rows landed at 40";
}

}  // namespace
