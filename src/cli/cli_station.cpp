// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli station: one file written to radio after radio on several cables, each radio
// read back, compared and logged (or, with --check-only, each radio read and compared only).
// The terminal confirms each next radio (a cable's number and Enter) unless --auto finds them
// by the wake-up.
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_read_write.h"
#include "cli/cli_station.h"
#include "cli/cli_support.h"
#include "codeplug/document.h"
#include "codeplug/pgm_file.h"
#include "config/app_globals.h"
#include "platform/terminal_text.h"
#include "station/programming_station.h"

namespace {

constexpr int kPollMs = 100;
constexpr int kLargestCount = 100000;

volatile std::sig_atomic_t interrupts = 0;
volatile std::sig_atomic_t terminated = 0;

void OnInterrupt(int) {
    interrupts = interrupts + 1;
}

void OnTerminate(int) {
    terminated = 1;
}

bool ParseCount(const std::string& text, int* count, std::string* error) {
    int value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kLargestCount) {
        *error =
            "station: --count needs a number of radios from 1 to " + std::to_string(kLargestCount);
        return false;
    }
    *count = value;
    return true;
}

class StationTerminal {
public:
    StationTerminal(ProgrammingStation& station, const StationOptions& options)
        : m_Station(station),
          m_Auto(options.autoNext),
          m_Count(options.count),
          m_CheckOnly(options.checkOnly) {}

    void Introduce() const {
        std::printf("station: %zu %s:", m_Station.CableCount(),
                    m_Station.CableCount() == 1 ? "cable" : "cables");
        for (size_t k = 0; k < m_Station.CableCount(); ++k) {
            std::printf(" %zu %s", k + 1, TerminalText(m_Station.CableName(k)).c_str());
        }
        const char* work = m_CheckOnly ? "checked against the file, never written" : "written";
        if (m_Auto) {
            std::printf(
                "\nstation: each radio switched on at a cable is found within 2 s and %s; "
                "Ctrl-C stops\n",
                work);
        } else {
            std::printf(
                "\nstation: put a radio on a cable, then type the cable's number and Enter "
                "(Enter alone: every waiting cable); each radio is %s; Ctrl-C stops\n",
                work);
        }
        std::fflush(stdout);
    }

    // Follows the station until every cable stopped; returns the exit status.
    int Run() {
        bool inputOpen = !m_Auto;
        int interruptsSeen = 0;
        bool abandoned = false;
        while (!m_Station.Finished()) {
            if (interrupts != interruptsSeen && interruptsSeen == 0) {
                std::printf(
                    "station: stopping; a radio being written is finished first "
                    "(Ctrl-C again abandons it)\n");
                m_Station.Stop(false);
            }
            if (!abandoned && (terminated != 0 || (interrupts > 1))) {
                std::printf("station: abandoning the radios being written\n");
                m_Station.Stop(true);
                abandoned = true;
            }
            interruptsSeen = interrupts;
            Print(m_Station.TakeEvents());
            if (inputOpen) {
                inputOpen = TakeInput();
                m_InputEnded = !inputOpen;
            } else {
                poll(nullptr, 0, kPollMs);
            }
        }
        Print(m_Station.TakeEvents());
        return Summarise(interruptsSeen != 0 || abandoned);
    }

private:
    // One line of the terminal; false once it is closed, and the station then stops.
    bool TakeInput() {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, kPollMs) <= 0) {
            return true;
        }
        char buffer[256];
        ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
            return true;
        }
        if (count <= 0) {
            m_Station.EndConfirmations();
            return false;
        }
        m_Pending.append(buffer, static_cast<size_t>(count));
        for (size_t end = m_Pending.find('\n'); end != std::string::npos;
             end = m_Pending.find('\n')) {
            Confirm(m_Pending.substr(0, end));
            m_Pending.erase(0, end + 1);
        }
        return true;
    }

    void Confirm(std::string line) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        size_t cables = m_Station.CableCount();
        if (line.empty()) {
            for (size_t k = 0; k < cables; ++k) {
                m_Station.Confirm(k);
            }
            return;
        }
        for (size_t k = 0; k < cables; ++k) {
            if (line == std::to_string(k + 1) || line == m_Station.CableName(k)) {
                m_Station.Confirm(k);
                return;
            }
        }
        PrintNote("station: no cable '" + line + "'; type a number from 1 to " +
                  std::to_string(cables) + ", a cable's device, or Enter alone");
    }

    void Print(const std::vector<StationEvent>& events) {
        for (const StationEvent& event : events) {
            std::string cable = m_Station.CableName(event.cable);
            std::string line = cable;
            switch (event.kind) {
                case StationEventKind::WaitingForConfirm:
                    line += ": put the next radio on, then type " +
                            std::to_string(event.cable + 1) + " and Enter";
                    break;
                case StationEventKind::NoRadioAnswered:
                    line += ": no radio answered; switch it on, check the cable and confirm again";
                    break;
                case StationEventKind::RadioDone:
                    line = RadioDoneText(event.record);
                    break;
                case StationEventKind::WaitingForUnplug:
                    line += ": waiting for the radio to be unplugged or switched off";
                    break;
                case StationEventKind::StillAnswering:
                    line += ": radio " + std::to_string(event.record.number) +
                            " still answers long after it was done; unplug it or switch it off";
                    break;
                case StationEventKind::CableGone:
                    line += ": cable " + std::to_string(event.cable + 1) +
                            " is gone (unplugged?); it takes no more radios";
                    m_CableGone = true;
                    break;
                case StationEventKind::LogFailed:
                    ReportFailure(event.error + "; the station takes no more radios");
                    m_LogFailed = true;
                    continue;
                case StationEventKind::CodeWouldNotFit:
                    ReportFailure("station: radio " + std::to_string(event.record.number) +
                                  " would get a PTT ID code longer than the radio's 6 "
                                  "characters; it was left as it was and the station takes no "
                                  "more radios");
                    m_CodeOverflow = true;
                    continue;
                case StationEventKind::CableStopped:
                    line += ": stopped";
                    break;
            }
            PrintLine(line);
        }
        std::fflush(stdout);
    }

    // Device names come from the user and may hold anything: echoed safely.
    static void PrintLine(const std::string& line) {
        std::fputs(TerminalText(line).c_str(), stdout);
        std::fputc('\n', stdout);
    }

    int Summarise(bool interrupted) const {
        std::vector<RadioRecord> records = m_Station.Records();
        if (m_Station.CableCount() > 1) {
            for (size_t k = 0; k < m_Station.CableCount(); ++k) {
                PrintLine(StationSummary(records, m_Station.CableName(k)));
            }
        }
        PrintLine(StationSummary(records));
        std::fflush(stdout);
        // Without --auto nothing but the terminal takes the next radio: an input that ended
        // before the count was reached stopped the run, which is no success.
        bool cutShort = m_InputEnded && !interrupted &&
                        (m_Count == 0 || static_cast<int>(records.size()) < m_Count);
        if (cutShort) {
            ReportFailure(
                "station: the input ended, so no more radios could be confirmed; --auto finds "
                "each radio without typing");
        }
        if (m_LogFailed || m_CodeOverflow) {
            return kExitFailure;
        }
        for (RadioResult worst : {RadioResult::VerifyFailed, RadioResult::WriteFailed,
                                  RadioResult::ReadFailed, RadioResult::Differs}) {
            for (const RadioRecord& record : records) {
                if (record.result == worst) {
                    return ResultExit(worst);
                }
            }
        }
        if (m_CableGone) {
            return kExitNoRadio;
        }
        if (cutShort) {
            return kExitFailure;
        }
        return interrupted ? kExitCancelled : kExitSuccess;
    }

    ProgrammingStation& m_Station;
    bool m_Auto;
    int m_Count;
    bool m_CheckOnly;
    bool m_LogFailed = false;
    bool m_CodeOverflow = false;
    bool m_CableGone = false;
    bool m_InputEnded = false;
    std::string m_Pending;
};

}  // namespace

// Signals reach only this thread, so the workers' waits are never interrupted.
void StartStationWorkers(ProgrammingStation& station) {
    struct sigaction interrupt {};
    interrupt.sa_handler = OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);
    struct sigaction terminate = interrupt;
    terminate.sa_handler = OnTerminate;
    sigaction(SIGTERM, &terminate, nullptr);
    sigaction(SIGHUP, &terminate, nullptr);
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&signals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    station.Start();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

int StationInterrupts() {
    return terminated != 0 ? 2 : interrupts;
}

int ResultExit(RadioResult result) {
    switch (result) {
        case RadioResult::Ok:
        case RadioResult::Same:
            return kExitSuccess;
        case RadioResult::VerifyFailed:
        case RadioResult::WriteFailed:
        case RadioResult::Unchecked:
            return kExitWriteFailed;
        case RadioResult::ReadFailed:
            return kExitReadFailed;
        case RadioResult::Differs:
            return kExitRadioDiffers;
        case RadioResult::Cancelled:
            return kExitCancelled;
    }
    return kExitFailure;
}

// The file as write checks it: whole, or nothing is sent to any radio.
bool LoadStationImage(const std::string& path, StationImage* image, std::string* error) {
    PgmFile file;
    size_t fileSize = 0;
    PgmLoadResult loaded = LoadPgmFile(path, &file, error, &fileSize);
    if (loaded == PgmLoadResult::Failed || !IsWholePgmFile(path, loaded, fileSize, error)) {
        *error += "; nothing was sent to any radio";
        return false;
    }
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    document.SetHeader(file.header);
    document.EditImage().bytes = file.image;
    document.EditImage().PrepareImage();
    *image = document.Image().bytes;
    return true;
}

bool TakeStationOptions(const ParsedOptions& options, StationOptions* taken, std::string* error) {
    taken->settingsPath = g_SettingsPath;
    taken->checkOnly = options.Has(cli_option::kCheckOnly);
    taken->fileName = options.Value(cli_option::kPgmFile);
    taken->runId = StationRunId();
    taken->documentSettings = StartupDocumentSettings();
    if (options.Has(cli_option::kPttIdCodeFrom)) {
        PttIdSeries series;
        if (!ParsePttIdSeries(options.Value(cli_option::kPttIdCodeFrom), &series, error)) {
            *error = "--ptt-id-code-from: " + *error;
            return false;
        }
        taken->pttIdCodes = series;
    }
    return true;
}

int RunStationCommand(const ParsedOptions& options) {
    std::string error;
    StationOptions stationOptions;
    if (!TakeStationOptions(options, &stationOptions, &error)) {
        return ReportFailure("station: " + error);
    }
    stationOptions.verify = !options.Has(cli_option::kNoVerify);
    stationOptions.autoNext = options.Has(cli_option::kAuto);
    // Several cables trace at once: each line names its own.
    if (options.Has(cli_option::kVerbose)) {
        stationOptions.traceFor = [](const std::string& device) {
            return StandardErrorTrace(TerminalText(device) + ": ");
        };
    }
    if (options.Has(cli_option::kCount) &&
        !ParseCount(options.Value(cli_option::kCount), &stationOptions.count, &error)) {
        return ReportFailure(error);
    }
    StationImage image{};
    if (!LoadStationImage(options.Value(cli_option::kPgmFile), &image, &error)) {
        return ReportFailure(error);
    }
    StationLog log;
    ProgrammingStation station(image, stationOptions, log);
    CableOpening opened = station.OpenCables(options.Values(cli_option::kDevice), &error);
    if (opened != CableOpening::Opened) {
        ReportFailure(error + "; nothing was sent to any radio");
        return opened == CableOpening::NamedTwice ? kExitFailure : kExitNoRadio;
    }
    // Only once every cable is ours: a refused run leaves no empty log behind.
    if (options.Has(cli_option::kLog) && !log.Open(options.Value(cli_option::kLog), &error)) {
        return ReportFailure(error + "; nothing was sent to any radio");
    }
    for (const UnloggedRadio& radio : log.Unlogged()) {
        PrintNote("station: the last radio on " + radio.cable + " (radio " +
                  std::to_string(radio.number) + ", written " + radio.written +
                  ") had no line in the log: the station stopped before it could check and log "
                  "it; it is logged now as unchecked, check it");
    }
    StationTerminal terminal(station, stationOptions);
    terminal.Introduce();
    StartStationWorkers(station);
    return terminal.Run();
}
