// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer_job.h"

#include <cstdio>

std::string BlockAddressList(const std::vector<int>& addresses, size_t named) {
    std::string list;
    for (size_t k = 0; k < addresses.size() && k < named; ++k) {
        char address[16];
        std::snprintf(address, sizeof address, "%s0x%04X", k == 0 ? "" : ", ", addresses[k]);
        list += address;
    }
    if (addresses.size() > named) {
        list += ", ...";
    }
    return list;
}
