// radio-sim: a virtual radio on a pseudo-terminal named like a serial port, for trying
// the program without hardware. Runs until interrupted, then removes its port name.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/app_globals.h"
#include "config/file_locations.h"
#include "sim/demo_memory.h"
#include "sim/memory_file.h"
#include "sim/virtual_radio.h"

namespace {

constexpr const char* kUsage =
    "usage: radio-sim [--port N | --link PATH] [--memory FILE] [--demo] [--echo] [--pace]\n"
    "                 [--ignore-wakeups N] [--ident-length N] [--silent]\n"
    "                 [--wrong-address BLOCK[:TIMES]] [--short-answer BLOCK[:TIMES]]\n"
    "                 [--no-ack BLOCK[:TIMES]] [--unstored BLOCK] [--version]\n"
    "                 [--late-answer BLOCK[:TIMES]] [--late-by MS] [--stray-byte BLOCK[:TIMES]]\n"
    "Serves a virtual radio on ports/COMN (port 1 unless told) or at PATH. The ports folder\n"
    "is beside this program when a setting.ini is there, else $XDG_CONFIG_HOME/halvex/ports.\n"
    "BLOCK is a block address such as 0x0D40, or any; TIMES defaults to always.\n"
    "A late answer comes MS milliseconds late (200 unless told).\n";

constexpr int kAlways = 1 << 30;

struct Arguments {
    int port = 1;
    std::string link;
    std::string memoryPath;
    bool demo = false;
    VirtualRadioOptions options;
};

bool ParseNumber(const std::string& text, int* value) {
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || parsed < 0 || parsed > kAlways) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseBlock(const std::string& text, int* block) {
    if (text == "any") {
        *block = kAnyBlock;
        return true;
    }
    return ParseNumber(text, block);
}

bool ParseBlockFault(const std::string& text, int* block, int* times) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) {
        *times = kAlways;
        return ParseBlock(text, block);
    }
    return ParseBlock(text.substr(0, colon), block) && ParseNumber(text.substr(colon + 1), times);
}

bool ParseArguments(int argc, char** argv, Arguments* arguments) {
    VirtualRadioFaults& faults = arguments->options.faults;
    for (int k = 1; k < argc; ++k) {
        std::string option = argv[k];
        const char* value = k + 1 < argc ? argv[k + 1] : nullptr;
        bool takesValue = true;
        bool good = value != nullptr;
        if (option == "--port") {
            good = good && ParseNumber(value, &arguments->port) && arguments->port > 0;
        } else if (option == "--link") {
            arguments->link = good ? value : "";
        } else if (option == "--memory") {
            arguments->memoryPath = good ? value : "";
        } else if (option == "--ignore-wakeups") {
            good = good && ParseNumber(value, &faults.ignoreWakeUps);
        } else if (option == "--ident-length") {
            good = good && ParseNumber(value, &faults.identificationLength);
        } else if (option == "--wrong-address") {
            good = good &&
                   ParseBlockFault(value, &faults.wrongAddressBlock, &faults.wrongAddressTimes);
        } else if (option == "--short-answer") {
            good =
                good && ParseBlockFault(value, &faults.shortAnswerBlock, &faults.shortAnswerTimes);
        } else if (option == "--unstored") {
            good = good && ParseNumber(value, &faults.unstoredBlock);
        } else if (option == "--no-ack") {
            good = good && ParseBlockFault(value, &faults.noAckBlock, &faults.noAckTimes);
        } else if (option == "--late-answer") {
            good = good && ParseBlockFault(value, &faults.lateAnswerBlock, &faults.lateAnswerTimes);
        } else if (option == "--late-by") {
            good = good && ParseNumber(value, &faults.lateAnswerMs);
        } else if (option == "--stray-byte") {
            good = good && ParseBlockFault(value, &faults.strayByteBlock, &faults.strayByteTimes);
        } else {
            takesValue = false;
            good = true;
            if (option == "--help") {
                std::fputs(kUsage, stdout);
                std::exit(0);
            } else if (option == "--version") {
                std::puts("radio-sim " HALVEX_VERSION);
                std::exit(0);
            } else if (option == "--demo") {
                arguments->demo = true;
            } else if (option == "--echo") {
                arguments->options.echo = true;
            } else if (option == "--pace") {
                arguments->options.pace9600 = true;
            } else if (option == "--silent") {
                faults.silent = true;
            } else {
                std::fprintf(stderr, "radio-sim: unknown option %s\n%s", option.c_str(), kUsage);
                return false;
            }
        }
        if (!good) {
            std::fprintf(stderr, "radio-sim: %s needs a valid value\n%s", option.c_str(), kUsage);
            return false;
        }
        k += takesValue ? 1 : 0;
    }
    return true;
}

// The memory to start from, and the file form it will be saved in.
bool LoadStartMemory(const Arguments& arguments, MemoryFile* file) {
    bool exists = !arguments.memoryPath.empty() && access(arguments.memoryPath.c_str(), F_OK) == 0;
    if (arguments.demo || !exists) {
        *file = NewMemoryFile(arguments.memoryPath, DemoMemory());
        return true;
    }
    std::string error;
    if (!LoadMemoryFile(arguments.memoryPath, file, &error)) {
        std::fprintf(stderr, "radio-sim: %s\n", error.c_str());
        return false;
    }
    return true;
}

void SaveMemory(const std::string& path, MemoryFile file, const RadioMemory& memory) {
    if (path.empty()) {
        return;
    }
    file.memory = memory;
    std::string error;
    if (!SaveMemoryFile(path, file, &error)) {
        std::fprintf(stderr, "radio-sim: the memory was not saved: %s\n", error.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!ParseArguments(argc, argv, &arguments)) {
        return 2;
    }
    if (arguments.link.empty()) {
        // The same ports folder as the programs that will open the port.
        FileLocations locations = LocateFiles(ExecutableDirectory(), ProcessEnvironment());
        std::string error;
        if (locations.portsDir.empty() || !MakeDirectories(locations.portsDir, &error)) {
            std::fprintf(stderr, "radio-sim: no folder for the port link: %s\n",
                         locations.portsDir.empty() ? "no home folder" : error.c_str());
            return 1;
        }
        arguments.link = locations.portsDir + "/COM" + std::to_string(arguments.port);
    }
    MemoryFile file;
    if (!LoadStartMemory(arguments, &file)) {
        return 1;
    }
    std::string memoryPath = arguments.memoryPath;
    arguments.options.onWriteCompleted = [memoryPath, file](const RadioMemory& memory) {
        SaveMemory(memoryPath, file, memory);
    };

    // Blocked before the radio's thread starts, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    VirtualRadio radio;
    radio.SetMemory(file.memory);
    std::string error;
    if (!radio.Start(arguments.link, arguments.options, &error)) {
        std::fprintf(stderr, "radio-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("radio-sim: %s -> %s\n", arguments.link.c_str(), radio.SlavePath().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    radio.Stop();
    SaveMemory(memoryPath, file, radio.Memory());
    return 0;
}
