// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/doctor_messages.h"

#include "common/message_box.h"
#include "config/language.h"
#include "config/setting_definitions.h"

namespace {

DoctorWording DesktopWording() {
    DoctorWording wording;
    wording.text = [](const char* key) { return LoadLangString(key); };
    return wording;
}

}  // namespace

std::string DoctorMessage(const Diagnosis& diagnosis) {
    return DoctorMessage(diagnosis, DesktopWording());
}

std::string DoctorFoundMessage(const Diagnosis& diagnosis) {
    return DoctorFoundMessage(diagnosis, DesktopWording());
}

void ShowDoctorBox(QWidget* parent, const std::string& text, const Diagnosis& diagnosis,
                   const std::string& settingsPath) {
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
    if (!settings::kRwType.Write(settingsPath, value, &error)) {
        MessageBox::Show(parent, LoadLangString("IDS_WARN_SETTING") + error,
                         LoadLangString("IDS_ERROR"), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}
