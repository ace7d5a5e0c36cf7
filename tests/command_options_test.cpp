// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/command_options.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr std::array kOptions = {
    OptionDefinition{"--port", "N", "", OptionKind::Value, false, 1},
    OptionDefinition{"--device", "PATH", "", OptionKind::Value, false, 1},
    OptionDefinition{"--verbose", "", ""},
    OptionDefinition{"-o", "FILE", "", OptionKind::OutputFile},
    OptionDefinition{"--log", "FILE", "", OptionKind::Value, false, 0, true},
    OptionDefinition{"IN.pgm", "", "", OptionKind::InputFile},
};

// What a line parses to, as "name=value;" in the order given, or "error: ..." when refused.
std::string Parsed(std::vector<std::string> arguments) {
    ParsedOptions parsed;
    std::string error;
    if (!ParseOptions(kOptions, arguments, &parsed, &error)) {
        return "error: " + error;
    }
    std::string text;
    for (const auto& [name, value] : parsed.All()) {
        text += name + '=' + value + ';';
    }
    return text;
}

TEST(CommandOptionsTest, SeparateAndAttachedValuesParseAlikeAndMisuseIsNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--port", "1", "-o", "a.pgm"}, "--port=1;-o=a.pgm;"},
        {{"--port=1", "-oa.pgm"}, "--port=1;-o=a.pgm;"},
        {{"--device=/dev/tty=x", "IN"}, "--device=/dev/tty=x;IN.pgm=IN;"},
        {{"-o=a.pgm"}, "-o==a.pgm;"},
        {{"--log=a", "--log", "b"}, "--log=a;--log=b;"},
        {{"-o", "--port=1"}, "-o=--port=1;"},
        {{"--verbose", "--", "--port=1"}, "--verbose=;IN.pgm=--port=1;"},
        {{"--", "-oa.pgm"}, "IN.pgm=-oa.pgm;"},
        {{"-", "--verbose"}, "IN.pgm=-;--verbose=;"},
        {{"--help=1"}, "error: unknown option '--help=1'"},
        {{"--port="}, "error: --port is given an empty value; give --port N"},
        {{"--port"}, "error: --port needs a value (--port N)"},
        {{"--port=1", "--port", "2"}, "error: --port is given twice; give it once"},
        {{"-oa", "-o", "b"}, "error: -o is given twice; give it once"},
        {{"--port=1", "--device=x"}, "error: give only one of --port and --device"},
        {{"--verbose=yes"}, "error: --verbose takes no value; give it alone"},
        {{"--portx=1"}, "error: unknown option '--portx=1'"},
        {{"-x1"}, "error: unknown option '-x1'"},
        {{"--=1"}, "error: unknown option '--=1'"},
        {{"IN", "--", "more"}, "error: unexpected argument 'more'"},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(Parsed(arguments), expected) << testing::PrintToString(arguments);
    }
}

}  // namespace
