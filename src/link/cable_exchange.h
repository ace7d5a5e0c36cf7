// One frame sent to the radio and its answer taken, over a direct or an echoing cable.
// The echo is consumed by count, never by timing: at 9600 baud the echo and the answer
// arrive within one time-out, and a read that took both as one answer would shift every
// later frame.
#pragma once

#include <cstdint>

class CSerialPort;

enum class CableType { Direct, Echo };

struct CableAnswer {
    // Answer bytes placed in the caller's buffer.
    int count = 0;
    // Whether the frame came back in full before the answer (echo cable only).
    bool echoSeen = false;
};

// Reads and drops whatever is waiting on the receive side, so a late answer to an earlier
// frame cannot be taken as the answer to the next one.
void DrainReceive(CSerialPort& port);

// Drains the receive side, sends frame after the 1 ms lead delay and takes up to answerSize
// bytes of the radio's answer, waiting at most timeoutMs for each part. On the echo cable the
// first frameSize bytes are taken first: when they are the frame's echo, the answer follows;
// when they are not, the cable did not echo and those bytes begin the answer. Silence where
// the echo belongs means no answer.
CableAnswer ExchangeFrame(CSerialPort& port, CableType cable, const uint8_t* frame, int frameSize,
                          uint8_t* answer, int answerSize, int timeoutMs);

// The first byte (0..255) of the answer to frame, or -1 when none came.
int ExchangeForByte(CSerialPort& port, CableType cable, const uint8_t* frame, int frameSize,
                    int timeoutMs);
