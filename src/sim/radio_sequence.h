// SPDX-License-Identifier: GPL-3.0-or-later
// The radios one line meets at a programming station, one after another: which one answers
// now, each one's memory, and when the one done is unplugged and the next plugged in. Both
// virtual radios play it, radio-sim's on its thread and the page's as bytes arrive; the time
// is theirs (MonotonicNow's nanoseconds), and nothing here waits or locks.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/clone_responder.h"

struct RadioSequenceOptions {
    // Radios in the sequence; after the last one the line stays silent.
    int radios = 1;
    // A radio goes this long after the last session that read or wrote its blocks (its
    // read-back, or the read of a station that only checks), and the next comes this long after.
    int swapAfterMs = 1000;
    // Radio k + 2 begins with memories[k] when there is one, else as a copy of radio 1's.
    std::vector<RadioMemory> memories;
    VirtualRadioFaults faults;
    // The radio that has the faults, from 1; 0 for every radio.
    int faultyRadio = 0;
};

class RadioSequence {
public:
    // Radio 1 answers, with the memory the responder holds now.
    void Start(const RadioSequenceOptions& options);

    // Unplugs or plugs in the next radio when its time has come; milliseconds until the next
    // such time, or -1.
    int Swap(int64_t now);
    // One byte the radio hears; false while none is plugged in, which hears nothing.
    bool Feed(uint8_t byte, std::vector<uint8_t>* answer);
    // After the bytes of one arrival: whether an end byte closed a session that changed the
    // memory. A session of blocks that ended sets the time the radio goes.
    bool EndArrival(int64_t now);

    // The radio answering now, as the responder plays it.
    CloneResponder& Responder() { return m_Responder; }
    const CloneResponder& Responder() const { return m_Responder; }
    // The memory of radio number radio (from 1); the answering one's for any other number.
    const RadioMemory& MemoryOf(int radio) const;
    // The radio answering now, from 1; 0 while none is plugged in.
    int CurrentRadio() const { return m_Plugged ? m_Current + 1 : 0; }
    // Whether a session wrote to radio number radio (from 1) since Start.
    bool WasWritten(int radio) const;
    // Every radio's faults from now on, the answering one's from its next byte.
    void SetFaults(const VirtualRadioFaults& faults);

private:
    VirtualRadioFaults FaultsOf(int radio) const;

    RadioSequenceOptions m_Options;
    CloneResponder m_Responder;
    // Every radio's memory; the answering one's is the responder's.
    std::vector<RadioMemory> m_Memories{RadioMemory{}};
    std::vector<bool> m_WrittenRadios{false};
    int m_Current = 0;
    bool m_Plugged = true;
    int64_t m_UnplugAt = 0;
    int64_t m_PlugAt = 0;
};
