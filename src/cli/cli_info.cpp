// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli info: the band limits and the used channels of a .pgm file, as a table for
// people or as CSV with the channel table's texts.
#include <algorithm>
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "codeplug/channel_columns.h"
#include "config/app_globals.h"
#include "platform/terminal_text.h"

namespace {

std::vector<ChannelRow> UsedChannelRows(const CHalvexDoc& document) {
    std::vector<ChannelRow> rows;
    for (int n = 1; n <= ClampChannelCount(g_ChannelCount); ++n) {
        if (!document.Image().IsChannelEmpty(n)) {
            rows.push_back(ChannelRowTexts(document, n, EnglishChannelTexts()));
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
        std::cout << TerminalText(text) << '\n';
    }
}

}  // namespace

int RunInfoCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    const std::string& path = options.Value(cli_option::kPgmFile);
    // A file write refuses is no radio's program: its zero channels would mislead.
    if (!OpenWholePgmFile(path, &document, &error)) {
        return ReportFailure(error);
    }
    NoteUnreadableChannels(document, path);
    NoteChannelsBeyondCount(document, ClampChannelCount(g_ChannelCount), "shown");
    std::vector<ChannelRow> rows = UsedChannelRows(document);
    if (options.Has(cli_option::kCsv)) {
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
