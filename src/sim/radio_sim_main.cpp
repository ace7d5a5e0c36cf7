// SPDX-License-Identifier: GPL-3.0-or-later
// radio-sim: a virtual radio on a pseudo-terminal named like a serial port, for trying
// the program without hardware. Runs until interrupted, then removes its port name.
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/app_globals.h"
#include "config/file_locations.h"
#include "platform/command_options.h"
#include "sim/demo_memory.h"
#include "sim/memory_file.h"
#include "sim/virtual_radio.h"

namespace {

constexpr OptionDefinition WithValue(std::string_view name, std::string_view valueName,
                                     std::string_view help) {
    return {.name = name, .valueName = valueName, .help = help, .kind = OptionKind::Value};
}

constexpr std::array kOptions = {
    // The port, or a path instead.
    OptionDefinition{.name = "--port",
                     .valueName = "N",
                     .help = "serve on ports/COMN (1 unless told)",
                     .kind = OptionKind::Value,
                     .group = 1},
    OptionDefinition{.name = "--link",
                     .valueName = "PATH",
                     .help = "serve at PATH instead",
                     .kind = OptionKind::Value,
                     .group = 1},
    WithValue("--memory", "FILE", "keep the memory in FILE (.pgm or an 8192-byte dump)"),
    OptionDefinition{.name = "--demo", .help = "start from the demo channels"},
    OptionDefinition{.name = "--echo", .help = "echo every byte, as an echoing cable does"},
    OptionDefinition{.name = "--pace", .help = "pace the line at 9600 baud"},
    WithValue("--ignore-wakeups", "N", "ignore the first N wake-ups"),
    WithValue("--ident-length", "N", "send an identification of N bytes"),
    OptionDefinition{.name = "--silent", .help = "never answer"},
    WithValue("--wrong-address", "BLOCK[:TIMES]", "answer BLOCK with another block's address"),
    WithValue("--short-answer", "BLOCK[:TIMES]", "answer BLOCK cut short"),
    WithValue("--no-ack", "BLOCK[:TIMES]", "do not acknowledge BLOCK"),
    WithValue("--unstored", "BLOCK", "acknowledge BLOCK but do not keep it"),
    WithValue("--late-answer", "BLOCK[:TIMES]", "answer BLOCK after the time-out"),
    WithValue("--late-by", "MS", "how late a late answer comes (200 unless told)"),
    WithValue("--stray-byte", "BLOCK[:TIMES]", "send one byte more after the answer to BLOCK"),
    WithValue("--radios", "N", "play N radios (1 to 100) one after another, as at a station"),
    WithValue("--swap-after", "MS", "unplug a radio MS after its read-back (or read), for MS"),
    WithValue("--faulty-radio", "K", "give the faults to radio K of the sequence only"),
    OptionDefinition{.name = "--version", .help = "print the version"},
};

constexpr const char* kUsageNotes =
    "Serves a virtual radio on ports/COMN (N from 1 to 255; port 1 unless told) or at PATH.\n"
    "The ports folder is beside this program when a setting.ini is there, else\n"
    "$XDG_CONFIG_HOME/halvex/ports. BLOCK is a block address such as 0x0D40, or any; TIMES\n"
    "defaults to always; other numbers are decimal. A value follows its option or is\n"
    "attached to it (--port=2); -- ends the options.\n"
    "With --radios, radio 2 keeps its memory in FILE named with \"-2\" before its extension\n"
    "(radios.pgm, radios-2.pgm, ...), and so on: each radio starts from its own file when\n"
    "there is one, else from FILE's memory, and only radios that were written are saved\n"
    "(radio 1 always). --swap-after defaults to 1000; after a write without a read-back a\n"
    "radio stays 2000 more, for the pause before a read-back. The exit status is 1 when a\n"
    "memory could not be saved.\n";

constexpr int kAlways = 1 << 30;
constexpr int kUsageExit = 2;
constexpr int kLargestPort = 255;
// Every radio of a sequence keeps its memory in memory and may get a file of its own.
constexpr int kLargestRadios = 100;

struct Arguments {
    // The name the program was started as, which starts each of its messages.
    std::string program = "radio-sim";
    int port = 1;
    std::string link;
    std::string memoryPath;
    bool demo = false;
    VirtualRadioOptions options;
};

// base 0 takes 0x for hexadecimal (and a leading 0 for octal); 10 reads "010" as ten.
bool ParseInBase(const std::string& text, int base, int* value) {
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, base);
    if (text.empty() || text.front() == '-' || text.front() == '+' || text.front() == ' ' ||
        *end != '\0' || parsed < 0 || parsed > kAlways) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseNumber(const std::string& text, int* value) {
    return ParseInBase(text, 10, value);
}

bool ParseBlock(const std::string& text, int* block) {
    if (text == "any") {
        *block = kAnyBlock;
        return true;
    }
    return ParseInBase(text, 0, block);
}

bool ParseBlockFault(const std::string& text, int* block, int* times) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) {
        *times = kAlways;
        return ParseBlock(text, block);
    }
    return ParseBlock(text.substr(0, colon), block) && ParseNumber(text.substr(colon + 1), times);
}

void PrintUsage(const std::string& program) {
    std::printf("%s%s%s", WrappedUsage("usage: " + program, kOptions).c_str(),
                OptionHelp(kOptions).c_str(), kUsageNotes);
}

// Takes each option's value into arguments; false with the option whose value is not valid.
bool TakeValues(const ParsedOptions& parsed, Arguments* arguments, std::string* badOption) {
    VirtualRadioFaults& faults = arguments->options.faults;
    struct NumberTarget {
        std::string_view name;
        int* value;
    };
    struct BlockTarget {
        std::string_view name;
        int* block;
        int* times;
    };
    const NumberTarget numbers[] = {{"--port", &arguments->port},
                                    {"--ignore-wakeups", &faults.ignoreWakeUps},
                                    {"--ident-length", &faults.identificationLength},
                                    {"--late-by", &faults.lateAnswerMs},
                                    {"--radios", &arguments->options.radios},
                                    {"--swap-after", &arguments->options.swapAfterMs},
                                    {"--faulty-radio", &arguments->options.faultyRadio}};
    const BlockTarget blocks[] = {
        {"--wrong-address", &faults.wrongAddressBlock, &faults.wrongAddressTimes},
        {"--short-answer", &faults.shortAnswerBlock, &faults.shortAnswerTimes},
        {"--no-ack", &faults.noAckBlock, &faults.noAckTimes},
        {"--late-answer", &faults.lateAnswerBlock, &faults.lateAnswerTimes},
        {"--stray-byte", &faults.strayByteBlock, &faults.strayByteTimes}};
    for (const NumberTarget& number : numbers) {
        if (parsed.Has(number.name) && !ParseNumber(parsed.Value(number.name), number.value)) {
            *badOption = number.name;
            return false;
        }
    }
    if (parsed.Has("--unstored") &&
        !ParseBlock(parsed.Value("--unstored"), &faults.unstoredBlock)) {
        *badOption = "--unstored";
        return false;
    }
    for (const BlockTarget& block : blocks) {
        if (parsed.Has(block.name) &&
            !ParseBlockFault(parsed.Value(block.name), block.block, block.times)) {
            *badOption = block.name;
            return false;
        }
    }
    if (arguments->port < 1 || arguments->port > kLargestPort) {
        *badOption = "--port";
        return false;
    }
    if (arguments->options.radios < 1 || arguments->options.radios > kLargestRadios) {
        *badOption = "--radios";
        return false;
    }
    if (arguments->options.faultyRadio > arguments->options.radios) {
        *badOption = "--faulty-radio";
        return false;
    }
    arguments->link = parsed.Value("--link");
    arguments->memoryPath = parsed.Value("--memory");
    arguments->demo = parsed.Has("--demo");
    arguments->options.echo = parsed.Has("--echo");
    arguments->options.pace9600 = parsed.Has("--pace");
    faults.silent = parsed.Has("--silent");
    return true;
}

// The exit status when the program should end at once (help, version, usage error).
std::optional<int> ParseArguments(int argc, char** argv, Arguments* arguments) {
    if (argc > 0 && !std::filesystem::path(argv[0]).filename().empty()) {
        arguments->program = std::filesystem::path(argv[0]).filename().string();
    }
    const std::string& program = arguments->program;
    std::vector<std::string> given(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParsedOptions parsed;
    std::string error;
    if (!ParseOptions(kOptions, given, &parsed, &error)) {
        std::fprintf(stderr, "%s: %s; see %s --help\n", program.c_str(), error.c_str(),
                     program.c_str());
        return kUsageExit;
    }
    if (parsed.Has("--help")) {
        PrintUsage(program);
        return 0;
    }
    if (parsed.Has("--version")) {
        std::printf("%s " HALVEX_VERSION "\n", program.c_str());
        return 0;
    }
    std::string badOption;
    if (!TakeValues(parsed, arguments, &badOption)) {
        std::fprintf(stderr, "%s: %s needs a valid value; see %s --help\n", program.c_str(),
                     badOption.c_str(), program.c_str());
        return kUsageExit;
    }
    return std::nullopt;
}

// Where radio number radio of a sequence keeps its memory: path itself for the first.
std::string MemoryPathOf(const std::string& path, int radio) {
    if (path.empty() || radio <= 1) {
        return path;
    }
    std::filesystem::path named(path);
    std::string name = named.stem().string();
    name += '-';
    name += std::to_string(radio);
    name += named.extension().string();
    return (named.parent_path() / name).string();
}

// One radio's file: where it is, the form it is saved in, and what it holds now.
struct RadioFile {
    std::string path;
    MemoryFile file;
    std::optional<RadioMemory> held;
    // The last failure printed for it, so that a failure repeated at stop is printed once.
    std::string reported;
};

// The memory each radio starts from and the files they are saved in; false with the
// message printed when a file there cannot be loaded.
bool LoadStartMemories(const Arguments& arguments, std::vector<RadioFile>* files) {
    files->assign(static_cast<size_t>(arguments.options.radios), {});
    for (int radio = 1; radio <= arguments.options.radios; ++radio) {
        RadioFile& own = (*files)[static_cast<size_t>(radio - 1)];
        own.path = MemoryPathOf(arguments.memoryPath, radio);
        bool exists = !own.path.empty() && access(own.path.c_str(), F_OK) == 0;
        if (arguments.demo || !exists) {
            // A radio without a file of its own starts as the first does.
            own.file = radio == 1 ? NewMemoryFile(own.path, DemoMemory()) : files->front().file;
            continue;
        }
        std::string error;
        if (!LoadMemoryFile(own.path, &own.file, &error)) {
            std::fprintf(stderr, "%s: %s\n", arguments.program.c_str(), error.c_str());
            return false;
        }
        own.held = own.file.memory;
    }
    return true;
}

// Saves memory into own's file unless it holds it already; false when it could not, said
// under the program's name.
bool SaveMemory(const std::string& program, RadioFile& own, const RadioMemory& memory) {
    if (own.path.empty() || own.held == memory) {
        return true;
    }
    MemoryFile file = own.file;
    file.memory = memory;
    std::string error;
    if (!SaveMemoryFile(own.path, file, &error)) {
        if (error != own.reported) {
            std::fprintf(stderr, "%s: the memory was not saved: %s\n", program.c_str(),
                         error.c_str());
            own.reported = error;
        }
        return false;
    }
    own.held = memory;
    own.reported.clear();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (std::optional<int> exitStatus = ParseArguments(argc, argv, &arguments)) {
        return *exitStatus;
    }
    if (arguments.link.empty()) {
        // The same ports folder as the programs that will open the port.
        FileLocations locations = LocateFiles(ExecutableDirectory(), ProcessEnvironment());
        std::string error;
        if (locations.portsDir.empty() || !MakeDirectories(locations.portsDir, &error)) {
            std::fprintf(stderr, "%s: no folder for the port link: %s\n", arguments.program.c_str(),
                         locations.portsDir.empty() ? "no home folder" : error.c_str());
            return 1;
        }
        arguments.link = locations.portsDir + "/COM" + std::to_string(arguments.port);
    }
    std::vector<RadioFile> files;
    if (!LoadStartMemories(arguments, &files)) {
        return 1;
    }
    for (size_t k = 1; k < files.size(); ++k) {
        arguments.options.memories.push_back(files[k].file.memory);
    }
    VirtualRadio radio;
    // Called on the radio's thread, which is also the only one that swaps radios; files is
    // not touched elsewhere until that thread has ended.
    const std::string& program = arguments.program;
    arguments.options.onWriteCompleted = [&program, &files, &radio](const RadioMemory& memory) {
        int current = radio.CurrentRadio();
        if (current >= 1) {
            SaveMemory(program, files[static_cast<size_t>(current - 1)], memory);
        }
    };

    // Blocked before the radio's thread starts, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    radio.SetMemory(files.front().file.memory);
    std::string error;
    if (!radio.Start(arguments.link, arguments.options, &error)) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        return 1;
    }
    std::printf("%s: %s -> %s\n", program.c_str(), arguments.link.c_str(),
                radio.SlavePath().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    radio.Stop();
    int exitStatus = 0;
    for (int k = 1; k <= arguments.options.radios; ++k) {
        // The first radio's file is kept up to date as ever; the others only once written.
        if ((k == 1 || radio.WasWritten(k)) &&
            !SaveMemory(program, files[static_cast<size_t>(k - 1)], radio.MemoryOf(k))) {
            exitStatus = 1;
        }
    }
    return exitStatus;
}
