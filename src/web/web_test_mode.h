// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode for the page, in an exchange module of its own for as long as its dialog is open:
// the core's session over the page's line and a copy of the document's image, which the page
// takes back into the document after every change the session reports. The item names and
// every word come from the language the page shows, which the page gives this module first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"
#include "testmode/mode_session.h"
#include "web_document.h"
#include "web_serial_line.h"

// A box to show: its caption and text in the language shown; an empty text shows no box.
struct TestModeBox {
    std::string caption;
    std::string text;
    bool stopIcon = false;
};

// The words of a test-mode message, with the detail after its text.
TestModeBox WordTestModeMessage(const TestModeMessage& message, const std::string& detail = {});

// What the dialog shows after an exchange, and the undo step the document takes the image
// with ("" when the image did not change).
struct TestModeEnding {
    TestModeBox box;
    std::string warning;
    // A stopped Read all: how many blocks it had read, which were dropped; "" otherwise.
    std::string readStopped;
    bool refill = false;
    std::string stepKey;
};

// What an end scroll did; stepKey names the undo step of item when the value changed.
struct TestModeScroll {
    bool stored = false;
    std::string stepKey;
    int item = -1;
};

// A change test mode made to the image, into the document as one undo step named by the
// language key stepKey (with the test item when item >= 0), the limits following the band
// words; returns the step's name in the language shown.
std::string TakeTestModeImage(WebDocument& document, const std::vector<uint8_t>& image,
                              const std::string& stepKey, int item);

class WebTestMode {
public:
    // name is the port's as the page shows it, for the doctor's findings.
    WebTestMode(int line, std::string name, const std::vector<uint8_t>& image);

    // The document's image again, after the dialog opened another file.
    void UseImage(const std::vector<uint8_t>& image);
    std::vector<uint8_t> ImageBytes() const;

    std::vector<std::string> Fill() { return m_Session.Fill(); }
    std::vector<std::string> ItemLines() const { return m_Session.ItemLines(); }
    const TestModeSession& Session() const { return m_Session; }
    const TestExchangeJob& Job() const { return m_Job; }

    // In test mode both may send the adjust frame, and wait for the radio's answer.
    void Select(int item) { m_Session.Select(item); }
    TestModeScroll Scroll(ScrollCode code, int trackedPosition);

    TestModeEnding Exchange(TestExchangeKind kind);
    // Takes the radio out of test mode and closes the line when the session holds it.
    void Close() { m_Session.Close(); }

private:
    WebSerialLine m_Line;
    std::string m_Name;
    RadioImage m_Image;
    TestModeSession m_Session;
    TestExchangeJob m_Job;
};
