// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/station_radio.h"

#include <chrono>
#include <cstdio>

#include "codeplug/ptt_id_code.h"
#include "link/clone_frames.h"
#include "link/clone_protocol.h"
#include "link/write_verify.h"
#include "platform/sha256.h"
#include "station/radio_check.h"

namespace {

// Of the image's SHA-256 in the log: enough to tell files apart, short enough to read out.
constexpr size_t kImageHashDigits = 16;

int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string BlockText(int address) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

// Runs one exchange with job over the cable's open port, cancelled at once when the station
// is being abandoned.
TransferStatus RunExchange(TransferJob& job, CableLine& port, const std::string& settingsPath,
                           bool read, uint8_t* image, const std::atomic<int32_t>& abandon) {
    job.Reset(&port, settingsPath, read, image);
    job.fixedPort = true;
    job.progress.store(0, std::memory_order_release);
    // Stop may have cancelled the job before Reset cleared the flag.
    if (abandon.load(std::memory_order_acquire) != 0) {
        job.Cancel();
    }
    TransferThreadProc(job);
    return job.Status();
}

// What the connection's failures mean for a log line, whichever way the data went; "" for a
// failure of the transfer itself.
std::string ConnectionFailureDetail(TransferStatus status) {
    switch (status) {
        case StatusPortError:
            return "the radio did not answer";
        case StatusIdentError:
            return "another radio model";
        case StatusEchoCable:
            return "the cable echoes: set the echoing cable type";
        default:
            return "";
    }
}

// Why a write that did not end as done failed, for the log.
void DescribeWriteFailure(const TransferJob& job, TransferStatus status, RadioRecord* record) {
    if (job.IsCancelled() && !IsFinalStatus(status)) {
        record->result = RadioResult::Cancelled;
        record->detail = "nothing written";
        if (job.Blocks() > 0) {
            record->detail = "part of the file written: ";
            record->detail += std::to_string(job.Blocks()) + " blocks";
        }
        return;
    }
    record->result = RadioResult::WriteFailed;
    record->detail = ConnectionFailureDetail(status);
    if (record->detail.empty()) {
        record->detail =
            "not acknowledged at block " +
            BlockText(clone_frames::kCloneFirstAddress + job.Blocks() * clone_frames::kBlockSize) +
            "; the radio holds part of the file";
    }
}

// Why a check's read did not end as done, for the log.
void DescribeReadFailure(const TransferJob& job, TransferStatus status, RadioRecord* record) {
    if (job.IsCancelled() && !IsFinalStatus(status)) {
        record->result = RadioResult::Cancelled;
        record->detail = "not checked";
        return;
    }
    record->result = RadioResult::ReadFailed;
    record->detail = ConnectionFailureDetail(status);
    if (record->detail.empty()) {
        record->detail =
            job.skippedBlocks.empty()
                ? "the read stopped part way"
                : "could not read " + BlockAddressList(job.skippedBlocks, kNamedSkippedBlocks);
    }
}

RadioRecord StartRecord(const StationOptions& options, const std::string& cable, int number,
                        const StationImage& image) {
    RadioRecord record;
    record.time = LocalTimeText(NowSeconds());
    record.run = options.runId;
    record.cable = cable;
    record.number = number;
    record.file = options.fileName;
    record.imageHash = Sha256Hex(image, kImageHashDigits);
    RadioImage held;
    held.bytes = image;
    record.pttIdCode = PttIdCodeText(held.GetPttIdCode());
    return record;
}

void TellPhase(const RadioSteps& steps, CablePhase phase) {
    if (steps.phase) {
        steps.phase(phase);
    }
}

RadioRecord ProgramRadio(CableLine& line, TransferJob& job, const StationOptions& options,
                         RadioRecord record, const StationImage& image,
                         const std::atomic<int32_t>& abandon, const RadioSteps& steps) {
    TellPhase(steps, CablePhase::Writing);
    StationImage sent = image;
    TransferStatus status =
        RunExchange(job, line, options.settingsPath, false, sent.data(), abandon);
    record.identification = job.identification;
    if (status == StatusWriteDone) {
        record.finished = LocalTimeText(NowSeconds());
        if (steps.written) {
            steps.written(record);
        }
    }
    if (status != StatusWriteDone) {
        DescribeWriteFailure(job, status, &record);
    } else if (options.verify) {
        TellPhase(steps, CablePhase::Checking);
        StationImage readBack{};
        PrepareReadBackImage(sent.data(), readBack.data());
        status = RunExchange(job, line, options.settingsPath, true, readBack.data(), abandon);
        if (status == StatusReadDone) {
            std::vector<int> differing = DifferingBlocks(sent.data(), readBack.data());
            if (!differing.empty()) {
                record.result = RadioResult::VerifyFailed;
                record.detail = DescribeBlocks(differing);
            }
        } else if (job.IsCancelled() && !IsFinalStatus(status)) {
            record.result = RadioResult::Cancelled;
            record.detail = "written, not checked";
        } else {
            record.result = RadioResult::VerifyFailed;
            record.detail = "written, but could not be read back to check it";
        }
    }
    return record;
}

RadioRecord CheckRadio(CableLine& line, TransferJob& job, const StationOptions& options,
                       RadioRecord record, const StationImage& image,
                       const std::atomic<int32_t>& abandon, const RadioSteps& steps) {
    TellPhase(steps, CablePhase::Checking);
    StationImage held{};
    PrepareReadBackImage(image.data(), held.data());
    TransferStatus status =
        RunExchange(job, line, options.settingsPath, true, held.data(), abandon);
    record.identification = job.identification;
    if (status == StatusReadDone) {
        record.places = DifferingPlaces(image, held, options.documentSettings);
        record.result = record.places.empty() ? RadioResult::Same : RadioResult::Differs;
        record.detail = PlacesDetail(record.places);
    } else {
        DescribeReadFailure(job, status, &record);
    }
    return record;
}

}  // namespace

RadioRecord RunStationRadio(CableLine& line, TransferJob& job, const StationOptions& options,
                            const std::string& cable, int number, const StationImage& image,
                            const std::atomic<int32_t>& abandon, const RadioSteps& steps) {
    auto started = std::chrono::steady_clock::now();
    RadioRecord record = StartRecord(options, cable, number, image);
    record = options.checkOnly ? CheckRadio(line, job, options, record, image, abandon, steps)
                               : ProgramRadio(line, job, options, record, image, abandon, steps);
    record.finished = LocalTimeText(NowSeconds());
    record.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return record;
}

std::optional<StationImage> StationImageFor(const StationImage& image,
                                            const StationOptions& options, int index) {
    if (!options.pttIdCodes) {
        return image;
    }
    std::optional<std::string> code = PttIdCodeAt(*options.pttIdCodes, index);
    if (!code) {
        return std::nullopt;
    }
    RadioImage coded;
    coded.bytes = image;
    coded.SetPttIdCode(PttIdCodeFromText(*code));
    return coded.bytes;
}
