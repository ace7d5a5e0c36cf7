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
#include "link/transfer_words.h"

class CableLine;

// The outcome's facts for the words of link/transfer_words, and what only the page shows.
struct LinkOutcome : TransferOutcome {
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
