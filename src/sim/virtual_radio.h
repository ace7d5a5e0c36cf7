// SPDX-License-Identifier: GPL-3.0-or-later
// A radio on a pseudo-terminal: it answers the clone and test-mode dialogue from its own
// 8 KB memory, so the link code can be exercised without hardware. It can also play an
// echoing cable, a 9600 baud line and a misbehaving radio. It never touches Qt.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/clone_responder.h"
#include "sim/radio_sequence.h"

class PseudoTerminal;

struct VirtualRadioOptions {
    bool echo = false;      // every received byte goes back before the answer
    bool pace9600 = false;  // both directions take the time of a 9600 baud line
    // With echo: each acknowledgement byte comes back this much later, as from a slow adapter
    // on a busy machine.
    int lateAckEchoMs = 0;
    VirtualRadioFaults faults;
    // A sequence of radios on the one line, as a programming station meets them: radio 1
    // answers; swapAfterMs after the last session that read or wrote its blocks (its
    // read-back, or the read of a station that only checks) it is unplugged (silent) for
    // swapAfterMs, then radio 2 answers, each with its own memory: radio k + 2 begins with
    // memories[k] when there is one, else as a copy of the memory set before Start. Wake-ups alone
    // keep no radio plugged in. After the last one the line stays silent. After a write (rather
    // than its read-back) the radio also waits out the pause a program makes before reading back.
    int radios = 1;
    int swapAfterMs = 1000;
    std::vector<RadioMemory> memories;
    // The radio of the sequence that has the faults, from 1; 0 for every radio.
    int faultyRadio = 0;
    // Runs on the radio's thread after an end byte closes a session that changed the
    // memory, with a copy of that memory.
    std::function<void(const RadioMemory&)> onWriteCompleted;
};

class VirtualRadio {
public:
    VirtualRadio();
    ~VirtualRadio();
    VirtualRadio(const VirtualRadio&) = delete;
    VirtualRadio& operator=(const VirtualRadio&) = delete;

    // Creates a pseudo-terminal, links linkPath to its slave device (creating the link's
    // directory and replacing an old link) and serves it on a thread.
    bool Start(const std::string& linkPath, const VirtualRadioOptions& options, std::string* error);
    // Stops the thread and removes the link; safe to call twice.
    void Stop();

    // The memory of the radio answering now (or the last to answer).
    RadioMemory Memory() const;
    // The memory of radio number radio (from 1) of the sequence.
    RadioMemory MemoryOf(int radio) const;
    // The radio answering now, from 1; 0 while none is plugged in.
    int CurrentRadio() const;
    // Whether a session wrote to radio number radio (from 1) since Start.
    bool WasWritten(int radio) const;
    void SetMemory(const RadioMemory& memory);
    // Everything the program has sent since Start.
    std::vector<uint8_t> ReceivedBytes() const;
    std::string SlavePath() const;

private:
    void Serve();
    // Unplugs or plugs in the next radio of a sequence when its time has come; the poll
    // timeout until the next such time, or -1.
    int SwapRadios(int64_t now);

    mutable std::mutex m_Mutex;
    RadioSequence m_Sequence;
    std::vector<uint8_t> m_Received;
    VirtualRadioOptions m_Options;
    std::unique_ptr<PseudoTerminal> m_Terminal;
    std::string m_LinkPath;
    int m_StopPipe[2] = {-1, -1};
    std::thread m_Thread;
};
