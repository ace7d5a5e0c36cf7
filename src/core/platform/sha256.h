// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 (FIPS 180-4) of a buffer held whole in memory: the station's log names each image it
// wrote by it, so a radio can later be matched to the file it got.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

using Sha256Digest = std::array<uint8_t, 32>;

Sha256Digest Sha256(std::span<const uint8_t> data);

// The first digits of the digest in lower-case hexadecimal, at most 64.
std::string Sha256Hex(std::span<const uint8_t> data, size_t digits = 64);
