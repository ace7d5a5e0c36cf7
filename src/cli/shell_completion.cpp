// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/shell_completion.h"

#include <initializer_list>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"

namespace {

enum class Completion { Nothing, Files, Devices };

// Pieces appended in turn: the optimised build warns falsely on "literal" + string.
std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::string whole;
    for (std::string_view piece : pieces) {
        whole += piece;
    }
    return whole;
}

bool TakesValue(const OptionDefinition& definition) {
    return !IsOperand(definition) && definition.kind != OptionKind::Flag;
}

// What a value or an operand completes with: a cable's name for any --device, whatever the
// command does with it.
Completion CompletionOf(const OptionDefinition& definition) {
    if (definition.name == cli_option::kDevice) {
        return Completion::Devices;
    }
    if (definition.kind == OptionKind::InputFile || definition.kind == OptionKind::OutputFile) {
        return Completion::Files;
    }
    return Completion::Nothing;
}

std::vector<OptionDefinition> OptionsOf(const CliCommand& command, bool operands) {
    std::vector<OptionDefinition> chosen;
    for (const OptionDefinition& definition : command.options) {
        if (IsOperand(definition) == operands) {
            chosen.push_back(definition);
        }
    }
    return chosen;
}

std::string Joined(const std::vector<OptionDefinition>& definitions, bool withValueOnly) {
    std::string names;
    for (const OptionDefinition& definition : definitions) {
        if (withValueOnly && !TakesValue(definition)) {
            continue;
        }
        if (!names.empty()) {
            names += ' ';
        }
        names += definition.name;
    }
    return names;
}

// "pgm yaml yml" as "pgm|yaml|yml".
std::string Alternatives(std::string_view types) {
    std::string alternatives(types);
    for (char& c : alternatives) {
        if (c == ' ') {
            c = '|';
        }
    }
    return alternatives;
}

// Single-quoted for either shell.
std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

constexpr std::string_view kBashHead = R"sh(# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for halvex-cli, written by halvex-completion from the program's option
# tables: its commands, each command's options, and for a value or an operand the files it
# takes (by ending) or the serial devices.

# Files whose names end in one of the endings given (a|b), any file without, and folders to
# walk into.
_halvex_cli_files() {
    local IFS=$'\n' pattern=${1:+"!*.@($1)"}
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -X "$pattern" -- "$cur") $(compgen -d -- "$cur"))
}

# The stable names of USB serial adapters first, then every serial device node.
_halvex_cli_devices() {
    local IFS=$'\n'
    COMPREPLY=($(compgen -W "$(compgen -G '/dev/serial/by-id/*'; compgen -G '/dev/tty*')" -- "$cur"))
}

# How many operands come before the word being completed: the words that are neither an
# option nor the value after one of the options given ($1). A lone - is an operand.
_halvex_cli_operands() {
    local k count=0
    for ((k = 2; k < COMP_CWORD; k++)); do
        if [[ ${COMP_WORDS[k]} == -?* ]]; then
            [[ " $1 " == *" ${COMP_WORDS[k]} "* ]] && ((k++))
        else
            ((count++))
        fi
    done
    echo $count
}

)sh";

std::string BashAction(const OptionDefinition& definition) {
    switch (CompletionOf(definition)) {
        case Completion::Files:
            return Concat({"_halvex_cli_files ", Quoted(Alternatives(definition.fileTypes))});
        case Completion::Devices:
            return "_halvex_cli_devices";
        case Completion::Nothing:
            break;
    }
    return "";
}

void AddBashCommand(const CliCommand& command, std::string* script) {
    const std::vector<OptionDefinition> options = OptionsOf(command, false);
    const std::vector<OptionDefinition> operands = OptionsOf(command, true);
    const std::string values = Joined(options, true);
    *script += "    ";
    *script += command.name;
    *script += ")\n";
    if (!values.empty()) {
        *script += "        case $previous in\n";
        for (const OptionDefinition& option : options) {
            if (TakesValue(option)) {
                *script += "        ";
                const std::string action = BashAction(option);
                *script += option.name;
                *script += Concat({") ", action, action.empty() ? "" : "; ", "return ;;\n"});
            }
        }
        *script += "        esac\n";
    }
    *script += "        if [[ $cur == -* ]]; then\n";
    *script += Concat({"            COMPREPLY=($(compgen -W \"", Joined(options, false),
                       options.empty() ? "" : " ", "--help\" -- \"$cur\"))\n"});
    *script += "            return\n        fi\n";
    if (!operands.empty()) {
        *script += Concat({"        case $(_halvex_cli_operands \"", values, "\") in\n"});
        for (size_t k = 0; k < operands.size(); ++k) {
            const std::string action = BashAction(operands[k]);
            if (!action.empty()) {
                *script += Concat({"        ", std::to_string(k), ") ", action, " ;;\n"});
            }
        }
        *script += "        esac\n";
    }
    *script += "        ;;\n";
}

constexpr std::string_view kZshHead = R"sh(#compdef halvex-cli
# SPDX-License-Identifier: GPL-3.0-or-later
# zsh completion for halvex-cli, written by halvex-completion from the program's option
# tables: its commands, each command's options, and for a value or an operand the files it
# takes (by ending) or the serial devices.

_halvex-cli_devices() {
    local -a devices
    devices=(/dev/serial/by-id/*(N) /dev/tty*(N))
    _describe -t devices 'serial device' devices
}

)sh";

// Text inside _arguments' [...] and between its colons.
std::string ZshText(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '[' || c == ']' || c == ':') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::string ZshAction(const OptionDefinition& definition) {
    switch (CompletionOf(definition)) {
        case Completion::Files: {
            if (definition.fileTypes.empty()) {
                return "_files";
            }
            std::string types = Alternatives(definition.fileTypes);
            if (types.find('|') != std::string::npos) {
                types = Concat({"(", types, ")"});
            }
            return Concat({"_files -g \"*.", types, "(-.)\""});
        }
        case Completion::Devices:
            return "_halvex-cli_devices";
        case Completion::Nothing:
            break;
    }
    return "";
}

std::string ZshOption(const CliCommand& command, const OptionDefinition& option) {
    std::string argument;
    if (option.group != 0) {
        std::string excluded;
        for (const OptionDefinition& other : command.options) {
            if (other.group == option.group && other.name != option.name && !IsOperand(other)) {
                if (!excluded.empty()) {
                    excluded += ' ';
                }
                excluded += other.name;
            }
        }
        if (!excluded.empty()) {
            argument += Concat({"(", excluded, ")"});
        }
    }
    if (option.repeatable) {
        argument += '*';
    }
    argument += option.name;
    argument += Concat({"[", ZshText(option.help), "]"});
    if (TakesValue(option)) {
        argument += Concat({":", ZshText(option.valueName), ":", ZshAction(option)});
    }
    return argument;
}

void AddZshCommand(const CliCommand& command, std::string* script) {
    *script += "    ";
    *script += command.name;
    *script += ")\n        _arguments";
    std::vector<std::string> arguments;
    for (const OptionDefinition& option : OptionsOf(command, false)) {
        arguments.push_back(ZshOption(command, option));
    }
    arguments.push_back("--help[print the usage]");
    const std::vector<OptionDefinition> operands = OptionsOf(command, true);
    for (size_t k = 0; k < operands.size(); ++k) {
        arguments.push_back(Concat({std::to_string(k + 1), operands[k].required ? ":" : "::",
                                    ZshText(operands[k].name), ":", ZshAction(operands[k])}));
    }
    for (const std::string& argument : arguments) {
        *script += Concat({" \\\n            ", Quoted(argument)});
    }
    *script += " ;;\n";
}

std::string TableKind(const OptionDefinition& definition) {
    if (!IsOperand(definition) && !TakesValue(definition)) {
        return "flag";
    }
    switch (CompletionOf(definition)) {
        case Completion::Files: {
            std::string kind = "files\t";
            kind += definition.fileTypes;
            return kind;
        }
        case Completion::Devices:
            return "device";
        case Completion::Nothing:
            break;
    }
    return "value";
}

}  // namespace

std::string BashCompletion(std::span<const CliCommand> commands) {
    std::string names;
    for (const CliCommand& command : commands) {
        names += command.name;
        names += ' ';
    }
    std::string script(kBashHead);
    script +=
        "_halvex_cli() {\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}\n"
        "    COMPREPLY=()\n"
        "    shopt -s extglob\n"
        "    if [[ $COMP_CWORD -eq 1 ]]; then\n"
        "        COMPREPLY=($(compgen -W \"";
    script += names;
    script +=
        "--help --version\" -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    case ${COMP_WORDS[1]} in\n";
    for (const CliCommand& command : commands) {
        AddBashCommand(command, &script);
    }
    script += "    esac\n}\ncomplete -F _halvex_cli halvex-cli\n";
    return script;
}

std::string ZshCompletion(std::span<const CliCommand> commands) {
    std::string script(kZshHead);
    script +=
        "_halvex-cli() {\n"
        "    if (( CURRENT == 2 )); then\n"
        "        local -a commands\n"
        "        commands=(\n";
    for (const CliCommand& command : commands) {
        std::string entry(command.name);
        entry += ':';
        entry += command.summary;
        script += Concat({"            ", Quoted(entry), "\n"});
    }
    script +=
        "        )\n"
        "        _describe -t commands 'halvex-cli command' commands\n"
        "        _arguments '--help[print the usage]' '--version[print the version]'\n"
        "        return\n"
        "    fi\n"
        "    local command=$words[2]\n"
        "    shift words\n"
        "    (( CURRENT-- ))\n"
        "    case $command in\n";
    for (const CliCommand& command : commands) {
        AddZshCommand(command, &script);
    }
    script += "    esac\n}\n\n_halvex-cli \"$@\"\n";
    return script;
}

std::string CompletionTable(std::span<const CliCommand> commands) {
    std::string table;
    for (const CliCommand& command : commands) {
        int place = 0;
        for (const OptionDefinition& definition : command.options) {
            table += command.name;
            table += '\t';
            table += IsOperand(definition) ? std::to_string(++place) : std::string(definition.name);
            table += '\t';
            table += TableKind(definition);
            table += '\n';
        }
    }
    return table;
}
