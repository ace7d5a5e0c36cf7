#include <array>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_read_write.h"
#include "cli/cli_support.h"
#include "link/serial_devices.h"

namespace {

// Tests point discovery at a fake tree; nothing else reads these variables.
DeviceRoots DeviceRootsFromEnvironment() {
    DeviceRoots roots;
    if (const char* sys = std::getenv("HALVEX_SYSFS_ROOT")) {
        roots.sysRoot = sys;
    }
    if (const char* dev = std::getenv("HALVEX_DEV_ROOT")) {
        roots.devRoot = dev;
    }
    return roots;
}

int RunPorts(std::span<const std::string> arguments) {
    return RunPortsCommand(arguments, DeviceRootsFromEnvironment());
}

int RunDoctor(std::span<const std::string> arguments) {
    return RunDoctorCommand(arguments, DeviceRootsFromEnvironment());
}

const std::array kCommands = {
    CliCommand{"new", "new [--settings FILE] [--band K] -o FILE.pgm", RunNewCommand},
    CliCommand{"info", "info [--settings FILE] FILE.pgm [--csv]", RunInfoCommand},
    CliCommand{"read", "read [--port N | --device PATH] [--settings FILE] [-o FILE.pgm]",
               RunReadCommand},
    CliCommand{"write",
               "write [--port N | --device PATH] [--settings FILE] [--verify] [--force] FILE.pgm",
               RunWriteCommand},
    CliCommand{"ports", "ports [--settings FILE] [--json]", RunPorts},
    CliCommand{"doctor", "doctor [--port N | --device PATH] [--settings FILE]", RunDoctor},
    CliCommand{"diff", "diff [--settings FILE] A.pgm B.pgm", RunDiffCommand},
    CliCommand{"export", "export [--settings FILE] FILE.pgm [-o OUT.csv]", RunExportCommand},
    CliCommand{"import",
               "import IN.csv [--settings FILE] [--band K | --into BASE.pgm] [--allow-empty] "
               "-o OUT.pgm",
               RunImportCommand},
};

void PrintUsage(std::ostream& stream) {
    stream << "usage:\n";
    for (const CliCommand& command : kCommands) {
        stream << "  halvex-cli " << command.usage << '\n';
    }
    stream << "  halvex-cli --help\n"
              "  halvex-cli --version\n"
              "doctor wakes the radio and asks who it is, never writes to it, and exits\n"
              "0 when an RQ870 answers, 2 when none answers (missing device, no permission,\n"
              "port in use, silent radio, echoing cable on the direct setting), 3 for another\n"
              "model or a plain cable on the echoing setting.\n"
              "--settings defaults to setting.ini beside halvex-cli, else\n"
              "$XDG_CONFIG_HOME/halvex/setting.ini (~/.config/halvex/setting.ini).\n"
              "read and write without --port or --device use the port of the settings:\n"
              "device= when it is set, else com= (and searchcom=).\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (arguments.empty()) {
        return ReportFailure("no command given; see halvex-cli --help");
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        PrintUsage(std::cout);
        return kExitSuccess;
    }
    if (arguments[0] == "--version") {
        std::cout << "halvex-cli " HALVEX_VERSION "\n";
        return kExitSuccess;
    }
    for (const CliCommand& command : kCommands) {
        if (arguments[0] == command.name) {
            return command.run(std::span<const std::string>(arguments).subspan(1));
        }
    }
    return ReportFailure("unknown command '" + arguments[0] + "'; see halvex-cli --help");
}
