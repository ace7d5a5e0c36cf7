// SPDX-License-Identifier: GPL-3.0-or-later
#include "link_session.h"

#include <algorithm>
#include <array>

#include "codeplug/radio_image.h"
#include "link/cable_line.h"
#include "link/clone_frames.h"
#include "link/clone_protocol.h"
#include "link/write_verify.h"

bool LinkSession::Exchange(bool read, uint8_t* image, LinkOutcome* outcome) {
    std::string openError;
    if (!m_Line.OpenDevice({}, clone_frames::kBaudRate, &openError)) {
        outcome->status = StatusPortError;
        outcome->openError = openError;
        return false;
    }
    const bool cancelledBefore = m_Job.IsCancelled();
    m_Job.Reset(&m_Line, m_SettingsPath, read, image);
    // A cancel pressed between the write and its check still stops the check.
    if (cancelledBefore) {
        m_Job.Cancel();
    }
    // The page's port is the only one: there is no port search in a browser.
    m_Job.fixedPort = true;
    TransferThreadProc(m_Job);
    m_Line.Close();
    outcome->status = m_Job.Status();
    if (!m_Job.warning.empty()) {
        outcome->warning = m_Job.warning;
    }
    outcome->cancelled = m_Job.IsCancelled() && !IsFinalStatus(m_Job.Status());
    return m_Job.Status() == (read ? StatusReadDone : StatusWriteDone);
}

LinkOutcome LinkSession::Run(bool read, const std::vector<uint8_t>& image, bool check) {
    LinkOutcome outcome;
    outcome.read = read;
    std::array<uint8_t, kImageSize> copy{};
    std::copy_n(image.begin(), std::min(image.size(), copy.size()), copy.begin());
    m_Job.cancel.store(0, std::memory_order_release);
    m_Phase = static_cast<int32_t>(read ? TransferPhase::Reading : TransferPhase::Writing);
    const bool done = Exchange(read, copy.data(), &outcome);
    outcome.blocks = m_Job.Blocks();
    if (read) {
        outcome.skippedBlocks = m_Job.skippedBlocks;
        if (done) {
            outcome.image.assign(copy.begin(), copy.end());
        }
        return outcome;
    }
    // A cancel after the radio took every block leaves the write done but unchecked.
    if (!done || !check || m_Job.IsCancelled()) {
        return outcome;
    }
    m_Phase = static_cast<int32_t>(TransferPhase::Checking);
    std::array<uint8_t, kImageSize> readBack{};
    PrepareReadBackImage(copy.data(), readBack.data());
    LinkOutcome checkRun;
    outcome.checked = true;
    if (!Exchange(true, readBack.data(), &checkRun)) {
        outcome.checkUnread = true;
        outcome.cancelled = checkRun.cancelled;
        if (!checkRun.warning.empty()) {
            outcome.warning = checkRun.warning;
        }
        return outcome;
    }
    outcome.differingBlocks = DifferingBlocks(copy.data(), readBack.data());
    return outcome;
}
