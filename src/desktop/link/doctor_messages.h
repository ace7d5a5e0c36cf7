// SPDX-License-Identifier: GPL-3.0-or-later
// The doctor's findings in the language shown, and the cable switch it can offer.
#pragma once

#include <string>

#include "link/doctor_text.h"

class QWidget;

// The cause and its cure; empty when the doctor found nothing wrong or was cancelled.
std::string DoctorMessage(const Diagnosis& diagnosis);

// That a radio of this model answered, and where.
std::string DoctorFoundMessage(const Diagnosis& diagnosis);

// Shows text in an error box; for an echo cause the box asks whether to switch the cable type
// and stores the answer Yes as rwtype in settingsPath.
void ShowDoctorBox(QWidget* parent, const std::string& text, const Diagnosis& diagnosis,
                   const std::string& settingsPath);
