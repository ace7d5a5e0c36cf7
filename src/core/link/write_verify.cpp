// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/write_verify.h"

#include <algorithm>

#include "link/clone_frames.h"
#include "link/transfer_job.h"

using namespace clone_frames;

namespace {

constexpr size_t kNamedBlocks = 8;

}  // namespace

std::vector<int> DifferingBlocks(const uint8_t* sent, const uint8_t* readBack) {
    std::vector<int> addresses;
    for (int address = kCloneFirstAddress; address < kCloneEndAddress; address += kBlockSize) {
        if (!std::equal(sent + address, sent + address + kBlockSize, readBack + address)) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

void PrepareReadBackImage(const uint8_t* sent, uint8_t* readBack) {
    std::copy(sent, sent + kCloneEndAddress, readBack);
    for (int address = kCloneFirstAddress; address < kCloneEndAddress; ++address) {
        readBack[address] = static_cast<uint8_t>(~sent[address]);
    }
}

std::string DescribeBlocks(const std::vector<int>& addresses) {
    std::string text = std::to_string(addresses.size());
    text += addresses.size() == 1 ? " block differs: " : " blocks differ: ";
    text += BlockAddressList(addresses, kNamedBlocks);
    return text;
}
