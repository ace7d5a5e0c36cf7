// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/command_options.h"

#include <algorithm>

#include "platform/terminal_text.h"

namespace {

const OptionSpec* FindOption(std::span<const OptionSpec> specs, std::string_view name) {
    auto found = std::find_if(specs.begin(), specs.end(), [name](const OptionSpec& spec) {
        return !IsOperand(spec) && spec.name == name;
    });
    return found == specs.end() ? nullptr : &*found;
}

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    quoted += TerminalText(argument, kEchoedValueLimit);
    return quoted + "'";
}

bool Fail(std::string* error, std::string message) {
    *error = std::move(message);
    return false;
}

// "--port N" or "FILE.pgm": how an option is named in messages and usage lines.
std::string Shown(const OptionSpec& spec) {
    std::string shown(spec.name);
    if (!IsOperand(spec) && !spec.valueName.empty()) {
        shown += ' ';
        shown += spec.valueName;
    }
    return shown;
}

bool TakeOption(const OptionSpec& spec, std::span<const std::string> arguments, size_t* index,
                ParsedOptions* parsed, std::string* error) {
    const std::string name(spec.name);
    if (parsed->Has(name)) {
        return Fail(error, name + " is given twice; give it once");
    }
    if (spec.kind == OptionKind::Flag) {
        parsed->Add(name, "");
        return true;
    }
    if (*index + 1 == arguments.size()) {
        return Fail(error, name + " needs a value (" + Shown(spec) + ")");
    }
    const std::string& value = arguments[++*index];
    if (value.empty()) {
        return Fail(error, name + " is given an empty value; give " + Shown(spec));
    }
    parsed->Add(name, value);
    return true;
}

bool CheckComplete(std::span<const OptionSpec> specs, const ParsedOptions& parsed,
                   std::string* error) {
    for (const OptionSpec& spec : specs) {
        if (spec.required && !parsed.Has(spec.name)) {
            return Fail(error, Shown(spec) + " is missing (usage: " + UsageLine(specs) + ")");
        }
        if (spec.group == 0 || !parsed.Has(spec.name)) {
            continue;
        }
        for (const OptionSpec& other : specs) {
            if (&other > &spec && other.group == spec.group && parsed.Has(other.name)) {
                return Fail(error, "give only one of " + std::string(spec.name) + " and " +
                                       std::string(other.name));
            }
        }
    }
    return true;
}

}  // namespace

bool ParsedOptions::Has(std::string_view name) const {
    return std::any_of(m_Values.begin(), m_Values.end(),
                       [name](const auto& value) { return value.first == name; });
}

const std::string& ParsedOptions::Value(std::string_view name) const {
    static const std::string kNone;
    for (const auto& value : m_Values) {
        if (value.first == name) {
            return value.second;
        }
    }
    return kNone;
}

bool ParseOptions(std::span<const OptionSpec> specs, std::span<const std::string> arguments,
                  ParsedOptions* parsed, std::string* error) {
    auto nextOperand = specs.begin();
    bool optionsEnded = false;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            parsed->Add("--help", "");
            continue;
        }
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.starts_with('-')) {
            const OptionSpec* spec = FindOption(specs, argument);
            if (spec == nullptr) {
                return Fail(error, "unknown option " + Quoted(argument));
            }
            if (!TakeOption(*spec, arguments, &index, parsed, error)) {
                return false;
            }
            continue;
        }
        nextOperand = std::find_if(nextOperand, specs.end(), IsOperand);
        if (nextOperand == specs.end()) {
            return Fail(error, "unexpected argument " + Quoted(argument));
        }
        if (argument.empty()) {
            return Fail(error, std::string(nextOperand->name) + " is given as an empty name");
        }
        parsed->Add(nextOperand->name, argument);
        ++nextOperand;
    }
    return parsed->Has("--help") || CheckComplete(specs, *parsed, error);
}

std::vector<std::string> UsageItems(std::span<const OptionSpec> specs) {
    std::vector<std::string> items;
    for (size_t k = 0; k < specs.size(); ++k) {
        const OptionSpec& spec = specs[k];
        bool groupStarted = spec.group != 0 && k > 0 && specs[k - 1].group == spec.group;
        bool groupGoesOn =
            spec.group != 0 && k + 1 < specs.size() && specs[k + 1].group == spec.group;
        if (groupStarted) {
            items.back() += " | ";
        } else {
            items.emplace_back(spec.required ? "" : "[");
        }
        items.back() += Shown(spec);
        if (!groupGoesOn && !spec.required) {
            items.back() += ']';
        }
    }
    return items;
}

std::string UsageLine(std::span<const OptionSpec> specs) {
    std::string line;
    for (const std::string& item : UsageItems(specs)) {
        line += (line.empty() ? "" : " ") + item;
    }
    return line;
}

std::string WrappedUsage(std::string_view lead, std::span<const OptionSpec> specs, size_t width) {
    std::string text(lead);
    size_t lineStart = 0;
    for (const std::string& item : UsageItems(specs)) {
        if (text.size() - lineStart + 1 + item.size() > width) {
            text += '\n';
            lineStart = text.size();
            text.append(lead.size(), ' ');
        }
        text += ' ' + item;
    }
    return text + '\n';
}

std::string OptionHelp(std::span<const OptionSpec> specs) {
    size_t width = 0;
    for (const OptionSpec& spec : specs) {
        width = std::max(width, Shown(spec).size());
    }
    std::string text;
    for (const OptionSpec& spec : specs) {
        if (spec.help.empty()) {
            continue;
        }
        std::string shown = Shown(spec);
        text += "  " + shown + std::string(width - shown.size() + 2, ' ') + std::string(spec.help) +
                '\n';
    }
    return text;
}
