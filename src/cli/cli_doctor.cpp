// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli doctor: why the radio does not answer on a port, and what to do about it.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_read_write.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "link/connection_doctor.h"
#include "platform/terminal_text.h"

namespace {

// Device names, the adapters' own strings and process names are anybody's text.
std::string Safe(const std::string& text) {
    return TerminalText(text, kEchoedValueLimit);
}

std::string PortName(const Diagnosis& diagnosis) {
    if (diagnosis.port > 0) {
        return "COM" + std::to_string(diagnosis.port) + " (" + Safe(diagnosis.device) + ")";
    }
    return Safe(diagnosis.device);
}

const char* CableName(CableType cable) {
    return cable == CableType::Direct ? "direct (rwtype=1)" : "echoing (rwtype=2)";
}

void PrintDevices(const Diagnosis& diagnosis) {
    for (const SerialDevice& device : diagnosis.candidates) {
        const std::string& name = device.stablePath.empty() ? device.path : device.stablePath;
        bool likely = name == diagnosis.likely;
        std::cout << "    " << Safe(name) << "  " << Safe(DescribeSerialDevice(device))
                  << (likely ? "  <- probably the programming cable" : "") << '\n';
    }
}

void PrintHolderCure(KnownHolder holder) {
    switch (holder) {
        case KnownHolder::ModemManager:
            std::cout << "ModemManager probes every new serial adapter as if it were a modem.\n"
                         "  Stop it for now:   sudo systemctl stop ModemManager\n"
                         "  Keep it off:       sudo systemctl mask ModemManager\n"
                         "  Or leave it running and add a udev rule for the cable:\n"
                         "    ATTRS{idVendor}==\"VVVV\", ATTRS{idProduct}==\"PPPP\", "
                         "ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n";
            break;
        case KnownHolder::Brltty:
            std::cout << "brltty (the braille display service) claims CH340 adapters on some "
                         "distributions.\n"
                         "  Remove it if no braille display is used:   sudo apt remove brltty\n"
                         "  Or disable its udev rule (85-brltty.rules) and unplug and replug the "
                         "cable.\n";
            break;
        case KnownHolder::None:
            break;
    }
}

void PrintDiagnosis(const Diagnosis& d) {
    const std::string name = PortName(d);
    switch (d.cause) {
        case DoctorCause::RadioFound:
            std::cout << name << ": an RQ870 radio answered with the " << CableName(d.cable)
                      << " cable type. The connection works.\n";
            return;
        case DoctorCause::NoDevice:
            std::cout << name
                      << " does not exist: the cable is not plugged in, or it has "
                         "another name.\n";
            if (d.candidates.empty()) {
                std::cout << "No serial device is present at all: plug the programming cable "
                             "in and run this again.\n";
                return;
            }
            std::cout << "Serial devices present:\n";
            PrintDevices(d);
            if (!d.likely.empty()) {
                std::cout << "Try: halvex-cli doctor --device " << Safe(d.likely) << '\n';
            }
            return;
        case DoctorCause::NotSerial:
            std::cout << name << " is not a serial device (" << Safe(d.openError)
                      << "): choose the cable's device instead.\n";
            return;
        case DoctorCause::NoPermission:
            std::cout << "You may not open " << name << ": it belongs to group " << d.group
                      << ".\n";
            if (!d.groupMayOpen) {
                std::cout << "Not even members of " << d.group
                          << " may use it: its permissions need a udev rule "
                             "(MODE=\"0660\").\n";
            } else if (d.inLoginGroups) {
                std::cout << "You are in group " << d.group << ", yet the device refused you.\n";
            } else if (d.groupMember) {
                std::cout << "You were added to group " << d.group
                          << ", but this login started before that: log out and in again.\n";
            } else {
                std::cout << "You are not in group " << d.group << ". Join it with:\n"
                          << "  sudo usermod -aG " << d.group << " $USER\n"
                          << "then log out and in again (the new group counts from the next "
                             "login).\n";
            }
            return;
        case DoctorCause::InUse:
            if (d.holderPid > 0) {
                std::cout << name << " is in use by " << d.holderName << " (process " << d.holderPid
                          << ").\n";
            } else {
                std::cout << name << " is in use by another program.\n";
            }
            if (!d.otherHolders.empty()) {
                std::string others;
                for (const Diagnosis::OtherHolder& other : d.otherHolders) {
                    others += (others.empty() ? "" : ", ") + other.name + " (process " +
                              std::to_string(other.pid) + ")";
                }
                std::cout << (d.holderPid > 0 ? "Also open in: " : "Open in: ")
                          << TerminalText(others) << ".\n";
            }
            if (d.holder == KnownHolder::None) {
                std::cout << "Close that program and try again.\n";
            }
            PrintHolderCure(d.holder);
            return;
        case DoctorCause::OpenFailed:
            std::cout << name << " cannot be opened: " << Safe(d.openError) << ".\n";
            return;
        case DoctorCause::Silent:
            std::cout << name << " opens, but the radio does not answer.\n"
                      << "  - Is the radio switched on and showing its normal display (not a "
                         "menu, not scanning)?\n"
                      << "  - Is the programming plug pushed fully into the radio? A two-pin "
                         "plug that is not all the way in is the most common fault.\n"
                      << "  - Is this the right port?";
            if (d.candidates.empty()) {
                std::cout << " No other serial device is present.\n";
            } else {
                std::cout << " Other serial devices:\n";
                PrintDevices(d);
            }
            return;
        case DoctorCause::EchoOnDirect:
        case DoctorCause::NoEchoOnEcho: {
            CableType other = CableToSwitchTo(d);
            std::cout << name << ": the cable "
                      << (d.cause == DoctorCause::EchoOnDirect ? "echoes" : "does not echo")
                      << " what is sent, but the cable type is " << CableName(d.cable) << ".\n"
                      << "Switch the cable type to "
                      << (other == CableType::Direct ? "direct" : "echoing")
                      << ": Settings > Cable type in the desktop program, or rwtype="
                      << CableSetting(other) << " in section [setup] of " << g_SettingsPath
                      << ".\n";
            std::cout << (d.otherCableAnswered
                              ? "With that cable type an RQ870 radio answered.\n"
                              : "With that cable type no radio answered either: check the "
                                "radio next.\n");
            return;
        }
        case DoctorCause::OtherModel:
            std::cout << name << ": a radio answered, but its identification has "
                      << d.identificationLength
                      << " bytes instead of 8: it is another radio model, which this program "
                         "cannot program.\n";
            return;
        case DoctorCause::Cancelled:
            std::cout << "The check was cancelled.\n";
            return;
    }
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

int RunDoctorCommand(const ParsedOptions& options, const DeviceRoots& roots) {
    std::string error;
    std::optional<int> port;
    if (options.Has("--port") && !ParsePort("doctor", options.Value("--port"), &port, &error)) {
        return ReportFailure(error);
    }
    // Without either, the port read and write would use.
    DoctorRequest request = DoctorRequestForSettings(g_SettingsPath, g_PortsDir);
    if (port) {
        request = DoctorRequestForPort(g_PortsDir, *port, g_SettingsPath);
    } else if (options.Has("--device")) {
        request = DoctorRequest{options.Value("--device"), 0, g_SettingsPath};
    }
    Diagnosis diagnosis = DiagnoseConnection(request, CurrentSystem(roots));
    PrintDiagnosis(diagnosis);
    std::cout.flush();
    return ExitStatusFor(diagnosis.cause);
}
