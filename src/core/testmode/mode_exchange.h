// SPDX-License-Identifier: GPL-3.0-or-later
// Start test mode, read all and write all as a worker thread runs them. The worker talks to
// the line and fills or sends its own copy of the image; it never touches the document and
// reports only through the job. The session prepares the job and takes its result back on
// the user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "codeplug/radio_image.h"
#include "link/connection_doctor.h"
#include "testmode/mode_message.h"

class CableLine;

enum class TestExchangeKind { StartTestMode, ReadAll, WriteAll };

struct TestExchangeJob {
    // Set before the worker starts; the worker only reads them.
    TestExchangeKind kind = TestExchangeKind::ReadAll;
    CableLine* port = nullptr;
    std::string settingsPath;
    // Where the doctor looks for the ports and the other serial devices when the radio cannot
    // be reached.
    std::string portsFolder;
    DeviceRoots deviceRoots;
    // The item whose adjust frame follows start test mode.
    int selectedItem = -1;
    // Write all while the radio is held in test mode: the end byte goes out before the wake-up.
    bool endTestModeFirst = false;
    // The port is open already and is the only one there is (the browser's): no port search.
    bool fixedPort = false;
    // The document's image as it was at the start: blocks read land here, write all sends it.
    RadioImage image;

    // Written by the worker, read only once it has returned.
    std::optional<TestModeMessage> message;
    // Why the radio could not be reached, when it could not.
    std::optional<Diagnosis> diagnosis;
    // A problem that did not stop the exchange, in words for the user; empty when none.
    std::string warning;
    // The blocks read into image: [storedFrom, storedEnd).
    int storedFrom = 0;
    int storedEnd = 0;
    // Ended by the cancel flag: the end byte was sent and the port closed.
    bool cancelled = false;
    // Write all had the radio store at least one block: after a cancel it is part old, part new.
    bool radioChanged = false;

    // Percent of the blocks moved; written by the worker, followed by the dialog's timer.
    std::atomic<int32_t> progress{0};
    // Set by the dialog; the worker looks at it between wake-up tries and after each block.
    std::atomic<int32_t> cancel{0};

    int Progress() const { return progress.load(std::memory_order_acquire); }
    bool IsCancelled() const { return cancel.load(std::memory_order_acquire) != 0; }
    void Cancel() { cancel.store(1, std::memory_order_release); }
};

// Runs the exchange the job names on the calling thread, over job.port only; false when the
// radio could not be reached.
bool ExchangeInTestMode(TestExchangeJob& job);
// The exchange, then, when the radio could not be reached, the doctor's look at why.
void RunTestExchange(TestExchangeJob& job);
