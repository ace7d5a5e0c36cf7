// SPDX-License-Identifier: GPL-3.0-or-later
// The page's programming station, in the document's module: a run's options, the number and
// image each next radio gets, and the station's own log file in the module's memory, which
// the page shows and offers for download. The radios themselves are written in a module of
// their own per cable (web_station_cable), as the station's workers write them natively.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "station/station_log.h"
#include "station/station_radio.h"

class WebDocument;

// What one cable's next radio is given; number 0 when the run takes no more radios, with why.
struct StationClaim {
    int number = 0;
    StationImage image{};
    std::string message;
};

// A radio done, logged: its line in the language shown, the result seen across the bench
// (as the log line's advice: "done, unplug", "checked, unplug", ...), and a log that failed
// to take it.
struct StationLogged {
    std::string words;
    std::string advice;
    // Counted as ok: written and checked.
    bool ok = false;
    // Nothing to do again: written and checked, or checked the same as the file.
    bool passed = false;
    std::string message;
};

class WebStation {
public:
    explicit WebStation(std::string settingsPath);

    // Starts a run writing the document's image, or with checkOnly comparing each radio with
    // it; "" or why not (a first PTT ID code that is not one, a log that cannot be opened).
    std::string Start(const WebDocument& document, bool verify, bool checkOnly,
                      const std::string& firstCode);
    // Takes no more radios; those being written finish.
    void Stop() { m_Running = false; }
    bool Running() const { return m_Running; }
    const StationOptions& Options() const { return m_Options; }

    StationClaim Claim(const std::string& cable);
    // The radio's write ended whole: until its line is in the log it counts as unlogged. ""
    // or why it could not be marked, and the station then takes no more radios.
    std::string MarkWritten(const RadioRecord& record);
    StationLogged Finish(const RadioRecord& record);
    // The radios written whole but not yet logged, as the marker beside the log holds them
    // ("" for none): the page keeps it in the browser's storage, as the log's own file is
    // gone with the visit.
    std::string UnloggedText() const;
    // What UnloggedText gave on an earlier visit, for the next Start to log as unchecked.
    void KeepUnlogged(const std::string& text);
    // The radios the last Start logged as unchecked: "The last radio on ...", one a line.
    std::vector<std::string> UnloggedWords() const;
    // The log file's bytes, header and lines, as the station writes it.
    std::vector<uint8_t> LogBytes() const;
    // The station's summary of this run, over one cable or, for "", all.
    std::string Summary(const std::string& cable) const;

private:
    StationOptions m_Options;
    StationLog m_Log;
    StationImage m_Image{};
    bool m_Running = false;
    int m_Claimed = 0;
    int m_NumberBase = 0;
    std::vector<RadioRecord> m_Records;
};

// "Writes: ..." of the station: the radios get the open document, saved or not.
std::string StationFileText(const WebDocument& document);

// A cable's state line, as the desktop's row words it.
std::string CableStateText(CablePhase phase, int percent);

// A cable's name in the log and on the page: the virtual radio's, or the port's with its USB
// identity when the browser gives one (0 when not).
std::string WebCableName(int number, bool virtualRadio, int usbVendor, int usbProduct);
