// SPDX-License-Identifier: GPL-3.0-or-later
// The program's binary data resources: the three tone tables the tone selectors are built from.
#pragma once

#include <cstddef>
#include <span>

// Every tone table entry is an 8-byte slot holding NUL-terminated ASCII.
constexpr size_t kToneSlotSize = 8;

constexpr int kCtcssTableResource = 145;
constexpr int kDcsNormalTableResource = 141;
constexpr int kDcsInvertedTableResource = 140;

// The bytes of a binary data resource; empty for an id the program does not hold.
std::span<const char> FindBinaryResource(int id);
