// SPDX-License-Identifier: GPL-3.0-or-later
// The doctor's words, for every program from one builder: every finding of every cause is
// whole in every shipped language, and each program is told only the cure it can carry out.
#include "link/doctor_text.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "config/language.h"
#include "config/language_files.h"

namespace {

Diagnosis Finding(DoctorCause cause) {
    Diagnosis d;
    d.cause = cause;
    d.device = "/dev/ttyUSB0";
    d.port = 1;
    SerialDevice cable;
    cable.path = "/dev/ttyUSB1";
    cable.stablePath = "/dev/serial/by-id/usb-cable";
    d.candidates = {cable};
    d.likely = "/dev/serial/by-id/usb-cable";
    d.group = "dialout";
    d.holderPid = 42;
    d.holderName = "minicom";
    d.holder = KnownHolder::ModemManager;
    d.otherHolders = {{.pid = 43, .name = "screen"}};
    if (cause == DoctorCause::NoDevice || cause == DoctorCause::Silent) {
        d.runningServices = {KnownHolder::Brltty};
    }
    d.cable = cause == DoctorCause::NoEchoOnEcho ? CableType::Echo : CableType::Direct;
    d.identificationLength = 5;
    d.openError = "Input/output error";
    return d;
}

const DoctorCause kCauses[] = {
    DoctorCause::RadioFound,   DoctorCause::NoDevice,     DoctorCause::NotSerial,
    DoctorCause::NoPermission, DoctorCause::InUse,        DoctorCause::OpenFailed,
    DoctorCause::Silent,       DoctorCause::EchoOnDirect, DoctorCause::NoEchoOnEcho,
    DoctorCause::OtherModel,   DoctorCause::Cancelled,
};

DoctorWording Wording(const std::string& languagePath, DoctorReader reader) {
    return {.text = [languagePath](const char* key) { return LoadLangString(languagePath, key); },
            .reader = reader,
            .settingsPath = "/home/user/.config/halvex/setting.ini"};
}

TEST(DoctorText, EveryFindingIsWholeInEveryLanguageAndNamesOnlyItsReadersCure) {
    const std::vector<std::string> languages = LanguageFilePaths({HALVEX_BIN_DIR});
    ASSERT_GE(languages.size(), 2u);
    const std::regex leftOver("%[0-9]");
    for (const std::string& language : languages) {
        for (DoctorReader reader :
             {DoctorReader::Desktop, DoctorReader::CommandLine, DoctorReader::Browser}) {
            const DoctorWording wording = Wording(language, reader);
            for (DoctorCause cause : kCauses) {
                const Diagnosis d = Finding(cause);
                const std::string text = cause == DoctorCause::RadioFound
                                             ? DoctorFoundMessage(d, wording)
                                             : DoctorMessage(d, wording);
                SCOPED_TRACE(language + " " + std::to_string(static_cast<int>(cause)) + " reader " +
                             std::to_string(static_cast<int>(reader)));
                const bool commandLine = reader == DoctorReader::CommandLine;
                // The browser sees neither the other ports nor the services of the system.
                const bool browser = reader == DoctorReader::Browser;
                const bool listsPorts =
                    cause == DoctorCause::NoDevice || cause == DoctorCause::Silent;
                EXPECT_EQ(text.empty(), cause == DoctorCause::Cancelled && !commandLine) << text;
                EXPECT_EQ(text.find(kNotFoundText), std::string::npos) << text;
                EXPECT_FALSE(std::regex_search(text, leftOver)) << text;
                EXPECT_EQ(text.find("halvex-cli doctor --device") != std::string::npos,
                          commandLine && !d.candidates.empty() &&
                              (cause == DoctorCause::NoDevice || cause == DoctorCause::Silent))
                    << text;
                EXPECT_EQ(text.find("brltty") != std::string::npos,
                          !d.runningServices.empty() && !browser)
                    << text;
                EXPECT_EQ(text.find("usb-cable") != std::string::npos, listsPorts && !browser)
                    << text;
                EXPECT_EQ(text.find("rwtype=") != std::string::npos,
                          commandLine && OffersCableSwitch(d))
                    << text;
            }
        }
    }
}

// The command line shows names from the system as a terminal may show them; the desktop shows
// them as they are.
TEST(DoctorText, OnlyTheCommandLineFiltersTheSystemsNames) {
    const std::string english = std::string(HALVEX_BIN_DIR) + "/english.lang";
    Diagnosis d = Finding(DoctorCause::InUse);
    d.holderName = "evil\x1b]0;title\x07";
    DoctorWording commandLine = Wording(english, DoctorReader::CommandLine);
    commandLine.value = [](const std::string& v) { return "<" + v + ">"; };
    EXPECT_NE(DoctorMessage(d, commandLine).find("by <evil\x1b]0;title\x07> (process 42)"),
              std::string::npos);
    EXPECT_NE(DoctorMessage(d, Wording(english, DoctorReader::Desktop))
                  .find("by evil\x1b]0;title\x07 (process 42)"),
              std::string::npos);
}

}  // namespace
