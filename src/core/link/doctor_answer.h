// SPDX-License-Identifier: GPL-3.0-or-later
// The connection doctor's tries with the radio, on a line it opens and closes for each try:
// who answers with the cable type of the settings, and with the other type when that one
// heard an echo or a short identification. Apart from the checks of the device itself, so
// that a line without a device path (the browser's port) can be diagnosed the same way.
#pragma once

#include "link/cable_line.h"
#include "link/connection_doctor.h"

// Sets result's cause to RadioFound, OpenFailed (with openError), Silent, EchoOnDirect,
// NoEchoOnEcho, OtherModel or Cancelled, with the cable type and what the other type found.
void DiagnoseAnswer(CableLine& line, const DoctorRequest& request, const CancelFlag* cancel,
                    Diagnosis* result);
