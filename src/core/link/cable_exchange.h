// SPDX-License-Identifier: GPL-3.0-or-later
// One frame sent to the radio and its answer taken, over a direct or an echoing cable.
// The echo is consumed by count, never by timing: at 9600 baud the echo and the answer
// arrive within one time-out, and a read that took both as one answer would shift every
// later frame. Every wait is cut into slices so that a cancel is seen within one slice.
// A frame after a good answer goes out after the usual 1 ms lead delay, which is spent
// listening: what arrives in it is dropped. The wait for a quiet line is paid only where
// something went wrong.
#pragma once

#include <cstdint>

#include "link/cable_line.h"

enum class CableType { Direct, Echo };

// The receive side counts as empty once nothing has come for this long: a few byte times at
// 9600 baud, so the rest of a late answer cannot slip in behind the next frame.
inline constexpr int kQuietMs = 5;
// The pause before every frame.
inline constexpr int kLeadDelayMs = 1;
// After a try whose answer was short, late or for another frame, that answer may still be on
// its way, and a busy machine can hold up its arrival for more than a few byte times: the
// line must stay quiet this long before the next frame, or its tail would be taken for the
// start of the next answer.
inline constexpr int kQuietAfterAnomalyMs = 60;

struct CableAnswer {
    // Answer bytes placed in the caller's buffer.
    int count = 0;
    // Whether the frame came back in full before the answer (echo cable only).
    bool echoSeen = false;
    // Direct cable only: what came back right after the frame was the frame itself, so the
    // cable echoes and the setting is wrong.
    bool directEcho = false;
    // The cancel flag was seen during a wait; the answer is incomplete.
    bool cancelled = false;
};

// Reads and drops whatever arrives until the line has been quiet for quietMs, so a late
// answer to an earlier frame cannot be taken as the answer to the next one. False when the
// cancel flag was seen first.
bool DrainReceive(CableLine& port, const CancelFlag* cancel = nullptr, int quietMs = kQuietMs);

// CableLine::Read in slices; *cancelled tells a wait ended by the cancel flag.
int ReadUnlessCancelled(CableLine& port, uint8_t* buffer, int count, int timeoutMs,
                        const CancelFlag* cancel, bool* cancelled);

// Lets milliseconds pass on the line in slices; false when the cancel flag ended the pause.
bool PauseUnlessCancelled(CableLine& port, int milliseconds, const CancelFlag* cancel);

// Drops what arrives during the 1 ms lead delay (and, when there was something, waits for a
// quiet line), sends frame and takes up to answerSize bytes of the radio's answer, waiting
// at most timeoutMs for each part. On the echo cable the first frameSize bytes are taken
// first: when they are the frame's echo, the answer follows;
// when they are not, the cable did not echo and those bytes begin the answer. Silence where
// the echo belongs means no answer.
CableAnswer ExchangeFrame(CableLine& port, CableType cable, const uint8_t* frame, int frameSize,
                          uint8_t* answer, int answerSize, int timeoutMs,
                          const CancelFlag* cancel = nullptr);

// The first byte (0..255) of the answer to frame, or -1 when none came.
int ExchangeForByte(CableLine& port, CableType cable, const uint8_t* frame, int frameSize,
                    int timeoutMs);
