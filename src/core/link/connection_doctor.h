// SPDX-License-Identifier: GPL-3.0-or-later
// Why the radio does not answer on a port: the first cause found, as facts. The command line
// and the desktop each put them into their own words. The checks run from the cheapest to the
// one that talks to the radio, and that one only wakes the radio and asks who it is: nothing
// is ever written to its memory.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "link/cable_exchange.h"
#include "link/serial_devices.h"
#include "link/traced_line.h"

enum class DoctorCause {
    // A radio of this model answered with the cable type of the settings.
    RadioFound,
    NoDevice,
    // The path names something other than a character device.
    NotSerial,
    NoPermission,
    InUse,
    // Opening failed for a reason none of the others covers; see openError.
    OpenFailed,
    // The port opens but nothing answers.
    Silent,
    // The direct setting heard its own frames come back.
    EchoOnDirect,
    // The echoing setting heard no echo, and the direct one reached the radio.
    NoEchoOnEcho,
    // An identification of another length than this model's.
    OtherModel,
    Cancelled,
};

// Holders with a known cure: both open new serial adapters on their own.
enum class KnownHolder { None, ModemManager, Brltty };

// The user's groups as the kernel sees them in this login, and as the group database lists
// them now: a group joined after the login began is only in the second.
struct UserGroups {
    std::vector<gid_t> login;
    std::vector<gid_t> member;
};

UserGroups CurrentUserGroups();

// The system the doctor looks at; tests give fake trees and made-up groups.
struct DoctorSystem {
    DeviceRoots roots;
    std::string procRoot = "/proc";
    UserGroups groups;
    // Descriptors of this process are not another program's.
    pid_t self = 0;
};

// This user and this process, with the devices under roots.
DoctorSystem CurrentSystem(const DeviceRoots& roots);

struct DoctorRequest {
    std::string device;
    // The COM number the device stands for, 0 when it was named by its path.
    int port = 0;
    std::string settingsPath;
    // Test mode takes either cable by itself, so no cable type can be wrong.
    bool testMode = false;
    // When set, told every frame of the tries with the radio, on one clock.
    TraceSink trace = {};
};

struct Diagnosis {
    DoctorCause cause = DoctorCause::Cancelled;
    std::string device;
    int port = 0;

    // NoDevice: every serial device present; Silent: the others, as ports to try instead.
    std::vector<SerialDevice> candidates;
    // The USB adapter that appeared last among the candidates; empty when there is none.
    std::string likely;

    // NoPermission: the device's group and what the user has of it.
    std::string group;
    bool inLoginGroups = false;
    bool groupMember = false;
    // Whether members of the group may read and write the device at all.
    bool groupMayOpen = false;

    // InUse: the holder when it could be found (pid 0 when not): the program with the lock,
    // else one known to swallow the radio's answers, else the only one with the port open.
    pid_t holderPid = 0;
    std::string holderName;
    KnownHolder holder = KnownHolder::None;
    // InUse: the other programs with the port open.
    struct OtherHolder {
        pid_t pid = 0;
        std::string name;
        friend bool operator==(const OtherHolder&, const OtherHolder&) = default;
    };
    std::vector<OtherHolder> otherHolders;
    // NoDevice, Silent: services running that take a new serial adapter for themselves, each
    // once: brltty makes a CH340 adapter vanish, a ModemManager probe swallows the answer.
    std::vector<KnownHolder> runningServices;

    // The cable type of the settings, and for the echo causes whether the other type then
    // reached a radio of this model.
    CableType cable = CableType::Direct;
    bool otherCableAnswered = false;

    // OtherModel: the identification bytes received.
    int identificationLength = 0;

    // NotSerial, OpenFailed: the system's reason.
    std::string openError;
};

// The path the doctor looks at for COMn: the same one the port open uses.
DoctorRequest DoctorRequestForPort(const std::string& portsFolder, int port,
                                   const std::string& settingsPath);

// The port the program connects through: setup/device when it is set, else COMn of setup/com.
DoctorRequest DoctorRequestForSettings(const std::string& settingsPath,
                                       const std::string& portsFolder);

Diagnosis DiagnoseConnection(const DoctorRequest& request, const DoctorSystem& system,
                             const CancelFlag* cancel = nullptr);

// The cable type that cures an echo cause.
inline CableType CableToSwitchTo(const Diagnosis& diagnosis) {
    return diagnosis.cause == DoctorCause::EchoOnDirect ? CableType::Echo : CableType::Direct;
}

// The setup/rwtype value of a cable type.
inline int CableSetting(CableType cable) {
    return cable == CableType::Direct ? 1 : 2;
}
