// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station with four cables at once, each to its own virtual radio paced at
// 9600 baud: the wall time of four verified writes in parallel against one verified write
// alone, and the CPU each cable's worker costs. The radios are radio-sim processes, so only
// the station's own threads count towards its CPU time.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "link/clone_protocol.h"
#include "link/serial_port.h"
#include "link/write_verify.h"
#include "station/programming_station.h"
#include "support/frame_like_memory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kCables = 4;
constexpr double kWallGoal = 1.10;
constexpr double kCpuGoalPercent = 1.0;

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A paced radio-sim serving link; its pid, or -1.
pid_t StartRadio(const std::string& link) {
    std::string program = std::string(HALVEX_RADIO_SIM);
    std::vector<std::string> arguments = {program, "--link", link, "--pace"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (int k = 0; pid > 0 && k < 500 && !fs::exists(link); ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return pid;
}

// One verified write as halvex-cli write --verify makes it: a write, then a read-back.
double VerifiedWriteSeconds(const std::string& settingsPath, const std::string& link,
                            const StationImage& image, bool* exact) {
    auto start = std::chrono::steady_clock::now();
    CSerialPort port;
    std::string error;
    if (!port.OpenDevice(link, 9600, &error)) {
        std::fprintf(stderr, "station_bench: %s\n", error.c_str());
        return 0;
    }
    StationImage sent = image;
    TransferJob job;
    job.Reset(&port, settingsPath, false, sent.data());
    job.fixedPort = true;
    TransferThreadProc(job);
    StationImage readBack{};
    PrepareReadBackImage(sent.data(), readBack.data());
    bool written = job.Status() == StatusWriteDone;
    job.Reset(&port, settingsPath, true, readBack.data());
    job.fixedPort = true;
    TransferThreadProc(job);
    *exact = written && job.Status() == StatusReadDone &&
             DifferingBlocks(sent.data(), readBack.data()).empty();
    return Since(start);
}

}  // namespace

int main() {
    fs::path directory =
        fs::temp_directory_path() / ("halvex-station-bench-" + std::to_string(getpid()));
    fs::create_directories(directory);
    std::string settingsPath = (directory / "setting.ini").string();
    std::ofstream(settingsPath) << "[setup]\nsearchcom=0\nrwtype=1\nreadtime=500\nwritetime=500\n";
    StationImage image = halvex::test::FrameLikeMemory(7);

    std::vector<std::string> links;
    std::vector<pid_t> radios;
    for (int k = 0; k <= kCables; ++k) {
        links.push_back((directory / ("cable" + std::to_string(k))).string());
        radios.push_back(StartRadio(links.back()));
    }
    bool singleExact = false;
    double single = VerifiedWriteSeconds(settingsPath, links[kCables], image, &singleExact);

    StationLog log;
    std::string error;
    log.Open((directory / "log.csv").string(), &error);
    StationOptions options;
    options.settingsPath = settingsPath;
    options.count = kCables;
    ProgrammingStation station(image, options, log);
    bool opened = station.OpenCables({links.begin(), links.begin() + kCables}, &error) ==
                  CableOpening::Opened;
    double cpuStart = ProcessCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    if (opened) {
        station.Start();
        for (size_t k = 0; k < kCables; ++k) {
            station.Confirm(k);
        }
        while (!station.Finished()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    double wall = Since(start);
    double cpuPercent = 100.0 * (ProcessCpuSeconds() - cpuStart) / wall / kCables;
    int ok = 0;
    for (const RadioRecord& record : station.Records()) {
        ok += record.result == RadioResult::Ok ? 1 : 0;
    }
    for (pid_t radio : radios) {
        if (radio > 0) {
            kill(radio, SIGTERM);
            waitpid(radio, nullptr, 0);
        }
    }
    fs::remove_all(directory);

    double ratio = single > 0 ? wall / single : 0;
    bool exact = singleExact && ok == kCables;
    std::printf("%-34s %9s %9s %7s %7s  %s\n", "case", "wall s", "one s", "ratio", "goal",
                "result");
    std::printf("%-34s %9.3f %9.3f %7.3f %7.2f  %s\n", "4 cables, 4 verified writes", wall, single,
                ratio, kWallGoal, exact && ratio <= kWallGoal ? "met" : "MISSED");
    std::printf("%-34s %9.3f %9s %6.2f%% %6.1f%%  %s\n", "CPU of wall per cable", wall, "",
                cpuPercent, kCpuGoalPercent,
                exact && cpuPercent <= kCpuGoalPercent ? "met" : "MISSED");
    if (!exact) {
        std::printf("not every write was exact: %d of %d ok, single %s\n", ok, kCables,
                    singleExact ? "ok" : "failed");
    }
    return exact ? 0 : 1;
}
