// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station over pseudo-terminals: three cables, five radios on each, one of
// which does not keep a block; with --auto, a quick swap of radios, a radio left on and a
// cable pulled out.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
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
        // The default swap keeps each radio on through its read-back.
        options.radios = kRadiosPerCable;
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
    ASSERT_EQ(lines.front().fields.front(), "time") << "the header row";
    lines.erase(lines.begin());
    ASSERT_EQ(lines.size(), static_cast<size_t>(kCables * kRadiosPerCable));
    std::vector<bool> numbers(lines.size() + 1, false);
    int ok = 0;
    for (const CsvRecord& line : lines) {
        ASSERT_EQ(line.fields.size(), 12u);
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

// A station on one cable with --auto, following a virtual radio.
struct AutoStation {
    AutoStation(const std::string& prefix, const VirtualRadioOptions& radioOptions, int count,
                int stillAnsweringMs)
        : folder(prefix) {
        halvex::test::WriteLinkSettings(folder.SettingsPath(),
                                        {{"readtime", 2000}, {"writetime", 2000}});
        radio.SetMemory(PatternMemory(3));
        std::string error;
        links = {folder.File("cable")};
        EXPECT_TRUE(radio.Start(links.front(), radioOptions, &error)) << error;
        StationOptions options;
        options.settingsPath = folder.SettingsPath();
        options.autoNext = true;
        options.count = count;
        options.stillAnsweringMs = stillAnsweringMs;
        station = std::make_unique<ProgrammingStation>(PatternMemory(7), options, log);
        EXPECT_EQ(station->OpenCables(links, &error), CableOpening::Opened) << error;
        station->Start();
    }

    // Follows the station until stop says so or it finished, keeping every event.
    template <typename Stop>
    void Follow(Stop stop, std::chrono::seconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (!station->Finished() && !stop() && std::chrono::steady_clock::now() < deadline) {
            for (StationEvent& event : station->TakeEvents()) {
                events.push_back(std::move(event));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (StationEvent& event : station->TakeEvents()) {
            events.push_back(std::move(event));
        }
    }

    bool Saw(StationEventKind kind) const {
        return std::any_of(events.begin(), events.end(),
                           [kind](const StationEvent& event) { return event.kind == kind; });
    }

    halvex::test::ModuleFolder folder;
    VirtualRadio radio;
    std::vector<std::string> links;
    StationLog log;
    std::unique_ptr<ProgrammingStation> station;
    std::vector<StationEvent> events;
};

// A person unplugs the written radio and plugs in the next one within a second or two; one
// left on is named after a while; a cable pulled out stops its worker instead of spinning.
TEST(StationTest, AutoFollowsWhatHappensOnTheCableAfterEachRadio) {
    {
        SCOPED_TRACE("a quick swap");
        VirtualRadioOptions swap;
        swap.radios = 2;
        // Radio 1 answers 1.3 s after its read-back, then nothing answers for 1.3 s.
        swap.swapAfterMs = 1300;
        AutoStation run("station-swap", swap, 2, 60000);
        run.Follow([] { return false; }, std::chrono::seconds(90));
        ASSERT_TRUE(run.station->Finished()) << "the swapped-in radio was never written";
        for (int radio = 1; radio <= 2; ++radio) {
            RadioMemory memory = run.radio.MemoryOf(radio);
            EXPECT_TRUE(SameRange(memory.data(), PatternMemory(7).data(), kCloneBegin, kImageSize))
                << "radio " << radio;
        }
        EXPECT_EQ(StationSummary(run.station->Records()), "2 radios: 2 ok");
    }
    {
        SCOPED_TRACE("a radio left on");
        VirtualRadioOptions one;
        one.radios = 1;
        // A count of one radio would end the run before the radio had to go.
        AutoStation run("station-left", one, 2, 1000);
        run.Follow([&run] { return run.Saw(StationEventKind::StillAnswering); },
                   std::chrono::seconds(60));
        ASSERT_TRUE(run.Saw(StationEventKind::StillAnswering));
        const StationEvent& told =
            *std::find_if(run.events.begin(), run.events.end(), [](const StationEvent& event) {
                return event.kind == StationEventKind::StillAnswering;
            });
        EXPECT_EQ(told.record.number, 1);
        EXPECT_EQ(run.station->Records().size(), 1u);
    }
    {
        SCOPED_TRACE("a cable pulled out");
        VirtualRadioOptions silent;
        silent.faults.silent = true;
        AutoStation run("station-pulled", silent, 1, 60000);
        run.Follow([&run] { return !run.radio.ReceivedBytes().empty(); }, std::chrono::seconds(30));
        // Closing the radio's end of the pseudo-terminal is what pulling an adapter does.
        run.radio.Stop();
        run.Follow([] { return false; }, std::chrono::seconds(30));
        ASSERT_TRUE(run.station->Finished()) << "the station kept trying a cable that is gone";
        EXPECT_TRUE(run.Saw(StationEventKind::CableGone));
        EXPECT_EQ(run.station->Status(0).phase, CablePhase::Stopped);
    }
}

}  // namespace
