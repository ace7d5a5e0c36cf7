#include "link/write_verify.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFirstAddress = 0x0800;
constexpr int kEndAddress = 0x2000;
constexpr int kBlockSize = 16;
constexpr size_t kNamedBlocks = 8;

std::string Address(int address) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

}  // namespace

std::vector<int> DifferingBlocks(const uint8_t* sent, const uint8_t* readBack) {
    std::vector<int> addresses;
    for (int address = kFirstAddress; address < kEndAddress; address += kBlockSize) {
        if (!std::equal(sent + address, sent + address + kBlockSize, readBack + address)) {
            addresses.push_back(address);
        }
    }
    return addresses;
}

void PrepareReadBackImage(const uint8_t* sent, uint8_t* readBack) {
    std::copy(sent, sent + kEndAddress, readBack);
    for (int address = kFirstAddress; address < kEndAddress; ++address) {
        readBack[address] = static_cast<uint8_t>(~sent[address]);
    }
}

std::string DescribeBlocks(const std::vector<int>& addresses) {
    std::string text = std::to_string(addresses.size()) +
                       (addresses.size() == 1 ? " block differs: " : " blocks differ: ");
    for (size_t k = 0; k < addresses.size() && k < kNamedBlocks; ++k) {
        text += (k > 0 ? ", " : "") + Address(addresses[k]);
    }
    if (addresses.size() > kNamedBlocks) {
        text += ", ...";
    }
    return text;
}
