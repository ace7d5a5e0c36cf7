// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sha256.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::array<uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr size_t kBlockSize = 64;

void Compress(std::array<uint32_t, 8>& state, const uint8_t* block) {
    std::array<uint32_t, 64> schedule{};
    for (size_t k = 0; k < 16; ++k) {
        schedule[k] = uint32_t{block[4 * k]} << 24 | uint32_t{block[4 * k + 1]} << 16 |
                      uint32_t{block[4 * k + 2]} << 8 | uint32_t{block[4 * k + 3]};
    }
    for (size_t k = 16; k < 64; ++k) {
        uint32_t s0 = std::rotr(schedule[k - 15], 7) ^ std::rotr(schedule[k - 15], 18) ^
                      (schedule[k - 15] >> 3);
        uint32_t s1 = std::rotr(schedule[k - 2], 17) ^ std::rotr(schedule[k - 2], 19) ^
                      (schedule[k - 2] >> 10);
        schedule[k] = schedule[k - 16] + s0 + schedule[k - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state;
    for (size_t k = 0; k < 64; ++k) {
        uint32_t t1 = h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) +
                      ((e & f) ^ (~e & g)) + kRoundConstants[k] + schedule[k];
        uint32_t t2 =
            (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    const std::array<uint32_t, 8> added = {a, b, c, d, e, f, g, h};
    for (size_t k = 0; k < 8; ++k) {
        state[k] += added[k];
    }
}

}  // namespace

Sha256Digest Sha256(std::span<const uint8_t> data) {
    std::array<uint32_t, 8> state = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    size_t whole = data.size() - data.size() % kBlockSize;
    for (size_t offset = 0; offset < whole; offset += kBlockSize) {
        Compress(state, data.data() + offset);
    }
    // The tail, the 0x80 marker and the length in bits fill one or two last blocks.
    std::array<uint8_t, 2 * kBlockSize> tail{};
    size_t rest = data.size() - whole;
    std::copy(data.begin() + static_cast<std::ptrdiff_t>(whole), data.end(), tail.begin());
    tail[rest] = 0x80;
    size_t tailSize = rest + 9 <= kBlockSize ? kBlockSize : 2 * kBlockSize;
    uint64_t bits = static_cast<uint64_t>(data.size()) * 8;
    for (size_t k = 0; k < 8; ++k) {
        tail[tailSize - 1 - k] = static_cast<uint8_t>(bits >> (8 * k));
    }
    for (size_t offset = 0; offset < tailSize; offset += kBlockSize) {
        Compress(state, tail.data() + offset);
    }
    Sha256Digest digest{};
    for (size_t k = 0; k < 32; ++k) {
        digest[k] = static_cast<uint8_t>(state[k / 4] >> (24 - 8 * (k % 4)));
    }
    return digest;
}

std::string Sha256Hex(std::span<const uint8_t> data, size_t digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    Sha256Digest digest = Sha256(data);
    std::string text;
    for (size_t k = 0; k < digits && k < 2 * digest.size(); ++k) {
        uint8_t byte = digest[k / 2];
        text += kDigits[k % 2 == 0 ? byte >> 4 : byte & 0x0F];
    }
    return text;
}
