// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_doctor.h"

#include "config/language.h"
#include "link/doctor_answer.h"
#include "link/doctor_text.h"

namespace {

// Web Serial's open() rejects a port another program holds with this error; its other
// failures (a port already open here, a vanished one) have names of their own.
constexpr const char* kHeldElsewhere = "NetworkError";

}  // namespace

Diagnosis DiagnoseWebPort(WebSerialLine& line, const std::string& name,
                          const std::string& settingsPath, bool testMode,
                          const CancelFlag* cancel) {
    DoctorRequest request;
    request.device = name;
    request.settingsPath = settingsPath;
    request.testMode = testMode;
    Diagnosis diagnosis;
    diagnosis.device = name;
    DiagnoseAnswer(line, request, cancel, &diagnosis);
    if (diagnosis.cause == DoctorCause::OpenFailed && line.OpenFailureName() == kHeldElsewhere) {
        diagnosis.cause = DoctorCause::InUse;
    }
    return diagnosis;
}

Diagnosis NoPortChosen() {
    Diagnosis diagnosis;
    diagnosis.cause = DoctorCause::NoDevice;
    return diagnosis;
}

DoctorFinding WordDiagnosis(const Diagnosis& diagnosis) {
    DoctorWording wording;
    wording.text = [](const char* key) { return LoadLangString(key); };
    wording.reader = DoctorReader::Browser;
    DoctorFinding finding;
    finding.found = diagnosis.cause == DoctorCause::RadioFound;
    finding.text =
        finding.found ? DoctorFoundMessage(diagnosis, wording) : DoctorMessage(diagnosis, wording);
    if (OffersCableSwitch(diagnosis)) {
        finding.cableSwitch = CableSetting(CableToSwitchTo(diagnosis));
    }
    return finding;
}
