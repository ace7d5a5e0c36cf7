// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station over pseudo-terminals: three cables, five radios on each, one of
// which does not keep a block.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <sstream>
#include <thread>

#include "platform/csv_text.h"
#include "station/programming_station.h"
#include "support/module_folder.h"
#include "support/virtual_radio_fixture.h"

namespace {

using halvex::test::PatternMemory;
using halvex::test::SameRange;

constexpr int kCables = 3;
constexpr int kRadiosPerCable = 5;
constexpr int kUnstoredBlock = 0x0D40;

TEST(StationTest, EveryRadioOfThreeCablesIsWrittenCheckedAndLoggedOnce) {
    halvex::test::ModuleFolder folder("station");
    // Long time-outs only keep a busy machine from failing a healthy radio.
    halvex::test::WriteLinkSettings(folder.SettingsPath(),
                                    {{"readtime", 2000}, {"writetime", 2000}});
    const StationImage image = PatternMemory(7);
    std::array<VirtualRadio, kCables> radios;
    std::vector<std::string> links;
    for (int k = 0; k < kCables; ++k) {
        VirtualRadioOptions options;
        options.radios = kRadiosPerCable;
        // Long enough for the read-back to begin after the write's closing pause.
        options.swapAfterMs = 2000;
        if (k == 1) {
            options.faultyRadio = 4;
            options.faults.unstoredBlock = kUnstoredBlock;
        }
        radios[k].SetMemory(PatternMemory(100 + k));
        links.push_back(folder.File("cable" + std::to_string(k)));
        std::string error;
        ASSERT_TRUE(radios[k].Start(links.back(), options, &error)) << error;
    }
    StationLog log;
    std::string error;
    ASSERT_TRUE(log.Open(folder.File("log.csv"), &error)) << error;
    StationOptions options;
    options.settingsPath = folder.SettingsPath();
    options.count = kCables * kRadiosPerCable;
    ProgrammingStation station(image, options, log);
    ASSERT_EQ(station.OpenCables(links, &error), CableOpening::Opened) << error;
    station.Start();

    // The user confirms each cable once its next radio is on, and never before.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (!station.Finished() && std::chrono::steady_clock::now() < deadline) {
        for (int k = 0; k < kCables; ++k) {
            CableStatus status = station.Status(k);
            if (status.phase == CablePhase::WaitingForConfirm &&
                radios[k].CurrentRadio() == status.radios + 1) {
                station.Confirm(k);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(station.Finished()) << "the station did not finish in time";

    std::vector<CsvRecord> lines;
    ASSERT_TRUE(ParseCsvText(folder.Read("log.csv"), &lines, &error)) << error;
    ASSERT_EQ(lines.size(), static_cast<size_t>(kCables * kRadiosPerCable));
    std::vector<bool> numbers(lines.size() + 1, false);
    int ok = 0;
    for (const CsvRecord& line : lines) {
        ASSERT_EQ(line.fields.size(), 7u);
        int number = std::stoi(line.fields[2]);
        ASSERT_TRUE(number >= 1 && number <= static_cast<int>(lines.size()) && !numbers[number])
            << "radio number " << number << " twice or out of range";
        numbers[number] = true;
        EXPECT_EQ(line.fields[3], "4852513837300001");
        if (line.fields[4] == "ok") {
            ++ok;
        } else {
            EXPECT_EQ(line.fields[4], "verify-failed");
            EXPECT_EQ(line.fields[1], links[1]);
            EXPECT_NE(line.fields[5].find("0x0D40"), std::string::npos) << line.fields[5];
        }
    }
    EXPECT_EQ(ok, kCables * kRadiosPerCable - 1);
    for (int k = 0; k < kCables; ++k) {
        for (int radio = 1; radio <= kRadiosPerCable; ++radio) {
            RadioMemory memory = radios[k].MemoryOf(radio);
            bool faulty = k == 1 && radio == 4;
            EXPECT_EQ(SameRange(memory.data(), image.data(), kCloneBegin, kImageSize), !faulty)
                << "cable " << k << " radio " << radio;
        }
        EXPECT_EQ(station.Status(k).okRadios, kRadiosPerCable - (k == 1 ? 1 : 0));
    }
    EXPECT_EQ(StationSummary(station.Records()),
              "15 radios: 14 ok, 1 verify failed on " + links[1]);
}

// A press of Next radio repeated while the cable is still finding the radio it was pressed
// for is not kept for the next radio: the radio is written once.
TEST(StationTest, PressesBeforeTheRadioIsFoundWriteItOnce) {
    halvex::test::ModuleFolder folder("station-press");
    halvex::test::WriteLinkSettings(folder.SettingsPath(),
                                    {{"readtime", 2000}, {"writetime", 2000}});
    VirtualRadio radio;
    radio.SetMemory(PatternMemory(3));
    std::string error;
    std::vector<std::string> links = {folder.File("cable")};
    ASSERT_TRUE(radio.Start(links.front(), {}, &error)) << error;
    StationLog log;
    ASSERT_TRUE(log.Open(folder.File("log.csv"), &error)) << error;
    StationOptions options;
    options.settingsPath = folder.SettingsPath();
    options.count = 2;
    ProgrammingStation station(PatternMemory(7), options, log);
    ASSERT_EQ(station.OpenCables(links, &error), CableOpening::Opened) << error;
    station.Start();

    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (station.Status(0).phase == CablePhase::WaitingForConfirm &&
           std::chrono::steady_clock::now() < deadline) {
        station.Confirm(0);
    }
    while (!(station.Status(0).phase == CablePhase::WaitingForConfirm &&
             station.Status(0).radios == 1) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // No press comes after this one radio: only a kept press could start another.
    station.EndConfirmations();
    while (!station.Finished() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(station.Finished());
    EXPECT_EQ(station.Records().size(), 1u);
}

}  // namespace
