// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli doctor: why the radio does not answer on a port, and what to do about it.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_read_write.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "link/connection_doctor.h"
#include "link/doctor_text.h"
#include "platform/file_status.h"
#include "platform/terminal_text.h"

namespace {

// Device names, the adapters' own strings and process names are anybody's text.
std::string Safe(const std::string& text) {
    return TerminalText(text, kEchoedValueLimit);
}

// The command line speaks English whatever language the desktop is set to, in the words the
// desktop uses.
DoctorWording CommandLineWording(const std::string& englishPath) {
    return {.text = [englishPath](const char* key) { return LoadLangString(englishPath, key); },
            .reader = DoctorReader::CommandLine,
            .value = Safe,
            .settingsPath = g_SettingsPath};
}

// The status read would end with in the same situation.
int ExitStatusFor(DoctorCause cause) {
    switch (cause) {
        case DoctorCause::RadioFound:
            return kExitSuccess;
        case DoctorCause::OtherModel:
        case DoctorCause::NoEchoOnEcho:
            return kExitWrongRadio;
        case DoctorCause::Cancelled:
            return kExitCancelled;
        default:
            return kExitNoRadio;
    }
}

}  // namespace

int RunDoctorCommand(const ParsedOptions& options) {
    const DeviceRoots roots = DeviceRootsFromEnvironment();
    std::string error;
    const std::string englishPath = LanguageFilePath("english");
    if (!IsRegularFile(englishPath)) {
        return ReportFailure("doctor: " + Safe(englishPath) +
                             " is missing, and with it the words of every finding; install the "
                             "program again");
    }
    std::optional<int> port;
    if (options.Has(cli_option::kPort) &&
        !ParsePort("doctor", options.Value(cli_option::kPort), &port, &error)) {
        return ReportFailure(error);
    }
    // Without either, the port read and write would use.
    DoctorRequest request = DoctorRequestForSettings(g_SettingsPath, g_PortsDir);
    if (port) {
        request = DoctorRequestForPort(g_PortsDir, *port, g_SettingsPath);
    } else if (options.Has(cli_option::kDevice)) {
        request = DoctorRequest{.device = options.Value(cli_option::kDevice),
                                .settingsPath = g_SettingsPath};
    }
    if (options.Has(cli_option::kVerbose)) {
        request.trace = StandardErrorTrace();
    }
    Diagnosis diagnosis = DiagnoseConnection(request, CurrentSystem(roots));
    const DoctorWording wording = CommandLineWording(englishPath);
    std::cout << (diagnosis.cause == DoctorCause::RadioFound
                      ? DoctorFoundMessage(diagnosis, wording)
                      : DoctorMessage(diagnosis, wording))
              << '\n';
    std::cout.flush();
    return ExitStatusFor(diagnosis.cause);
}
