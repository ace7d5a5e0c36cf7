// Everything the test dialog does, without the dialog: the selected item and the scroll
// position, the test-mode flag, and the exchanges of start test mode, write all, read all
// and close. The dialog shows what this reports and refills itself when told to; it never
// talks to the port or decides a message itself. Runs on the caller's thread and blocks it
// while an exchange runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"
#include "testmode/test_link.h"
#include "testmode/test_mode_message.h"
#include "testmode/test_scroll.h"

class CSerialPort;

struct TestModeOutcome {
    // The box to show, if any.
    std::optional<TestModeMessage> message;
    // The list lines, the selection or the scroll position changed: refill the dialog.
    bool refill = false;
    // A problem that did not stop the operation, in words for the user; empty when none.
    std::string warning;
};

class TestModeSession {
public:
    // image is the document's own: test mode reads into it and adjusts it directly, without
    // setting the modified flag. settingsPath is setting.ini's.
    TestModeSession(CSerialPort& port, std::string settingsPath, RadioImage& image);

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
    // A scroll bar event. True when the list must be refilled (the value was stored).
    bool Scroll(ScrollCode code, int trackedPosition);

    TestModeOutcome StartTestMode();
    TestModeOutcome WriteAll();
    TestModeOutcome ReadAll();
    // Cancel, the window's close and the Enter key: ends test mode on the radio and closes
    // the port when this session holds the radio in test mode.
    void Close();

private:
    void SendAdjust();
    // Wakes the radio and identifies it; false with the failure and any warning in outcome.
    bool Connect(TestModeOutcome& outcome);
    TestModeOutcome ReadBlocks(int firstAddress, int endAddress, TestModeOutcome outcome);

    CSerialPort& m_Port;
    TestModeLink m_Link;
    RadioImage& m_Image;
    int m_Selected = -1;
    int m_Position = 0;
    bool m_InTestMode = false;
};
