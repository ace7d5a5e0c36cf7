// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the test dialog does, without the dialog: the selected item and the scroll
// position, the test-mode flag, and the exchanges of start test mode, write all, read all
// and close. The dialog shows what this reports and refills itself when told to; it never
// talks to the port or decides a message itself. Start, read all and write all run on a
// worker between BeginExchange and FinishExchange; nothing else may be called meanwhile.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"
#include "link/connection_doctor.h"
#include "testmode/mode_exchange.h"
#include "testmode/mode_link.h"
#include "testmode/mode_message.h"
#include "testmode/value_scroll.h"

struct TestModeOutcome {
    // The box to show, if any.
    std::optional<TestModeMessage> message;
    // Why the radio could not be reached, told beside the message.
    std::optional<Diagnosis> diagnosis;
    // The list lines, the selection or the scroll position changed: refill the dialog.
    bool refill = false;
    // A problem that did not stop the operation, in words for the user; empty when none.
    std::string warning;
    // The image changed: the main window must reload and the document counts as modified.
    bool imageChanged = false;
};

struct ScrollOutcome {
    // The position was stored into the selected item: refill the list.
    bool stored = false;
    // The stored value differs from the one before.
    bool imageChanged = false;
};

class TestModeSession {
public:
    // image is the document's own; the outcomes say when it changed. settingsPath is
    // setting.ini's; the item names come from languagePath. portsFolder is where the doctor
    // looks for the ports when the radio cannot be reached ("" where there is none to see).
    TestModeSession(CableLine& port, std::string portsFolder, std::string settingsPath,
                    std::string languagePath, RadioImage& image);

    // The dialog's (re)fill, on opening and after open data: line 0 selected, the scroll
    // position at item 0's value. Returns the lines.
    std::vector<std::string> Fill();
    // The lines with the image's current values, from the language file.
    std::vector<std::string> ItemLines() const;

    int SelectedItem() const { return m_Selected; }
    int Position() const { return m_Position; }
    bool InTestMode() const { return m_InTestMode; }

    // A selection change in the list: the bar follows the item; in test mode the radio does.
    void Select(int item);
    // A scroll bar event; end scroll stores the position.
    ScrollOutcome Scroll(ScrollCode code, int trackedPosition);

    // Fills job for an exchange of kind, with a copy of the image, and sets the test-mode flag
    // as the exchange will leave it. The job then goes to RunTestExchange on a worker.
    void BeginExchange(TestExchangeKind kind, TestExchangeJob& job);
    // After the worker has finished: the blocks it read reach the image (none when
    // cancelled), the bar follows them, and the outcome says what to show.
    TestModeOutcome FinishExchange(const TestExchangeJob& job);
    // Cancel, the window's close and the Enter key: ends test mode on the radio and closes
    // the port when this session holds the radio in test mode.
    void Close();

private:
    void SendAdjust();

    CableLine& m_Port;
    std::string m_PortsFolder;
    std::string m_SettingsPath;
    std::string m_LanguagePath;
    TestModeLink m_Link;
    RadioImage& m_Image;
    int m_Selected = -1;
    int m_Position = 0;
    bool m_InTestMode = false;
};
