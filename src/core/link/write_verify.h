// SPDX-License-Identifier: GPL-3.0-or-later
// Checking a write by reading the radio back: which clone blocks came back different.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Addresses of the 16-byte blocks of 0x0800-0x1FFF in which readBack differs from sent; both
// are whole 8192-byte images indexed by radio address.
std::vector<int> DifferingBlocks(const uint8_t* sent, const uint8_t* readBack);

// The buffer a read-back starts from: sent with every clone byte inverted, so a block the
// read-back leaves untouched can never pass for one the radio holds.
void PrepareReadBackImage(const uint8_t* sent, uint8_t* readBack);

// "2 blocks differ: 0x0D40, 0x1010", naming at most the first eight.
std::string DescribeBlocks(const std::vector<int>& addresses);
