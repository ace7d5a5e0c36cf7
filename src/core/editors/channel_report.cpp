// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_report.h"

#include <algorithm>
#include <cstdio>

#include "editors/function_report.h"

namespace {

// The last running number on each page; the last page takes the rest.
constexpr std::array<int, kMaximumPrintPages - 1> kLastChannelOfPage = {20, 50, 80, 110};

}  // namespace

int PrintPageOfChannel(int runningNumber) {
    int page = 1;
    for (int last : kLastChannelOfPage) {
        if (runningNumber <= last) {
            return page;
        }
        ++page;
    }
    return page;
}

int PrintPageCount(int printedChannels) {
    return PrintPageOfChannel(std::max(printedChannels, 1));
}

std::vector<int> PrintedChannels(int channelCount, const std::function<bool(int n)>& hasReceive) {
    std::vector<int> printed;
    for (int n = 1; n <= std::min(channelCount, kLastPrintedChannel); ++n) {
        if (hasReceive(n)) {
            printed.push_back(n);
        }
    }
    return printed;
}

std::vector<int> PrintedChannels(const CHalvexDoc& document) {
    return PrintedChannels(document.GetChannelCount(), [&document](int n) {
        return !document.Image().IsChannelEmpty(n) &&
               !document.Image().GetFrequencyText(n, kDecodeSide).empty();
    });
}

std::vector<int> ChannelsOfPage(const std::vector<int>& printed, int page) {
    std::vector<int> channels;
    for (size_t index = 0; index < printed.size(); ++index) {
        if (PrintPageOfChannel(static_cast<int>(index) + 1) == page) {
            channels.push_back(printed[index]);
        }
    }
    return channels;
}

int FirstRowTop(int page) {
    const int gap =
        page <= kLastTightPage ? kChannelHeaderHeight - kHeadingOverlap : kChannelHeaderHeight;
    return gap + kChannelRowHeight;
}

bool EnglishHeadings(const std::string& language) {
    return language.starts_with('e');
}

bool HeadingWraps(const ChannelColumnDefinition& column, bool englishHeadings) {
    return column.headerWrap == HeaderWrap::Always ||
           (column.headerWrap == HeaderWrap::InEnglish && englishHeadings);
}

std::string ReportDateLine(const ReportTime& time, const std::string& weekday) {
    char date[16];
    char clock[8];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", time.year, time.month, time.day);
    std::snprintf(clock, sizeof clock, "%02d:%02d", time.hour, time.minute);
    return std::string(date) + ' ' + weekday + ' ' + clock;
}

ChannelReport BuildChannelReport(const CHalvexDoc& document, const ChannelTexts& cells,
                                 const std::array<std::string, kChannelColumnCount>& headings,
                                 bool englishHeadings, const ChannelTableSettings& settings) {
    ChannelReport report;
    report.functionLines = FunctionReportLines(document.Image());
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        report.columns[column.id] = {headings[column.id], HeadingWraps(column, englishHeadings),
                                     column.width};
    }
    const std::vector<int> printed = PrintedChannels(document);
    for (int page = 1; page <= PrintPageCount(static_cast<int>(printed.size())); ++page) {
        ReportPage& sheet = report.pages.emplace_back();
        sheet.firstRowTop = FirstRowTop(page);
        for (int n : ChannelsOfPage(printed, page)) {
            sheet.rows.push_back(ChannelRowTexts(document, n, cells));
            sheet.states.push_back(ChannelRowLocks(document.Image(), n, settings));
        }
    }
    return report;
}
