// SPDX-License-Identifier: GPL-3.0-or-later
// An audited fleet over a pseudo-terminal: radios written with a PTT ID code each until a code
// would not fit, then checked without writing, the same and then with one changed.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "codeplug/ptt_id_code.h"
#include "platform/csv_text.h"
#include "platform/sha256.h"
#include "sim/demo_memory.h"
#include "station/programming_station.h"
#include "support/module_folder.h"
#include "support/virtual_radio_fixture.h"

namespace {

std::string CodeOf(const RadioMemory& memory) {
    RadioImage image;
    image.bytes = memory;
    return PttIdCodeText(image.GetPttIdCode());
}

RadioMemory WithCode(RadioMemory memory, const std::string& code) {
    RadioImage image;
    image.bytes = memory;
    image.SetPttIdCode(PttIdCodeFromText(code));
    return image.bytes;
}

struct AuditRun {
    std::vector<StationEvent> events;
    std::vector<CsvRecord> lines;
};

// A run on one cable, each radio confirmed once the virtual radio has it on, and the log it
// leaves read back whole (its header first).
AuditRun RunStation(const halvex::test::ModuleFolder& folder, VirtualRadio& radio,
                    const StationOptions& options) {
    AuditRun run;
    StationLog log;
    std::string error;
    EXPECT_TRUE(log.Open(folder.File("log.csv"), &error)) << error;
    ProgrammingStation station(DemoMemory(), options, log);
    const std::vector<std::string> links = {folder.File("cable")};
    EXPECT_EQ(station.OpenCables(links, &error), CableOpening::Opened) << error;
    station.Start();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (!station.Finished() && std::chrono::steady_clock::now() < deadline) {
        CableStatus status = station.Status(0);
        if (status.phase == CablePhase::WaitingForConfirm &&
            radio.CurrentRadio() == status.radios + 1) {
            station.Confirm(0);
        }
        for (StationEvent& event : station.TakeEvents()) {
            run.events.push_back(std::move(event));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(station.Finished()) << "the station did not finish in time";
    for (StationEvent& event : station.TakeEvents()) {
        run.events.push_back(std::move(event));
    }
    EXPECT_TRUE(ParseCsvText(halvex::test::ReadBytes(folder.File("log.csv")), &run.lines, &error))
        << error;
    return run;
}

StationOptions AuditOptions(const halvex::test::ModuleFolder& folder, int count,
                            PttIdSeries codes) {
    StationOptions options;
    options.settingsPath = folder.SettingsPath();
    options.count = count;
    options.pttIdCodes = codes;
    options.fileName = "fleet.pgm";
    options.runId = StationRunId();
    options.documentSettings.channelCount = kImageChannelCount;
    return options;
}

// The series ends at the third radio's code, so the fourth radio plugged in stops the run
// unwritten; then radio 2's code is changed by hand and a check reads all three, writing none.
TEST(StationAuditTest, RadiosGetTheirCodesUntilOneWouldNotFitAndACheckFindsTheOneChanged) {
    halvex::test::ModuleFolder folder("station-audit");
    halvex::test::WriteLinkSettings(folder.SettingsPath(),
                                    {{"readtime", 2000}, {"writetime", 2000}});
    const PttIdSeries codes{999997, 6};
    VirtualRadioOptions four;
    four.radios = 4;
    VirtualRadio written;
    written.SetMemory(halvex::test::PatternMemory(3));
    std::string error;
    ASSERT_TRUE(written.Start(folder.File("cable"), four, &error)) << error;
    AuditRun write = RunStation(folder, written, AuditOptions(folder, 0, codes));
    written.Stop();

    ASSERT_EQ(write.lines.size(), 4u);
    EXPECT_EQ(write.lines[0].fields[11], "ptt_id_code");
    std::vector<RadioMemory> memories;
    for (int radio = 1; radio <= 3; ++radio) {
        SCOPED_TRACE(radio);
        const std::string code = std::to_string(999996 + radio);
        memories.push_back(written.MemoryOf(radio));
        EXPECT_EQ(CodeOf(memories.back()), code);
        const RadioMemory sent = WithCode(DemoMemory(), code);
        EXPECT_TRUE(
            halvex::test::SameRange(memories.back().data(), sent.data(), kCloneBegin, kImageSize));
        const std::vector<std::string>& fields = write.lines[radio].fields;
        ASSERT_EQ(fields.size(), 12u);
        EXPECT_EQ(fields[2], std::to_string(radio));
        EXPECT_EQ(fields[4], "ok");
        EXPECT_EQ(fields[9], "fleet.pgm");
        EXPECT_EQ(fields[10], Sha256Hex(sent, 16));
        EXPECT_EQ(fields[11], code);
        EXPECT_EQ(fields[8], write.lines[1].fields[8]) << "one run, one id";
        EXPECT_GE(fields[7], fields[0]) << "finished before it began";
    }
    auto refused = std::find_if(write.events.begin(), write.events.end(), [](const auto& e) {
        return e.kind == StationEventKind::CodeWouldNotFit;
    });
    ASSERT_NE(refused, write.events.end());
    EXPECT_EQ(refused->record.number, 4);
    EXPECT_FALSE(written.WasWritten(4));
    EXPECT_EQ(written.MemoryOf(4), halvex::test::PatternMemory(3));

    VirtualRadioOptions again;
    again.radios = 3;
    again.memories = {WithCode(memories[1], "0909"), memories[2]};
    VirtualRadio checked;
    checked.SetMemory(memories[0]);
    ASSERT_TRUE(checked.Start(folder.File("cable"), again, &error)) << error;
    StationOptions checkOnly = AuditOptions(folder, 3, codes);
    checkOnly.checkOnly = true;
    AuditRun check = RunStation(folder, checked, checkOnly);

    ASSERT_EQ(check.lines.size(), 7u);
    const char* results[] = {"same", "differs", "same"};
    for (int radio = 1; radio <= 3; ++radio) {
        SCOPED_TRACE(radio);
        const std::vector<std::string>& fields = check.lines[3 + radio].fields;
        ASSERT_EQ(fields.size(), 12u);
        EXPECT_EQ(fields[2], std::to_string(3 + radio)) << "the numbers go on from the log";
        EXPECT_EQ(fields[4], results[radio - 1]);
        EXPECT_EQ(fields[5], radio == 2 ? "Settings, PttIdCode: 999998 -> 0909" : "");
        EXPECT_NE(fields[8], write.lines[1].fields[8]) << "a new run, a new id";
        EXPECT_FALSE(checked.WasWritten(radio));
    }
}

}  // namespace
