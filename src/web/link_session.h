// SPDX-License-Identifier: GPL-3.0-or-later
// One Read from Radio or Write to Radio, with the check after writing, as the transfer dialog
// runs them: the core's clone exchange on a line, over a copy of the image. It runs in a module
// of its own, so the module holding the document is never suspended by the wait for the radio;
// the outcome goes back as facts for that module to word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/transfer_job.h"

class CableLine;

enum class LinkPhase : int32_t { Reading = 0, Writing = 1, Checking = 2 };

struct LinkOutcome {
    // The exchange's last status: of the read, the write, or the check's read-back.
    int status = StatusIdle;
    bool read = true;
    bool cancelled = false;
    // Blocks the radio took (write) or gave (read); a check does not count.
    int blocks = 0;
    std::vector<int> skippedBlocks;
    // A write's check ran; its read-back could not be done when checkUnread.
    bool checked = false;
    bool checkUnread = false;
    std::vector<int> differingBlocks;
    std::string warning;
    std::string openError;
    // What a read took from the radio, 8192 bytes; empty otherwise.
    std::vector<uint8_t> image;
};

class LinkSession {
public:
    LinkSession(CableLine& line, std::string settingsPath)
        : m_Line(line), m_SettingsPath(std::move(settingsPath)) {}

    // Where the page follows the exchange as the desktop's dialog follows its job, and where
    // its Cancel goes.
    const TransferJob& Job() const { return m_Job; }
    TransferJob& Job() { return m_Job; }
    const int32_t* Phase() const { return &m_Phase; }

    // image is what to write, or the document's prepared image a read starts from.
    LinkOutcome Run(bool read, const std::vector<uint8_t>& image, bool check);

private:
    bool Exchange(bool read, uint8_t* image, LinkOutcome* outcome);

    CableLine& m_Line;
    std::string m_SettingsPath;
    TransferJob m_Job;
    int32_t m_Phase = 0;
};
