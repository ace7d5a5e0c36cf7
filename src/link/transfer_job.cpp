#include "link/transfer_job.h"

#include <cstdio>

namespace {

// Enough to find the blocks in a memory view, short enough for one message line.
constexpr size_t kListedBlocks = 4;

}  // namespace

std::string SkippedBlockList(const std::vector<int>& addresses) {
    std::string list;
    for (size_t k = 0; k < addresses.size() && k < kListedBlocks; ++k) {
        char address[16];
        std::snprintf(address, sizeof address, "%s0x%04X", k == 0 ? "" : ", ", addresses[k]);
        list += address;
    }
    if (addresses.size() > kListedBlocks) {
        list += ", ...";
    }
    return list;
}
