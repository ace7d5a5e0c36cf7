// SPDX-License-Identifier: GPL-3.0-or-later
// The names of halvex-cli's options and operands, once: the option tables define them and the
// commands read them by these names, so a misspelt name does not compile.
#pragma once

#include <string_view>

namespace cli_option {

inline constexpr std::string_view kSettings = "--settings";
inline constexpr std::string_view kPort = "--port";
inline constexpr std::string_view kDevice = "--device";
inline constexpr std::string_view kBand = "--band";
inline constexpr std::string_view kInto = "--into";
inline constexpr std::string_view kOutput = "-o";
inline constexpr std::string_view kCsv = "--csv";
inline constexpr std::string_view kVerify = "--verify";
inline constexpr std::string_view kNoVerify = "--no-verify";
inline constexpr std::string_view kForce = "--force";
inline constexpr std::string_view kCount = "--count";
inline constexpr std::string_view kLog = "--log";
inline constexpr std::string_view kAuto = "--auto";
inline constexpr std::string_view kJson = "--json";
inline constexpr std::string_view kAllowEmpty = "--allow-empty";
inline constexpr std::string_view kHelp = "--help";
inline constexpr std::string_view kVerbose = "--verbose";
inline constexpr std::string_view kCheckOnly = "--check-only";
inline constexpr std::string_view kPttIdCodeFrom = "--ptt-id-code-from";

// Operands, named as the usage line shows them.
inline constexpr std::string_view kPgmFile = "FILE.pgm";
inline constexpr std::string_view kFirstFile = "A.pgm";
inline constexpr std::string_view kSecondFile = "B.pgm";
inline constexpr std::string_view kCsvInput = "IN.csv";
inline constexpr std::string_view kTextInput = "IN.yaml";

}  // namespace cli_option
