// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/ptt_id_series.h"

#include <algorithm>
#include <charconv>

#include "codeplug/ptt_id_code.h"

bool ParsePttIdSeries(std::string_view first, PttIdSeries* series, std::string* error) {
    bool digits = !first.empty() && std::all_of(first.begin(), first.end(), [](char character) {
        return character >= '0' && character <= '9';
    });
    // What the radio would keep of it: anything it cuts or changes is not a code to count from.
    if (!digits || PttIdCodeText(PttIdCodeFromText(first)) != first) {
        *error = "a PTT ID code to count from is 1 to " + std::to_string(kPttIdCodeSize) +
                 " decimal digits, such as 0101";
        return false;
    }
    std::from_chars(first.data(), first.data() + first.size(), series->first);
    series->width = first.size();
    return true;
}

std::optional<std::string> PttIdCodeAt(const PttIdSeries& series, int index) {
    std::string code = std::to_string(series.first + static_cast<uint64_t>(index));
    if (code.size() < series.width) {
        code.insert(0, series.width - code.size(), '0');
    }
    if (code.size() > kPttIdCodeSize) {
        return std::nullopt;
    }
    return code;
}
