// Reads under CPU load: 50 full reads from virtual radios on 9600 baud lines while two busy
// loops compete for the processors, each read compared block by block with the radio's
// memory. A read may fail under load; one that ends as done with a wrong block is a fault,
// and the bench exits 1 on any. The radio memory is made of bytes that look like the start
// of the next block's answer, so a read that slipped by a few bytes would pass the header
// check and show here.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/app_globals.h"
#include "link/clone_protocol.h"
#include "link/serial_port.h"
#include "sim/virtual_radio.h"

namespace {

constexpr int kRounds = 50;
// Reads run side by side, each on its own radio, so 50 of them fit in a few minutes.
constexpr int kLanes = 5;
constexpr int kBusyLoads = 2;
// The busy loops stop after this even if the reads hang.
constexpr auto kLoadLimit = std::chrono::minutes(15);
constexpr int kFirstBlock = 0x0800;
constexpr int kEndAddress = 0x2000;

RadioMemory FrameLikeMemory(int seed) {
    RadioMemory memory;
    for (size_t i = 0; i < memory.size(); ++i) {
        memory[i] = static_cast<uint8_t>(i * 29 + static_cast<size_t>(seed));
    }
    for (int address = kFirstBlock; address < kEndAddress; address += 16) {
        int next = address + 16;
        for (int k = 0; k < 16; k += 4) {
            memory[address + k] = 0x57;
            memory[address + k + 1] = static_cast<uint8_t>(next >> 8);
            memory[address + k + 2] = static_cast<uint8_t>(next & 0xFF);
        }
    }
    return memory;
}

struct LaneResult {
    int done = 0;
    int failed = 0;
    int otherEnd = 0;
    int wrongBlocks = 0;
};

// One radio and one port; the lane's rounds run one after another.
LaneResult RunLane(const std::filesystem::path& directory, int lane, int rounds, int readTime) {
    LaneResult result;
    int portNumber = lane + 1;
    std::string settingsPath = (directory / ("setting-" + std::to_string(lane) + ".ini")).string();
    {
        std::ofstream settings(settingsPath);
        settings << "[setup]\ncom=" << portNumber
                 << "\nsearchcom=0\nrwtype=1\nreadtime=" << readTime << "\nwritetime=50\n";
    }
    RadioMemory memory = FrameLikeMemory(lane);
    VirtualRadio radio;
    VirtualRadioOptions options;
    options.pace9600 = true;
    radio.SetMemory(memory);
    std::string error;
    if (!radio.Start((directory / "ports" / ("COM" + std::to_string(portNumber))).string(), options,
                     &error)) {
        std::fprintf(stderr, "load_bench: %s\n", error.c_str());
        result.otherEnd = rounds;
        return result;
    }
    for (int round = 0; round < rounds; ++round) {
        CSerialPort port(g_PortsDir);
        TransferJob job;
        std::array<uint8_t, 8192> image{};
        image.fill(0xEE);
        job.Reset(&port, settingsPath, true, image.data());
        TransferThreadProc(job);
        if (job.Status() == StatusReadDone) {
            ++result.done;
            for (int address = kFirstBlock; address < kEndAddress; address += 16) {
                if (!std::equal(image.begin() + address, image.begin() + address + 16,
                                memory.begin() + address)) {
                    ++result.wrongBlocks;
                }
            }
        } else if (job.Status() == StatusReadFailed) {
            ++result.failed;
        } else {
            ++result.otherEnd;
        }
    }
    radio.Stop();
    return result;
}

}  // namespace

int main() {
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("halvex-load-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory / "ports");
    SetModuleDir(directory.string());

    std::atomic<bool> stop{false};
    std::vector<std::thread> loads;
    auto loadEnd = std::chrono::steady_clock::now() + kLoadLimit;
    for (int k = 0; k < kBusyLoads; ++k) {
        loads.emplace_back([&stop, loadEnd] {
            volatile uint64_t spin = 0;
            while (!stop.load(std::memory_order_relaxed) &&
                   std::chrono::steady_clock::now() < loadEnd) {
                for (int i = 0; i < 100000; ++i) {
                    spin = spin + 1;
                }
            }
        });
    }

    // The last two lanes use a tight time-out: an answer takes 25 ms at 9600 baud.
    const int readTimes[kLanes] = {50, 50, 50, 30, 30};
    std::vector<LaneResult> results(kLanes);
    std::vector<std::thread> lanes;
    auto start = std::chrono::steady_clock::now();
    for (int lane = 0; lane < kLanes; ++lane) {
        lanes.emplace_back([&, lane] {
            results[lane] = RunLane(directory, lane, kRounds / kLanes, readTimes[lane]);
        });
    }
    for (std::thread& lane : lanes) {
        lane.join();
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    stop = true;
    for (std::thread& load : loads) {
        load.join();
    }
    std::filesystem::remove_all(directory);

    LaneResult total;
    for (int lane = 0; lane < kLanes; ++lane) {
        const LaneResult& r = results[lane];
        std::printf("lane %d (readtime %d ms): %d done, %d failed, %d other, %d wrong blocks\n",
                    lane, readTimes[lane], r.done, r.failed, r.otherEnd, r.wrongBlocks);
        total.done += r.done;
        total.failed += r.failed;
        total.otherEnd += r.otherEnd;
        total.wrongBlocks += r.wrongBlocks;
    }
    std::printf(
        "load_bench: %d paced reads beside %d busy loops in %.1f s: %d done, %d failed, %d "
        "other, %d wrong blocks in reads that ended as done\n",
        kRounds, kBusyLoads, seconds, total.done, total.failed, total.otherEnd, total.wrongBlocks);
    return total.wrongBlocks == 0 && total.otherEnd == 0 ? 0 : 1;
}
