// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual radio for the page: radio-sim's responder with its demo memory and faults, its
// sequence of radios as a station meets them, and its 9600 baud line times. The page's
// SerialPort-shaped object only carries the bytes at the times given here.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/clone_responder.h"
#include "sim/line_pacer.h"
#include "sim/radio_sequence.h"

struct TimedAnswer {
    std::vector<uint8_t> bytes;
    // Milliseconds from now at which each byte has arrived at the program.
    std::vector<double> readyMs;
};

class WebRadio {
public:
    // radios one after another on the line, each swapped for the next as radio-sim's
    // --radios and --swap-after do.
    WebRadio(bool echo, bool paced, const VirtualRadioFaults& faults, int radios = 1,
             int swapAfterMs = 1000);

    // Bytes the program sent now; what the cable and the radio give back, and when.
    TimedAnswer Feed(const std::vector<uint8_t>& bytes);
    // From the next byte on, keeping the memory.
    void SetFaults(const VirtualRadioFaults& faults);
    std::vector<uint8_t> Memory() const;
    // The memory of radio number radio (from 1) of the sequence.
    std::vector<uint8_t> MemoryOf(int radio) const;

private:
    bool m_Echo;
    bool m_Paced;
    RadioSequence m_Sequence;
    LinePacer m_Pacer;
};
