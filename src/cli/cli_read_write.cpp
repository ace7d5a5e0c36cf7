// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_read_write.h"
#include "cli/cli_options.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "codeplug/document.h"
#include "codeplug/read_backups.h"
#include "codeplug/write_risk.h"
#include "config/app_globals.h"
#include "config/setting_definitions.h"
#include "link/clone_frames.h"
#include "link/clone_protocol.h"
#include "link/radio_connection.h"
#include "link/serial_port.h"
#include "link/traced_line.h"
#include "link/worker_runner.h"
#include "link/write_verify.h"
#include "platform/output_path.h"
#include "textform/radio_text.h"

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(20);
constexpr int kBarWidth = 40;

volatile std::sig_atomic_t interruptRequested = 0;

void OnInterrupt(int) {
    interruptRequested = 1;
}

// A closed terminal or a stopping system ends the exchange as Ctrl-C does: at a block
// boundary, with the radio left in a state the message names.
constexpr std::array kStopSignals = {SIGINT, SIGTERM, SIGHUP};

struct TransferArguments {
    std::optional<int> port;
    std::string device;
    std::string file;
    bool force = false;
    bool verify = false;
    bool verbose = false;
    std::chrono::steady_clock::time_point traceStart = std::chrono::steady_clock::now();
};

// Verification follows the desktop's check box (verifywrite), unless this run says otherwise.
bool TakeTransferArguments(std::string_view command, const ParsedOptions& options,
                           TransferArguments* taken, std::string* error) {
    bool read = command == "read";
    if (options.Has(cli_option::kPort) &&
        !ParsePort(command, options.Value(cli_option::kPort), &taken->port, error)) {
        return false;
    }
    taken->device = options.Value(cli_option::kDevice);
    taken->file = options.Value(read ? cli_option::kOutput : cli_option::kPgmFile);
    taken->force = options.Has(cli_option::kForce);
    taken->verbose = options.Has(cli_option::kVerbose);
    taken->verify =
        options.Has(cli_option::kVerify) ||
        (!options.Has(cli_option::kNoVerify) && settings::kVerifyWrite.Read(g_SettingsPath) != 0);
    return true;
}

// The progress line on a terminal; nothing when stderr goes to a file or a pipe.
class ProgressLine {
public:
    // A trace takes the terminal's lines, which the bar would overwrite.
    ProgressLine(bool read, bool traced)
        : m_Read(read), m_Shown(!traced && isatty(STDERR_FILENO) == 1) {}

    void Show(TransferStatus status, int progress) {
        if (!m_Shown || (status == m_LastStatus && progress == m_LastProgress)) {
            return;
        }
        m_LastStatus = status;
        m_LastProgress = progress;
        if (status == StatusSearching) {
            std::fprintf(stderr, "\rsearching for the radio on COM%-3d%*s", progress, kBarWidth,
                         "");
        } else if (status == StatusReadProgress || status == StatusWriteProgress) {
            int filled = progress * kBarWidth / 100;
            std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", m_Read ? "reading" : "writing", filled,
                         "########################################", kBarWidth - filled, "",
                         progress);
        } else {
            return;
        }
        m_Open = true;
    }

    void Finish() {
        if (m_Open) {
            std::fputc('\n', stderr);
            m_Open = false;
        }
    }

private:
    bool m_Read;
    bool m_Shown;
    bool m_Open = false;
    TransferStatus m_LastStatus = StatusIdle;
    int m_LastProgress = -1;
};

// Runs the exchange on a worker while this thread follows it and turns Ctrl-C into the
// job's cancel. Returns the last status the worker published.
TransferStatus RunJob(TransferJob& job, bool traced, bool* cancelled) {
    interruptRequested = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    std::array<struct sigaction, kStopSignals.size()> previous{};
    // Only this thread takes the signals, so the worker's waits are never interrupted.
    sigset_t interrupt;
    sigemptyset(&interrupt);
    for (size_t k = 0; k < kStopSignals.size(); ++k) {
        sigaction(kStopSignals[k], &action, &previous[k]);
        sigaddset(&interrupt, kStopSignals[k]);
    }
    pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
    WorkerRunner worker;
    worker.Start([&job] { TransferThreadProc(job); });
    pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);

    ProgressLine line(job.isRead != 0, traced);
    while (!worker.Finished()) {
        if (interruptRequested != 0 && !job.IsCancelled()) {
            job.Cancel();
        }
        line.Show(job.Status(), job.Progress());
        std::this_thread::sleep_for(kPollPeriod);
    }
    worker.Join();
    line.Show(job.Status(), job.Progress());
    line.Finish();
    for (size_t k = 0; k < kStopSignals.size(); ++k) {
        sigaction(kStopSignals[k], &previous[k], nullptr);
    }
    *cancelled = job.IsCancelled();
    return job.Status();
}

std::string PortDescription(const TransferArguments& arguments) {
    if (!arguments.device.empty()) {
        return arguments.device;
    }
    return "COM" + std::to_string(*arguments.port) + " (" +
           ComPortDevicePath(g_PortsDir, *arguments.port) + ")";
}

// The port that answered: the search may have reached the radio on another one than the
// configured port.
std::string AnsweringPort(const TransferJob& job, const TransferArguments& arguments) {
    const int found = job.FoundPort();
    if (found <= 0 || (arguments.port && found == *arguments.port)) {
        return PortDescription(arguments);
    }
    return "COM" + std::to_string(found) + " (" + ComPortDevicePath(g_PortsDir, found) +
           "), found by the port search instead of the configured " + PortDescription(arguments) +
           ",";
}

// A read for a comparison has no output file to speak of.
std::string OutputNotWritten(const TransferArguments& arguments) {
    return arguments.file.empty() ? std::string() : "; the output file was not written";
}

int ReportOutcome(const TransferJob& job, const TransferArguments& arguments, bool searched,
                  const std::string& openError) {
    TransferStatus status = job.Status();
    std::string port = PortDescription(arguments);
    switch (status) {
        case StatusPortError: {
            // A port that could not be opened already says what to check; repeating the
            // radio advice after it only buries it.
            if (!openError.empty()) {
                ReportFailure(openError + (searched ? "; no other port answered either" : ""));
                return kExitNoRadio;
            }
            std::string where = searched ? port + " or any other port" : port;
            ReportFailure("no radio answered on " + where +
                          ": check that the radio is switched on, the cable is plugged in "
                          "firmly at both ends and the port is the right one");
            return kExitNoRadio;
        }
        case StatusIdentError:
            ReportFailure("the radio on " + AnsweringPort(job, arguments) +
                          " did not identify itself as this model: check the radio type, and "
                          "that rwtype in " +
                          g_SettingsPath + " matches the cable (1 plain, 2 echoing)");
            return kExitWrongRadio;
        case StatusEchoCable:
            ReportFailure("the cable on " + AnsweringPort(job, arguments) +
                          " echoes everything sent to it: set the cable type to echo "
                          "(rwtype=2 in " +
                          g_SettingsPath + ")");
            return kExitNoRadio;
        case StatusReadFailed:
            if (!job.skippedBlocks.empty()) {
                size_t skipped = job.skippedBlocks.size();
                ReportFailure(std::to_string(skipped) + (skipped == 1 ? " block" : " blocks") +
                              " could not be read: " +
                              BlockAddressList(job.skippedBlocks, kNamedSkippedBlocks) +
                              "; check the cable and keep the radio switched on" +
                              OutputNotWritten(arguments));
                return kExitReadFailed;
            }
            ReportFailure(
                "reading from the radio failed part way: check the cable and keep "
                "the radio switched on" +
                OutputNotWritten(arguments));
            return kExitReadFailed;
        case StatusWriteFailed:
            ReportFailure(
                "the radio stopped acknowledging the data: check the cable and keep "
                "the radio switched on, then write again; the radio holds only part "
                "of the file now");
            return kExitWriteFailed;
        default:
            ReportFailure("the transfer ended in an unexpected state " +
                          std::to_string(static_cast<int>(status)));
            return kExitFailure;
    }
}

// As the desktop program decides it: a configured device is never searched past.
bool SearchIsOn() {
    return ConfiguredDevice(g_SettingsPath).empty() && settings::kSearchCom.Read(g_SettingsPath);
}

// Without --port or --device the port is the desktop program's: the device setting, else com.
void UseConfiguredPort(TransferArguments* arguments) {
    if (arguments->port.has_value() || !arguments->device.empty()) {
        return;
    }
    arguments->device = ConfiguredDevice(g_SettingsPath);
    if (arguments->device.empty()) {
        arguments->port = settings::kCom.Read(g_SettingsPath);
    }
}

// Opens the port and runs one exchange over image. When the port cannot be opened only the
// search may go on, as in the desktop: without it the exchange would fall back to the `com`
// of the settings, a port the user did not name.
int Transfer(const TransferArguments& arguments, bool read, uint8_t* image, bool* done) {
    *done = false;
    CSerialPort serial(g_PortsDir);
    TracedLine traced(serial, StandardErrorTrace(), arguments.traceStart);
    CableLine& port = arguments.verbose ? static_cast<CableLine&>(traced) : serial;
    std::string openError;
    bool opened = arguments.device.empty()
                      ? port.Open(*arguments.port, clone_frames::kBaudRate, &openError)
                      : port.OpenDevice(arguments.device, clone_frames::kBaudRate, &openError);
    if (!opened && (!arguments.device.empty() || !SearchIsOn())) {
        ReportFailure(openError);
        return kExitNoRadio;
    }
    TransferJob job;
    job.Reset(&port, g_SettingsPath, read, image);
    job.fixedPort = !arguments.device.empty();
    bool cancelled = false;
    TransferStatus status = RunJob(job, arguments.verbose, &cancelled);
    port.Close();
    if (!job.warning.empty()) {
        std::fprintf(stderr, "halvex-cli: warning: %s\n", job.warning.c_str());
    }
    if (status == (read ? StatusReadDone : StatusWriteDone)) {
        *done = true;
        return kExitSuccess;
    }
    if (cancelled && !IsFinalStatus(status)) {
        // Write progress is published only once the radio has taken a block.
        ReportFailure(read ? "read cancelled" + OutputNotWritten(arguments)
                      : status != StatusWriteProgress
                          ? "write cancelled before the radio took any "
                            "block; nothing was written to it"
                          : "write cancelled; the radio holds only part "
                            "of the file now, write again before using it");
        return kExitCancelled;
    }
    return ReportOutcome(job, arguments, !job.fixedPort && SearchIsOn(), openError);
}

// Reads the radio back after a write, as a second complete dialogue, and compares.
int VerifyWrite(const TransferArguments& arguments, const std::array<uint8_t, kImageSize>& sent) {
    std::array<uint8_t, kImageSize> readBack{};
    PrepareReadBackImage(sent.data(), readBack.data());
    bool done = false;
    int exitStatus = Transfer(arguments, true, readBack.data(), &done);
    if (!done) {
        ReportFailure("the data was sent but could not be read back to check it");
        return exitStatus == kExitCancelled ? exitStatus : kExitWriteFailed;
    }
    std::vector<int> differing = DifferingBlocks(sent.data(), readBack.data());
    if (!differing.empty()) {
        ReportFailure("the radio holds other data than was sent: " + DescribeBlocks(differing) +
                      "; write again");
        return kExitWriteFailed;
    }
    return kExitSuccess;
}

bool EndsWith(const std::string& path, std::string_view ending) {
    return path.size() > ending.size() &&
           std::equal(ending.rbegin(), ending.rend(), path.rbegin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

std::string WriteRefusalHint(const std::string& path, size_t fileSize) {
    if (EndsWith(path, ".csv")) {
        return ": a channel list is stored as a .pgm file with halvex-cli import, then written";
    }
    if (fileSize == kPgmFileSize) {
        return " (--force writes it anyway, erasing the radio's channels)";
    }
    return "";
}

// A short or foreign file would blank every block it lacks in the radio; --force may send a
// foreign header, never another size nor a channel list.
int TakePgmFile(const TransferArguments& parsed, CHalvexDoc* document) {
    PgmFile file;
    size_t fileSize = 0;
    std::string error;
    PgmLoadResult loaded = LoadPgmFile(parsed.file, &file, &error, &fileSize);
    // A missing or unreadable file fails with --force too: no use suggesting it.
    if (loaded == PgmLoadResult::Failed) {
        return ReportFailure(error);
    }
    if (!IsWholePgmFile(parsed.file, loaded, fileSize, &error) &&
        (!parsed.force || fileSize != kPgmFileSize || EndsWith(parsed.file, ".csv"))) {
        return ReportFailure(error + "; nothing was sent to the radio" +
                             WriteRefusalHint(parsed.file, fileSize));
    }
    document->SetHeader(file.header);
    document->EditImage().bytes = file.image;
    return kExitSuccess;
}

// A text form is stored as apply stores it into a new document; what it makes then meets the
// checks a file meets, its kept header included.
int TakeRadioText(const TransferArguments& parsed, CHalvexDoc* document) {
    std::string error;
    if (!document->OnNewDocument(true) || !OpenRadioText(parsed.file, false, document, &error)) {
        return ReportFailure(error + "; nothing was sent to the radio");
    }
    if (!parsed.force && !HasPgmIdentification(document->Header())) {
        return ReportFailure(parsed.file +
                             " keeps the file header of another program (reserved: header); "
                             "nothing was sent to the radio (--force writes it anyway)");
    }
    return kExitSuccess;
}

}  // namespace

int ReadRadioOver(const std::string& device, std::array<uint8_t, kImageSize>* image) {
    TransferArguments arguments;
    arguments.device = device;
    bool done = false;
    return Transfer(arguments, true, image->data(), &done);
}

int RunReadCommand(const ParsedOptions& options) {
    TransferArguments parsed;
    std::string error;
    if (!TakeTransferArguments("read", options, &parsed, &error)) {
        return ReportFailure(error);
    }
    UseConfiguredPort(&parsed);
    CliPrompts prompts(parsed.file);
    CHalvexDoc document(prompts, StartupDocumentSettings());
    document.OnNewDocument(true);
    document.EditImage().PrepareImage();
    std::array<uint8_t, kImageSize> image = document.Image().bytes;
    bool done = false;
    int exitStatus = Transfer(parsed, true, image.data(), &done);
    if (!done) {
        return exitStatus;
    }
    // The image is stored as the radio gave it: deriving the stored areas again could
    // change what was read.
    document.EditImage().bytes = image;
    if (!KeepReadBackup(g_BackupsDir, image, &error)) {
        std::fprintf(stderr, "halvex-cli: warning: %s\n", error.c_str());
    }
    if (!document.OnSaveDocument(parsed.file, &error)) {
        return ReportFailure("the radio was read, but the file could not be saved: " + error);
    }
    return kExitSuccess;
}

int RunWriteCommand(const ParsedOptions& options) {
    TransferArguments parsed;
    std::string error;
    if (!TakeTransferArguments("write", options, &parsed, &error)) {
        return ReportFailure(error);
    }
    UseConfiguredPort(&parsed);
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    const int taken = IsRadioTextPath(parsed.file) ? TakeRadioText(parsed, &document)
                                                   : TakePgmFile(parsed, &document);
    if (taken != kExitSuccess) {
        return taken;
    }
    if (!parsed.force && HoldsNoReadableChannel(document.Image())) {
        return ReportFailure("no channel of " + parsed.file +
                             " holds a frequency that can be read: it is probably not a radio "
                             "program; nothing was sent to the radio (--force writes it anyway)");
    }
    document.EditImage().PrepareImage();
    std::array<uint8_t, kImageSize> image = document.Image().bytes;
    bool done = false;
    int exitStatus = Transfer(parsed, false, image.data(), &done);
    if (!done || !parsed.verify) {
        return exitStatus;
    }
    // Ctrl-C after the radio took every block ends the run there: the write is done, and a
    // read-back the user stopped must not start.
    if (interruptRequested != 0) {
        std::fprintf(stderr,
                     "halvex-cli: the radio had taken every block when the write was "
                     "cancelled; the write is done, not checked by reading it back\n");
        return exitStatus;
    }
    return VerifyWrite(parsed, image);
}
