// halvex-cli info: the band limits and the used channels of a .pgm file, as a table for
// people or as CSV with the channel table's texts.
#include <algorithm>
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "codeplug/channel_rows.h"
#include "config/app_globals.h"

namespace {

struct InfoArguments {
    std::string settingsPath;
    std::string inputPath;
    bool csv = false;
};

bool ParseInfoArguments(std::span<const std::string> arguments, InfoArguments* parsed,
                        std::string* error) {
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--csv") {
            parsed->csv = true;
        } else if (argument == "--settings") {
            if (index + 1 == arguments.size()) {
                *error = "info: --settings needs a value";
                return false;
            }
            parsed->settingsPath = arguments[++index];
        } else if (argument.starts_with("-") || !parsed->inputPath.empty()) {
            *error = "info: unexpected argument '" + argument + "'";
            return false;
        } else {
            parsed->inputPath = argument;
        }
    }
    if (parsed->inputPath.empty()) {
        *error = "info: the .pgm file is missing";
        return false;
    }
    return true;
}

std::vector<ChannelRow> UsedChannelRows(const CHalvexDoc& document) {
    std::vector<std::string> toneTexts = ToneListTexts("Off");
    std::vector<ChannelRow> rows;
    for (int n = 1; n <= ClampChannelCount(g_ChannelCount); ++n) {
        if (!document.IsChannelEmpty(n)) {
            rows.push_back(ChannelRowTexts(document, n, toneTexts));
        }
    }
    return rows;
}

void PrintTable(const std::vector<ChannelRow>& rows) {
    std::array<size_t, kChannelColumnCount> widths{};
    std::vector<const ChannelRow*> lines = {&ChannelRowHeader()};
    for (const ChannelRow& row : rows) {
        lines.push_back(&row);
    }
    for (const ChannelRow* line : lines) {
        for (size_t column = 0; column < kChannelColumnCount; ++column) {
            widths[column] = std::max(widths[column], (*line)[column].size());
        }
    }
    for (const ChannelRow* line : lines) {
        std::string text;
        for (size_t column = 0; column < kChannelColumnCount; ++column) {
            text += (*line)[column];
            text.append(widths[column] - (*line)[column].size() + 2, ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        std::cout << text << '\n';
    }
}

}  // namespace

int RunInfoCommand(std::span<const std::string> arguments) {
    InfoArguments parsed;
    std::string error;
    if (!ParseInfoArguments(arguments, &parsed, &error) ||
        !UseSettingsFile(parsed.settingsPath, &error)) {
        return ReportFailure(error);
    }
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!document.OnOpenDocument(parsed.inputPath, &error)) {
        return ReportFailure(error);
    }
    std::vector<ChannelRow> rows = UsedChannelRows(document);
    if (parsed.csv) {
        std::cout << CsvLine(ChannelRowHeader()) << '\n';
        for (const ChannelRow& row : rows) {
            std::cout << CsvLine(row) << '\n';
        }
        return kExitSuccess;
    }
    const FrequencyLimits& limits = document.GetFrequencyLimits();
    std::cout << "Band line: " << document.FindModelLine() << '\n'
              << "Frequency range: " << FormatFrequencyValue(limits.m_FreqMin) << " - "
              << FormatFrequencyValue(limits.m_FreqMax) << " MHz\n"
              << "Used channels: " << rows.size() << " of " << ClampChannelCount(g_ChannelCount)
              << '\n';
    if (!rows.empty()) {
        std::cout << '\n';
        PrintTable(rows);
    }
    return kExitSuccess;
}
