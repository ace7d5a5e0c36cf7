// SPDX-License-Identifier: GPL-3.0-or-later
// What a --verbose trace says, line by line, so tests compare it with what the virtual radio
// itself received.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace halvex::test {

struct FrameTrace {
    std::vector<uint8_t> sent;
    std::vector<uint8_t> answers;
    std::vector<double> times;
    std::vector<std::string> opened;
    long closes = 0;
};

// The trace of each prefix (a cable's "DEVICE: ", or "" for one line alone); nothing when a
// line has none of the prefixes or is neither a frame nor an open or close.
inline std::optional<std::map<std::string, FrameTrace>> ParseFrameTraces(
    const std::string& text, const std::vector<std::string>& prefixes) {
    static const std::regex kLine(
        R"(^ *(\d+\.\d{6}) (([<>]) ([0-9A-F]{2}( [0-9A-F]{2})*)|open (.+)|close)$)");
    std::map<std::string, FrameTrace> traces;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        const std::string* prefix = nullptr;
        std::string rest;
        for (const std::string& candidate : prefixes) {
            if (line.starts_with(candidate)) {
                rest = line.substr(candidate.size());
                if (std::regex_match(rest, match, kLine)) {
                    prefix = &candidate;
                    break;
                }
            }
        }
        if (prefix == nullptr) {
            return std::nullopt;
        }
        FrameTrace& trace = traces[*prefix];
        trace.times.push_back(std::stod(match[1]));
        if (match[6].matched) {
            trace.opened.push_back(match[6]);
        }
        trace.closes += match[2] == "close";
        std::istringstream hex(match[4].str());
        for (int byte = 0; hex >> std::hex >> byte;) {
            (match[3] == ">" ? trace.sent : trace.answers).push_back(static_cast<uint8_t>(byte));
        }
    }
    return traces;
}

inline std::optional<FrameTrace> ParseFrameTrace(const std::string& text) {
    auto traces = ParseFrameTraces(text, {""});
    if (!traces) {
        return std::nullopt;
    }
    return (*traces)[""];
}

}  // namespace halvex::test
