// SPDX-License-Identifier: GPL-3.0-or-later
// A PTT ID code for each radio of a station run, as fleets tell their handhelds apart: the
// first radio gets the first code and each next one the next, counting in decimal and keeping
// the width ("0101", "0102", ...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct PttIdSeries {
    uint64_t first = 0;
    size_t width = 0;
};

// The series from its first code: one to six decimal digits, which the radio stores as they
// are. False with a message otherwise.
bool ParsePttIdSeries(std::string_view first, PttIdSeries* series, std::string* error);

// The code of the run's radio at index (from 0); none when it would be longer than the six
// characters the radio keeps.
std::optional<std::string> PttIdCodeAt(const PttIdSeries& series, int index);
