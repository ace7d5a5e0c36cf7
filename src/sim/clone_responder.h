// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's side of the byte dialogue, as a state machine fed one received byte at a
// time. It knows nothing of ports or timing: it only turns bytes into answers and keeps
// the memory that the read and write frames address.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codeplug/radio_image.h"

using RadioMemory = std::array<uint8_t, kImageSize>;

// A fault block that stands for every block.
constexpr int kAnyBlock = -2;

// Misbehaviour to inject. A block is named by its address (0x0800, 0x0810, ...) or is
// kAnyBlock; the "Times" counts say how many answers for it go wrong before it behaves.
struct VirtualRadioFaults {
    int ignoreWakeUps = 0;         // no answer to the first N wake-up frames
    int identificationLength = 8;  // bytes sent as identification; 0 = none
    int wrongAddressBlock = -1;    // read answer carries another block's address
    int wrongAddressTimes = 0;
    int shortAnswerBlock = -1;  // read answer cut short
    int shortAnswerTimes = 0;
    int noAckBlock = -1;  // written block neither stored nor acknowledged
    int noAckTimes = 0;
    int lateAnswerBlock = -1;  // read answer held back by lateAnswerMs
    int lateAnswerTimes = 0;
    int lateAnswerMs = 200;
    int strayByteBlock = -1;  // one byte more after the read answer
    int strayByteTimes = 0;
    int unstoredBlock = -1;  // written block acknowledged but not stored
    bool silent = false;     // answers nothing at all
};

class CloneResponder {
public:
    explicit CloneResponder(const VirtualRadioFaults& faults = {});

    // Takes one received byte; appends any answer it completes to answer.
    void Feed(uint8_t byte, std::vector<uint8_t>* answer);

    // How long the answers completed since the last call must be held back; 0 mostly.
    int TakeAnswerDelayMs();
    // True once after an end byte closed a session in which the memory changed.
    bool TakeWriteCompleted();
    // Between an answered wake-up and the end byte.
    bool InSession() const { return m_Programming; }
    // True once after an end byte closed a session that read or wrote any block.
    bool TakeBlockSessionEnded();

    RadioMemory memory;

private:
    void Start(uint8_t byte, std::vector<uint8_t>* answer);
    void Collect(uint8_t byte, std::vector<uint8_t>* answer);
    void AnswerWakeUp(std::vector<uint8_t>* answer);
    void AnswerRead(std::vector<uint8_t>* answer);
    void AnswerWrite(std::vector<uint8_t>* answer);
    void AnswerAdjust(std::vector<uint8_t>* answer);

    VirtualRadioFaults m_Faults;
    bool m_Programming = false;
    bool m_Changed = false;
    bool m_WriteCompleted = false;
    bool m_BlocksMoved = false;
    bool m_BlockSessionEnded = false;
    std::vector<uint8_t> m_Frame;  // the frame being collected, empty between frames
    size_t m_FrameLength = 0;
    int m_AnswerDelayMs = 0;
};
