// SPDX-License-Identifier: GPL-3.0-or-later
// The options of a command-line program as data: one table per command says what the parser
// accepts and what --help shows, so the rules for every option of every program live here.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class OptionKind {
    Flag,
    Value,
    // A file the command reads: it may not be the output, and it must be a regular file.
    InputFile,
    // A file the command writes.
    OutputFile,
};

struct OptionDefinition {
    // "--port", "-o"; an operand (a file named without an option) has no leading '-'.
    std::string_view name = {};
    // What the value is called in the usage line ("N", "FILE"); empty for a flag and an operand.
    std::string_view valueName = {};
    std::string_view help = {};
    OptionKind kind = OptionKind::Flag;
    bool required = false;
    // Options that share a non-zero group exclude each other, and show as [--a X | --b Y].
    int group = 0;
    // May be given more than once (each value kept, in order); shows as "--device PATH...".
    bool repeatable = false;
    // For a file, the endings of the files a shell completes it with ("pgm yaml yml"); empty
    // for any file.
    std::string_view fileTypes = {};
};

constexpr bool IsOperand(const OptionDefinition& definition) {
    return !definition.name.starts_with('-');
}

// The options given, in the order given, and the operands under their table names.
class ParsedOptions {
public:
    bool Has(std::string_view name) const;
    // The value given, or an empty text when the option was not given (an empty value is
    // never accepted, so empty always means "not given").
    const std::string& Value(std::string_view name) const;
    // Every value given for a repeatable option, in the order given.
    std::vector<std::string> Values(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& All() const { return m_Values; }
    void Add(std::string_view name, std::string value) { m_Values.emplace_back(name, value); }
    // The value of an option given once, changed (as "-" becomes the path standard input is
    // kept at), or taken away.
    void Set(std::string_view name, std::string value);
    void Remove(std::string_view name);

private:
    std::vector<std::pair<std::string, std::string>> m_Values;
};

// Parses arguments by definitions. "--help" (or "-h") is always accepted and, when given, leaves
// the required options unchecked. Refused, with a message naming the option: an unknown option, a
// missing or empty value, an option given twice, two options of one group, a missing required
// option or operand, an operand too many, and a value given to a flag. A value is the next
// argument or, as GNU programs take it, attached: "--port=1", "-oFILE". "--" ends the options.
bool ParseOptions(std::span<const OptionDefinition> definitions,
                  std::span<const std::string> arguments, ParsedOptions* parsed,
                  std::string* error);

// "[--settings FILE] [--band K] -o FILE.pgm", in the table's order.
std::string UsageLine(std::span<const OptionDefinition> definitions);

// lead ("usage: radio-sim") and the usage line, broken between options before width columns.
std::string WrappedUsage(std::string_view lead, std::span<const OptionDefinition> definitions,
                         size_t width = 100);

// One line per option with help, "  --port N  help", the names padded to one column.
std::string OptionHelp(std::span<const OptionDefinition> definitions);
