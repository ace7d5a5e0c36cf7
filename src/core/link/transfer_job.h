// SPDX-License-Identifier: GPL-3.0-or-later
// The record a transfer's worker shares with the dialog that follows it. The plain fields are
// set before the worker starts and only read by it, or written by it and read once a final
// status is out. What the dialog follows live is the 32-bit atomics: the worker stores with
// release and the dialog loads with acquire, so a status is never seen before the image bytes
// or the port number it announces.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class CableLine;

enum TransferStatus : int32_t {
    StatusIdle = 0,
    StatusPortError = 1,
    StatusIdentError = 2,
    StatusReadProgress = 4,
    StatusReadFailed = 5,
    StatusReadDone = 6,
    StatusWriteFailed = 7,
    StatusWriteProgress = 8,
    StatusWriteDone = 9,
    StatusSearching = 11,
    // The direct cable setting heard every frame come back: the cable echoes.
    StatusEchoCable = 12,
};

struct TransferJob {
    CableLine* port = nullptr;
    std::string settingsPath;
    int32_t isRead = 1;
    // When set, the port already open is the only one tried and `com` is neither read nor
    // written, whatever the settings say (a device named on the command line).
    bool fixedPort = false;
    // However long the settings ask to wait for an answer, no wait is longer: longer waits only
    // make a dead radio take longer to report.
    int32_t longestAnswerMs = 10000;
    // The image copy the exchange fills or sends, indexed by radio address (8192 bytes).
    uint8_t* image = nullptr;
    // Set by the worker before it publishes any block, read by the dialog after a final
    // status: a problem the user should hear of that did not stop the transfer.
    std::string warning;
    // Written by the worker only, read after a final status: the addresses of the blocks a
    // read could not take, in order. Any of them makes the read a failure.
    std::vector<int> skippedBlocks;
    // Written by the worker before it publishes any block: what the radio identified itself
    // with, for logs that tell radios apart.
    std::vector<uint8_t> identification;

    std::atomic<int32_t> status{StatusIdle};
    std::atomic<int32_t> progress{0};
    std::atomic<int32_t> cancel{0};
    std::atomic<int32_t> foundPort{-1};
    // The port the search found the radio on, now stored as `com`; -1 when the configured
    // port answered.
    std::atomic<int32_t> answeredPort{-1};
    // Blocks the radio took (write) or gave (read) in this exchange: what a stopped write
    // left in the radio.
    std::atomic<int32_t> blocks{0};

    // Sets the fields the dialog fills before each start; progress keeps its last value.
    void Reset(CableLine* jobPort, const std::string& jobSettingsPath, bool read,
               uint8_t* jobImage) {
        port = jobPort;
        settingsPath = jobSettingsPath;
        isRead = read ? 1 : 0;
        image = jobImage;
        warning.clear();
        skippedBlocks.clear();
        identification.clear();
        status.store(StatusIdle, std::memory_order_release);
        cancel.store(0, std::memory_order_release);
        foundPort.store(-1, std::memory_order_release);
        answeredPort.store(-1, std::memory_order_release);
        blocks.store(0, std::memory_order_release);
    }

    TransferStatus Status() const {
        return static_cast<TransferStatus>(status.load(std::memory_order_acquire));
    }
    int Progress() const { return progress.load(std::memory_order_acquire); }
    int FoundPort() const { return foundPort.load(std::memory_order_acquire); }
    int AnsweredPort() const { return answeredPort.load(std::memory_order_acquire); }
    int Blocks() const { return blocks.load(std::memory_order_acquire); }
    bool IsCancelled() const { return cancel.load(std::memory_order_acquire) != 0; }
    void Cancel() { cancel.store(1, std::memory_order_release); }
};

// "0x0D40, 0x1010": the first `named` block addresses, then "..." when there are more.
std::string BlockAddressList(const std::vector<int>& addresses, size_t named);

// Enough skipped blocks to find them in a memory view, few enough for one message line.
constexpr size_t kNamedSkippedBlocks = 4;

// True for the statuses after which the worker publishes nothing more.
inline bool IsFinalStatus(TransferStatus status) {
    return status != StatusIdle && status != StatusReadProgress && status != StatusWriteProgress &&
           status != StatusSearching;
}
