// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station over pseudo-terminals: three cables, five radios on each, one of
// which does not keep a block; with --auto, a quick swap of radios, a radio left on and a
// cable pulled out.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
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

// A started station in a folder of its own, one virtual radio sequence on each cable, cable k
// starting from PatternMemory(100 + k) and the station writing PatternMemory(7).
struct StationRun {
    StationRun(const std::string& prefix, const std::vector<VirtualRadioOptions>& cables,
               StationOptions options)
        : folder(prefix) {
        // Long time-outs only keep a busy machine from failing a healthy radio.
        halvex::test::WriteLinkSettings(folder.SettingsPath(),
                                        {{"readtime", 2000}, {"writetime", 2000}});
        std::string error;
        for (size_t k = 0; k < cables.size(); ++k) {
            VirtualRadio& radio = radios.emplace_back();
            radio.SetMemory(PatternMemory(100 + static_cast<int>(k)));
            links.push_back(folder.File("cable" + std::to_string(k)));
            EXPECT_TRUE(radio.Start(links.back(), cables[k], &error)) << error;
        }
        EXPECT_TRUE(log.Open(folder.File("log.csv"), &error)) << error;
        options.settingsPath = folder.SettingsPath();
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
    std::deque<VirtualRadio> radios;
    std::vector<std::string> links;
    StationLog log;
    std::unique_ptr<ProgrammingStation> station;
    std::vector<StationEvent> events;
};

// A station on one cable with --auto.
StationRun AutoStation(const std::string& prefix, const VirtualRadioOptions& radioOptions,
                       int count, int stillAnsweringMs) {
    StationOptions options;
    options.autoNext = true;
    options.count = count;
    options.stillAnsweringMs = stillAnsweringMs;
    return StationRun(prefix, {radioOptions}, options);
}

TEST(StationTest, EveryRadioOfThreeCablesIsWrittenCheckedAndLoggedOnce) {
    std::vector<VirtualRadioOptions> cables(kCables);
    for (VirtualRadioOptions& cable : cables) {
        // The default swap keeps each radio on through its read-back.
        cable.radios = kRadiosPerCable;
    }
    cables[1].faultyRadio = 4;
    cables[1].faults.unstoredBlock = kUnstoredBlock;
    StationOptions options;
    options.count = kCables * kRadiosPerCable;
    StationRun run("station", cables, options);
    ProgrammingStation& station = *run.station;
    std::deque<VirtualRadio>& radios = run.radios;
    const std::vector<std::string>& links = run.links;
    const StationImage image = PatternMemory(7);

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
    std::string error;
    ASSERT_TRUE(ParseCsvText(run.folder.Read("log.csv"), &lines, &error)) << error;
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
    StationOptions options;
    options.count = 2;
    StationRun run("station-press", {VirtualRadioOptions{}}, options);
    ProgrammingStation& station = *run.station;

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

// A person unplugs the written radio and plugs in the next one within a second or two; one
// left on is named after a while; a cable pulled out stops its worker instead of spinning.
TEST(StationTest, AutoFollowsWhatHappensOnTheCableAfterEachRadio) {
    {
        SCOPED_TRACE("a quick swap");
        VirtualRadioOptions swap;
        swap.radios = 2;
        // Radio 1 answers 1.3 s after its read-back, then nothing answers for 1.3 s.
        swap.swapAfterMs = 1300;
        StationRun run = AutoStation("station-swap", swap, 2, 60000);
        run.Follow([] { return false; }, std::chrono::seconds(90));
        ASSERT_TRUE(run.station->Finished()) << "the swapped-in radio was never written";
        for (int radio = 1; radio <= 2; ++radio) {
            RadioMemory memory = run.radios.front().MemoryOf(radio);
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
        StationRun run = AutoStation("station-left", one, 2, 1000);
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
        StationRun run = AutoStation("station-pulled", silent, 1, 60000);
        run.Follow([&run] { return !run.radios.front().ReceivedBytes().empty(); },
                   std::chrono::seconds(30));
        // Closing the radio's end of the pseudo-terminal is what pulling an adapter does.
        run.radios.front().Stop();
        run.Follow([] { return false; }, std::chrono::seconds(30));
        ASSERT_TRUE(run.station->Finished()) << "the station kept trying a cable that is gone";
        EXPECT_TRUE(run.Saw(StationEventKind::CableGone));
        EXPECT_EQ(run.station->Status(0).phase, CablePhase::Stopped);
    }
}

}  // namespace
