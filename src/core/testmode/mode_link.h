// SPDX-License-Identifier: GPL-3.0-or-later
// The byte steps of test mode on the line to the radio: wake-up with the port search,
// identification, block reads and writes, the adjust frame and the end byte. Test mode has
// no cable setting: every answer is taken by the echo-tolerant rules, which recognise an
// echo by its content, so a cable that echoes and one that does not both work.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "codeplug/radio_image.h"
#include "link/cable_line.h"
#include "testmode/mode_items.h"
#include "testmode/mode_message.h"

struct LinkResult {
    bool connected = false;
    // Set when not connected; the port is closed by then.
    std::optional<TestModeMessage> failure;
    // The cancel flag stopped the connection; the port is left as it was for the caller to end.
    bool cancelled = false;
    // A problem that did not stop the link, in words for the user; empty when none.
    std::string warning;
};

class TestModeLink {
public:
    // cancel, when given, is looked at throughout Connect, in every wait and before each port
    // searched. fixedPort: Connect uses the port as it was opened, and searches no other.
    TestModeLink(CableLine& port, std::string settingsPath, const CancelFlag* cancel = nullptr,
                 bool fixedPort = false)
        : m_Port(port),
          m_SettingsPath(std::move(settingsPath)),
          m_Cancel(cancel),
          m_FixedPort(fixedPort) {}

    // Connects through the radio connection with test mode's cable rules; on a failure the
    // port is closed.
    LinkResult Connect();

    // Reads the block at address into image and acknowledges it. False, with the image
    // untouched, when three answers in a row were short or not the frame for this block.
    bool ReadBlock(int address, RadioImage& image);
    // Sends the image's block at address in test mode's data frame; true when acknowledged.
    bool WriteBlock(int address, const RadioImage& image);
    void SendAdjust(const AdjustFrame& frame);
    // Ends programming or test mode and takes the radio's answer.
    void SendEnd();
    // Ends test mode without waiting: the wake-up that follows drains the answer.
    void SendEndWithoutAnswer();

private:
    void SettleAfterFailure();

    CableLine& m_Port;
    std::string m_SettingsPath;
    const CancelFlag* m_Cancel;
    bool m_FixedPort;
    bool m_Failed = false;
    // Test mode's own answer windows, lengthened at Connect by the settings' answer times.
    static constexpr int kOwnReadAnswerMs = 200;
    static constexpr int kOwnWriteAnswerMs = 500;
    int m_ReadAnswerMs = kOwnReadAnswerMs;
    int m_WriteAnswerMs = kOwnWriteAnswerMs;
};
