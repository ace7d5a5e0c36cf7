// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/doctor_messages.h"

#include <initializer_list>

#include "config/app_globals.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "support/message_box.h"

namespace {

// The language text of key with %1, %2, ... replaced by the arguments.
std::string Worded(const char* key, std::initializer_list<std::string> arguments = {}) {
    std::string text = LoadLangString(key);
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

std::string PortName(const Diagnosis& diagnosis) {
    if (diagnosis.port > 0) {
        return "COM" + std::to_string(diagnosis.port) + " (" + diagnosis.device + ")";
    }
    return diagnosis.device;
}

void AddLine(std::string* text, const std::string& line) {
    if (!text->empty()) {
        *text += '\n';
    }
    *text += line;
}

void AddDevices(std::string* text, const Diagnosis& diagnosis) {
    for (const SerialDevice& device : diagnosis.candidates) {
        const std::string& name = device.stablePath.empty() ? device.path : device.stablePath;
        AddLine(text, "    " + name + "  " + DescribeSerialDevice(device));
    }
    if (!diagnosis.likely.empty()) {
        AddLine(text, Worded("IDS_DOCTOR_LIKELY", {diagnosis.likely}));
    }
}

std::string PermissionMessage(const Diagnosis& d) {
    std::string text = Worded("IDS_DOCTOR_PERMISSION", {PortName(d), d.group});
    if (!d.groupMayOpen) {
        AddLine(&text, Worded("IDS_DOCTOR_GROUPCLOSED", {d.group}));
    } else if (d.inLoginGroups) {
        AddLine(&text, Worded("IDS_DOCTOR_GROUPREFUSED", {d.group}));
    } else if (d.groupMember) {
        AddLine(&text, Worded("IDS_DOCTOR_NEWLOGIN", {d.group}));
    } else {
        AddLine(&text, Worded("IDS_DOCTOR_JOIN", {d.group}));
    }
    return text;
}

std::string InUseMessage(const Diagnosis& d) {
    std::string text =
        d.holderPid > 0
            ? Worded("IDS_DOCTOR_INUSE", {PortName(d), d.holderName, std::to_string(d.holderPid)})
            : Worded("IDS_DOCTOR_INUSE_UNKNOWN", {PortName(d)});
    for (const Diagnosis::OtherHolder& other : d.otherHolders) {
        AddLine(&text, Worded("IDS_DOCTOR_OPEN_TOO", {other.name, std::to_string(other.pid)}));
    }
    switch (d.holder) {
        case KnownHolder::ModemManager:
            AddLine(&text, Worded("IDS_DOCTOR_MODEMMANAGER"));
            break;
        case KnownHolder::Brltty:
            AddLine(&text, Worded("IDS_DOCTOR_BRLTTY"));
            break;
        case KnownHolder::None:
            AddLine(&text, Worded("IDS_DOCTOR_CLOSEIT"));
            break;
    }
    return text;
}

}  // namespace

std::string DoctorMessage(const Diagnosis& d) {
    std::string text;
    switch (d.cause) {
        case DoctorCause::RadioFound:
        case DoctorCause::Cancelled:
            return {};
        case DoctorCause::NoDevice:
            text = Worded("IDS_DOCTOR_NODEVICE", {PortName(d)});
            if (d.candidates.empty()) {
                AddLine(&text, Worded("IDS_DOCTOR_NODEVICES"));
            } else {
                AddLine(&text, Worded("IDS_DOCTOR_DEVICES"));
                AddDevices(&text, d);
            }
            return text;
        case DoctorCause::NotSerial:
            return Worded("IDS_DOCTOR_NOTSERIAL", {PortName(d)});
        case DoctorCause::NoPermission:
            return PermissionMessage(d);
        case DoctorCause::InUse:
            return InUseMessage(d);
        case DoctorCause::OpenFailed:
            return Worded("IDS_DOCTOR_OPENFAILED", {PortName(d), d.openError});
        case DoctorCause::Silent:
            text = Worded("IDS_DOCTOR_SILENT", {PortName(d)});
            if (d.candidates.empty()) {
                AddLine(&text, Worded("IDS_DOCTOR_NOOTHERPORTS"));
            } else {
                AddLine(&text, Worded("IDS_DOCTOR_OTHERPORTS"));
                AddDevices(&text, d);
            }
            return text;
        case DoctorCause::EchoOnDirect:
        case DoctorCause::NoEchoOnEcho:
            text = Worded(d.cause == DoctorCause::EchoOnDirect ? "IDS_DOCTOR_ECHOONDIRECT"
                                                               : "IDS_DOCTOR_NOECHOONECHO",
                          {PortName(d)});
            AddLine(&text, Worded(d.otherCableAnswered ? "IDS_DOCTOR_OTHERANSWERED"
                                                       : "IDS_DOCTOR_OTHERSILENT"));
            return text;
        case DoctorCause::OtherModel:
            return Worded("IDS_DOCTOR_OTHERMODEL",
                          {PortName(d), std::to_string(d.identificationLength)});
    }
    return text;
}

std::string DoctorFoundMessage(const Diagnosis& diagnosis) {
    return Worded("IDS_DOCTOR_FOUND", {PortName(diagnosis)});
}

bool OffersCableSwitch(const Diagnosis& diagnosis) {
    return diagnosis.cause == DoctorCause::EchoOnDirect ||
           diagnosis.cause == DoctorCause::NoEchoOnEcho;
}

void ShowDoctorBox(QWidget* parent, const std::string& text, const Diagnosis& diagnosis) {
    if (!OffersCableSwitch(diagnosis)) {
        MessageBox::Show(parent, text, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
        return;
    }
    std::string question = text + "\n\n" + LoadLangString("IDS_DOCTOR_ASKSWITCH");
    if (MessageBox::Show(parent, question, LoadLangString("IDS_ERROR"), MessageIcon::Question,
                         MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    std::string error;
    std::string value = std::to_string(CableSetting(CableToSwitchTo(diagnosis)));
    if (!settings::kRwType.Write(g_SettingsPath, value, &error)) {
        MessageBox::Show(parent, LoadLangString("IDS_WARN_SETTING") + error,
                         LoadLangString("IDS_ERROR"), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}
