// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/doctor_text.h"

#include <initializer_list>

namespace {

// The text of key with %1, %2, ... replaced by the arguments.
std::string Worded(const DoctorWording& wording, const char* key,
                   std::initializer_list<std::string> arguments = {}) {
    std::string text = wording.text(key);
    int number = 1;
    for (const std::string& argument : arguments) {
        std::string mark = "%";
        mark += std::to_string(number++);
        for (size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + argument.size())) {
            text.replace(at, mark.size(), argument);
        }
    }
    return text;
}

std::string PortName(const Diagnosis& diagnosis, const DoctorWording& wording) {
    if (diagnosis.port > 0) {
        return "COM" + std::to_string(diagnosis.port) + " (" + wording.value(diagnosis.device) +
               ")";
    }
    return wording.value(diagnosis.device);
}

void AddLine(std::string* text, const std::string& line) {
    if (!text->empty()) {
        *text += '\n';
    }
    *text += line;
}

bool ForCommandLine(const DoctorWording& wording) {
    return wording.reader == DoctorReader::CommandLine;
}

void AddDevices(std::string* text, const Diagnosis& diagnosis, const DoctorWording& wording) {
    for (const SerialDevice& device : diagnosis.candidates) {
        const std::string& name = device.stablePath.empty() ? device.path : device.stablePath;
        AddLine(text,
                "    " + wording.value(name) + "  " + wording.value(DescribeSerialDevice(device)));
    }
    if (!diagnosis.likely.empty()) {
        AddLine(text, Worded(wording,
                             ForCommandLine(wording) ? "IDS_DOCTOR_TRYDEVICE" : "IDS_DOCTOR_LIKELY",
                             {wording.value(diagnosis.likely)}));
    }
}

std::string PermissionMessage(const Diagnosis& d, const DoctorWording& wording) {
    const std::string group = wording.value(d.group);
    std::string text = Worded(wording, "IDS_DOCTOR_PERMISSION", {PortName(d, wording), group});
    if (!d.groupMayOpen) {
        AddLine(&text, Worded(wording, "IDS_DOCTOR_GROUPCLOSED", {group}));
    } else if (d.inLoginGroups) {
        AddLine(&text, Worded(wording, "IDS_DOCTOR_GROUPREFUSED", {group}));
    } else if (d.groupMember) {
        AddLine(&text, Worded(wording, "IDS_DOCTOR_NEWLOGIN", {group}));
    } else {
        AddLine(&text, Worded(wording, "IDS_DOCTOR_JOIN", {group}));
    }
    return text;
}

const char* ServiceCure(KnownHolder service) {
    switch (service) {
        case KnownHolder::ModemManager:
            return "IDS_DOCTOR_MODEMMANAGER";
        case KnownHolder::Brltty:
            return "IDS_DOCTOR_BRLTTY";
        case KnownHolder::None:
            break;
    }
    return "IDS_DOCTOR_CLOSEIT";
}

void AddRunningServices(std::string* text, const Diagnosis& d, const DoctorWording& wording) {
    for (KnownHolder service : d.runningServices) {
        AddLine(text, Worded(wording, ServiceCure(service)));
    }
}

std::string InUseMessage(const Diagnosis& d, const DoctorWording& wording) {
    std::string text = d.holderPid > 0
                           ? Worded(wording, "IDS_DOCTOR_INUSE",
                                    {PortName(d, wording), wording.value(d.holderName),
                                     std::to_string(d.holderPid)})
                           : Worded(wording, "IDS_DOCTOR_INUSE_UNKNOWN", {PortName(d, wording)});
    for (const Diagnosis::OtherHolder& other : d.otherHolders) {
        AddLine(&text, Worded(wording, "IDS_DOCTOR_OPEN_TOO",
                              {wording.value(other.name), std::to_string(other.pid)}));
    }
    AddLine(&text, Worded(wording, ServiceCure(d.holder)));
    return text;
}

std::string CableMessage(const Diagnosis& d, const DoctorWording& wording) {
    std::string text = Worded(wording,
                              d.cause == DoctorCause::EchoOnDirect ? "IDS_DOCTOR_ECHOONDIRECT"
                                                                   : "IDS_DOCTOR_NOECHOONECHO",
                              {PortName(d, wording)});
    // The command line has no menu to switch it with, only the setting.
    if (ForCommandLine(wording)) {
        AddLine(&text, Worded(wording, "IDS_DOCTOR_RWTYPE",
                              {std::to_string(CableSetting(CableToSwitchTo(d))),
                               wording.value(wording.settingsPath)}));
    }
    AddLine(&text, Worded(wording, d.otherCableAnswered ? "IDS_DOCTOR_OTHERANSWERED"
                                                        : "IDS_DOCTOR_OTHERSILENT"));
    return text;
}

}  // namespace

std::string DoctorMessage(const Diagnosis& d, const DoctorWording& wording) {
    std::string text;
    switch (d.cause) {
        case DoctorCause::RadioFound:
            return {};
        case DoctorCause::Cancelled:
            return ForCommandLine(wording) ? Worded(wording, "IDS_DOCTOR_CANCELLED")
                                           : std::string();
        case DoctorCause::NoDevice:
            if (wording.reader == DoctorReader::Browser) {
                return Worded(wording, "IDS_DOCTOR_NOPORT");
            }
            text = Worded(wording, "IDS_DOCTOR_NODEVICE", {PortName(d, wording)});
            if (d.candidates.empty()) {
                AddLine(&text, Worded(wording, "IDS_DOCTOR_NODEVICES"));
            } else {
                AddLine(&text, Worded(wording, "IDS_DOCTOR_DEVICES"));
                AddDevices(&text, d, wording);
            }
            AddRunningServices(&text, d, wording);
            return text;
        case DoctorCause::NotSerial:
            return ForCommandLine(wording)
                       ? Worded(wording, "IDS_DOCTOR_NOTSERIAL_CLI",
                                {PortName(d, wording), wording.value(d.openError)})
                       : Worded(wording, "IDS_DOCTOR_NOTSERIAL", {PortName(d, wording)});
        case DoctorCause::NoPermission:
            return PermissionMessage(d, wording);
        case DoctorCause::InUse:
            return InUseMessage(d, wording);
        case DoctorCause::OpenFailed:
            return Worded(wording, "IDS_DOCTOR_OPENFAILED",
                          {PortName(d, wording), wording.value(d.openError)});
        case DoctorCause::Silent:
            text = Worded(wording, "IDS_DOCTOR_SILENT", {PortName(d, wording)});
            if (wording.reader == DoctorReader::Browser) {
                return text;
            }
            if (d.candidates.empty()) {
                AddLine(&text, Worded(wording, "IDS_DOCTOR_NOOTHERPORTS"));
            } else {
                AddLine(&text, Worded(wording, "IDS_DOCTOR_OTHERPORTS"));
                AddDevices(&text, d, wording);
            }
            AddRunningServices(&text, d, wording);
            return text;
        case DoctorCause::EchoOnDirect:
        case DoctorCause::NoEchoOnEcho:
            return CableMessage(d, wording);
        case DoctorCause::OtherModel:
            return Worded(wording, "IDS_DOCTOR_OTHERMODEL",
                          {PortName(d, wording), std::to_string(d.identificationLength)});
    }
    return text;
}

std::string DoctorFoundMessage(const Diagnosis& diagnosis, const DoctorWording& wording) {
    return Worded(wording, "IDS_DOCTOR_FOUND", {PortName(diagnosis, wording)});
}

bool OffersCableSwitch(const Diagnosis& diagnosis) {
    return diagnosis.cause == DoctorCause::EchoOnDirect ||
           diagnosis.cause == DoctorCause::NoEchoOnEcho;
}
