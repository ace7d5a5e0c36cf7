// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/document.h"
#include "config/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/quiet_prompts.h"
#include "support/temp_folder.h"

namespace {

const std::string kDataDir = HALVEX_TEST_DATA_DIR;

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

std::vector<uint8_t> ImageBytes(const CHalvexDoc& document, size_t offset, size_t count) {
    return std::vector<uint8_t>(document.Image().bytes.begin() + offset,
                                document.Image().bytes.begin() + offset + count);
}

class CountingView : public DocumentView {
public:
    void OnUpdate() override { ++updates; }
    int updates = 0;
};

class DocumentTest : public ::testing::Test {
protected:
    static std::string SettingsPath(const std::string& name) {
        return kDataDir + "/settings/" + name;
    }
    void UseSettings(const std::string& name) {
        m_Document.SetSettings(DocumentSettingsFor(SettingsPath(name), kChannelCount));
    }
    std::string File(const std::string& name) const { return m_Folder.File(name); }

    halvex::test::QuietPrompts m_Prompts;
    static constexpr int kChannelCount = 16;
    CHalvexDoc m_Document{m_Prompts,
                          DocumentSettingsFor(SettingsPath("single_bands.ini"), kChannelCount)};
    halvex::test::TempFolder m_Folder;
};

TEST_F(DocumentTest, NewDocumentGetsBandLineZeroAndTheDefaults) {
    ASSERT_TRUE(m_Document.OnNewDocument(true));
    EXPECT_TRUE(m_Prompts.questions.empty());
    EXPECT_FALSE(m_Document.IsModified());
    EXPECT_EQ(ImageBytes(m_Document, 0x0F00, 12),
              (std::vector<uint8_t>{0x60, 0x13, 0x40, 0x17, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xFF, 0xFF}));
    for (int vfo : {kVfoF1, kVfoF2}) {
        SCOPED_TRACE(vfo);
        EXPECT_EQ(m_Document.Image().GetFrequencyText(vfo, kDecodeSide), "136.00000");
        EXPECT_EQ(m_Document.Image().GetFrequencyText(vfo, kEncodeSide), "00.00000");
    }
    EXPECT_EQ(ImageBytes(m_Document, 0x0830 + 8, 5),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(ImageBytes(m_Document, 0x0820 + 8, 5),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    for (int n : {1, 16}) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(m_Document.Image().IsChannelEmpty(n));
        EXPECT_EQ(ImageBytes(m_Document, 0x1000 + 16 * n + 8, 5),
                  (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    }
    // Channels past the channel count keep the reset's 0xFF bytes.
    EXPECT_EQ(ImageBytes(m_Document, 0x1000 + 16 * 17 + 8, 5), std::vector<uint8_t>(5, 0xFF));
    EXPECT_EQ(ImageBytes(m_Document, 0x0900, 16 * 5), std::vector<uint8_t>(80, 0xFF));
    EXPECT_EQ(m_Document.Image().GetWord(0x08A0, 1), 0);
    for (int preset = 2; preset <= 16; ++preset) {
        EXPECT_EQ(m_Document.Image().GetWord(0x08A0, preset), 431) << preset;
    }
    EXPECT_EQ(m_Document.Image().GetWord(0x0D0B, 1), 0);
    EXPECT_EQ(ImageBytes(m_Document, 0x0D00, 7),
              (std::vector<uint8_t>{0x04, 0x78, 0x88, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ImageBytes(m_Document, 0x0D20, 6), std::vector<uint8_t>(6, 0xFF));
}

TEST_F(DocumentTest, SingleBandLinesChooseTheirWordAndLimits) {
    m_Document.OnNewDocument(true);
    m_Document.ChangeFrequencyRange(1);
    EXPECT_TRUE(m_Document.IsModified());
    EXPECT_EQ(ImageBytes(m_Document, 0x0F04, 4), (std::vector<uint8_t>{0x00, 0x40, 0x00, 0x48}));
    EXPECT_EQ(ImageBytes(m_Document, 0x0F00, 4), std::vector<uint8_t>(4, 0xFF));
    EXPECT_EQ(m_Document.FindModelLine(), 1);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMin, 40000000);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMax, 47999500);
    EXPECT_EQ(m_Document.Image().GetFrequencyText(kVfoF1, kDecodeSide), "400.00000");

    // Without a reset the old word stays, and the last matching line wins.
    m_Document.ApplyModelLine(0);
    EXPECT_EQ(ImageBytes(m_Document, 0x0F04, 4), (std::vector<uint8_t>{0x00, 0x40, 0x00, 0x48}));
    EXPECT_EQ(m_Document.FindModelLine(), 1);
}

TEST_F(DocumentTest, MultiBandLineSnapsEntriesOutOfTheGaps) {
    UseSettings("multi_band.ini");
    m_Document.OnNewDocument(true);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMin, 13600000);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMax, 51999500);
    const std::pair<const char*, const char*> entries[] = {
        {"190.00000", "136.00000"},
        {"300.00000", "220.00000"},
        {"174.00000", "174.00000"},
        {"146.123", "146.12500"},
    };
    for (const auto& [entry, stored] : entries) {
        m_Document.SetFrequencyText(1, kDecodeSide, entry);
        EXPECT_EQ(m_Document.Image().GetFrequencyText(1, kDecodeSide), stored) << entry;
    }
}

TEST_F(DocumentTest, MissingOrShortBandLinesFallBackWithoutWritingBandWords) {
    for (const char* settings : {"no_band_lines.ini", "short_band_lines.ini", "absent.ini"}) {
        SCOPED_TRACE(settings);
        UseSettings(settings);
        m_Document.OnNewDocument(true);
        EXPECT_EQ(ImageBytes(m_Document, 0x0F00, 12), std::vector<uint8_t>(12, 0xFF));
        EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMin, 10000000);
        EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMax, 52000000);
        EXPECT_FALSE(m_Document.GetFrequencyLimits().hasGaps);
    }
    // The usable line after the short ones still matches.
    UseSettings("short_band_lines.ini");
    m_Document.ChangeFrequencyRange(2);
    EXPECT_EQ(m_Document.FindModelLine(), 2);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMax, 47999500);
}

TEST_F(DocumentTest, CancelledNewLeavesTheDocumentAsItWas) {
    ASSERT_TRUE(m_Document.OnOpenDocument(kDataDir + "/pgm/v1_05_channels.pgm"));
    m_Document.SetFrequencyText(3, kDecodeSide, "150.00000");
    m_Document.SetModifiedFlag();
    const auto imageBefore = m_Document.Image().bytes;
    const auto headerBefore = m_Document.Header();

    m_Prompts.answer = false;
    EXPECT_FALSE(m_Document.OnNewDocument(false));
    ASSERT_EQ(m_Prompts.questions.size(), 1u);
    EXPECT_EQ(m_Prompts.questions[0], "IDS_CONFIRM: IDS_WARN_CLEAR");
    EXPECT_EQ(m_Document.Image().bytes, imageBefore);
    EXPECT_EQ(m_Document.Header(), headerBefore);
    EXPECT_TRUE(m_Document.IsModified());
    EXPECT_EQ(m_Document.GetPathName(), kDataDir + "/pgm/v1_05_channels.pgm");

    m_Prompts.answer = true;
    EXPECT_TRUE(m_Document.OnNewDocument(false));
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(1));
    EXPECT_TRUE(m_Document.GetPathName().empty());
    EXPECT_FALSE(m_Document.IsModified());
}

TEST_F(DocumentTest, FreshDocumentSavesTheProgramsOwnHeader) {
    m_Document.OnNewDocument(true);
    m_Prompts.savePath = File("fresh.pgm");
    ASSERT_TRUE(m_Document.SaveWithConfirmation());
    EXPECT_TRUE(m_Prompts.questions.empty()) << "an unbound document asks for a name, not OK";
    std::vector<uint8_t> saved = ReadBytes(File("fresh.pgm"));
    ASSERT_EQ(saved.size(), 8240u);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 30), "RQ870 Radio Program data v1.08");
    EXPECT_EQ(std::string(saved.begin() + 48 + 0x0D40, saved.begin() + 48 + 0x0D46), "HRQ870");
    EXPECT_EQ(m_Document.GetPathName(), File("fresh.pgm"));
}

TEST_F(DocumentTest, OlderFileKeepsItsHeaderThroughOpenAndSave) {
    std::string original = kDataDir + "/pgm/v1_05_channels.pgm";
    std::string copy = File("copy.pgm");
    std::filesystem::copy_file(original, copy);
    ASSERT_TRUE(m_Document.OnOpenDocument(copy));
    EXPECT_EQ(m_Document.FindModelLine(), 0);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMax, 17399500);

    ASSERT_TRUE(m_Document.OnSaveDocument(File("save_as.pgm")));
    EXPECT_EQ(ReadBytes(File("save_as.pgm")), ReadBytes(original));

    ASSERT_TRUE(m_Document.SaveWithConfirmation());
    ASSERT_EQ(m_Prompts.questions.size(), 1u);
    EXPECT_EQ(m_Prompts.questions[0], "IDS_CONFIRM: IDS_WARN_SAVE" + File("save_as.pgm"));
    std::vector<uint8_t> saved = ReadBytes(File("save_as.pgm"));
    std::vector<uint8_t> before = ReadBytes(original);
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 48, before.begin()));
}

TEST_F(DocumentTest, CancelledSaveWritesNothing) {
    std::string copy = File("copy.pgm");
    std::filesystem::copy_file(kDataDir + "/pgm/v1_05_channels.pgm", copy);
    ASSERT_TRUE(m_Document.OnOpenDocument(copy));
    m_Document.SetFrequencyText(3, kDecodeSide, "150.00000");
    m_Document.SetModifiedFlag();
    m_Prompts.answer = false;
    EXPECT_FALSE(m_Document.SaveWithConfirmation());
    EXPECT_EQ(ReadBytes(copy), ReadBytes(kDataDir + "/pgm/v1_05_channels.pgm"));
    EXPECT_TRUE(m_Document.IsModified());
}

TEST_F(DocumentTest, RefusedFileIsNeverBoundToTheDocument) {
    std::string foreign = File("foreign.pgm");
    std::filesystem::copy_file(kDataDir + "/pgm/foreign_header.pgm", foreign);
    std::vector<uint8_t> foreignBytes = ReadBytes(foreign);
    m_Document.OnNewDocument(true);
    m_Document.SetModifiedFlag();

    std::string error;
    EXPECT_FALSE(m_Document.OnOpenDocument(foreign, &error));
    EXPECT_NE(error.find("not a radio data file"), std::string::npos) << error;
    ASSERT_EQ(m_Prompts.messages.size(), 1u);
    EXPECT_EQ(m_Prompts.messages[0], "IDS_ERROR: IDS_WARN_LOAD");
    EXPECT_TRUE(m_Document.GetPathName().empty());
    EXPECT_FALSE(m_Document.IsModified());
    EXPECT_EQ(std::string(m_Document.Header().begin(), m_Document.Header().begin() + 30),
              "RQ870 Radio Program data v1.08");
    EXPECT_TRUE(std::all_of(m_Document.Image().bytes.begin(), m_Document.Image().bytes.end(),
                            [](uint8_t byte) { return byte == 0xFF; }));
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMin, 13600000) << "limits of band line 0";

    // Save now asks for a new name; without one nothing is written anywhere.
    EXPECT_FALSE(m_Document.SaveWithConfirmation());
    EXPECT_EQ(m_Prompts.savePathRequests, 1);
    EXPECT_EQ(ReadBytes(foreign), foreignBytes);
}

TEST_F(DocumentTest, UnreadableFileLeavesTheDocumentUntouched) {
    std::string good = kDataDir + "/pgm/v1_05_channels.pgm";
    ASSERT_TRUE(m_Document.OnOpenDocument(good));
    const auto imageBefore = m_Document.Image().bytes;
    for (const std::string& path : {File("missing.pgm"), m_Folder.Path()}) {
        SCOPED_TRACE(path);
        m_Prompts.messages.clear();
        std::string error;
        EXPECT_FALSE(m_Document.OnOpenDocument(path, &error));
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(m_Prompts.messages.size(), 1u);
        EXPECT_EQ(m_Prompts.messages[0], "IDS_ERROR: " + error);
        EXPECT_EQ(m_Document.Image().bytes, imageBefore);
        EXPECT_EQ(m_Document.GetPathName(), good);
    }
}

TEST_F(DocumentTest, ShortFilesOpenAsFarAsTheyReach) {
    ASSERT_TRUE(m_Document.OnOpenDocument(kDataDir + "/pgm/truncated_image.pgm"));
    std::vector<uint8_t> file = ReadBytes(kDataDir + "/pgm/truncated_image.pgm");
    EXPECT_TRUE(std::equal(file.begin() + 48, file.end(), m_Document.Image().bytes.begin()));
    EXPECT_EQ(m_Document.Image().bytes[100], 0xFF);
    EXPECT_EQ(m_Document.Image().bytes[kImageSize - 1], 0xFF);

    ASSERT_TRUE(m_Document.OnOpenDocument(kDataDir + "/pgm/empty.pgm"));
    EXPECT_TRUE(std::all_of(m_Document.Image().bytes.begin(), m_Document.Image().bytes.end(),
                            [](uint8_t byte) { return byte == 0xFF; }));
}

TEST_F(DocumentTest, FailedSaveKeepsTheDocumentModified) {
    std::string folder = File("folder");
    std::filesystem::create_directory(folder);
    m_Prompts.savePath = folder + "/doc.pgm";
    m_Document.OnNewDocument(true);
    ASSERT_TRUE(m_Document.SaveWithConfirmation());
    std::vector<uint8_t> saved = ReadBytes(folder + "/doc.pgm");

    m_Document.SetFrequencyText(1, kDecodeSide, "150.00000");
    m_Document.SetModifiedFlag();
    std::filesystem::remove_all(folder);
    std::string error;
    EXPECT_FALSE(m_Document.SaveWithConfirmation(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(m_Prompts.messages.back(), "IDS_ERROR: " + error);
    EXPECT_TRUE(m_Document.IsModified());
    EXPECT_EQ(m_Document.GetPathName(), folder + "/doc.pgm");
}

TEST_F(DocumentTest, WholeDocumentChangesUpdateRegisteredViews) {
    CountingView first;
    CountingView second;
    m_Document.AddView(&first);
    m_Document.AddView(&second);
    m_Document.AddView(&first);
    m_Document.OnNewDocument(true);
    m_Document.ChangeFrequencyRange(1);
    m_Document.OnOpenDocument(kDataDir + "/pgm/v1_05_channels.pgm");
    m_Document.RemoveView(&second);
    m_Document.RefreshLimitsAndViews();
    m_Prompts.answer = false;
    m_Document.OnNewDocument(false);
    EXPECT_EQ(first.updates, 4);
    EXPECT_EQ(second.updates, 3);
}

TEST_F(DocumentTest, EachDocumentKeepsItsOwnSettings) {
    CHalvexDoc wide(m_Prompts, DocumentSettingsFor(SettingsPath("multi_band.ini"), 128));
    CHalvexDoc narrow(m_Prompts, DocumentSettingsFor(SettingsPath("single_bands.ini"), 3));
    EXPECT_EQ(wide.GetChannelCount(), 128);
    EXPECT_EQ(narrow.GetChannelCount(), 3);
    wide.OnNewDocument(true);
    narrow.OnNewDocument(true);
    narrow.ChangeFrequencyRange(1);

    EXPECT_EQ(wide.GetFrequencyLimits().m_FreqMax, 51999500);
    EXPECT_TRUE(wide.GetFrequencyLimits().hasGaps);
    EXPECT_EQ(narrow.GetFrequencyLimits().m_FreqMin, 40000000);
    EXPECT_EQ(narrow.FindModelLine(), 1);
    EXPECT_EQ(ImageBytes(wide, 0x1000 + 16 * 128 + 8, 5),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(ImageBytes(narrow, 0x1000 + 16 * 3 + 8, 5),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(ImageBytes(narrow, 0x1000 + 16 * 4 + 8, 5), std::vector<uint8_t>(5, 0xFF));

    // A copy carries the settings; counts outside the image's channels are kept inside.
    CHalvexDoc copy(narrow);
    copy.OnNewDocument(true);
    EXPECT_EQ(copy.GetFrequencyLimits().m_FreqMax, 17399500);
    EXPECT_EQ(copy.GetChannelCount(), 3);
    EXPECT_EQ(CHalvexDoc(m_Prompts, {{}, 500}).GetChannelCount(), 128);
    EXPECT_EQ(CHalvexDoc(m_Prompts, {{}, 0}).GetChannelCount(), 1);
}

TEST_F(DocumentTest, TransmitTextFollowsShiftAndOffset) {
    m_Document.OnNewDocument(true);
    struct Case {
        const char* offset;
        ShiftDirection shift;
        const char* transmit;
    };
    const Case cases[] = {
        {"000.60000", kShiftPlus, "146.72500"}, {"000.60000", kShiftMinus, "145.52500"},
        {"000.60000", kShiftNone, "146.12500"}, {"146.12500", kShiftMinus, ""},
        {"", kShiftMinus, "146.12500"},         {"000.00000", kShiftNone, "146.12500"},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.offset);
        m_Document.SetFrequencyText(1, kDecodeSide, "146.12500");
        m_Document.SetFrequencyText(1, kEncodeSide, testCase.offset);
        m_Document.EditImage().SetShiftDirection(1, testCase.shift);
        EXPECT_EQ(m_Document.GetTransmitText(1), testCase.transmit);
    }
}

}  // namespace
