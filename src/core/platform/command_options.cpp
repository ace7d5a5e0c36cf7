// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/command_options.h"

#include <algorithm>
#include <optional>

#include "platform/terminal_text.h"

namespace {

const OptionDefinition* FindOption(std::span<const OptionDefinition> definitions,
                                   std::string_view name) {
    auto found = std::find_if(definitions.begin(), definitions.end(),
                              [name](const OptionDefinition& definition) {
                                  return !IsOperand(definition) && definition.name == name;
                              });
    return found == definitions.end() ? nullptr : &*found;
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
std::string Shown(const OptionDefinition& definition) {
    std::string shown(definition.name);
    if (!IsOperand(definition) && !definition.valueName.empty()) {
        shown += ' ';
        shown += definition.valueName;
    }
    if (definition.repeatable) {
        shown += "...";
    }
    return shown;
}

// An option as given: its name, and the value written into the same argument, as in
// "--port=1" or "-oFILE" (the GNU forms), when there is one.
struct GivenOption {
    std::string_view name;
    std::optional<std::string_view> attached;
};

GivenOption SplitAttached(std::string_view argument) {
    if (argument.starts_with("--")) {
        size_t equals = argument.find('=');
        if (equals == std::string_view::npos) {
            return {argument, std::nullopt};
        }
        return {argument.substr(0, equals), argument.substr(equals + 1)};
    }
    if (argument.size() > 2) {
        return {argument.substr(0, 2), argument.substr(2)};
    }
    return {argument, std::nullopt};
}

bool TakeOption(const OptionDefinition& definition, std::optional<std::string_view> attached,
                std::span<const std::string> arguments, size_t* index, ParsedOptions* parsed,
                std::string* error) {
    const std::string name(definition.name);
    if (parsed->Has(name) && !definition.repeatable) {
        return Fail(error, name + " is given twice; give it once");
    }
    if (definition.kind == OptionKind::Flag) {
        if (attached) {
            return Fail(error, name + " takes no value; give it alone");
        }
        parsed->Add(name, "");
        return true;
    }
    if (!attached && *index + 1 == arguments.size()) {
        return Fail(error, name + " needs a value (" + Shown(definition) + ")");
    }
    const std::string value = attached ? std::string(*attached) : arguments[++*index];
    if (value.empty()) {
        return Fail(error, name + " is given an empty value; give " + Shown(definition));
    }
    parsed->Add(name, value);
    return true;
}

bool CheckComplete(std::span<const OptionDefinition> definitions, const ParsedOptions& parsed,
                   std::string* error) {
    for (const OptionDefinition& definition : definitions) {
        if (definition.required && !parsed.Has(definition.name)) {
            return Fail(error,
                        Shown(definition) + " is missing (usage: " + UsageLine(definitions) + ")");
        }
        if (definition.group == 0 || !parsed.Has(definition.name)) {
            continue;
        }
        for (const OptionDefinition& other : definitions) {
            if (&other > &definition && other.group == definition.group && parsed.Has(other.name)) {
                return Fail(error, "give only one of " + std::string(definition.name) + " and " +
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

void ParsedOptions::Set(std::string_view name, std::string value) {
    for (auto& given : m_Values) {
        if (given.first == name) {
            given.second = std::move(value);
            return;
        }
    }
    Add(name, std::move(value));
}

void ParsedOptions::Remove(std::string_view name) {
    std::erase_if(m_Values, [name](const auto& given) { return given.first == name; });
}

std::vector<std::string> ParsedOptions::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& value : m_Values) {
        if (value.first == name) {
            values.push_back(value.second);
        }
    }
    return values;
}

bool ParseOptions(std::span<const OptionDefinition> definitions,
                  std::span<const std::string> arguments, ParsedOptions* parsed,
                  std::string* error) {
    auto nextOperand = definitions.begin();
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
        if (!optionsEnded && argument.starts_with('-') && argument != "-") {
            // The whole argument first: a short option's own name is never split.
            GivenOption given{argument, std::nullopt};
            const OptionDefinition* definition = FindOption(definitions, argument);
            if (definition == nullptr) {
                given = SplitAttached(argument);
                definition = FindOption(definitions, given.name);
            }
            if (definition == nullptr) {
                return Fail(error, "unknown option " + Quoted(argument));
            }
            if (!TakeOption(*definition, given.attached, arguments, &index, parsed, error)) {
                return false;
            }
            continue;
        }
        nextOperand = std::find_if(nextOperand, definitions.end(), IsOperand);
        if (nextOperand == definitions.end()) {
            return Fail(error, "unexpected argument " + Quoted(argument));
        }
        if (argument.empty()) {
            return Fail(error, std::string(nextOperand->name) + " is given as an empty name");
        }
        parsed->Add(nextOperand->name, argument);
        ++nextOperand;
    }
    return parsed->Has("--help") || CheckComplete(definitions, *parsed, error);
}

std::vector<std::string> UsageItems(std::span<const OptionDefinition> definitions) {
    std::vector<std::string> items;
    for (size_t k = 0; k < definitions.size(); ++k) {
        const OptionDefinition& definition = definitions[k];
        bool groupStarted =
            definition.group != 0 && k > 0 && definitions[k - 1].group == definition.group;
        bool groupGoesOn = definition.group != 0 && k + 1 < definitions.size() &&
                           definitions[k + 1].group == definition.group;
        if (groupStarted) {
            items.back() += " | ";
        } else {
            items.emplace_back(definition.required ? "" : "[");
        }
        items.back() += Shown(definition);
        if (!groupGoesOn && !definition.required) {
            items.back() += ']';
        }
    }
    return items;
}

std::string UsageLine(std::span<const OptionDefinition> definitions) {
    std::string line;
    for (const std::string& item : UsageItems(definitions)) {
        line += (line.empty() ? "" : " ") + item;
    }
    return line;
}

std::string WrappedUsage(std::string_view lead, std::span<const OptionDefinition> definitions,
                         size_t width) {
    std::string text(lead);
    size_t lineStart = 0;
    for (const std::string& item : UsageItems(definitions)) {
        if (text.size() - lineStart + 1 + item.size() > width) {
            text += '\n';
            lineStart = text.size();
            text.append(lead.size(), ' ');
        }
        text += ' ' + item;
    }
    return text + '\n';
}

std::string OptionHelp(std::span<const OptionDefinition> definitions) {
    size_t width = 0;
    for (const OptionDefinition& definition : definitions) {
        width = std::max(width, Shown(definition).size());
    }
    std::string text;
    for (const OptionDefinition& definition : definitions) {
        if (definition.help.empty()) {
            continue;
        }
        std::string shown = Shown(definition);
        text += "  " + shown + std::string(width - shown.size() + 2, ' ') +
                std::string(definition.help) + '\n';
    }
    return text;
}
