// SPDX-License-Identifier: GPL-3.0-or-later
// Radio memory that makes a misaligned read show: every block holds what a data frame for the
// block after it would begin with, so a read that took the tail of one answer as the start of
// the next would pass the header check and show as a wrong block.
#pragma once

#include <cstddef>

#include "sim/clone_responder.h"

namespace halvex::test {

inline RadioMemory FrameLikeMemory(int seed) {
    RadioMemory memory;
    for (size_t i = 0; i < memory.size(); ++i) {
        memory[i] = static_cast<uint8_t>(i * 29 + static_cast<size_t>(seed));
    }
    for (int address = 0x0800; address < 0x2000; address += 16) {
        const int next = address + 16;
        for (int k = 0; k < 16; k += 4) {
            memory[size_t(address + k)] = 0x57;
            memory[size_t(address + k + 1)] = static_cast<uint8_t>(next >> 8);
            memory[size_t(address + k + 2)] = static_cast<uint8_t>(next & 0xFF);
        }
    }
    return memory;
}

}  // namespace halvex::test
