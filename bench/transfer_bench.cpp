// A full read and a full write against the virtual radio on a 9600 baud line: how close the
// link comes to the time the line and the protocol's own pauses need, and what CPU it costs.
// The radio runs on its own thread; only the worker thread's CPU time is the program's.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/app_globals.h"
#include "link/clone_protocol.h"
#include "link/serial_port.h"
#include "sim/virtual_radio.h"

namespace {

constexpr double kSecondsPerByte = 10.0 / 9600.0;
constexpr int kBlocks = 384;
constexpr double kSettleSeconds = 0.100;
constexpr double kLeadSeconds = 0.001;
constexpr double kAfterWriteSeconds = 1.000;

// Bytes on the line that the exchange waits for, in both directions, and the sends it makes.
struct LineBudget {
    int bytes;
    int sends;
    double pauses;
};

// Wake-up 7 + 1, identification 1 + 8, its acknowledgement 1 + 1, then the blocks and the
// end: a read waits for the end byte's answer, a write pauses instead.
LineBudget Budget(bool read) {
    int preamble = 8 + 9 + 2;
    if (read) {
        return {preamble + kBlocks * (4 + 20) + 2, 3 + kBlocks + 1, kSettleSeconds};
    }
    return {preamble + kBlocks * (20 + 1) + 1, 3 + kBlocks + 1,
            kSettleSeconds + kAfterWriteSeconds};
}

double WireBound(bool read) {
    LineBudget budget = Budget(read);
    return budget.bytes * kSecondsPerByte + budget.sends * kLeadSeconds + budget.pauses;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Measurement {
    TransferStatus status = StatusIdle;
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

Measurement RunExchange(const std::string& settingsPath, bool read, uint8_t* image) {
    CSerialPort port(g_PortsDir);
    TransferJob job;
    job.Reset(&port, settingsPath, read, image);
    Measurement measurement;
    std::thread worker([&] {
        double cpuStart = ThreadCpuSeconds();
        auto start = std::chrono::steady_clock::now();
        TransferThreadProc(job);
        measurement.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        measurement.cpuSeconds = ThreadCpuSeconds() - cpuStart;
    });
    worker.join();
    measurement.status = job.Status();
    return measurement;
}

void Report(const char* name, const Measurement& measurement, double bound) {
    std::printf(
        "%-5s wall %.3f s, wire-time bound %.3f s, ratio %.4f, worker CPU %.4f s (%.3f %% "
        "of wall)\n",
        name, measurement.wallSeconds, bound, measurement.wallSeconds / bound,
        measurement.cpuSeconds, 100.0 * measurement.cpuSeconds / measurement.wallSeconds);
}

}  // namespace

int main() {
    std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                      ("halvex-transfer-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory / "ports");
    SetModuleDir(directory.string());
    {
        std::ofstream settings(g_SettingsPath);
        settings << "[setup]\ncom=1\nsearchcom=0\nrwtype=1\nreadtime=50\nwritetime=50\n";
    }
    RadioMemory memory;
    for (size_t i = 0; i < memory.size(); ++i) {
        memory[i] = static_cast<uint8_t>(i * 13 + 5);
    }
    VirtualRadio radio;
    VirtualRadioOptions options;
    options.pace9600 = true;
    radio.SetMemory(memory);
    std::string error;
    if (!radio.Start((directory / "ports" / "COM1").string(), options, &error)) {
        std::fprintf(stderr, "transfer_bench: %s\n", error.c_str());
        return 1;
    }

    std::array<uint8_t, 8192> image{};
    image.fill(0xFF);
    Measurement read = RunExchange(g_SettingsPath, true, image.data());
    bool readExact = read.status == StatusReadDone &&
                     std::equal(image.begin() + 0x0800, image.end(), memory.begin() + 0x0800);

    for (size_t i = 0x0800; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(~image[i]);
    }
    Measurement write = RunExchange(g_SettingsPath, false, image.data());
    RadioMemory written = radio.Memory();
    bool writeExact = write.status == StatusWriteDone &&
                      std::equal(written.begin() + 0x0800, written.end(), image.begin() + 0x0800);
    radio.Stop();
    std::filesystem::remove_all(directory);

    std::printf("transfer_bench: full clone exchanges, direct cable, virtual radio at 9600 baud\n");
    Report("read", read, WireBound(true));
    Report("write", write, WireBound(false));
    if (!readExact || !writeExact) {
        std::fprintf(stderr, "transfer_bench: the %s did not move the image exactly\n",
                     readExact ? "write" : "read");
        return 1;
    }
    return 0;
}
