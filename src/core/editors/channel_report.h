// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report of the document as rules: which channels print, on which of up to five
// pages, under which headings, with what texts, and the measures of its logical page in the
// channel grid's units. The desktop paints it with Qt, the page lays it out for the browser's
// print; neither decides any of it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "codeplug/channel_columns.h"
#include "editors/channel_row_state.h"

// The channel grid's header row and channel rows, in the units of the columns' widths; the
// report keeps them on paper.
constexpr int kChannelHeaderHeight = 28;
constexpr int kChannelRowHeight = 21;

constexpr int kMaximumPrintPages = 5;
// Channels past this never print, however many the document has.
constexpr int kLastPrintedChannel = 128;
// x of the three text columns of the functions section.
constexpr std::array<int, 3> kFunctionReportColumns = {0, 200, 400};
// Pages up to kLastTightPage draw their first row this much closer under the headings.
constexpr int kHeadingOverlap = 20;
constexpr int kLastTightPage = 3;
// Left and right margins, each in average character widths of the measuring font.
constexpr int kReportMarginCharacters = 4;
constexpr const char* kReportFontFace = "Times New Roman";
constexpr int kReportMeasuringFontHeight = 9;
constexpr int kReportFontHeight = 11;
// Its width in the measuring font, divided by its length, is the average character width.
constexpr const char* kReportMeasuringText = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kReportMeasuringTextLength = 52;

// The page of a printed channel by its running number (1 for the first printed one).
int PrintPageOfChannel(int runningNumber);
// The page that holds the last printed channel; 1 when none prints.
int PrintPageCount(int printedChannels);
// The channels 1..channelCount (at most kLastPrintedChannel) whose receive cell has text.
std::vector<int> PrintedChannels(int channelCount, const std::function<bool(int n)>& hasReceive);
std::vector<int> PrintedChannels(const CHalvexDoc& document);
// The printed channels of page (from 1), in order.
std::vector<int> ChannelsOfPage(const std::vector<int>& printed, int page);
// How far below the headings' top the first row's top lies on page.
int FirstRowTop(int page);

// The headings of a language whose name (the settings' value, a file's stem) starts so take
// the English wrapping.
bool EnglishHeadings(const std::string& language);
// Whether a column's heading wraps onto two lines, in English or in another language.
bool HeadingWraps(const ChannelColumnDefinition& column, bool englishHeadings);

// The line at the top of every page: "yyyy-MM-dd weekday HH:mm", the weekday's name in the
// language shown.
struct ReportTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};
std::string ReportDateLine(const ReportTime& time, const std::string& weekday);

struct ReportColumn {
    std::string heading;
    bool wraps = false;
    int width = 0;
};

struct ReportPage {
    int firstRowTop = 0;
    std::vector<ChannelRow> rows;         // as the channel grid shows them
    std::vector<ChannelRowState> states;  // their cells' grey text and shading
};

struct ChannelReport {
    std::vector<std::vector<std::string>> functionLines;  // on page 1
    std::array<ReportColumn, kChannelColumnCount> columns;
    std::vector<ReportPage> pages;
};

// The whole report in the words given; headings by column id.
ChannelReport BuildChannelReport(const CHalvexDoc& document, const ChannelTexts& cells,
                                 const std::array<std::string, kChannelColumnCount>& headings,
                                 bool englishHeadings, const ChannelTableSettings& settings);
