// SPDX-License-Identifier: GPL-3.0-or-later
// Check Connection for the page: the doctor's tries with the radio on the port the page chose,
// in a module of their own, and the findings a browser can have in the desktop's words. What
// only a system's device nodes show (permissions, the holder's name, other ports) a browser
// never sees; a port another program holds shows as the browser's refusal to open it.
#pragma once

#include <string>

#include "link/connection_doctor.h"
#include "web_serial_line.h"

// The doctor's findings on line, named as the page names the port; testMode tries the radio
// with test mode's cable rules.
Diagnosis DiagnoseWebPort(WebSerialLine& line, const std::string& name,
                          const std::string& settingsPath, bool testMode, const CancelFlag* cancel);

// The finding with no port chosen in the browser's list.
Diagnosis NoPortChosen();

struct DoctorFinding {
    bool found = false;
    // The desktop's box: the found line, or the cause and its cure; "" for a cancelled check.
    std::string text;
    // The rwtype value the cure switches the cable type to; 0 when none is offered.
    int cableSwitch = 0;
};

// In the language shown.
DoctorFinding WordDiagnosis(const Diagnosis& diagnosis);
