// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual radio for the page: radio-sim's responder with its demo memory and faults, and
// its 9600 baud line times. The page's SerialPort-shaped object only carries the bytes at the
// times given here.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/clone_responder.h"
#include "sim/line_pacer.h"

struct TimedAnswer {
    std::vector<uint8_t> bytes;
    // Milliseconds from now at which each byte has arrived at the program.
    std::vector<double> readyMs;
};

class WebRadio {
public:
    WebRadio(bool echo, bool paced, const VirtualRadioFaults& faults);

    // Bytes the program sent now; what the cable and the radio give back, and when.
    TimedAnswer Feed(const std::vector<uint8_t>& bytes);
    // From the next byte on, keeping the memory.
    void SetFaults(const VirtualRadioFaults& faults);
    std::vector<uint8_t> Memory() const;

private:
    bool m_Echo;
    bool m_Paced;
    CloneResponder m_Responder;
    LinePacer m_Pacer;
};
