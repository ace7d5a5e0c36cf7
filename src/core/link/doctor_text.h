// SPDX-License-Identifier: GPL-3.0-or-later
// The connection doctor's findings in words, for both programs: every sentence is a key of
// the language files, so the desktop words them in its language and the command line in
// English, and the two never drift apart.
#pragma once

#include <functional>
#include <string>

#include "link/connection_doctor.h"

// Who reads the words: the cure for a wrong port or cable type names that program's way to it.
// The browser's page sees no other port and chooses one through the browser's own list.
enum class DoctorReader { Desktop, CommandLine, Browser };

struct DoctorWording {
    // The language text of a key, escapes already turned into line feeds.
    std::function<std::string(const char* key)> text;
    DoctorReader reader = DoctorReader::Desktop;
    // Names, paths and the system's messages as this reader may be shown them.
    std::function<std::string(const std::string&)> value = [](const std::string& v) { return v; };
    // The settings file the command line's cable type cure names.
    std::string settingsPath;
};

// The cause and its cure; empty when the doctor found nothing wrong, or when the desktop's
// check was cancelled (the user knows).
std::string DoctorMessage(const Diagnosis& diagnosis, const DoctorWording& wording);

// That a radio of this model answered, and where.
std::string DoctorFoundMessage(const Diagnosis& diagnosis, const DoctorWording& wording);

bool OffersCableSwitch(const Diagnosis& diagnosis);
